#include "comm/FPCommand.h"

#include "comm/CommFamily.h"
#include "comm/CommPC.h"
#include "comm/FPBlocks.h"
#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

namespace {

// The family a call serves: FP (FPA, FPB) or GS.
enum class Family { FP, GS };

int CommandModel(Family f) { return f == Family::GS ? kModelGS : kModelFPA; }

// UCompensation is exchanged only with FPA on the FP codec and GS on the GS codec.
bool SystemHasUComp(Family f) {
  return gPowerInfo.ModelType == (f == Family::GS ? kModelGS : kModelFPA);
}

THDPart THDPartOf(int cmd2) {
  return cmd2 == 0x32 ? THDPart::FirstHalf : cmd2 == 0x33 ? THDPart::SecondHalf : THDPart::Whole;
}

// How many records the parameter of a write or read command indexes; 0 for
// a command whose parameter names no record.
int IndexedCount(int cmd2) {
  switch (cmd2) {
  case 0x21:
  case 0x50:
    return kFPGroupCount;
  case 0x24:
  case 0x26:
    return kProgramStepCount;
  case 0x29:
    return kCrossEntryCount;
  case 0x31:
  case 0x32:
  case 0x33:
    return kTHDGroupCount;
  default:
    return 0;
  }
}

bool IndexOutOfRange(int cmd2, int param) {
  const int count = IndexedCount(cmd2);
  return count > 0 && !CommIndexValid(param, count);
}

// Writes the payload of a write command; 0 when its index is out of range.
int EncodeWrite(Family f, int cmd2, int param, uint8_t *buf) {
  if (IndexOutOfRange(cmd2, param))
    return 0;
  switch (cmd2) {
  case 0x21: {
    NormalFPSet set = gNormalFPSet[param];
    if (f == Family::GS)
      set.OutChannel = 7; // GS always runs all three channels of a group
    EncodeFPNormalGroup(set, param, buf);
    return 1;
  }
  case 0x22:
    EncodeStep(gStepSet, buf);
    return 1;
  case 0x23:
    EncodeProgramHeader(gListSet, buf);
    return 1;
  case 0x24:
    EncodeListStep(gListListSet[param], param, gListSet.OutMode, buf);
    return 1;
  case 0x25:
    EncodeProgramHeader(gRampSet, buf);
    return 1;
  case 0x26:
    EncodeRampStep(gRampRampSet[param], param, gRampSet.OutMode, buf);
    return 1;
  case 0x28:
    EncodeCrossHeader(gCrossListSet, buf);
    return 1;
  case 0x29:
    EncodeCrossEntry(gCrossSet[param], param, buf);
    return 1;
  case 0x30:
    EncodeFPSystem(gSystemSet, SystemHasUComp(f), buf);
    return 1;
  case 0x31:
  case 0x32:
  case 0x33:
    EncodeTHD(gTHDSet[param], param, THDPartOf(cmd2), buf);
    return 1;
  case 0x50:
    EncodeFPOnline(gNormalFPSet[param], f == Family::FP, buf);
    return 1;
  default:
    return 1; // a mode switch or group selection: no block
  }
}

// The normal-group reply: OutMode to the group the reply names, the rest to
// the group asked for (param, already checked).
int StoreNormalGroup(Family f, int param, const uint8_t *frame) {
  const int named = GetU8(frame + 6);
  NormalFPSet in{};
  DecodeFPNormalGroup(frame, in);
  if (CommReplyGroupValid("A5 21", named, kFPGroupCount))
    gNormalFPSet[named].OutMode = in.OutMode;
  NormalFPSet &set = gNormalFPSet[param];
  set.RiseTime = in.RiseTime;
  set.AngleUV = in.AngleUV;
  set.AngleVW = in.AngleVW;
  set.AngleUW = in.AngleUW;
  set.VolLevel = in.VolLevel;
  set.VolU = in.VolU;
  set.VolV = in.VolV;
  set.VolW = in.VolW;
  set.FreqU = in.FreqU;
  set.FreqV = in.FreqV;
  set.FreqW = in.FreqW;
  set.WaveU = in.WaveU;
  set.WaveV = in.WaveV;
  set.WaveW = in.WaveW;
  if (in.OutMode == 1) {
    if (f == Family::FP) {
      set.OutChannel = in.OutChannel;
    } else {
      // GS keeps its channel selection to itself: a phase switched off
      // reports as 0 V, 0 Hz.
      if (!(in.OutChannel & 1))
        set.VolU = set.FreqU = 0;
      if (!(in.OutChannel & 2))
        set.VolV = set.FreqV = 0;
      if (!(in.OutChannel & 4))
        set.VolW = set.FreqW = 0;
    }
  }
  set.VolLine = PhaseToLine(set.VolU);
  return 1;
}

int StoreRead(Family f, int cmd2, int param, const uint8_t *frame) {
  if (IndexOutOfRange(cmd2, param))
    return 0;
  switch (cmd2) {
  case 0x11:
    return CommStoreCurrentGroup(frame, kFPGroupCount);
  case 0x21:
    return StoreNormalGroup(f, param, frame);
  case 0x22:
    DecodeStep(frame, gStepSet);
    Hooks().DataFPFromStepVarToPanel();
    gRefreshProWaveDelay = 0;
    if (gCurrentPage == kPageStep)
      Hooks().RefreshStepSetGraph(1, 1, gStepSetDisMode);
    return 1;
  case 0x23:
    DecodeProgramHeader(frame, gListSet);
    return 1;
  case 0x24:
    DecodeListStep(frame, gListListSet[param]);
    return 1;
  case 0x25:
    DecodeProgramHeader(frame, gRampSet);
    return 1;
  case 0x26:
    DecodeRampStep(frame, gRampRampSet[param]);
    return 1;
  case 0x28:
    DecodeCrossHeader(frame, gCrossListSet);
    return 1;
  case 0x29:
    DecodeCrossEntry(frame, gCrossSet[param]);
    return 1;
  case 0x30:
    DecodeFPSystem(frame, SystemHasUComp(f), gSystemSet);
    return 1;
  case 0x31:
  case 0x32:
  case 0x33:
    // The connect exchange does not overwrite edits that wait for their
    // download: the user decides about them once it is over.
    if (gCommInfo.PresentGroup == kGroupConnect && gTHDNeedDownload[param] == 1)
      return 1;
    DecodeTHD(frame, THDPartOf(cmd2), gTHDSet[param]);
    return 1;
  default:
    return 0;
  }
}

void StoreStatus(Family f, const uint8_t *frame) {
  ViewHooks &view = Hooks();
  const int wasRunning = gPowerInfo.OutputRunning;
  if (f == Family::GS)
    DecodeGSStatus(frame, gPowerState);
  else
    DecodeFPStatus(frame, gPowerState);
  const int state = gPowerState.RunState;
  if (f == Family::GS && state == kRunCross) {
    // Entries run 0..7; anything else is not a Cross run the panel can show.
    if (gPowerState.RunStepU > kCrossEntryCount - 1)
      return;
    CommSetRunning(gPowerInfo);
    view.RefreshOutputState();
    view.RefreshCrossSetGraph(0, 0, gCrossSetDisMode);
    return;
  }
  switch (state) {
  case kRunNormal:
  case kRunNormalShort:
    CommSetRunning(gPowerInfo);
    break;
  case kRunStep:
    CommSetRunning(gPowerInfo);
    view.RefreshStepSetGraph(0, 0, gStepSetDisMode);
    break;
  case kRunList:
    CommSetRunning(gPowerInfo);
    view.RefreshListSetGraph(0, 0, gListSetDisMode);
    break;
  case kRunRamp:
    CommSetRunning(gPowerInfo);
    view.RefreshRampSetGraph(0, 0, gRampSetDisMode);
    break;
  case kRunAlarm:
    CommSetAlarming(gPowerInfo);
    break;
  default:
    if (f == Family::GS && state == kRunAlarmNoCode) {
      CommSetAlarming(gPowerInfo);
      break;
    }
    if (wasRunning == 1)
      RedrawStoppedProgramGraph();
    CommSetStopped(gPowerInfo);
    break;
  }
  view.RefreshOutputState();
}

int StoreQuery(Family f, int cmd2, const uint8_t *frame) {
  switch (cmd2) {
  case 0xAF:
    DecodeMeasure(frame, true, gMeasureOutput);
    if (gPowerInfo.OutputRunning == 1)
      Hooks().DataFPFromMeasureToPanel();
    return 1;
  case 0xEB:
    StoreStatus(f, frame);
    return 1;
  case 0xEA:
    DecodeDCState(frame, gPowerState);
    Hooks().RefreshDCOutputStateAndMeasure();
    return 1;
  case 0xAD:
    DecodeDCValue(frame, gPowerState);
    Hooks().RefreshDCOutputStateAndMeasure();
    return 1;
  default:
    return 0;
  }
}

void ShowCurrentPage() { Hooks().DataFPFromVarToPanel(gCurrentPage); }
void ShowMeasure() { Hooks().DataFPFromMeasureToPanel(); }

void StoreOutput(int cmd2) {
  if (cmd2 == 0xFE || cmd2 == 0x01) {
    gPowerState.DCOutputOn = cmd2 == 0xFE ? 1 : 0;
    Hooks().RefreshDCOutputStateAndMeasure();
    return;
  }
  CommOutputControlReply(cmd2, CurrentNormalFPRiseTime(), {ShowCurrentPage, ShowMeasure});
}

int FamilyRx(Family f, int cmd1, int cmd2, int param, const uint8_t *buf, int count) {
  if (CommFamilyRxCheck(CommandModel(f), cmd1, cmd2, buf, count) == nullptr)
    return 0;
  switch (cmd1) {
  case kCmdOutput:
    StoreOutput(cmd2);
    return 1;
  case kCmdWrite:
    return 1;
  case kCmdRead:
    return StoreRead(f, cmd2, param, buf);
  case kCmdQuery:
    return StoreQuery(f, cmd2, buf);
  default:
    return 0;
  }
}

} // namespace

int FPCommTx(int cmd1, int cmd2, int param, uint8_t *buffer) {
  return CommFamilyTx(CommandModel(Family::FP), cmd1, cmd2, param, buffer,
                      [](int c2, int p, uint8_t *b) { return EncodeWrite(Family::FP, c2, p, b); });
}

int GSCommTx(int cmd1, int cmd2, int param, uint8_t *buffer) {
  return CommFamilyTx(CommandModel(Family::GS), cmd1, cmd2, param, buffer,
                      [](int c2, int p, uint8_t *b) { return EncodeWrite(Family::GS, c2, p, b); });
}

int FPCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  return FamilyRx(Family::FP, cmd1, cmd2, param, buffer, count);
}

int GSCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count) {
  return FamilyRx(Family::GS, cmd1, cmd2, param, buffer, count);
}
