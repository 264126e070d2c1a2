// The main panel's requests taken by the scheduler and built into frames.
#include "app/MainPanelFunc.h"
#include "app/NormalPanelMap.h"
#include "comm/CommScheduler.h"
#include "comm/FPBlocks.h"

#include "MainPanelTestSupport.h"

#include <array>

namespace {

class PanelToFrame : public MainPanelTest {
protected:
  // Starts the oldest request as the idle scheduler would and decodes the
  // normal group it carries.
  NormalFPSet TakeNormalGroupFrame() {
    EXPECT_EQ(CommReadNewCmdGroupToPresentGroup(), 1);
    EXPECT_EQ(gCommInfo.PresentCmd1, 90);
    EXPECT_EQ(gCommInfo.PresentCmd2, 33);
    NormalFPSet sent{};
    DecodeFPNormalGroup(gCommInfo.TxBuff.data(), sent);
    return sent;
  }
};

TEST_F(PanelToFrame, WriteFrameCarriesTheAnglesThePanelShows) {
  struct Case {
    int Model;
    double UV, UW, VW;              // typed, and derived VW
    int32_t SentUV, SentUW, SentVW; // 0.1 degree
  };
  // clang-format off
  const Case cases[] = {
      {kModelFPA, 90.0, 300.0, 210.0, 900, 3000, 2100},
      {kModelFPB, 240.0, 120.0, 240.0, 2400, 1200, 2400},
      {kModelGS, 100.0, 100.0, 0.0, 1000, 1000, 0},
  };
  // clang-format on
  for (const Case &c : cases) {
    SetUp();
    UseModel(c.Model);
    Connect();
    gNormalFPSet[0].OutMode = 16;
    DataFPFromNormalVarToPanel(panel);
    panel.Angle.AngleUV.Value = c.UV;
    panel.Angle.AngleUW.Value = c.UW;
    FPNormalChanged(panel);
    const NormalFPSet sent = TakeNormalGroupFrame();
    EXPECT_DOUBLE_EQ(panel.Angle.AngleVW.Value, c.VW) << c.Model;
    EXPECT_EQ((std::array{sent.AngleUV, sent.AngleUW, sent.AngleVW}),
              (std::array{c.SentUV, c.SentUW, c.SentVW}))
        << c.Model;
  }
}

TEST_F(PanelToFrame, StandardAngleKeyAndOutputOnWriteTheGroupFirst) {
  UseModel(kModelGS);
  Connect();
  NormalFPSet &g = gNormalFPSet[0];
  g.OutMode = 16;
  g.AngleUV = 500;
  g.AngleUW = 1000;
  g.AngleVW = 500;
  StandardAngleKey(panel);
  EXPECT_EQ(TakeNormalGroupFrame().AngleVW, 1200);
  CommSetPresentCmd(0, 0, 0); // the reply came; idle again

  OutputSwitchClick(panel);
  EXPECT_EQ(TakeNormalGroupFrame().AngleVW, 1200);
  CommSetPresentCmd(0, 0, 0);
  ASSERT_EQ(CommReadNewCmdGroupToPresentGroup(), 1);
  EXPECT_EQ(gCommInfo.PresentCmd1, 15);
  EXPECT_EQ(gCommInfo.PresentCmd2, 255);
}

} // namespace
