// The connection procedure: open failures and their message, what a connect
// and a disconnect set up and tear down, and whole connect exchanges through
// open failures through the system's ports.
#include "PortTestSupport.h"
#include "SchedulerTestSupport.h"

#include "measure/Database.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// ---- With the simulated cable ----

struct OpenFailureCase {
  const char *Name;
  int32_t Language;
  bool StartUp;
  const char *Message; // nullptr: silent
};

class ConnectOpenFailure : public LinkTest,
                           public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(ConnectOpenFailure, ThePortErrorIsShownInTheCurrentLanguageButNotAtStartUp) {
  gPowerInfo.Language = GetParam().Language;
  source_.OpenResult = -1;
  if (GetParam().StartUp)
    CommConnectAtStartUp();
  else
    CommConnectDeal(1);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_EQ(gCommNewCmd.Count, 0);
  EXPECT_EQ(gFirstConnect, 0);
  EXPECT_TRUE(hooks_.Calls.empty());
  if (GetParam().Message) {
    EXPECT_EQ(hooks_.Messages, std::vector<std::string>{GetParam().Message});
  } else {
    EXPECT_TRUE(hooks_.Messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectOpenFailure,
    ::testing::Values(OpenFailureCase{"English", 1, false, "Error|Open port error. Please reset."},
                      OpenFailureCase{"Chinese", 0, false,
                                      "出错|通讯端口打开错误，请重新选择端口！"},
                      OpenFailureCase{"AnyOtherLanguageCodeIsChinese", 7, false,
                                      "出错|通讯端口打开错误，请重新选择端口！"},
                      OpenFailureCase{"StartUpEnglish", 1, true, nullptr},
                      OpenFailureCase{"StartUpChinese", 0, true, nullptr}),
    [](const auto &info) { return std::string(info.param.Name); });

using ConnectProcedure = LinkTest;

TEST_F(ConnectProcedure, AnOpenPortStartsTheConnectExchangeFromAClearedState) {
  for (int32_t commType : {kCommRS232, kCommLAN, kCommGPIB}) {
    ResetProgramState();
    source_ = FakeSource{};
    hooks_ = RecordingHooks{};
    gPowerInfo.CommType = commType;
    gPowerInfo.RemainSecond = 9;
    gCommInfo.NoReplyCount = 2;
    gCommInfo.ListDataOk = 1;
    gCommInfo.PresentValid = 1;
    CommSetNewCmdSingleGroup(0x5A, 0x21, 4);
    CommConnectDeal(1);
    EXPECT_EQ(gPowerInfo.Connected, 1);
    EXPECT_EQ(gPowerInfo.RemainSecond, 0);
    EXPECT_EQ(gCommInfo.NoReplyCount, 0);
    EXPECT_EQ(gCommInfo.ListDataOk, 0);
    EXPECT_EQ(gCommInfo.PresentValid, 0);
    ASSERT_EQ(gCommNewCmd.Count, 1);
    EXPECT_EQ(gCommNewCmd.Group[0], kGroupConnect);
    EXPECT_EQ(gCommNewCmd.Step[0], 10);
    EXPECT_EQ(gCommNewCmd.Cmd1[0], 0xF0);
    EXPECT_EQ(gCommNewCmd.Cmd2[0], 0xED);
    EXPECT_EQ(source_.Clears, commType == kCommRS232 ? 1 : 0) << commType;
    EXPECT_EQ(hooks_.Calls, std::vector<std::string>{"MainMenuSetPowerModelDimmed(1)"});
    EXPECT_TRUE(hooks_.Messages.empty());
  }
}

TEST_F(ConnectProcedure, ConnectWhileConnectedAndDisconnectWhileDisconnectedDoNothing) {
  CommConnectDeal(0);
  EXPECT_EQ(source_.Closes, 0);
  EXPECT_TRUE(hooks_.Calls.empty());
  CommConnectDeal(1);
  CommConnectDeal(1);
  EXPECT_EQ(source_.Opens, 1);
  EXPECT_EQ(gCommNewCmd.Count, 1);
}

struct DisconnectCase {
  const char *Name;
  int32_t Model;
  int32_t Running;
  std::vector<std::string> Calls;
};

class ConnectDisconnect : public LinkTest, public ::testing::WithParamInterface<DisconnectCase> {};

TEST_P(ConnectDisconnect, StopsThePollsClearsTheReadoutsAndClosesThePort) {
  ASSERT_TRUE(LinkTest::Connect(GetParam().Model));
  gPowerInfo.OutputRunning = GetParam().Running;
  gMeasureOutput.At(kMeasVoltage, 0) = 2200;
  gPowerState.DCValue = 55;
  CommSetNewCmdGroup(kGroupReadList); // shows the wait popup on the next tick
  Ticks(1);
  hooks_.Calls.clear();
  CommConnectDeal(0);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_EQ(hooks_.Calls, GetParam().Calls);
  EXPECT_EQ(gMeasureOutput.At(kMeasVoltage, 0), 0);
  EXPECT_EQ(gPowerState.DCValue, 0);
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_EQ(gCommInfo.PresentValid, 0);
  EXPECT_EQ(gCommNewCmd.Count, 0);
  EXPECT_EQ(source_.Closes, 1);
  EXPECT_TRUE(hooks_.Messages.empty()) << "a disconnect asked for is silent";
  const size_t sent = source_.Sent.size();
  Ticks(100);
  EXPECT_EQ(source_.Sent.size(), sent) << "nothing is polled once disconnected";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectDisconnect,
    // Without the link the output's state is unknown: it is forgotten and
    // shown so, and the model menu opens.
    ::testing::Values(DisconnectCase{"GSStopped",
                                     kModelGS,
                                     0,
                                     {"RefreshOutputState", "CommConnectToPanel(0)",
                                      "RefreshDCOutputStateAndMeasure", "DataFPFromMeasureToPanel",
                                      "DisplayPanelWait(0)", "MainMenuSetPowerModelDimmed(0)"}},
                      DisconnectCase{"FCTRunningForgetsTheOutputState",
                                     kModelFCT,
                                     1,
                                     {"RefreshOutputState", "CommConnectToPanel(0)",
                                      "RefreshDCOutputStateAndMeasure", "DataFCFromMeasureToPanel",
                                      "DisplayPanelWait(0)", "MainMenuSetPowerModelDimmed(0)"}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(ConnectProcedure, TheTimerRunsTheSchedulerOnlyWhileConnectedAndCountsDownTheRise) {
  Ticks(50);
  EXPECT_TRUE(source_.Sent.empty());
  EXPECT_EQ(gTimerTick, 50);

  gPowerInfo.OutputRunning = 1;
  gPowerInfo.RemainSecond = 3;
  gTimerTick = 0;
  Ticks(59);
  EXPECT_EQ(gPowerInfo.RemainSecond, 1);
  Ticks(1);
  EXPECT_EQ(gPowerInfo.RemainSecond, 0);
  Ticks(40);
  EXPECT_EQ(gPowerInfo.RemainSecond, 0);

  gPowerInfo.OutputRunning = 0;
  gPowerInfo.RemainSecond = 3;
  Ticks(40);
  EXPECT_EQ(gPowerInfo.RemainSecond, 3) << "only while the output runs";

  CommConnectDeal(1);
  Ticks(1);
  EXPECT_EQ(source_.Names(), std::vector<std::string>{"F0 ED"});
}

TEST_F(ConnectProcedure, TheTimerRecordsAMeasurementRowOnPhaseThreeWhileConnectedAndRunning) {
  ASSERT_EQ(DatabaseOpenMeasureRecordByName("Measure.mdb", gDatabaseInfo), 0);
  gPowerInfo.OutputRunning = 1;
  Ticks(20);
  EXPECT_EQ(gDateTimeLast.Year, 0) << "nothing is recorded while disconnected";

  source_.RunState = 144;
  ASSERT_TRUE(LinkTest::Connect(kModelFPA));
  while (gTimerTick % 10 != 1)
    Ticks(1);
  gDateTimeLast = DateTime{};
  gDateTimeLast.Second = -1; // a second the clock never shows
  Ticks(1);
  EXPECT_EQ(gDateTimeLast.Year, 0);
  Ticks(1);
  EXPECT_GE(gDateTimeLast.Year, 2000) << "row stored on the tick whose counter ends in 3";
  DatabaseClose(gDatabaseInfo);
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

struct SystemOpenFailureCase {
  const char *Name;
  int32_t CommType;
  QByteArray GpibLibrary;
  std::string Port, Why; // what the message names
};

class ConnectSystemOpenFailure : public ConnectSystemPort,
                                 public ::testing::WithParamInterface<SystemOpenFailureCase> {};

TEST_P(ConnectSystemOpenFailure, NothingOpensAndTheUserIsTold) {
  gPowerInfo.CommType = GetParam().CommType;
  if (GetParam().CommType == kCommLAN) {
    quint16 port = 0;
    {
      QTcpServer gone;
      ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
      port = gone.serverPort();
    }
    gPowerInfo.CommTypeLAN_IP1 = 127;
    gPowerInfo.CommTypeLAN_IP4 = 1;
    gPowerInfo.CommTypeLAN_Port = port;
  }
  if (GetParam().CommType == kCommRS232)
    std::snprintf(gPowerInfo.CommTypeRS232Device.data(), gPowerInfo.CommTypeRS232Device.size(),
                  "/dev/vexa-no-such-port");
  if (!GetParam().GpibLibrary.isEmpty())
    qputenv("VEXA_GPIB_LIBRARY", GetParam().GpibLibrary);
  PortGPIBUnloadLibrary();
  CommConnectDeal(1);
  EXPECT_TRUE(PumpUntil([] {
    CommConnectTick();
    return gCommLink.Opening == 0;
  }));
  EXPECT_EQ(gPowerInfo.Connected, 0);
  ASSERT_EQ(hooks_.Messages.size(), 1u);
  const std::string &message = hooks_.Messages[0];
  EXPECT_EQ(message.rfind("Error|Cannot open " + GetParam().Port, 0), 0u) << message;
  EXPECT_NE(message.find(": " + GetParam().Why), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Ports, ConnectSystemOpenFailure,
    ::testing::Values(
        SystemOpenFailureCase{"SerialDeviceMissing",
                              kCommRS232,
                              {},
                              "serial port /dev/vexa-no-such-port",
                              "there is no such device."},
        SystemOpenFailureCase{
            "NothingListensOnTheLAN", kCommLAN, {}, "LAN 127.0.0.1:", "the connection was refused"},
        SystemOpenFailureCase{"NoGPIBDriver", kCommGPIB, "/nonexistent/libgpib.so",
                              "GPIB address 0", "no GPIB driver library was found."},
        SystemOpenFailureCase{"GPIBDriverWithoutADevice", kCommGPIB, VEXA_GPIB_STUB,
                              "GPIB address 0", "the GPIB driver refused the device."},
        SystemOpenFailureCase{"UnknownPortType", 0, {}, "", "the port could not be opened."}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
