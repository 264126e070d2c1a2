// The GPIB port: the driver library is loaded at first use from the file
// VEXA_GPIB_LIBRARY names; the stand-in driver routes the bus to a TCP server
// that plays the device.
#include "PortTestSupport.h"

#include "TestSupport.h"
#include "app/MainTimer.h"
#include "comm/CommConnect.h"
#include "comm/CommPortFunc.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

constexpr int kStatusErr = 0x8000;
constexpr int kStatusTimo = 0x4000;

// Sets the driver environment for one test and forgets the loaded driver
// before and after, so that every test loads the library it chose.
class GpibEnvironment {
public:
  GpibEnvironment(const QByteArray &library, const QByteArray &sim) {
    PortTestApp();
    PortGPIBUnloadLibrary();
    Set("VEXA_GPIB_LIBRARY", library);
    Set("VEXA_GPIB_SIM", sim);
  }
  ~GpibEnvironment() {
    PortGPIBUnloadLibrary();
    qunsetenv("VEXA_GPIB_LIBRARY");
    qunsetenv("VEXA_GPIB_SIM");
  }

private:
  static void Set(const char *name, const QByteArray &value) {
    if (value.isEmpty())
      qunsetenv(name);
    else
      qputenv(name, value);
  }
};

class SimulatedBus {
public:
  SimulatedBus() { server_.listen(QHostAddress::LocalHost, 0); }
  QByteArray Address() const { return "127.0.0.1:" + QByteArray::number(server_.serverPort()); }
  QTcpSocket *Accept() {
    if (!PumpUntil([&] { return server_.hasPendingConnections(); }))
      return nullptr;
    return server_.nextPendingConnection();
  }

private:
  QTcpServer server_;
};

TEST(PortGpib, TheStandInDriverCarriesFramesReadsExactlyTheAskedCountAndIsReleased) {
  PortTestApp();
  SimulatedBus bus;
  GpibEnvironment env(VEXA_GPIB_STUB, bus.Address());
  ASSERT_EQ(PortGPIBLibraryLoaded(), 1);
  const int ud = PortGPIBOpen(5);
  ASSERT_GE(ud, 0);
  QPointer<QTcpSocket> device = bus.Accept();
  ASSERT_TRUE(device);

  const std::array<uint8_t, 8> query = {0x7B, 0, 8, 1, 0xF0, 0xED, 0xE6, 0x7D};
  EXPECT_EQ(PortGPIBWriteBuff(ud, 8, query.data()) & kStatusErr, 0);
  ASSERT_TRUE(PumpUntil([&] { return device->bytesAvailable() >= 8; }));
  EXPECT_EQ(device->readAll(), QByteArray(reinterpret_cast<const char *>(query.data()), 8));

  QByteArray reply(30, '\0');
  for (int i = 0; i < reply.size(); ++i)
    reply[i] = static_cast<char>(i + 1);
  device->write(reply);
  device->flush();
  std::array<uint8_t, kPortRxBuffSize> buffer{};
  const int status = PortGPIBReadBuffByLenght(ud, 24, buffer.data());
  EXPECT_EQ(status & kStatusErr, 0);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), 24), reply.left(24));

  // Six bytes are left: asking for ten runs into the time-out.
  const int timedOut = PortGPIBReadBuffByLenght(ud, 10, buffer.data());
  EXPECT_EQ(timedOut & (kStatusErr | kStatusTimo), kStatusErr | kStatusTimo);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), 6), reply.mid(24));

  // A new connect releases the descriptor of the last one.
  EXPECT_EQ(PortGPIBClose(ud), 0);
  EXPECT_GE(PortGPIBOpen(5), 0);
  EXPECT_TRUE(bus.Accept());
  EXPECT_TRUE(PumpUntil([&] { return device->state() != QAbstractSocket::ConnectedState; }));
}

// The link writes through the port of the chosen type: over GPIB the model
// query of a connect reaches the device on the bus.
TEST(PortGpib, AConnectSendsTheModelQueryOverTheBus) {
  PortTestApp();
  SimulatedBus bus;
  GpibEnvironment env(VEXA_GPIB_STUB, bus.Address());
  ResetProgramState();
  RecordingHooks hooks;
  SetHooks(&hooks);
  gPowerInfo.SoftwareAddress = 1;
  gPowerInfo.CommType = kCommGPIB;
  CommConnectDeal(1);
  ASSERT_EQ(gPowerInfo.Connected, 1);
  QPointer<QTcpSocket> device = bus.Accept();
  ASSERT_TRUE(device);
  MainTimerTick();
  EXPECT_TRUE(PumpUntil([&] { return device->bytesAvailable() >= 8; }));
  EXPECT_EQ(device->readAll(), QByteArray("\x7B\x00\x08\x01\xF0\xED\xE6\x7D", 8));
  CommConnectDeal(0);
  SetHooks(nullptr);
}

} // namespace
