// The program against the simulated source over TCP and its serial line: the
// connect identifies the model and the panels follow, Connect and Disconnect,
// a voltage typed and committed, the output, measurements and an alarm, a
// Step and a Cross program run, THD edits across a connect, and the link lost
// when the source stops answering or never answers.
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <cmath>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Popups.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/FPBlocks.h"
#include "measure/gui/MeasureArea.h"
#include "programs/gui/CrossPanel.h"
#include "programs/gui/StepPanel.h"
#include "records/Globals.h"
#include "ui/Panel.h"

namespace {

class MainPanelEndToEndTest : public SourceTest {
protected:
  int Received(const QString &command) const { return ::Received(LogPath(), command); }
  QString LogPath() const { return UserFile("powersim.log"); }

  // Waits until the source has received count frames of a command.
  bool WaitReceived(const QString &command, int count) {
    return RunUntil([&] { return Received(command) >= count; }, 15000);
  }
  // Nothing queued or in flight.
  static bool LinkIdle() {
    return RunUntil([] { return gCommInfo.PresentValid == 0 && gCommNewCmd.Count == 0; }, 30000);
  }
  int THDWrites() const {
    return Received("write THD group") + Received("write THD group first half");
  }
};

bool Near(double value, double expected) { return std::abs(value - expected) < 0.25; }

TEST_F(MainPanelEndToEndTest, VoltageOutputMeasurementsAndAlarm) {
  ASSERT_GT(StartSource({"--model", "FPA", "--rating", "5", "--serial", "--log", LogPath()}), 0);
  WriteSetDat(kModelFPA, true);
  ASSERT_EQ(Start(true), 0);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  ASSERT_EQ(gPowerInfo.ModelType, kModelFPA);
  ASSERT_EQ(gPowerInfo.OutputRunning, 0);
  MainPanel *panel = gMainPanel;
  OutputArea *output = panel->Output;
  EXPECT_TRUE(output->StoppedText->isVisibleTo(panel));

  // Output off: the voltage typed into the U entry writes the current group
  // when committed, nothing else (the queue tests type across replies).
  const int writesAtConnect = Received("write normal group");
  panel->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
  QDoubleSpinBox *entry = panel->KnobVol[0]->entry();
  entry->setFocus();
  entry->selectAll();
  QTest::keyClicks(entry, "123.4");
  EXPECT_EQ(Received("write normal group"), writesAtConnect);
  QTest::keyClick(entry, Qt::Key_Return);
  ASSERT_TRUE(WaitReceived("write normal group", writesAtConnect + 1));
  EXPECT_EQ(gNormalFPSet[gCurrentNormalGroup].VolU, 1234);
  EXPECT_EQ(Received("on-line change"), 0);
  EXPECT_EQ(Received("output on"), 0);

  // The output switch writes the group again, then switches on; the source's
  // status turns the panel to running once the rise is over.
  output->OutputSwitch->click();
  ASSERT_TRUE(WaitReceived("output on", 1));
  EXPECT_EQ(Received("write normal group"), writesAtConnect + 2);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.OutputRunning == 1 && gPowerInfo.RemainSecond == 0; },
                       30000));
  EXPECT_TRUE(output->OutputSwitch->isOn());
  EXPECT_TRUE(output->RunningText->isVisibleTo(panel));
  EXPECT_FALSE(output->StoppedText->isVisibleTo(panel));

  // While running the voltage goes out as an on-line change.
  panel->KnobVol[0]->setValue(150.0);
  ASSERT_TRUE(WaitReceived("on-line change", 1));
  EXPECT_EQ(Received("write normal group"), writesAtConnect + 2);
  EXPECT_TRUE(Dialogs_.Messages.empty());

  // The measurements follow: readout R1 (voltage) and the table, chart 1.
  MeasureArea *area = gMeasureArea;
  ASSERT_TRUE(RunUntil([area] { return Near(area->Readout[0][0]->number(), 150.0); }, 15000))
      << area->Readout[0][0]->number();
  EXPECT_TRUE(Near(area->Table[0][0]->number(), 150.0));
  EXPECT_GT(area->Readout[1][0]->number(), 0.0); // current into the load
  ASSERT_TRUE(RunUntil([area] { return Near(area->Chart[0]->lastValue(0), 150.0); }, 5000));
  EXPECT_GT(area->Chart[0]->pointCount(), 1);
  EXPECT_GT(area->Chart[1]->lastValue(0), 0.0);

  // An alarm of the source: its text on the panel, the output stopped.
  EXPECT_EQ(Control("alarm 603"), "ok alarm 603");
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Alarming == 1; }, 10000));
  EXPECT_TRUE(output->AlarmText->isVisibleTo(panel));
  EXPECT_EQ(output->AlarmText->text(),
            "E603: alarm of the power source; see the source's manual for this code");
  EXPECT_TRUE(output->BtClearAlarm->isEnabled());
  EXPECT_FALSE(output->RunningText->isVisibleTo(panel));

  // The clear-alarm key sends the source's clear command; its status clears
  // the indication.
  output->BtClearAlarm->click();
  ASSERT_TRUE(WaitReceived("clear alarm", 1));
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Alarming == 0; }, 10000));
  EXPECT_FALSE(output->AlarmText->isVisibleTo(panel));
  EXPECT_FALSE(output->BtClearAlarm->isEnabled());
  EXPECT_TRUE(output->StoppedText->isVisibleTo(panel));
  EXPECT_TRUE(Dialogs_.Messages.empty());
}

// The program panels run their programs at a GS: Step, each edit written;
// Cross, the USA profile as one whole-program write (the header and the eight
// entries). The progress over the preview advances with the source's steps.
TEST_F(MainPanelEndToEndTest, StepAndCrossPanelsRunTheProgramAtTheSource) {
  ASSERT_GT(StartSource({"--model", "GS", "--log", LogPath()}), 0);
  WriteSetDat(kModelGS);
  ASSERT_EQ(Start(true), 0);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));

  // Opening reads the program and enters Step mode; each edit is written.
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_STEP);
  ASSERT_TRUE(WaitReceived("read Step", 1));
  ASSERT_TRUE(WaitReceived("enter Step mode", 1));
  ASSERT_TRUE(LinkIdle());
  gStepPanel->Grid[kRowStepCnt][0]->setValue(9);
  ASSERT_TRUE(WaitReceived("write Step", 1));
  gStepPanel->Grid[kRowTimeS][0]->setValue(1.0);
  ASSERT_TRUE(WaitReceived("write Step", 2));

  // The output switch of this page writes the program, then switches on.
  gStepPanel->Output->OutputSwitch->click();
  ASSERT_TRUE(WaitReceived("output on", 1));
  EXPECT_EQ(Received("write Step"), 3);
  const ProgramGraphView &graph = gStepPanelState.Graph;
  ASSERT_TRUE(RunUntil([&] { return graph.Progress > 0; }, 15000));
  const int first = graph.Progress;
  ASSERT_TRUE(RunUntil([&] { return graph.Progress > first; }, 15000));
  gStepPanel->Output->OutputSwitch->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.OutputRunning == 0; }, 15000));
  EXPECT_TRUE(RunUntil([&] { return graph.Progress == 0; }, 5000)); // the plain preview
  gStepPanel->action(gStepPanel->exitItem())->trigger();
  ASSERT_TRUE(WaitReceived("select normal group", 1));
  EXPECT_EQ(gCurrentPage, kPageMain);

  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_CROSS);
  ASSERT_TRUE(LinkIdle());
  ASSERT_EQ(Received("write Cross entry"), 0);
  gCrossPanel->BtStandard[kCrossUSA]->click();
  ASSERT_TRUE(LinkIdle());
  EXPECT_EQ(Received("write Cross header"), 1);
  EXPECT_EQ(Received("write Cross entry"), 8);
  EXPECT_TRUE(Dialogs_.Messages.empty());
  gCrossPanel->Output->OutputSwitch->click();
  const ProgramGraphView &cross = gCrossPanelState.Graph;
  ASSERT_TRUE(RunUntil([&] { return cross.Progress > 1; }, 30000));
  EXPECT_EQ(gPowerState.RunState, kRunCross);
  const int crossFirst = cross.Progress;
  ASSERT_TRUE(RunUntil([&] { return cross.Progress > crossFirst + 20; }, 30000));
  // Entry 0 dips U, V and W to 18.0 V after 1 s at 120.0 V.
  EXPECT_DOUBLE_EQ(cross.Points[0][0], 120.0);
  EXPECT_DOUBLE_EQ(cross.Points[0][800 * 1200 / 35000], 18.0);
  gCrossPanel->Output->OutputSwitch->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.OutputRunning == 0; }, 30000));
  EXPECT_EQ(cross.Progress, 0);
}

// THD edits made offline survive the connect: the user is asked once, naming
// the groups, and Yes downloads them.
TEST_F(MainPanelEndToEndTest, THDEditsSurviveAConnection) {
  ASSERT_GT(StartSource({"--model", "FPA", "--log", LogPath()}), 0);
  WriteSetDat(kModelFPA);
  ASSERT_EQ(Start(), 0);
  gTHDSet[2].Percent[4] = 55;
  gTHDNeedDownload[2] = 1;
  Dialogs_.ConfirmAnswers = {1};
  CommConnectDeal(1);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  ASSERT_TRUE(RunUntil([] { return gTHDNeedDownload[2] == 0; }, 30000));
  EXPECT_EQ(THDWrites(), 1);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Text,
            "THD groups 3 were changed on the PC and not yet downloaded.\nDownload them to the "
            "source now? (No: discard the changes and read the groups from the source.)");
  EXPECT_EQ(gTHDSet[2].Percent[4], 55);
}

// The start-up attempt connects by itself with the wait popup up; the source
// names itself and the panels become those of a GS; Disconnect says nothing,
// three missed replies end the link with a message, Connect comes back.
TEST_F(MainPanelEndToEndTest, ConnectsIdentifiesReconfiguresAndLosesTheLink) {
  ASSERT_GT(StartSource({"--model", "GS", "--rating", "5"}), 0);
  WriteSetDat(kModelFSA);
  ASSERT_EQ(Start(true), 0);
  EXPECT_EQ(gPowerInfo.ModelType, kModelFSA);
  EXPECT_TRUE(RunUntil([] { return gWaitPanel != nullptr; }, 5000));
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  EXPECT_EQ(gPowerInfo.ModelType, kModelGS);
  EXPECT_TRUE(gMainMenu->isChecked(MENU_MODEL_GS));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_MODEL));
  EXPECT_TRUE(gMainPanel->Output->DCBox->isVisibleTo(gMainPanel));
  const QString model = QString::fromLatin1(gPowerInfo.PowerModelStr.data());
  EXPECT_EQ(model.size(), 11);
  for (ConnectionBar *bar : AllConnectionBars()) {
    EXPECT_EQ(bar->ModelName->text(), model);
    EXPECT_TRUE(bar->LinkLamp->isOn());
    EXPECT_FALSE(bar->BtConnect->isVisibleTo(bar));
  }
  EXPECT_DOUBLE_EQ(gMainPanel->NumOCP->maximum(), 7.5); // rating 5 on a GS
  // The FSA settings that were selected are kept for the next FSA.
  EXPECT_TRUE(QFileInfo::exists(UserFile("AutoSaveFSA.FPNorAll")));
  EXPECT_EQ(gWaitPanel, nullptr);

  gMainPanel->Connection->BtDisconnect->click();
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_TRUE(gMainPanel->Connection->BtConnect->isVisibleTo(gMainPanel));
  gMainPanel->Connection->BtConnect->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  EXPECT_TRUE(Dialogs_.Messages.empty());

  EXPECT_EQ(Control("silent 100000"), "ok silent 100000");
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 0; }, 30000));
  ASSERT_TRUE(RunUntil([this] { return !Dialogs_.Messages.empty(); }, 2000));
  EXPECT_EQ(Dialogs_.Messages[0].Title, "Error");
  for (ConnectionBar *bar : AllConnectionBars()) {
    EXPECT_TRUE(bar->BtConnect->isVisibleTo(bar));
    EXPECT_FALSE(bar->LinkLamp->isOn());
  }
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_MODEL));
  EXPECT_EQ(gWaitPanel, nullptr);
}

// A connect to an address where nothing answers leaves the window working:
// the click returns at once showing the address, the message comes later.
TEST_F(MainPanelEndToEndTest, AConnectToAnAddressThatDoesNotAnswerNeverStallsTheWindow) {
  // A server that accepts nothing and whose one-place backlog is taken.
  QTcpServer silent;
  silent.setListenBacklogSize(0);
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  silent.pauseAccepting();
  QTcpSocket filler;
  filler.connectToHost(QHostAddress::LocalHost, silent.serverPort());
  ASSERT_TRUE(filler.waitForConnected(2000));
  ASSERT_EQ(Start(), 0);
  gPowerInfo.CommType = kCommLAN;
  gPowerInfo.CommTypeLAN_IP1 = 127;
  gPowerInfo.CommTypeLAN_IP2 = gPowerInfo.CommTypeLAN_IP3 = 0;
  gPowerInfo.CommTypeLAN_IP4 = 1;
  gPowerInfo.CommTypeLAN_Port = silent.serverPort();
  gMainPanel->Connection->BtConnect->click();
  EXPECT_TRUE(Dialogs_.Messages.empty());
  EXPECT_TRUE(gMainPanel->Connection->LinkStatus->text().contains(
      QString("127.0.0.1:%1").arg(silent.serverPort())));
  EXPECT_TRUE(gMainPanel->Connection->BtDisconnect->isVisibleTo(gMainPanel));
  ASSERT_TRUE(RunUntil([this] { return !Dialogs_.Messages.empty(); }, 10000));
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_FALSE(gMainPanel->Connection->LinkStatus->isVisibleTo(gMainPanel));
}

} // namespace
