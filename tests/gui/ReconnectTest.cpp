// Reconnecting after a lost link finds another source at the same address:
// the user's answer decides whether the program takes it on.
#include "GuiTestSupport.h"
#include "app/gui/MainPanel.h"
#include "comm/CommReconnect.h"
#include "records/Globals.h"

#include <QRegularExpression>

namespace {

struct OtherSourceCase {
  const char *Name;
  int Answer; // 1 Yes, 0 No
  int32_t Connected;
  int32_t Model;
};

class OtherSourceTest : public SourceTest, public ::testing::WithParamInterface<OtherSourceCase> {};

TEST_P(OtherSourceTest, YesConnectsToItAndNoStopsReconnecting) {
  const OtherSourceCase &c = GetParam();
  ASSERT_GT(StartSource({"--model", "GS"}), 0);
  const QString lan = Endpoint("lan");
  WriteSetDat(kModelGS);
  ASSERT_EQ(Start(true), 0);
  gPowerInfo.CommAutoReconnect = 1;
  gPowerInfo.CommReplyPacing = 1;
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));

  Source.kill();
  Source.waitForFinished();
  ASSERT_GT(StartSource({"--model", "FPA", "--lan", lan}), 0);
  Dialogs_.ConfirmAnswers = {c.Answer};
  ASSERT_TRUE(RunUntil([this] { return !Dialogs_.Messages.empty(); }, 30000));
  EXPECT_EQ(Dialogs_.Messages[0].Title, "Another power source");
  EXPECT_TRUE(Dialogs_.Messages[0].Text.contains(QRegularExpression("answered at LAN .*: QXFP.* "
                                                                    "instead of QXGS")))
      << Dialogs_.Messages[0].Text.toStdString();
  ASSERT_TRUE(RunUntil(
      [&] {
        return gPowerInfo.Connected == c.Connected && ConnectionShown() == (c.Connected == 1);
      },
      30000));
  EXPECT_EQ(gPowerInfo.ModelType, c.Model);
  EXPECT_FALSE(CommReconnectActive());
  EXPECT_EQ(Dialogs_.Messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, OtherSourceTest,
                         ::testing::Values(OtherSourceCase{"Yes", 1, 1, kModelFPA},
                                           OtherSourceCase{"No", 0, 0, kModelGS}),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
