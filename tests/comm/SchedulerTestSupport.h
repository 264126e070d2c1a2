// A simulated cable with a scripted power source behind it, and view hooks
// that record what the link asked of the user interface. The scheduler and
// the connection procedure run tick by tick against them.
#pragma once

#include "app/MainTimer.h"
#include "comm/CommCommands.h"
#include "comm/CommConnect.h"
#include "comm/CommPC.h"
#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// The identifier a source of each model answers the model query with.
inline const char *IdentifierOf(int32_t model) {
  const char *ids[] = {"QXFC100T000", "QXFC100S000", "QXFS123A000", "QXFS123B000",
                       "QXFP050A000", "QXFP050B000", "QXGS100T000", "QXFL050A000"};
  return model >= kModelFCT && model <= kModelFL ? ids[model - kModelFCT] : ids[7];
}

// "A5 21 3": command bytes, and the parameter for the commands that carry one
// in byte 6.
inline std::string FrameName(const uint8_t *frame, int len) {
  const int cmd1 = frame[4];
  const int cmd2 = frame[5];
  const bool indexed =
      (cmd1 == 0x5A || cmd1 == 0xA5) &&
      (cmd2 == 0x21 || cmd2 == 0x24 || cmd2 == 0x26 || cmd2 == 0x29 || cmd2 == 0x31 ||
       cmd2 == 0x32 || cmd2 == 0x33 || (cmd1 == 0x5A && cmd2 == 0x11));
  char text[24];
  if (indexed && len > 6)
    std::snprintf(text, sizeof text, "%02X %02X %d", cmd1, cmd2, frame[6]);
  else
    std::snprintf(text, sizeof text, "%02X %02X", cmd1, cmd2);
  return text;
}

// The length of a source's reply, from the protocol tables (0: not answered).
inline int ReplyLength(int32_t model, int cmd1, int cmd2) {
  const bool fc = model == kModelFCT || model == kModelFCS;
  const bool fs = model == kModelFSA || model == kModelFSB || model == kModelFL;
  if (cmd1 == 0x0F || cmd1 == 0x5A || (cmd1 == 0xA5 && cmd2 == 0x11))
    return 9;
  switch (cmd1 << 8 | cmd2) {
  case 0xA521:
    return fc ? 17 : fs ? 30 : 35;
  case 0xA530:
    return fc ? 16 : 15;
  case 0xF0EB:
    return fc || fs ? 11 : model == kModelGS ? 21 : 37;
  case 0xF0AE:
    return 38;
  case 0xF011:
    return 18;
  case 0xF0AF:
    return 63;
  case 0xF0EA:
    return 9;
  case 0xF0AD:
    return 10;
  }
  // The program blocks of the FP and GS families.
  const int program[][2] = {{0x22, 60}, {0x23, 20}, {0x24, 36},  {0x25, 20}, {0x26, 48},
                            {0x28, 13}, {0x29, 35}, {0x31, 165}, {0x32, 89}, {0x33, 85}};
  for (const auto &[code, len] : program)
    if (cmd1 == 0xA5 && cmd2 == code && !fc && !fs)
      return len;
  return 0;
}

struct SentFrame {
  std::string Name;
  int Cmd1;
  int Cmd2;
  int Len;
  int64_t Tick;
};

// The cable and the source: every frame written is answered at once with a
// well-formed reply of the length the command provokes, unless a fault says
// otherwise. The reply is there for the next read.
class FakeSource : public CommPort {
public:
  // What the source reports.
  std::string Identifier = IdentifierOf(kModelFPA);
  int RunState = 0;     // byte 6 of the status reply
  int CurrentGroup = 0; // reply to A5 11

  // Faults: frames not answered, the acknowledgement code of writes (0 = done),
  // replies replaced by noise.
  std::function<bool(const SentFrame &)> Mute;
  std::function<int(const SentFrame &)> Refuse;
  bool Noise = false;
  int OpenResult = 0;

  std::vector<SentFrame> Sent;
  std::vector<int64_t> ReadTicks;
  int Opens = 0;
  int Closes = 0;

  int Open() override {
    ++Opens;
    return OpenResult;
  }
  void Close() override { ++Closes; }
  void Clear() override {}

  int Write(const uint8_t *buffer, int32_t length) override {
    SentFrame frame{FrameName(buffer, length), buffer[4], buffer[5], length, gTimerTick};
    Sent.push_back(frame);
    pending_.clear();
    if (Mute && Mute(frame))
      return length;
    if (Noise) {
      pending_.assign(12, 0x55);
      return length;
    }
    pending_ = ReplyTo(buffer, length);
    return length;
  }

  int32_t Read(uint8_t *buffer, int32_t capacity, int32_t expectLen) override {
    (void)expectLen;
    ReadTicks.push_back(gTimerTick);
    const int32_t waiting = static_cast<int32_t>(pending_.size());
    const int32_t n = std::min(waiting, capacity);
    std::copy_n(pending_.begin(), n, buffer);
    pending_.erase(pending_.begin(), pending_.begin() + n);
    return n;
  }

  Strings Names() const {
    Strings names;
    for (const SentFrame &frame : Sent)
      names.push_back(frame.Name);
    return names;
  }
  int Count(const std::string &name) const {
    return static_cast<int>(std::count_if(Sent.begin(), Sent.end(),
                                          [&](const SentFrame &f) { return f.Name == name; }));
  }

  // The well-formed reply to a frame, for the model in PowerInfo.
  std::vector<uint8_t> ReplyTo(const uint8_t *buffer, int length) {
    const SentFrame frame{FrameName(buffer, length), buffer[4], buffer[5], length, gTimerTick};
    const int byte6 = length > 6 ? buffer[6] : 0;
    const int address = gPowerInfo.SoftwareAddress;
    std::vector<uint8_t> reply(256, 0);
    if (frame.Cmd1 == 0xF0 && frame.Cmd2 == 0xED) {
      const int len = ModelQueryReplyBuild(reply.data(), address, Identifier.c_str());
      reply.resize(static_cast<size_t>(len));
      return reply;
    }
    const int len = ReplyLength(gPowerInfo.ModelType, frame.Cmd1, frame.Cmd2);
    if (len == 0)
      return {};
    uint8_t *payload = reply.data() + 6;
    if (frame.Cmd1 == 0x5A || frame.Cmd1 == 0x0F)
      payload[0] = static_cast<uint8_t>(Refuse ? Refuse(frame) : 0);
    else if (frame.Cmd1 == 0xF0 && frame.Cmd2 == 0xEB)
      payload[0] = static_cast<uint8_t>(RunState);
    else if (frame.Cmd1 == 0xA5 && frame.Cmd2 == 0x11)
      payload[0] = static_cast<uint8_t>(CurrentGroup);
    else if (frame.Cmd1 == 0xA5 && frame.Len == 9)
      payload[0] = static_cast<uint8_t>(byte6);
    CommFrameComplete(reply.data(), len, address, frame.Cmd1, frame.Cmd2);
    reply.resize(static_cast<size_t>(len));
    return reply;
  }

private:
  std::vector<uint8_t> pending_;
};

// A program state with the fake cable and the recording hooks installed, in
// a working directory of its own (a change of model writes auto-save files).
class LinkTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(workDir_.IsValid());
    Restart();
    SetHooks(&hooks_);
    SetCommPort(&source_);
  }
  // The start state again, for a table of cases in one test.
  void Restart() {
    ResetProgramState();
    gPowerInfo.SoftwareAddress = 1;
    gPowerInfo.CommType = kCommLAN;
    gPowerInfo.CommTypeRS232Baudrate = 38400;
    gPowerInfo.ModelType = kModelFPA;
    gPowerInfo.Language = 1;
    source_ = FakeSource{};
    hooks_ = RecordingHooks{};
  }
  void TearDown() override {
    SetHooks(nullptr);
    SetCommPort(nullptr);
  }

  // Connects to a source of the model over the port type and runs the
  // connect exchange to its end; false when it did not end.
  bool Connect(int32_t model, int32_t commType = kCommLAN, int32_t baud = 38400) {
    gPowerInfo.CommType = commType;
    gPowerInfo.CommTypeRS232Baudrate = baud;
    source_.Identifier = IdentifierOf(model);
    CommConnectDeal(1);
    return gPowerInfo.Connected == 1 && RunUntilIdle();
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i)
      MainTimerTick();
  }

  // Ticks until no frame is in flight and nothing is queued.
  bool RunUntilIdle(int maxTicks = 20000) {
    for (int i = 0; i < maxTicks; ++i) {
      MainTimerTick();
      if (gPowerInfo.Connected != 1)
        return false;
      if (gCommInfo.PresentValid == 0 && gCommNewCmd.Count == 0)
        return true;
    }
    return false;
  }

  // Names of the frames sent from index from on.
  std::vector<std::string> SentSince(size_t from) const {
    const auto names = source_.Names();
    return {names.begin() + static_cast<std::ptrdiff_t>(std::min(from, names.size())), names.end()};
  }

  TempWorkDir workDir_;
  RecordingHooks hooks_;
  FakeSource source_;
};
