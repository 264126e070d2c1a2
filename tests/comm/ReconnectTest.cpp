// The automatic reconnection after a lost link: the growing interval, the
// same source taken back, another source left to the user.
#include "SchedulerTestSupport.h"

#include "comm/CommReconnect.h"

#include <gtest/gtest.h>

namespace {

class Reconnect : public LinkTest {
protected:
  // Connected to an FPA with the option on; then the source goes silent and
  // the link is lost (three misses of 12 ticks on LAN).
  void LoseTheLink() {
    gPowerInfo.CommAutoReconnect = 1;
    ASSERT_TRUE(Connect(kModelFPA));
    source_.Mute = [](const SentFrame &) { return true; };
    for (int i = 0; i < 100 && gPowerInfo.Connected == 1; ++i)
      Ticks(1);
    ASSERT_EQ(gPowerInfo.Connected, 0);
    source_.Mute = nullptr;
  }
  // Ticks from now to each further open of the port, up to n opens.
  std::vector<int64_t> OpensAfter(int n) {
    std::vector<int64_t> gaps;
    const int64_t start = gTimerTick;
    for (int opens = source_.Opens;
         static_cast<int>(gaps.size()) < n && gTimerTick < start + 10000;) {
      Ticks(1);
      if (source_.Opens != opens) {
        opens = source_.Opens;
        gaps.push_back(gTimerTick - start);
      }
    }
    return gaps;
  }
};

TEST_F(Reconnect, RetriesWithAGrowingIntervalUntilStoppedWithoutAMessageBox) {
  LoseTheLink();
  EXPECT_TRUE(hooks_.LinkLost.empty());
  ASSERT_FALSE(hooks_.LinkStatus.empty());
  EXPECT_EQ(hooks_.LinkStatus.back(),
            "Connection lost: no reply from the power source to \"status query (F0 EB)\".\n"
            "Reconnecting in 2 s (attempt 1).");
  source_.OpenResult = -1;
  // 2 s, then 4, 8, 16, 32 and 60 s, and 60 s again (20 ticks a second).
  EXPECT_EQ(OpensAfter(7), (std::vector<int64_t>{40, 120, 280, 600, 1240, 2440, 3640}));
  CommReconnectStop();
  EXPECT_EQ(hooks_.LinkStatus.back(), "");
  EXPECT_TRUE(OpensAfter(1).empty());
}

TEST_F(Reconnect, AnotherSourceIsNotTakenOnUntilTheUserSaysSo) {
  LoseTheLink();
  source_.Identifier = IdentifierOf(kModelGS);
  Ticks(60);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_EQ(gPowerInfo.ModelType, kModelFPA);
  EXPECT_EQ(std::string(gPowerInfo.PowerModelStr.data()), IdentifierOf(kModelFPA));
  ASSERT_EQ(hooks_.Asked.size(), 1u);
  EXPECT_EQ(hooks_.Asked[0], "Another power source|A different power source answered at "
                             "LAN 0.0.0.0:0: QXGS100T000 instead of QXFP050A000.\n"
                             "Connect to this power source?");
  EXPECT_TRUE(OpensAfter(1).empty()) << "no retry while the user decides";
}

} // namespace
