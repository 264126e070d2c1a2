#include "comm/CommReconnect.h"

#include "comm/CommConnect.h"
#include "comm/CommPC.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTicksPerSecond = 20;

bool English() { return gPowerInfo.Language == 1; }

// Why the link was lost, shown above the countdown.
std::string gLossReason;

std::string Identifier(const std::array<char, 12> &id) { return std::string(id.data()); }

void ShowCountdown() {
  const CommLinkInfo &link = gCommLink;
  const int seconds = (link.RetryTicks + kTicksPerSecond - 1) / kTicksPerSecond;
  const std::string n = std::to_string(seconds);
  const std::string attempt = std::to_string(link.Attempts + 1);
  Hooks().CommLinkStatus(gLossReason + "\n" +
                         (English() ? "Reconnecting in " + n + " s (attempt " + attempt + ")."
                                    : n + " 秒后重新连接（第 " + attempt + " 次）。"));
}

// The wait before the next attempt grows with every failed one.
void WaitForNextAttempt() {
  CommLinkInfo &link = gCommLink;
  link.Reconnect = kReconnectWaiting;
  link.RetrySeconds =
      std::min(kReconnectFirstSeconds << std::min(link.Attempts, 6), kReconnectMaxSeconds);
  link.RetryTicks = link.RetrySeconds * kTicksPerSecond;
  ShowCountdown();
}

// The port did not open, or no source answered the model query.
void AttemptFailed() {
  gLossReason = English() ? "No power source answered at " + CommPortText() + "."
                          : "在 " + CommPortText() + " 没有电源应答。";
  WaitForNextAttempt();
}

void Attempt() {
  CommLinkInfo &link = gCommLink;
  link.Reconnect = kReconnectTrying;
  link.Attempts += 1;
  const std::string attempt = std::to_string(link.Attempts);
  Hooks().CommLinkStatus(
      English() ? "Reconnecting to " + CommPortText() + " (attempt " + attempt + ") ..."
                : "正在重新连接 " + CommPortText() + "（第 " + attempt + " 次）...");
  // Silent like the start-up attempt: a failure only schedules the next one.
  gFirstConnect = 1;
  CommConnectDeal(1);
  gFirstConnect = 0;
  if (gPowerInfo.Connected != 1 && link.Opening != 1)
    AttemptFailed();
}

} // namespace

bool CommReconnectAfterLoss(const std::string &reason) {
  CommLinkInfo &link = gCommLink;
  if (gPowerInfo.CommAutoReconnect != 1)
    return false;
  gLossReason = reason.substr(0, reason.find('\n'));
  if (link.Reconnect == kReconnectOff) {
    link.Attempts = 0;
    link.LostModelStr = gPowerInfo.PowerModelStr;
    link.LostModelType = gPowerInfo.ModelType;
    link.LostRating = gPowerInfo.Rating;
  }
  WaitForNextAttempt();
  return true;
}

void CommReconnectTick() {
  CommLinkInfo &link = gCommLink;
  switch (link.Reconnect) {
  case kReconnectWaiting:
    link.RetryTicks -= 1;
    if (link.RetryTicks <= 0)
      return Attempt();
    if (link.RetryTicks % kTicksPerSecond == 0)
      ShowCountdown();
    return;
  case kReconnectTrying:
    if (gPowerInfo.Connected == 1) {
      // The connect exchange has finished: the link is back.
      if (gCommInfo.NormalDataOk == 1) {
        link.Reconnect = kReconnectOff;
        link.Attempts = 0;
        Hooks().CommLinkStatus("");
        // The measurements, and with them the recording, resume at once
        // instead of a poll period later.
        gCommPoll.MeasureCountdown = std::min(gCommPoll.MeasureCountdown, 1);
      }
      return;
    }
    if (link.Opening != 1)
      AttemptFailed();
    return;
  default:
    return;
  }
}

bool CommReconnectOtherSource() {
  CommLinkInfo &link = gCommLink;
  const CommInfo &c = gCommInfo;
  if (link.Reconnect != kReconnectTrying ||
      CommReplyAccept(c.RxBuff.data(), c.RxLen, gPowerInfo.SoftwareAddress, kCmdQuery,
                      kModelQueryCmd2, kModelQueryReplyLen) != 1)
    return false;
  const char *answered = reinterpret_cast<const char *>(c.RxBuff.data() + kFramePayload);
  if (std::memcmp(answered, link.LostModelStr.data(), kModelIdLen) == 0)
    return false;
  std::copy_n(answered, kModelIdLen, link.OtherModelStr.begin());
  link.OtherModelStr[kModelIdLen] = '\0';
  link.Reconnect = kReconnectAsking;
  CommConnectDeal(0);
  const std::string lost = Identifier(link.LostModelStr);
  const std::string other = Identifier(link.OtherModelStr);
  Hooks().CommLinkStatus(English() ? "Another power source answered: " + other + "."
                                   : "应答的是另一台电源：" + other + "。");
  Hooks().CommAskOtherSource(English() ? "Another power source" : "另一台电源",
                             English() ? "A different power source answered at " + CommPortText() +
                                             ": " + other + " instead of " + lost +
                                             ".\nConnect to this power source?"
                                       : "在 " + CommPortText() + " 应答的电源是 " + other +
                                             "，而不是 " + lost + "。\n是否连接这台电源？");
  return true;
}

void CommReconnectAnswer(int adopt) {
  if (gCommLink.Reconnect != kReconnectAsking)
    return;
  gCommLink.Reconnect = kReconnectOff;
  Hooks().CommLinkStatus("");
  if (adopt == 1)
    CommConnectDeal(1);
}

void CommReconnectStop() {
  CommLinkInfo &link = gCommLink;
  if (link.Reconnect == kReconnectOff)
    return;
  const bool trying = link.Reconnect == kReconnectTrying;
  link.Reconnect = kReconnectOff;
  Hooks().CommLinkStatus("");
  if (trying)
    CommConnectDeal(0);
}

bool CommReconnectActive() { return gCommLink.Reconnect != kReconnectOff; }
