// A day at the main panel against the simulated source over its serial line:
// a voltage typed key by key across status replies goes out as a group write
// when committed, with the typed value; the output
// switch starts the source, a voltage typed while it runs goes out as an
// on-line change, the measurements reach the readouts and the charts, an
// alarm of the source shows its text and the clear-alarm key clears it.
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

#include "GuiTestSupport.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"
#include "records/Globals.h"
#include "ui/Panel.h"

namespace {

class MainPanelEndToEndTest : public SourceTest {
protected:
  // Frames of one command the source has received, by the name its log gives.
  int Received(const QString &command) const {
    QFile log(LogPath());
    if (!log.open(QIODevice::ReadOnly))
      return 0;
    const QRegularExpression line(
        QString(R"(\sin\s.*\s%1$)").arg(QRegularExpression::escape(command)),
        QRegularExpression::MultilineOption);
    int count = 0;
    for (auto it = line.globalMatch(QString::fromLatin1(log.readAll())); it.hasNext(); it.next())
      ++count;
    return count;
  }
  QString LogPath() const { return UserFile("powersim.log"); }

  // Waits until the source has received count frames of a command.
  bool WaitReceived(const QString &command, int count) {
    return RunUntil([&] { return Received(command) >= count; }, 15000);
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

  // Output off: the voltage typed into the U entry, a status reply after
  // every key, writes the current group when committed, nothing else.
  const int writesAtConnect = Received("write normal group");
  panel->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
  QDoubleSpinBox *entry = panel->KnobVol[0]->entry();
  entry->setFocus();
  entry->selectAll();
  for (const QChar key : QString("123.4")) {
    const int statusQueries = Received("status query");
    QTest::keyClick(entry, key.toLatin1());
    // The next query's reply has been shown once the one after it goes out.
    ASSERT_TRUE(WaitReceived("status query", statusQueries + 2));
  }
  EXPECT_EQ(entry->text(), "123.4");
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

} // namespace
