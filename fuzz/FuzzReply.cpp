// The reply decoders of the five codec families (FP, GS, FC, FS, FL) on a
// connected link: the first three bytes choose the family, the command in
// flight (from the family's command table) and its parameter; the rest is
// the reply as received, exactly as long as it came.
#include "FuzzSupport.h"

#include "comm/CommCommands.h"
#include "comm/CommPC.h"
#include "comm/CommScheduler.h"
#include "comm/FCCommand.h"
#include "comm/FPCommand.h"
#include "records/Globals.h"
#include "settings/NormalSet.h"
#include "tools/powersim/PowerDevice.h"

#include <array>

namespace {

using TxFn = int (*)(int, int, int, uint8_t *);
using RxFn = int (*)(int, int, int, const uint8_t *, int);

struct Family {
  const char *Name;
  int32_t Model;
  TxFn Tx;
  RxFn Rx;
};

constexpr Family kFamilies[] = {
    {"FP", kModelFPA, FPCommTx, FPCommRx}, {"GS", kModelGS, GSCommTx, GSCommRx},
    {"FC", kModelFCT, FCCommTx, FCCommRx}, {"FS", kModelFSA, FSCommTx, FSCommRx},
    {"FL", kModelFL, FSCommTx, FLCommRx},
};
constexpr size_t kFamilyCount = std::size(kFamilies);

// Every command of a family's table.
const std::vector<CommCommand> &Commands(size_t family) {
  static const auto tables = [] {
    std::array<std::vector<CommCommand>, kFamilyCount> all;
    for (size_t f = 0; f < kFamilyCount; ++f)
      for (const int cmd1 : {kCmdOutput, kCmdWrite, kCmdRead, kCmdQuery})
        for (int cmd2 = 0; cmd2 < 256; ++cmd2)
          if (const CommCommand *c = CommFindCommand(kFamilies[f].Model, cmd1, cmd2))
            all[f].push_back(*c);
    return all;
  }();
  return tables[family];
}

// A link connected to a source of the family, the records at their
// defaults, the command built and in flight as the scheduler leaves it.
void Connected(const Family &family, const CommCommand &command, int param) {
  ResetProgramState();
  PowerInfo &info = gPowerInfo;
  info.ModelType = family.Model;
  info.SoftwareAddress = 1;
  info.Connected = 1;
  DataFCInitAll();
  DataFPInitNormalAll();
  CommSetPresentCmd(command.Cmd1, command.Cmd2, param);
  family.Tx(command.Cmd1, command.Cmd2, param, gCommInfo.TxBuff.data());
}

void MakeSeeds(const SeedWriter &write) {
  for (size_t f = 0; f < kFamilyCount; ++f) {
    PowerDeviceOptions options;
    options.ModelType = kFamilies[f].Model;
    options.Rating = "10";
    std::string error;
    auto device = PowerDevice::Create(options, &error);
    if (!device)
      continue;
    const std::vector<CommCommand> &commands = Commands(f);
    for (size_t i = 0; i < commands.size(); ++i) {
      Connected(kFamilies[f], commands[i], 0);
      const PowerDevice::Response reply =
          device->HandleFrame(gCommInfo.TxBuff.data(), commands[i].TxLen);
      if (reply.Reply.empty())
        continue;
      Bytes seed{static_cast<uint8_t>(f), static_cast<uint8_t>(i), 0};
      seed.insert(seed.end(), reply.Reply.begin(), reply.Reply.end());
      write(QString("%1-%2-%3")
                .arg(kFamilies[f].Name)
                .arg(commands[i].Cmd1, 2, 16, QChar('0'))
                .arg(commands[i].Cmd2, 2, 16, QChar('0')),
            ToBytes(seed));
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  FuzzInitialize(argc, argv, MakeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 3 || size - 3 > static_cast<size_t>(kCommBuffSize))
    return 0;
  const size_t f = data[0] % kFamilyCount;
  const std::vector<CommCommand> &commands = Commands(f);
  const CommCommand &command = commands[data[1] % commands.size()];
  // Parameters past the records' counts are tried too: a decoder must not
  // index a record with what the frame in flight says.
  const int param = data[2];
  Connected(kFamilies[f], command, param);
  const Bytes reply(data + 3, data + size);
  const int accepted = kFamilies[f].Rx(command.Cmd1, command.Cmd2, param, reply.data(),
                                       static_cast<int>(reply.size()));
  if (accepted == 1)
    FUZZ_CHECK(CommFrameAccept(reply.data(), static_cast<int>(reply.size()), 1, command.Cmd1,
                               command.Cmd2) == 1);
  return 0;
}
