#include "comm/CommFamily.h"

#include <QtGlobal>

#include "comm/CommPC.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

namespace {

// Completes the frame of a command whose payload (if any) is already written.
int TxFinish(const CommCommand &cmd, int param, uint8_t *buffer) {
  if (cmd.TxLen == kFrameMinLen + 1)
    PutU8(buffer + kFramePayload, param);
  gCommInfo.RxExpectLen = cmd.RxLen;
  return CommFrameComplete(buffer, cmd.TxLen, gPowerInfo.SoftwareAddress, cmd.Cmd1, cmd.Cmd2);
}

} // namespace

int CommFamilyTx(int modelType, int cmd1, int cmd2, int param, uint8_t *buffer,
                 CommEncodeWriteFn encodeWrite) {
  const CommCommand *cmd = CommFindCommand(modelType, cmd1, cmd2);
  if (cmd == nullptr)
    return 0;
  if (cmd1 == kCmdWrite && !encodeWrite(cmd2, param, buffer))
    return 0;
  return TxFinish(*cmd, param, buffer);
}

const CommCommand *CommFamilyRxCheck(int modelType, int cmd1, int cmd2, const uint8_t *buffer,
                                     int count) {
  const CommCommand *cmd = CommFindCommand(modelType, cmd1, cmd2);
  if (cmd == nullptr)
    return nullptr;
  if (!CommReplyAccept(buffer, count, gPowerInfo.SoftwareAddress, cmd1, cmd2, cmd->RxLen))
    return nullptr;
  // A write or output command is done only when the source answers 0.
  if ((cmd1 == kCmdOutput || cmd1 == kCmdWrite) && buffer[kFramePayload] != 0)
    return nullptr;
  return cmd;
}

bool CommReplyGroupValid(const char *reply, int group, int groupCount) {
  if (CommIndexValid(group, groupCount))
    return true;
  qWarning("%s reply names group %d of %d: not stored", reply, group, groupCount);
  return false;
}

int CommStoreCurrentGroup(const uint8_t *frame, int groupCount) {
  const int group = GetU8(frame + kFramePayload);
  if (CommReplyGroupValid("A5 11", group, groupCount))
    gCurrentNormalGroup = group;
  return 1;
}

int CurrentNormalFPRiseTime() {
  if (!CommIndexValid(gCurrentNormalGroup, kFPGroupCount))
    return 0;
  return gNormalFPSet[gCurrentNormalGroup].RiseTime;
}

// Redraws the graph of the program page in front without its progress.
void RedrawStoppedProgramGraph() {
  ViewHooks &view = Hooks();
  switch (gCurrentPage) {
  case kPageStep:
    view.RefreshStepSetGraph(0, 1, gStepSetDisMode);
    break;
  case kPageList:
    view.RefreshListSetGraph(0, 1, gListSetDisMode);
    break;
  case kPageRamp:
    view.RefreshRampSetGraph(0, 1, gRampSetDisMode);
    break;
  case kPageCross:
    view.RefreshCrossSetGraph(0, 1, gCrossSetDisMode);
    break;
  default:
    break;
  }
}

void CommOutputControlReply(int cmd2, int riseTenths, const OutputReplyView &view) {
  switch (cmd2) {
  case 0xFF:
    view.ShowValues();
    CommSetRunning(gPowerInfo);
    gPowerInfo.RemainSecond = RemainSecondFromRise(riseTenths);
    Hooks().RefreshOutputState();
    break;
  case 0x00: {
    const bool wasRunning = gPowerInfo.OutputRunning == 1;
    view.ShowValues();
    CommSetStopped(gPowerInfo);
    gPowerInfo.RemainSecond = 0;
    Hooks().RefreshOutputState();
    if (wasRunning)
      RedrawStoppedProgramGraph();
    gMeasureOutput = MeasureOutput{};
    view.ShowMeasure();
    break;
  }
  case 0x03:
    CommSetStopped(gPowerInfo);
    gPowerInfo.RemainSecond = 0;
    Hooks().RefreshOutputState();
    break;
  default:
    break;
  }
}
