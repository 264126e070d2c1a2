// The List panel against the simulated source over TCP: a whole program
// loaded from a file goes out as one header and 100 steps, reads back the
// same over a new connection, and runs with its progress over the preview,
// which starts again with each cycle.
#include <tuple>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "programs/Arithmetic.h"
#include "programs/gui/ListPanel.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"
#include "storage/IniDeal.h"

namespace {

class ListEndToEndTest : public SourceTest {
protected:
  QString LogPath() const { return UserFile("powersim.log"); }
  int Received(const QString &command) const { return ::Received(LogPath(), command); }
  static bool LinkIdle() {
    return RunUntil(
        [] {
          return gPowerInfo.Connected == 1 && gCommNewCmd.Count == 0 && gCommInfo.PresentValid == 0;
        },
        30000);
  }
};

auto Fields(const ListPhase &p) {
  return std::tie(p.Vol, p.Freq, p.TimeH, p.TimeM, p.TimeS2P, p.Wave);
}

TEST_F(ListEndToEndTest, WholeProgramWrittenReadBackAndRun) {
  ASSERT_GT(StartSource({"--model", "FPA", "--log", LogPath()}), 0);
  WriteSetDat(kModelFPA);
  ASSERT_EQ(Start(true), 0);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_LIST);
  ASSERT_TRUE(LinkIdle());
  ASSERT_EQ(Received("read List step"), 100);

  // Three steps of 1 s (100, 150, 200 V), three times; the rest as it was.
  gListSet.StartNo = 0;
  gListSet.StopNo = 2;
  gListSet.CircleDegree = 3;
  for (int s = 0; s < 100; ++s)
    for (ListPhase &p : gListListSet[s].Phase) {
      p.Vol = s < 3 ? 1000 + 500 * s : 2000 + s;
      p.VolLine = PhaseToLine(p.Vol);
      p.TimeS2P = s < 3 ? 100 : 200 + 2 * s;
    }
  FileWriteListAll(UserFile("three.ListAll"));
  DataFPInitListAll();
  ASSERT_EQ(ListLoadFile(kPageList, UserFile("three.ListAll"), true), 1);
  ASSERT_TRUE(LinkIdle());
  EXPECT_EQ(Received("write List header"), 1);
  EXPECT_EQ(Received("write List step"), 100);
  const ListSet header = gListSet;
  const auto steps = gListListSet;

  // Over a new connection the panel reads the program back, as written.
  gListPanel->action(gListPanel->exitItem())->trigger();
  ASSERT_TRUE(LinkIdle());
  DataFPInitListAll();
  gMainPanel->Connection->BtDisconnect->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 0; }, 15000));
  gMainPanel->Connection->BtConnect->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_LIST);
  ASSERT_TRUE(LinkIdle());
  EXPECT_EQ(Received("read List step"), 200);
  EXPECT_EQ(gListSet.StopNo, header.StopNo);
  EXPECT_EQ(gListSet.CircleDegree, header.CircleDegree);
  for (int s = 0; s < 100; ++s)
    for (int phase = 0; phase < 3; ++phase)
      EXPECT_EQ(Fields(gListListSet[s].Phase[phase]), Fields(steps[s].Phase[phase])) << s;

  // Run: the progress advances, falls back when the next cycle starts (the
  // graph drawn anew), and the plain preview returns when the output stops.
  // The check before the run offers the line voltages of V and W, which the
  // source does not send back, as corrections: accepted.
  Dialogs_.ConfirmAnswers = {1};
  gListPanel->Output->OutputSwitch->click();
  const ProgramGraphView &graph = gListPanelState.Graph;
  int highest = 0;
  uint32_t revision = 0;
  ASSERT_TRUE(RunUntil(
      [&] {
        if (graph.Progress > highest) {
          highest = graph.Progress;
          revision = graph.Revision;
        }
        return highest > 0 && graph.Progress > 0 && graph.Progress < highest;
      },
      15000));
  EXPECT_GT(graph.Revision, revision);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.OutputRunning == 0; }, 15000));
  EXPECT_TRUE(RunUntil([&] { return graph.Progress == 0; }, 5000));
}

} // namespace
