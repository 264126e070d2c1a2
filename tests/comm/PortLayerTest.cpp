// The serial port against a real pseudo-terminal, with the event loop running
// between the device's bytes and the program's reads.
// (Whole exchanges over the socket, the pseudo-terminal and the GPIB driver
// are run against the simulated source by the end-to-end tests.)
#include "PortTestSupport.h"

#include "comm/CommPortFunc.h"
#include "records/Globals.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <array>
#include <fcntl.h>
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

// A pseudo-terminal: the device writes and reads the master side, the program
// opens the slave device as its serial port.
class PortUart : public ::testing::Test {
protected:
  void SetUp() override {
    ResetProgramState();
    PortTestApp();
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0);
    ASSERT_EQ(PortUartOpen(kTestPort, ptsname(master_), 38400, 0, 8, 1, 1024, 1024), 0);
  }
  void TearDown() override {
    PortUartClose(kTestPort);
    if (master_ >= 0)
      close(master_);
  }
  // Sends from the device and runs the event loop until the port has it all.
  void DeviceSend(const std::vector<uint8_t> &bytes) {
    const int before = PortUartInQLen(kTestPort);
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ASSERT_TRUE(PumpUntil(
        [&] { return PortUartInQLen(kTestPort) >= before + static_cast<int>(bytes.size()); }));
  }
  std::vector<uint8_t> DeviceReceive(size_t n) {
    std::vector<uint8_t> got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < n && clock.elapsed() < 3000) {
      PumpFor(2);
      pollfd ready{master_, POLLIN, 0};
      std::array<uint8_t, 512> chunk{};
      const ssize_t r = poll(&ready, 1, 10) > 0 ? read(master_, chunk.data(), chunk.size()) : 0;
      if (r > 0)
        got.insert(got.end(), chunk.begin(), chunk.begin() + r);
    }
    return got;
  }

  int master_ = -1;
  std::array<uint8_t, 512> buffer_{};
};

// Read as the scheduler reads a reply: through the program's port.
TEST_F(PortUart, ReadTakesEverythingWaitingUpToTheReceiveBufferAndDropsTheSurplus) {
  gPowerInfo.CommType = kCommRS232;
  gPowerInfo.CommTypeRS232Port = kTestPort;
  SystemCommPort port;
  EXPECT_EQ(port.Read(buffer_.data(), kCommBuffSize, 0), 0);
  const auto burst = Pattern(300);
  DeviceSend(burst);
  buffer_.fill(0xEE);
  EXPECT_EQ(port.Read(buffer_.data(), kCommBuffSize, 0), kCommBuffSize);
  EXPECT_TRUE(std::equal(burst.begin(), burst.begin() + kCommBuffSize, buffer_.begin()));
  EXPECT_EQ(buffer_[kCommBuffSize], 0xEE) << "wrote past the receive buffer";
  EXPECT_EQ(port.Read(buffer_.data(), kCommBuffSize, 0), 0) << "surplus was kept";
}

TEST_F(PortUart, WriteDiscardsALateReplyAndReachesTheDeviceUnchanged) {
  DeviceSend(Pattern(12));
  const auto frame = Pattern(37);
  EXPECT_EQ(PortUartWriteBuff(kTestPort, 37, frame.data()), 37);
  EXPECT_EQ(PortUartInQLen(kTestPort), 0);
  EXPECT_EQ(DeviceReceive(37), frame);
  DeviceSend(Pattern(4));
  PortUartClose(kTestPort);
  int32_t count = 3;
  EXPECT_EQ(PortUartReadBuff(kTestPort, count, buffer_.data()), kPortNothingWaiting);
  EXPECT_EQ(count, 0);
  EXPECT_LE(PortUartWriteBuff(kTestPort, 8, buffer_.data()), 0);
}

} // namespace
