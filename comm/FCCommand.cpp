#include "comm/FCCommand.h"

#include "app/Globals.h"
#include "app/ViewHooks.h"
#include "comm/CommFamily.h"
#include "comm/CommPC.h"
#include "comm/FCBlocks.h"
#include "comm/FPBlocks.h"
#include "programs/Arithmetic.h"

namespace {

bool InRange(int index, int count) { return index >= 0 && index < count; }

// The FC command sets differ only in the measurement query of FCT and FCS.
int FCModel() { return gPowerInfo.ModelType == kModelFCS ? kModelFCS : kModelFCT; }

// UCompensation is exchanged only with FSA and FL.
bool FSSystemHasUComp() {
  return gPowerInfo.ModelType == kModelFSA || gPowerInfo.ModelType == kModelFL;
}

// ---- FC ----

int EncodeFCWrite(int cmd2, int param, uint8_t *buf) {
  switch (cmd2) {
  case 0x21: {
    if (!InRange(param, kFCGroupCount))
      return 0;
    NormalFCSet set = gNormalFCSet[param];
    if (gPowerInfo.ModelType == kModelFCS)
      set.OutMode = 5; // single phase, whatever the record says
    EncodeFCNormalGroup(set, param, buf);
    return 1;
  }
  case 0x30:
    EncodeFCSystem(gSystemSet, buf);
    return 1;
  case 0x50:
    if (!InRange(param, kFCGroupCount))
      return 0;
    EncodeFCOnline(gNormalFCSet[param], buf);
    return 1;
  default:
    return 1;
  }
}

void ShowFCValues() {
  Hooks().DataFCFromNormalVarToPanel();
  Hooks().DataFCFromSystemVarToPanel();
}
void ShowFCMeasure() { Hooks().DataFCFromMeasureToPanel(); }

void ShowFPValues() {
  Hooks().DataFPFromNormalVarToPanel();
  Hooks().DataFPFromSystemVarToPanel();
}
void ShowFPMeasure() { Hooks().DataFPFromMeasureToPanel(); }

// Status reply of every family here: running, alarm with code, or stopped.
void StoreStatus(int modelType, const uint8_t *frame) {
  DecodeFCStatus(frame, modelType, gPowerState);
  if (FCStatusRunning(gPowerState.RunState, modelType))
    CommSetRunning(gPowerInfo);
  else if (gPowerState.RunState == kFCAlarmState)
    CommSetAlarming(gPowerInfo);
  else
    CommSetStopped(gPowerInfo);
  Hooks().RefreshOutputState();
}

int StoreCurrentGroup(const uint8_t *frame, int groupCount) {
  const int group = GetU8(frame + 6);
  if (!InRange(group, groupCount))
    return 0;
  gCurrentNormalGroup = group;
  return 1;
}

int StoreFCReply(int modelType, int cmd1, int cmd2, const uint8_t *frame) {
  switch (cmd1) {
  case kCmdOutput:
    CommOutputControlReply(cmd2, gSystemSet.StartRise, {ShowFCValues, ShowFCMeasure});
    return 1;
  case kCmdWrite:
    return 1;
  case kCmdRead:
    if (cmd2 == 0x11)
      return StoreCurrentGroup(frame, kFCGroupCount);
    if (cmd2 == 0x21) {
      const int group = GetU8(frame + 6);
      if (!InRange(group, kFCGroupCount))
        return 0;
      DecodeFCNormalGroup(frame, gNormalFCSet[group]);
      return 1;
    }
    if (cmd2 == 0x30) {
      DecodeFCSystem(frame, gSystemSet);
      return 1;
    }
    return 0;
  case kCmdQuery:
    if (cmd2 == 0xEB) {
      StoreStatus(modelType, frame);
      return 1;
    }
    if (cmd2 == 0xAE)
      DecodeFCTMeasure(frame, gMeasureOutput);
    else
      DecodeFCSMeasure(frame, gMeasureOutput);
    if (gPowerInfo.OutputRunning == 1)
      ShowFCMeasure();
    return 1;
  default:
    return 0;
  }
}

// ---- FS and FL ----

int EncodeFSWrite(int cmd2, int param, uint8_t *buf) {
  switch (cmd2) {
  case 0x21:
    if (!InRange(param, kFPGroupCount))
      return 0;
    EncodeFSNormalGroup(gNormalFPSet[param], param, buf);
    return 1;
  case 0x30:
    EncodeFPSystem(gSystemSet, FSSystemHasUComp(), buf);
    return 1;
  case 0x50:
    if (!InRange(param, kFPGroupCount))
      return 0;
    EncodeFSOnline(gNormalFPSet[param], buf);
    return 1;
  default:
    return 1;
  }
}

// The normal-group reply: OutMode to the group the reply names, the rest to
// the group asked for. Separate phases (OutMode 1) keep their own values and
// channels; otherwise, and always on FL, V and W follow U on all channels.
int StoreFSNormalGroup(bool fl, int param, const uint8_t *frame) {
  const int named = GetU8(frame + 6);
  if (!InRange(param, kFPGroupCount) || !InRange(named, kFPGroupCount))
    return 0;
  NormalFPSet in{};
  DecodeFSNormalGroup(frame, in);
  if (fl)
    in.OutMode = 0;
  gNormalFPSet[named].OutMode = in.OutMode;
  if (in.OutMode != 1) {
    in.VolV = in.VolW = in.VolU;
    in.FreqV = in.FreqW = in.FreqU;
    in.OutChannel = 7;
  }
  NormalFPSet &set = gNormalFPSet[param];
  set.VolU = in.VolU;
  set.VolV = in.VolV;
  set.VolW = in.VolW;
  set.FreqU = in.FreqU;
  set.FreqV = in.FreqV;
  set.FreqW = in.FreqW;
  set.OutChannel = in.OutChannel;
  set.VolLine = PhaseToLine(set.VolU);
  set.VolLevel = in.VolLevel;
  set.RiseTime = in.RiseTime;
  return 1;
}

int StoreFSReply(bool fl, int modelType, int cmd1, int cmd2, int param, const uint8_t *frame) {
  switch (cmd1) {
  case kCmdOutput:
    CommOutputControlReply(cmd2, CurrentNormalFPRiseTime(), {ShowFPValues, ShowFPMeasure});
    return 1;
  case kCmdWrite:
    return 1;
  case kCmdRead:
    if (cmd2 == 0x11)
      return StoreCurrentGroup(frame, kFPGroupCount);
    if (cmd2 == 0x21)
      return StoreFSNormalGroup(fl, param, frame);
    if (cmd2 == 0x30) {
      DecodeFPSystem(frame, FSSystemHasUComp(), gSystemSet);
      return 1;
    }
    return 0;
  case kCmdQuery:
    if (cmd2 == 0xEB) {
      StoreStatus(modelType, frame);
      return 1;
    }
    DecodeMeasure(frame, false, gMeasureOutput);
    if (gPowerInfo.OutputRunning == 1)
      ShowFPMeasure();
    return 1;
  default:
    return 0;
  }
}

int FSFamilyRx(bool fl, int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  const int model = fl ? kModelFL : kModelFSA;
  if (CommFamilyRxCheck(model, cmd1, cmd2, buffer, count) == nullptr)
    return 0;
  return StoreFSReply(fl, model, cmd1, cmd2, param, buffer);
}

} // namespace

int FCCommTx(int cmd1, int cmd2, int param, uint8_t *buffer) {
  const CommCommand *cmd = CommFindCommand(FCModel(), cmd1, cmd2);
  if (cmd == nullptr)
    return 0;
  if (cmd1 == kCmdWrite && !EncodeFCWrite(cmd2, param, buffer))
    return 0;
  return CommFamilyTxFinish(*cmd, param, buffer);
}

int FSCommTx(int cmd1, int cmd2, int param, uint8_t *buffer) {
  const CommCommand *cmd = CommFindCommand(kModelFSA, cmd1, cmd2);
  if (cmd == nullptr)
    return 0;
  if (cmd1 == kCmdWrite && !EncodeFSWrite(cmd2, param, buffer))
    return 0;
  return CommFamilyTxFinish(*cmd, param, buffer);
}

int FCCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  (void)param; // the FC group reply names its own group
  const int model = FCModel();
  if (CommFamilyRxCheck(model, cmd1, cmd2, buffer, count) == nullptr)
    return 0;
  return StoreFCReply(model, cmd1, cmd2, buffer);
}

int FSCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  return FSFamilyRx(false, cmd1, cmd2, param, buffer, count);
}

int FLCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  return FSFamilyRx(true, cmd1, cmd2, param, buffer, count);
}
