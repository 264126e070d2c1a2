// Shared by the frame and codec tests: a fixture that puts the program back
// to its start state with recording hooks, and hand-built frames.
#pragma once

#include "TestSupport.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;
using Calls = Strings;
using TxFn = int (*)(int, int, int, uint8_t *);
using RxFn = int (*)(int, int, int, const uint8_t *, int);

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes &p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}
inline Bytes Be16(int v) { return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }
inline Bytes Be24(int v) {
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

// A frame built by hand: envelope around the payload, checksum summed here
// (independently of the code under test).
inline Bytes HandFrame(int cmd1, int cmd2, const Bytes &payload, int address = 1) {
  const size_t len = payload.size() + 8;
  Bytes f(len, 0);
  f[0] = 0x7B;
  f[2] = static_cast<uint8_t>(len);
  f[3] = static_cast<uint8_t>(address);
  f[4] = static_cast<uint8_t>(cmd1);
  f[5] = static_cast<uint8_t>(cmd2);
  for (size_t i = 0; i < payload.size(); ++i)
    f[6 + i] = payload[i];
  unsigned sum = 0;
  for (size_t i = 1; i < len - 2; ++i)
    sum += f[i];
  f[len - 2] = static_cast<uint8_t>(sum & 0xFF);
  f[len - 1] = 0x7D;
  return f;
}

// A payload of n zero bytes with some bytes set: {offset-from-frame-start, value}.
inline Bytes HandPayload(int frameLen, std::initializer_list<std::pair<int, int>> set) {
  Bytes p(frameLen - 8, 0);
  for (auto [offset, value] : set)
    p.at(offset - 6) = static_cast<uint8_t>(value);
  return p;
}

class CodecFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ResetProgramState();
    gPowerInfo.SoftwareAddress = 1;
    SetHooks(&view);
  }
  void TearDown() override { SetHooks(nullptr); }

  // Builds with a Tx entry point into a 256-byte buffer that still holds an
  // earlier frame's bytes (the scheduler reuses its buffer); returns the frame.
  static Bytes Build(TxFn tx, int cmd1, int cmd2, int param = 0) {
    uint8_t buf[256];
    std::memset(buf, 0xEE, sizeof buf);
    const int len = tx(cmd1, cmd2, param, buf);
    return Bytes(buf, buf + (len > 0 ? len : 0));
  }
  // Hands a reply to an Rx entry point as the scheduler does (256-byte buffer).
  static int Receive(RxFn rx, const Bytes &reply, int cmd1, int cmd2, int param = 0) {
    Bytes buf = reply;
    buf.resize(256, 0);
    return rx(cmd1, cmd2, param, buf.data(), static_cast<int>(reply.size()));
  }
  // A fresh program state with the hooks still installed.
  static void Reset(int modelType) {
    ResetProgramState();
    gPowerInfo.SoftwareAddress = 1;
    gPowerInfo.ModelType = modelType;
  }

  RecordingHooks view;
};
