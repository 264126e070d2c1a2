// The frame layer as bytes arrive from a device: the stream assembler that
// cuts frames, the acceptance rules of a reply, the realignment of the
// receive buffer and the model-query decoder.
#include "FuzzSupport.h"

#include "comm/CommFamily.h"
#include "comm/CommPC.h"
#include "records/Globals.h"
#include "tools/powersim/FrameAssembler.h"
#include "tools/powersim/PowerDevice.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr int32_t kModels[] = {kModelFCT, kModelFCS, kModelFSA, kModelFSB,
                               kModelFPA, kModelFPB, kModelGS,  kModelFL};

void MakeSeeds(const SeedWriter &write) {
  for (const int32_t model : kModels) {
    PowerDeviceOptions options;
    options.ModelType = model;
    options.Rating = "10";
    std::string error;
    auto device = PowerDevice::Create(options, &error);
    if (!device)
      continue;
    ResetProgramState();
    gPowerInfo.SoftwareAddress = 1;
    uint8_t query[kCommBuffSize] = {};
    const int length = ModelQueryTx(query);
    const PowerDevice::Response reply = device->HandleFrame(query, static_cast<size_t>(length));
    write(QString("model-%1").arg(model), ToBytes(reply.Reply));
    // The query and its reply as one stream, as a link carries them.
    Bytes stream(query, query + length);
    stream.insert(stream.end(), reply.Reply.begin(), reply.Reply.end());
    write(QString("stream-%1").arg(model), ToBytes(stream));
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  FuzzInitialize(argc, argv, MakeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The assembler, fed in pieces whose sizes the bytes themselves choose:
  // every frame it hands on passes the frame checks and holds a whole frame.
  FrameAssembler assembler;
  int64_t now = 0;
  for (size_t at = 0; at < size;) {
    const size_t piece = std::min<size_t>(size - at, 1 + data[at] % 32);
    for (const FrameAssembler::Piece &out : assembler.Feed(data + at, piece, now)) {
      if (out.IsFrame) {
        FUZZ_CHECK(FrameAssembler::IsValidFrame(out.Bytes.data(), out.Bytes.size()));
        FUZZ_CHECK(out.Bytes.size() == static_cast<size_t>(out.Bytes[2]));
      }
    }
    at += piece;
    now += data[at - 1] % 4 == 0 ? FrameAssembler::kPartialTimeoutMs : 10;
    assembler.Expire(now);
  }

  // The acceptance rules on the reply exactly as long as received.
  const int count = static_cast<int>(std::min<size_t>(size, kCommBuffSize));
  const Bytes reply(data, data + count);
  CommPCCheck(reply.data(), count, 1);
  if (count >= kFrameMinLen) {
    const int accepted = CommFrameAccept(reply.data(), count, 1, reply[4], reply[5]);
    if (CommReplyAccept(reply.data(), count, 1, reply[4], reply[5], count) == 1)
      FUZZ_CHECK(accepted == 1);
  }

  // The model-query decoder on a link that waits for its reply.
  ResetProgramState();
  gPowerInfo.SoftwareAddress = 1;
  char modelStr[kModelIdLen + 1] = {};
  int32_t modelType = 0;
  int32_t rating = 0;
  if (ModelQueryRx(reply.data(), count, modelStr, &modelType, &rating) == 1) {
    FUZZ_CHECK(std::strlen(modelStr) == kModelIdLen);
    for (const char c : std::string_view(modelStr))
      FUZZ_CHECK(c >= 0x20 && c <= 0x7E);
    FUZZ_CHECK(modelType >= kModelFCT && modelType <= kModelFL);
  }

  // The receive buffer realigned on its first start byte.
  CommInfo &c = gCommInfo;
  std::copy(reply.begin(), reply.end(), c.RxBuff.begin());
  c.RxLen = count;
  RepairRxBuff();
  return 0;
}
