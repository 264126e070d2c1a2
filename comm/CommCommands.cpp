#include "comm/CommCommands.h"

#include "comm/FCBlocks.h"
#include "comm/FPBlocks.h"
#include "records/PowerModel.h"

#include <array>
#include <cstddef>
#include <span>

namespace {

constexpr CommCommand C(int cmd1, int cmd2, int txLen, int rxLen) {
  return {static_cast<uint8_t>(cmd1), static_cast<uint8_t>(cmd2), static_cast<uint8_t>(txLen),
          static_cast<uint8_t>(rxLen)};
}

template <std::size_t N, std::size_t M>
constexpr std::array<CommCommand, N + M> Join(const std::array<CommCommand, N> &a,
                                              const std::array<CommCommand, M> &b) {
  std::array<CommCommand, N + M> out{};
  for (std::size_t i = 0; i < N; ++i)
    out[i] = a[i];
  for (std::size_t i = 0; i < M; ++i)
    out[N + i] = b[i];
  return out;
}

// Output on, output off and clear alarm: every family.
constexpr auto kOutputCommands = std::to_array({
    C(0x0F, 0x00, 8, kAckLen),
    C(0x0F, 0x03, 8, kAckLen),
    C(0x0F, 0xFF, 8, kAckLen),
});

// FP and GS differ only in the status reply, the on-line change and GS's
// Cross and DC commands.
constexpr auto kFPCommonCommands =
    Join(kOutputCommands, std::to_array({
                              C(0x5A, 0x11, 9, kAckLen),
                              C(0x5A, 0x12, 8, kAckLen),
                              C(0x5A, 0x13, 8, kAckLen),
                              C(0x5A, 0x15, 8, kAckLen),
                              C(0x5A, 0x21, kFPNormalGroupLen, kAckLen),
                              C(0x5A, 0x22, kStepLen, kAckLen),
                              C(0x5A, 0x23, kProgramHeaderLen, kAckLen),
                              C(0x5A, 0x24, kListStepLen, kAckLen),
                              C(0x5A, 0x25, kProgramHeaderLen, kAckLen),
                              C(0x5A, 0x26, kRampStepLen, kAckLen),
                              C(0x5A, 0x30, kFPSystemLen, kAckLen),
                              C(0x5A, 0x31, kTHDWholeLen, kAckLen),
                              C(0x5A, 0x32, kTHDFirstHalfLen, kAckLen),
                              C(0x5A, 0x33, kTHDSecondHalfLen, kAckLen),
                              C(0xA5, 0x11, 8, kAckLen),
                              C(0xA5, 0x21, 9, kFPNormalGroupLen),
                              C(0xA5, 0x22, 8, kStepLen),
                              C(0xA5, 0x23, 8, kProgramHeaderLen),
                              C(0xA5, 0x24, 9, kListStepLen),
                              C(0xA5, 0x25, 8, kProgramHeaderLen),
                              C(0xA5, 0x26, 9, kRampStepLen),
                              C(0xA5, 0x30, 8, kFPSystemLen),
                              C(0xA5, 0x31, 9, kTHDWholeLen),
                              C(0xA5, 0x32, 9, kTHDFirstHalfLen),
                              C(0xA5, 0x33, 9, kTHDSecondHalfLen),
                              C(0xF0, 0xAF, 8, kMeasureLen),
                          }));

constexpr auto kFPCommands = Join(kFPCommonCommands, std::to_array({
                                                         C(0x5A, 0x50, kFPOnlineLen, kAckLen),
                                                         C(0xF0, 0xEB, 8, kFPStatusLen),
                                                     }));

constexpr auto kGSCommands = Join(kFPCommonCommands, std::to_array({
                                                         C(0x5A, 0x50, kGSOnlineLen, kAckLen),
                                                         C(0xF0, 0xEB, 8, kGSStatusLen),
                                                         C(0x0F, 0xFE, 8, kAckLen),
                                                         C(0x0F, 0x01, 8, kAckLen),
                                                         C(0x5A, 0x18, 8, kAckLen),
                                                         C(0x5A, 0x28, kCrossHeaderLen, kAckLen),
                                                         C(0x5A, 0x29, kCrossEntryLen, kAckLen),
                                                         C(0xA5, 0x28, 8, kCrossHeaderLen),
                                                         C(0xA5, 0x29, 9, kCrossEntryLen),
                                                         C(0xF0, 0xEA, 8, kDCStateLen),
                                                         C(0xF0, 0xAD, 8, kDCValueLen),
                                                     }));

constexpr auto kFCCommonCommands =
    Join(kOutputCommands, std::to_array({
                              C(0x5A, 0x11, 9, kAckLen),
                              C(0x5A, 0x21, kFCNormalGroupLen, kAckLen),
                              C(0x5A, 0x30, kFCSystemLen, kAckLen),
                              C(0x5A, 0x50, kFCOnlineLen, kAckLen),
                              C(0xA5, 0x11, 8, kAckLen),
                              C(0xA5, 0x21, 9, kFCNormalGroupLen),
                              C(0xA5, 0x30, 8, kFCSystemLen),
                              C(0xF0, 0xEB, 8, kFCStatusLen),
                          }));

constexpr auto kFCTCommands =
    Join(kFCCommonCommands, std::to_array({C(0xF0, 0xAE, 8, kFCTMeasureLen)}));
constexpr auto kFCSCommands =
    Join(kFCCommonCommands, std::to_array({C(0xF0, 0x11, 8, kFCSMeasureLen)}));

// FS and FL: no group selection (5A 11).
constexpr auto kFSCommands = Join(kOutputCommands, std::to_array({
                                                       C(0x5A, 0x21, kFSNormalGroupLen, kAckLen),
                                                       C(0x5A, 0x30, kFPSystemLen, kAckLen),
                                                       C(0x5A, 0x50, kFSOnlineLen, kAckLen),
                                                       C(0xA5, 0x11, 8, kAckLen),
                                                       C(0xA5, 0x21, 9, kFSNormalGroupLen),
                                                       C(0xA5, 0x30, 8, kFPSystemLen),
                                                       C(0xF0, 0xEB, 8, kFCStatusLen),
                                                       C(0xF0, 0xAF, 8, kMeasureLen),
                                                   }));

std::span<const CommCommand> FamilyCommands(int modelType) {
  switch (modelType) {
  case kModelFCT:
    return kFCTCommands;
  case kModelFCS:
    return kFCSCommands;
  case kModelFSA:
  case kModelFSB:
  case kModelFL:
    return kFSCommands;
  case kModelFPA:
  case kModelFPB:
    return kFPCommands;
  case kModelGS:
    return kGSCommands;
  default:
    return {};
  }
}

} // namespace

const CommCommand *CommFindCommand(int modelType, int cmd1, int cmd2) {
  for (const CommCommand &c : FamilyCommands(modelType))
    if (c.Cmd1 == cmd1 && c.Cmd2 == cmd2)
      return &c;
  return nullptr;
}
