// The cost of one 50 ms tick of the scheduler itself (the port is a memory
// buffer): with a full request queue, reading and decoding a 63-byte
// measurement reply, then building and sending the next queued frame. The
// budget is the 50 ms tick; the scheduler's share must stay far below 1 ms.
#include "comm/CommPC.h"
#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>

namespace {

// A cable that always holds the same reply.
class MemoryPort : public CommPort {
public:
  std::array<uint8_t, 256> Reply{};
  int32_t ReplyLen = 0;
  int Open() override { return 0; }
  void Close() override {}
  void Clear() override {}
  int Write(const uint8_t *, int32_t length) override { return length; }
  int32_t Read(uint8_t *buffer, int32_t capacity, int32_t) override {
    const int32_t n = std::min(ReplyLen, capacity);
    std::copy_n(Reply.begin(), n, buffer);
    return n;
  }
};

void BM_TickFullQueueMeasurementReply(benchmark::State &state) {
  ResetProgramState();
  MemoryPort port;
  SetCommPort(&port);
  gPowerInfo.ModelType = kModelFPA;
  gPowerInfo.CommType = kCommLAN;
  gPowerInfo.SoftwareAddress = 1;
  gPowerInfo.Connected = 1;
  gPowerInfo.OutputRunning = 1;

  // The F0 AF reply: three phase blocks of measurements.
  for (int i = 7; i < 61; ++i)
    port.Reply[i] = static_cast<uint8_t>(i * 3);
  port.ReplyLen = CommFrameComplete(port.Reply.data(), 63, 1, 0xF0, 0xAF);

  // The measurement query in flight, its wait run out, five requests waiting.
  gCommInfo.PresentGroup = kGroupSingle;
  CommSetPresentCmd(0xF0, 0xAF, 0);
  gCommInfo.WaitCount = 0;
  for (int g = 0; g < 5; ++g)
    CommSetNewCmdSingleGroup(0x5A, 0x21, g);
  gPowerInfo.WaitPanelShown = 1;
  const CommInfo comm = gCommInfo;
  const CommNewCmd queue = gCommNewCmd;

  for (auto _ : state) {
    gCommInfo = comm;
    gCommNewCmd = queue;
    CommTimerDeal();
    benchmark::DoNotOptimize(gMeasureOutput.Value[0]);
  }
  if (gCommInfo.PresentCmd1 != 0x5A || gCommNewCmd.Count != 4)
    state.SkipWithError("the reply was not accepted");
  SetCommPort(nullptr);
}
BENCHMARK(BM_TickFullQueueMeasurementReply);

void BM_TickWaitingForAReply(benchmark::State &state) {
  ResetProgramState();
  gPowerInfo.ModelType = kModelGS;
  gPowerInfo.Connected = 1;
  gCommInfo.PresentValid = 1;
  for (auto _ : state) {
    gCommInfo.WaitCount = 10;
    CommTimerDeal();
    benchmark::DoNotOptimize(gCommInfo.WaitCount);
  }
}
BENCHMARK(BM_TickWaitingForAReply);

} // namespace
