// The RS-232 and LAN ports against a real pseudo-terminal and a real TCP
// server, with the event loop running between the device's bytes and the
// program's reads.
#include "PortTestSupport.h"

#include "comm/CommPortFunc.h"
#include "records/Globals.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kTestPort = 7; // serial port number the tests open

std::vector<uint8_t> Pattern(int n) {
  std::vector<uint8_t> bytes(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + 1);
  return bytes;
}

// One end of a link held by the "device", the other opened through the port
// layer by the program.
class DeviceLink {
public:
  virtual ~DeviceLink() = default;
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual void DeviceSend(const std::vector<uint8_t> &bytes) = 0;
  virtual std::vector<uint8_t> DeviceReceive(int n) = 0;
  virtual int Waiting() = 0;
  virtual int Write(const uint8_t *bytes, int n) = 0;
  virtual int Read(int32_t &count, uint8_t *buffer) = 0;
  virtual int ReadByLength(int length, uint8_t *buffer) = 0;
  virtual int ReadByMinLength(int minimum, int32_t &count, uint8_t *buffer) = 0;

  // Sends from the device and runs the event loop until the program side has
  // buffered all of it.
  void DeviceSendAndWait(const std::vector<uint8_t> &bytes) {
    const int before = Waiting();
    DeviceSend(bytes);
    ASSERT_TRUE(PumpUntil([&] { return Waiting() >= before + static_cast<int>(bytes.size()); }));
  }
};

// A pseudo-terminal: the device writes and reads the master side, the program
// opens the slave device as its serial port.
class PtyLink : public DeviceLink {
public:
  PtyLink() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
      path_ = ptsname(master_);
  }
  ~PtyLink() override {
    PortUartClose(kTestPort);
    if (master_ >= 0)
      close(master_);
  }
  bool Open() override {
    return !path_.empty() &&
           PortUartOpen(kTestPort, path_.c_str(), 38400, 0, 8, 1, 1024, 1024) == 0;
  }
  void Close() override { PortUartClose(kTestPort); }
  void DeviceSend(const std::vector<uint8_t> &bytes) override {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::vector<uint8_t> DeviceReceive(int n) override {
    std::vector<uint8_t> got;
    QElapsedTimer clock;
    clock.start();
    while (static_cast<int>(got.size()) < n && clock.elapsed() < 3000) {
      PumpFor(2);
      pollfd ready{master_, POLLIN, 0};
      if (poll(&ready, 1, 10) <= 0)
        continue;
      std::array<uint8_t, 512> chunk{};
      const ssize_t r = read(master_, chunk.data(), chunk.size());
      if (r > 0)
        got.insert(got.end(), chunk.begin(), chunk.begin() + r);
    }
    return got;
  }
  int Waiting() override { return PortUartInQLen(kTestPort); }
  int Write(const uint8_t *bytes, int n) override { return PortUartWriteBuff(kTestPort, n, bytes); }
  int Read(int32_t &count, uint8_t *buffer) override {
    return PortUartReadBuff(kTestPort, count, buffer);
  }
  int ReadByLength(int length, uint8_t *buffer) override {
    return PortUartReadBuffByLenght(kTestPort, length, buffer);
  }
  int ReadByMinLength(int minimum, int32_t &count, uint8_t *buffer) override {
    return PortUartReadBuffByMinLenght(kTestPort, minimum, 0, count, buffer);
  }

private:
  int master_ = -1;
  std::string path_;
};

// A TCP server standing in for the device.
class TcpLink : public DeviceLink {
public:
  TcpLink() {
    PortTestApp();
    server_ = std::make_unique<QTcpServer>();
    server_->listen(QHostAddress::LocalHost, 0);
  }
  ~TcpLink() override { PortLanClose(handle_); }
  bool Open() override {
    if (PortLanOpen("127.0.0.1", server_->serverPort(), handle_) != 0 ||
        !PumpUntil([&] { return PortLanOpenState(handle_) != kPortOpening; }) ||
        PortLanOpenState(handle_) != kPortOpen)
      return false;
    if (!PumpUntil([&] { return server_->hasPendingConnections(); }))
      return false;
    peer_ = server_->nextPendingConnection();
    return peer_ != nullptr;
  }
  void Close() override { PortLanClose(handle_); }
  void DeviceSend(const std::vector<uint8_t> &bytes) override {
    peer_->write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    peer_->flush();
  }
  std::vector<uint8_t> DeviceReceive(int n) override {
    PumpUntil([&] { return peer_->bytesAvailable() >= n; });
    const QByteArray got = peer_->readAll();
    return {got.begin(), got.end()};
  }
  int Waiting() override { return PortLanInQLen(handle_); }
  int Write(const uint8_t *bytes, int n) override { return PortLanWriteBuff(handle_, n, bytes); }
  int Read(int32_t &count, uint8_t *buffer) override {
    return PortLanReadBuff(handle_, count, buffer);
  }
  int ReadByLength(int length, uint8_t *buffer) override {
    return PortLanReadBuffByLenght(handle_, length, buffer);
  }
  int ReadByMinLength(int minimum, int32_t &count, uint8_t *buffer) override {
    return PortLanReadBuffByMinLenght(handle_, minimum, 0, count, buffer);
  }

private:
  std::unique_ptr<QTcpServer> server_;
  QPointer<QTcpSocket> peer_;
  int32_t handle_ = -1;
};

struct TransportCase {
  bool Serial;
  const char *Name;
  // A read by length takes exactly the length on a serial port, and every
  // waiting byte on a socket.
  int ByLengthOfTenWithFour;
};

class PortLayerTest : public ::testing::TestWithParam<TransportCase> {
protected:
  void SetUp() override {
    ResetProgramState();
    PortTestApp();
    link_ = GetParam().Serial ? std::unique_ptr<DeviceLink>(new PtyLink)
                              : std::unique_ptr<DeviceLink>(new TcpLink);
    ASSERT_TRUE(link_->Open());
  }
  std::unique_ptr<DeviceLink> link_;
  std::array<uint8_t, 512> buffer_{};
};

TEST_P(PortLayerTest, ReadTakesEverythingWaitingUpToTheReceiveBufferAndDropsTheSurplus) {
  int32_t count = 99;
  EXPECT_EQ(link_->Read(count, buffer_.data()), kPortNothingWaiting);
  EXPECT_EQ(count, 0);
  const auto burst = Pattern(300);
  link_->DeviceSendAndWait(burst);
  buffer_.fill(0xEE);
  EXPECT_EQ(link_->Read(count, buffer_.data()), kPortRxBuffSize);
  EXPECT_EQ(count, kPortRxBuffSize);
  EXPECT_TRUE(std::equal(burst.begin(), burst.begin() + kPortRxBuffSize, buffer_.begin()));
  EXPECT_EQ(buffer_[kPortRxBuffSize], 0xEE) << "wrote past the receive buffer";
  EXPECT_EQ(link_->Read(count, buffer_.data()), kPortNothingWaiting) << "surplus was kept";
}

TEST_P(PortLayerTest, ReadVariantsWaitForTheirLengthBeforeTakingAnything) {
  link_->DeviceSendAndWait(Pattern(10));
  int32_t count = 5;
  EXPECT_EQ(link_->ReadByLength(20, buffer_.data()), kPortNothingWaiting);
  EXPECT_EQ(link_->ReadByMinLength(11, count, buffer_.data()), kPortNothingWaiting);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(link_->Waiting(), 10);

  const int taken = GetParam().ByLengthOfTenWithFour;
  EXPECT_EQ(link_->ReadByLength(4, buffer_.data()), taken);
  EXPECT_EQ(link_->Waiting(), 10 - taken);
  if (link_->Waiting() > 0) {
    const int left = link_->Waiting();
    EXPECT_EQ(link_->ReadByMinLength(left, count, buffer_.data()), left);
    EXPECT_EQ(count, left);
  }
  EXPECT_EQ(link_->ReadByLength(0, buffer_.data()), kPortNothingWaiting) << "needs at least 1";
}

TEST_P(PortLayerTest, WriteReachesTheDeviceUnchangedAndAClosedPortNeitherReadsNorWrites) {
  const auto frame = Pattern(37);
  EXPECT_EQ(link_->Write(frame.data(), 37), 37);
  EXPECT_EQ(link_->DeviceReceive(37), frame);
  link_->DeviceSendAndWait(Pattern(4));
  link_->Close();
  int32_t count = 3;
  EXPECT_EQ(link_->Read(count, buffer_.data()), kPortNothingWaiting);
  EXPECT_EQ(count, 0);
  EXPECT_LE(link_->Write(buffer_.data(), 8), 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, PortLayerTest,
                         ::testing::Values(TransportCase{true, "Serial", 4},
                                           TransportCase{false, "Lan", 10}),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(PortUart, WriteDiscardsALateReplyWaitingFromAnEarlierFrame) {
  PortTestApp();
  PtyLink link;
  ASSERT_TRUE(link.Open());
  link.DeviceSendAndWait(Pattern(12));
  const auto frame = Pattern(8);
  EXPECT_EQ(PortUartWriteBuff(kTestPort, 8, frame.data()), 8);
  EXPECT_EQ(PortUartInQLen(kTestPort), 0);
  EXPECT_EQ(link.DeviceReceive(8), frame);
}

TEST(PortLan, MalformedAddressesFailWithoutConnecting) {
  PortTestApp();
  for (const char *address : {"", "300.1.1.1", "localhost", "1.2.3.4.5", "::1"}) {
    int32_t handle = 0;
    EXPECT_EQ(PortLanOpen(address, 80, handle), -1) << address;
  }
  int32_t handle = 0;
  EXPECT_EQ(PortLanOpen("127.0.0.1", 70000, handle), -1);
}

} // namespace
