// Another source answering a reconnection: Yes (1) takes it on, No (0) stops.
#include "GuiTestSupport.h"
#include "comm/CommReconnect.h"
#include "records/Globals.h"

namespace {

class OtherSourceTest : public SourceTest, public ::testing::WithParamInterface<int> {};

TEST_P(OtherSourceTest, YesConnectsToItAndNoStopsReconnecting) {
  const int yes = GetParam();
  ASSERT_GT(StartSource({"--model", "GS"}), 0);
  const QString lan = Source->Endpoint("lan");
  WriteSetDat(kModelGS);
  ASSERT_EQ(Start(true), 0);
  gPowerInfo.CommAutoReconnect = gPowerInfo.CommReplyPacing = 1;
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  Source.reset();
  ASSERT_GT(StartSource({"--model", "FPA", "--lan", lan}), 0);
  Dialogs_.ConfirmAnswers = {yes};
  ASSERT_TRUE(RunUntil([this] { return !Dialogs_.Messages.empty(); }, 30000));
  ASSERT_TRUE(RunUntil(
      [yes] { return gPowerInfo.Connected == yes && ConnectionShown() == (yes == 1); }, 30000));
  EXPECT_EQ(gPowerInfo.ModelType, yes == 1 ? kModelFPA : kModelGS);
  EXPECT_FALSE(CommReconnectActive());
}

INSTANTIATE_TEST_SUITE_P(Answers, OtherSourceTest, ::testing::Values(1, 0));

} // namespace
