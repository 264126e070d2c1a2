#include "comm/FCCommand.h"

#include "comm/CommFamily.h"
#include "comm/CommPC.h"
#include "comm/FCBlocks.h"
#include "comm/FPBlocks.h"
#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

namespace {

// The FC command sets differ only in the measurement query of FCT and FCS.
int FCModel() { return gPowerInfo.ModelType == kModelFCS ? kModelFCS : kModelFCT; }

// UCompensation is exchanged only with FSA and FL.
bool FSSystemHasUComp() {
  return gPowerInfo.ModelType == kModelFSA || gPowerInfo.ModelType == kModelFL;
}

// ---- FC ----

// The group write and the on-line change name a group; the other writes
// carry no index.
bool GroupIndexOutOfRange(int cmd2, int param, int groupCount) {
  return (cmd2 == 0x21 || cmd2 == 0x50) && !CommIndexValid(param, groupCount);
}

int EncodeFCWrite(int cmd2, int param, uint8_t *buf) {
  if (GroupIndexOutOfRange(cmd2, param, kFCGroupCount))
    return 0;
  switch (cmd2) {
  case 0x21: {
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

// What the FC and the FS/FL codecs store differently.
struct ReplyStore {
  int (*RiseTenths)(); // rise time of the output-on reply
  OutputReplyView View;
  int GroupCount;
  int (*NormalGroup)(int param, const uint8_t *frame);
  void (*System)(const uint8_t *frame);
  void (*Measure)(int cmd2, const uint8_t *frame);
};

int StoreReply(const ReplyStore &store, int modelType, int cmd1, int cmd2, int param,
               const uint8_t *frame) {
  switch (cmd1) {
  case kCmdOutput:
    CommOutputControlReply(cmd2, store.RiseTenths(), store.View);
    return 1;
  case kCmdWrite:
    return 1;
  case kCmdRead:
    if (cmd2 == 0x11)
      return CommStoreCurrentGroup(frame, store.GroupCount);
    if (cmd2 == 0x21)
      return store.NormalGroup(param, frame);
    if (cmd2 == 0x30) {
      store.System(frame);
      return 1;
    }
    return 0;
  case kCmdQuery:
    if (cmd2 == 0xEB) {
      StoreStatus(modelType, frame);
      return 1;
    }
    store.Measure(cmd2, frame);
    if (gPowerInfo.OutputRunning == 1)
      store.View.ShowMeasure();
    return 1;
  default:
    return 0;
  }
}

// The FC group reply names its own group.
int StoreFCNormalGroup(int /*param*/, const uint8_t *frame) {
  const int group = GetU8(frame + 6);
  if (CommReplyGroupValid("A5 21", group, kFCGroupCount))
    DecodeFCNormalGroup(frame, gNormalFCSet[group]);
  return 1;
}

const ReplyStore kFCStore = {
    [] { return static_cast<int>(gSystemSet.StartRise); },
    {ShowFCValues, ShowFCMeasure},
    kFCGroupCount,
    StoreFCNormalGroup,
    [](const uint8_t *frame) { DecodeFCSystem(frame, gSystemSet); },
    [](int cmd2, const uint8_t *frame) {
      if (cmd2 == 0xAE)
        DecodeFCTMeasure(frame, gMeasureOutput);
      else
        DecodeFCSMeasure(frame, gMeasureOutput);
    },
};

// ---- FS and FL ----

int EncodeFSWrite(int cmd2, int param, uint8_t *buf) {
  if (GroupIndexOutOfRange(cmd2, param, kFPGroupCount))
    return 0;
  switch (cmd2) {
  case 0x21:
    EncodeFSNormalGroup(gNormalFPSet[param], param, buf);
    return 1;
  case 0x30:
    EncodeFPSystem(gSystemSet, FSSystemHasUComp(), buf);
    return 1;
  case 0x50:
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
  if (!CommIndexValid(param, kFPGroupCount))
    return 0;
  NormalFPSet in{};
  DecodeFSNormalGroup(frame, in);
  if (fl)
    in.OutMode = 0;
  if (CommReplyGroupValid("A5 21", named, kFPGroupCount))
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

template <bool FL>
const ReplyStore kFSStore = {
    CurrentNormalFPRiseTime,
    {ShowFPValues, ShowFPMeasure},
    kFPGroupCount,
    [](int param, const uint8_t *frame) { return StoreFSNormalGroup(FL, param, frame); },
    [](const uint8_t *frame) { DecodeFPSystem(frame, FSSystemHasUComp(), gSystemSet); },
    [](int /*cmd2*/, const uint8_t *frame) { DecodeMeasure(frame, false, gMeasureOutput); },
};

template <bool FL> int FSFamilyRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  const int model = FL ? kModelFL : kModelFSA;
  if (CommFamilyRxCheck(model, cmd1, cmd2, buffer, count) == nullptr)
    return 0;
  return StoreReply(kFSStore<FL>, model, cmd1, cmd2, param, buffer);
}

} // namespace

int FCCommTx(int cmd1, int cmd2, int param, uint8_t *buffer) {
  return CommFamilyTx(FCModel(), cmd1, cmd2, param, buffer, EncodeFCWrite);
}

int FSCommTx(int cmd1, int cmd2, int param, uint8_t *buffer) {
  return CommFamilyTx(kModelFSA, cmd1, cmd2, param, buffer, EncodeFSWrite);
}

int FCCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  const int model = FCModel();
  if (CommFamilyRxCheck(model, cmd1, cmd2, buffer, count) == nullptr)
    return 0;
  return StoreReply(kFCStore, model, cmd1, cmd2, param, buffer);
}

int FSCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  return FSFamilyRx<false>(cmd1, cmd2, param, buffer, count);
}

int FLCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  return FSFamilyRx<true>(cmd1, cmd2, param, buffer, count);
}
