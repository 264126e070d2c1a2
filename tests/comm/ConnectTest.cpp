// The connection procedure: open failures and their message, what a
// disconnect tears down, and open failures of the system's ports.
#include "PortTestSupport.h"
#include "SchedulerTestSupport.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// ---- With the simulated cable ----

using ConnectProcedure = LinkTest;

TEST_F(ConnectProcedure, ThePortErrorIsShownInTheCurrentLanguageButNotAtStartUp) {
  const struct {
    int32_t Language;
    bool StartUp;
    const char *Message; // nullptr: silent
  } cases[] = {{1, false, "Error|Open port error. Please reset."},
               {0, false, "出错|通讯端口打开错误，请重新选择端口！"},
               {1, true, nullptr}};
  source_.OpenResult = -1;
  for (const auto &c : cases) {
    gPowerInfo.Language = c.Language;
    hooks_ = RecordingHooks{};
    c.StartUp ? CommConnectAtStartUp() : CommConnectDeal(1);
    EXPECT_EQ(gPowerInfo.Connected, 0);
    EXPECT_EQ(gCommNewCmd.Count, 0);
    EXPECT_EQ(gFirstConnect, 0);
    EXPECT_TRUE(hooks_.Calls.empty());
    EXPECT_EQ(hooks_.Messages, c.Message ? Strings{c.Message} : Strings{}) << c.Language;
  }
}

// Without the link the output's state is unknown: it is forgotten and shown
// so, and the model menu opens.
TEST_F(ConnectProcedure, DisconnectStopsThePollsClearsTheReadoutsAndClosesThePort) {
  for (int32_t model : {kModelGS, kModelFCT}) {
    ASSERT_TRUE(LinkTest::Connect(model));
    gPowerInfo.OutputRunning = 1;
    gMeasureOutput.At(kMeasVoltage, 0) = 2200;
    gPowerState.DCValue = 55;
    CommSetNewCmdGroup(kGroupReadList); // shows the wait popup on the next tick
    Ticks(1);
    hooks_.Calls.clear();
    CommConnectDeal(0);
    EXPECT_EQ(gPowerInfo.Connected, 0);
    EXPECT_EQ(
        hooks_.Calls,
        (Strings{"RefreshOutputState", "CommConnectToPanel(0)", "RefreshDCOutputStateAndMeasure",
                 model == kModelGS ? "DataFPFromMeasureToPanel" : "DataFCFromMeasureToPanel",
                 "DisplayPanelWait(0)", "MainMenuSetPowerModelDimmed(0)"}));
    EXPECT_EQ(gMeasureOutput.At(kMeasVoltage, 0), 0);
    EXPECT_EQ(gPowerState.DCValue, 0);
    EXPECT_EQ(gPowerInfo.OutputRunning, 0);
    EXPECT_EQ(gCommInfo.PresentValid, 0);
    EXPECT_EQ(gCommNewCmd.Count, 0);
    EXPECT_TRUE(hooks_.Messages.empty()) << "a disconnect asked for is silent";
    const size_t sent = source_.Sent.size();
    Ticks(100);
    EXPECT_EQ(source_.Sent.size(), sent) << "nothing is polled once disconnected";
  }
  EXPECT_EQ(source_.Closes, 2);
}

// ---- Through the system's ports ----
// (Whole exchanges over TCP, the pseudo-terminal and the GPIB driver are run
// against the simulated source by the end-to-end tests.)

class ConnectSystemPort : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(workDir_.IsValid());
    ResetProgramState();
    PortTestApp();
    gPowerInfo.SoftwareAddress = 1;
    gPowerInfo.Language = 1;
    SetHooks(&hooks_);
  }
  void TearDown() override {
    SetHooks(nullptr);
    PortGPIBUnloadLibrary();
    qunsetenv("VEXA_GPIB_LIBRARY");
  }

  TempWorkDir workDir_;
  RecordingHooks hooks_;
};

TEST_F(ConnectSystemPort, WhenNothingOpensTheUserIsToldWhichPortAndWhy) {
  quint16 refused = 0;
  {
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    refused = gone.serverPort();
  }
  gPowerInfo.CommTypeLAN_IP1 = 127;
  gPowerInfo.CommTypeLAN_IP4 = 1;
  gPowerInfo.CommTypeLAN_Port = refused;
  std::snprintf(gPowerInfo.CommTypeRS232Device.data(), gPowerInfo.CommTypeRS232Device.size(),
                "/dev/vexa-no-such-port");
  const struct {
    int32_t CommType;
    QByteArray GpibLibrary;
    std::string Port, Why; // what the message names
  } cases[] = {
      {kCommRS232, {}, "serial port /dev/vexa-no-such-port", "there is no such device."},
      {kCommLAN, {}, "LAN 127.0.0.1:", "the connection was refused"},
      {kCommGPIB, "/nonexistent/libgpib.so", "GPIB address 0", "no GPIB driver library was found."},
      {kCommGPIB, VEXA_GPIB_STUB, "GPIB address 0", "the GPIB driver refused the device."},
      {0, {}, "", "the port could not be opened."}};
  for (const auto &c : cases) {
    gPowerInfo.CommType = c.CommType;
    qputenv("VEXA_GPIB_LIBRARY", c.GpibLibrary);
    PortGPIBUnloadLibrary();
    hooks_.Messages.clear();
    CommConnectDeal(1);
    EXPECT_TRUE(PumpUntil([] {
      CommConnectTick();
      return gCommLink.Opening == 0;
    }));
    EXPECT_EQ(gPowerInfo.Connected, 0);
    ASSERT_EQ(hooks_.Messages.size(), 1u) << c.Why;
    const std::string &message = hooks_.Messages[0];
    EXPECT_EQ(message.rfind("Error|Cannot open " + c.Port, 0), 0u) << message;
    EXPECT_NE(message.find(": " + c.Why), std::string::npos) << message;
  }
}

} // namespace
