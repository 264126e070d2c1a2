#include "comm/CommScheduler.h"

#include "comm/CommConnect.h"
#include "comm/CommPC.h"
#include "comm/CommPortFunc.h"
#include "comm/CommReconnect.h"
#include "comm/FCCommand.h"
#include "comm/FPCommand.h"
#include "programs/THDPanelFunc.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include <algorithm>
#include <cstdio>

namespace {

enum Family { kFamilyNone, kFamilyFC, kFamilyFS, kFamilyFP };

Family FamilyOf(int32_t modelType) {
  switch (modelType) {
  case kModelFCT:
  case kModelFCS:
    return kFamilyFC;
  case kModelFSA:
  case kModelFSB:
  case kModelFL:
    return kFamilyFS;
  case kModelFPA:
  case kModelFPB:
  case kModelGS:
    return kFamilyFP;
  default:
    return kFamilyNone;
  }
}

Family CurrentFamily() { return FamilyOf(gPowerInfo.ModelType); }
bool IsGS() { return gPowerInfo.ModelType == kModelGS; }
bool OnGPIB() { return gPowerInfo.CommType == kCommGPIB; }
bool English() { return gPowerInfo.Language == 1; }

// ---- Queue ----

bool IsOutputControl(int cmd1) { return cmd1 == kCmdClassOutput; }

// Commands whose order decides the source's final state: output control and
// the mode selections. Repeating one of them after a different one must
// still reach the source.
bool IsOrderedCommand(int group, int cmd1, int cmd2) {
  if (group != kGroupSingle)
    return false;
  if (cmd1 == kCmdClassOutput)
    return true;
  return cmd1 == kCmdClassWrite &&
         (cmd2 == 0x11 || cmd2 == 0x12 || cmd2 == 0x13 || cmd2 == 0x15 || cmd2 == 0x18);
}

// Position in the ring of the n-th waiting entry, oldest first.
int QueueSlot(int n) { return (gCommNewCmd.ReadIndex + n) % kCommQueueSize; }

bool SameRequest(int slot, int group, int cmd1, int cmd2, int param) {
  const CommNewCmd &q = gCommNewCmd;
  return q.Group[slot] == group && q.Cmd1[slot] == cmd1 && q.Cmd2[slot] == cmd2 &&
         q.Param[slot] == param;
}

// A request already waiting carries the newest values, because frames are
// built when they are sent: queueing it again would only send it twice. An
// ordered command is compared with the newest waiting request only, so that
// "on, off, on" still ends with the output on.
bool AlreadyWaiting(int group, int cmd1, int cmd2, int param) {
  const int count = gCommNewCmd.Count;
  if (count < 1)
    return false;
  if (IsOrderedCommand(group, cmd1, cmd2))
    return SameRequest(QueueSlot(count - 1), group, cmd1, cmd2, param);
  for (int n = 0; n < count; ++n)
    if (SameRequest(QueueSlot(n), group, cmd1, cmd2, param))
      return true;
  return false;
}

std::string GroupText(int group, int cmd1, int cmd2, int param) {
  struct Name {
    int Group;
    const char *English;
    const char *Chinese;
  };
  static const Name names[] = {
      {kGroupConnect, "identify and read all settings", "识别电源并读取全部设置"},
      {kGroupReadList, "read List program", "读取List程序"},
      {kGroupReadRamp, "read Ramp program", "读取Ramp程序"},
      {kGroupReadCross, "read Cross program", "读取Cross程序"},
      {kGroupReadTHD, "read all THD groups", "读取全部谐波组"},
      {kGroupWriteNormalAll, "write system settings and all normal groups",
       "写入系统设置和全部常规组"},
      {kGroupWriteList, "write List program", "写入List程序"},
      {kGroupWriteRamp, "write Ramp program", "写入Ramp程序"},
      {kGroupWriteCross, "write Cross program", "写入Cross程序"},
      {kGroupWriteTHDAll, "write all THD groups", "写入全部谐波组"},
      {kGroupWriteTHDMarked, "write changed THD groups", "写入已修改的谐波组"},
  };
  for (const Name &name : names)
    if (name.Group == group)
      return English() ? name.English : name.Chinese;
  return CommCommandText(cmd1, cmd2, param);
}

void TellDropped(int group, int cmd1, int cmd2, int param) {
  const std::string what = GroupText(group, cmd1, cmd2, param);
  Hooks().CommRequestDropped(English() ? "The power source is busy: \"" + what +
                                             "\" was not sent. Please try again."
                                       : "电源通讯繁忙：“" + what + "”未发送，请重试。");
}

// Removes the waiting entry at order position n; later entries move up one
// place so that arrival order is kept.
void QueueRemoveAt(int n) {
  CommNewCmd &q = gCommNewCmd;
  for (int k = n; k < q.Count - 1; ++k) {
    const int to = QueueSlot(k);
    const int from = QueueSlot(k + 1);
    q.Valid[to] = q.Valid[from];
    q.Group[to] = q.Group[from];
    q.Step[to] = q.Step[from];
    q.Cmd1[to] = q.Cmd1[from];
    q.Cmd2[to] = q.Cmd2[from];
    q.Param[to] = q.Param[from];
  }
  const int last = QueueSlot(q.Count - 1);
  q.Valid[last] = q.Group[last] = q.Step[last] = 0;
  q.Cmd1[last] = q.Cmd2[last] = q.Param[last] = 0;
  q.Count -= 1;
  q.WriteIndex = last;
}

void QueueRequest(int group, int step, int cmd1, int cmd2, int param) {
  CommNewCmd &q = gCommNewCmd;
  if (AlreadyWaiting(group, cmd1, cmd2, param))
    return;
  if (q.Count >= kCommQueueSize) {
    // Output control is never lost: it takes the place of the newest waiting
    // request that is not output control.
    int victim = -1;
    if (IsOutputControl(cmd1))
      for (int n = q.Count - 1; n >= 0 && victim < 0; --n)
        if (!IsOutputControl(q.Cmd1[QueueSlot(n)]) || q.Group[QueueSlot(n)] != kGroupSingle)
          victim = n;
    if (victim < 0) {
      TellDropped(group, cmd1, cmd2, param);
      return;
    }
    const int slot = QueueSlot(victim);
    TellDropped(q.Group[slot], q.Cmd1[slot], q.Cmd2[slot], q.Param[slot]);
    QueueRemoveAt(victim);
  }
  if (q.WriteIndex >= kCommQueueSize)
    q.WriteIndex = 0;
  const int slot = q.WriteIndex;
  q.Valid[slot] = 1;
  q.Group[slot] = group;
  q.Step[slot] = step;
  CommSetNewCmd(cmd1, cmd2, param);
  q.Count += 1;
  q.WriteIndex += 1;
}

// ---- Frame in flight ----

int BuildFrame(int cmd1, int cmd2, int param) {
  uint8_t *tx = gCommInfo.TxBuff.data();
  switch (gPowerInfo.ModelType) {
  case kModelFCT:
  case kModelFCS:
    return FCCommTx(cmd1, cmd2, param, tx);
  case kModelFSA:
  case kModelFSB:
  case kModelFL:
    return FSCommTx(cmd1, cmd2, param, tx);
  case kModelFPA:
  case kModelFPB:
    return FPCommTx(cmd1, cmd2, param, tx);
  case kModelGS:
    return GSCommTx(cmd1, cmd2, param, tx);
  default:
    return 0;
  }
}

int DecodeReply() {
  const CommInfo &c = gCommInfo;
  const uint8_t *rx = c.RxBuff.data();
  switch (gPowerInfo.ModelType) {
  case kModelFCT:
  case kModelFCS:
    return FCCommRx(c.PresentCmd1, c.PresentCmd2, c.PresentParam, rx, c.RxLen);
  case kModelFSA:
  case kModelFSB:
    return FSCommRx(c.PresentCmd1, c.PresentCmd2, c.PresentParam, rx, c.RxLen);
  case kModelFPA:
  case kModelFPB:
    return FPCommRx(c.PresentCmd1, c.PresentCmd2, c.PresentParam, rx, c.RxLen);
  case kModelGS:
    return GSCommRx(c.PresentCmd1, c.PresentCmd2, c.PresentParam, rx, c.RxLen);
  case kModelFL:
    return FLCommRx(c.PresentCmd1, c.PresentCmd2, c.PresentParam, rx, c.RxLen);
  default:
    return 0;
  }
}

// Makes the next frame of the running group current and sends it.
void NextFrame(int step, int cmd1, int cmd2, int param) {
  gCommInfo.PresentStep = step;
  CommSetPresentCmd(cmd1, cmd2, param);
  CommSentTxBuff();
}

// Starts the next queued request, or removes the wait popup when none waits.
void StartNextOrRest() {
  if (CommReadNewCmdGroupToPresentGroup() == 0 && gPowerInfo.WaitPanelShown == 1)
    DisplayPanelWait(0);
}

void Finish() {
  CommSetPresentCmd(0, 0, 0);
  StartNextOrRest();
}

// ---- Misses and the lost link ----

CommMissReason ClassifyMiss() {
  const CommInfo &c = gCommInfo;
  if (c.RxLen <= 0)
    return kMissNoReply;
  const uint8_t *rx = c.RxBuff.data();
  const bool answered =
      CommFrameAccept(rx, c.RxLen, gPowerInfo.SoftwareAddress, c.PresentCmd1, c.PresentCmd2) == 1;
  const bool acknowledged = c.PresentCmd1 == kCmdClassWrite || c.PresentCmd1 == kCmdClassOutput;
  if (answered && acknowledged && rx[2] == 9 && rx[kFramePayload] != 0)
    return kMissRefused;
  return kMissBadReply;
}

void LinkLost() {
  const CommInfo &c = gCommInfo;
  const std::string what = CommCommandText(c.PresentCmd1, c.PresentCmd2, c.PresentParam);
  const int code = c.RxBuff[kFramePayload];
  std::string text;
  switch (gCommPoll.LastMissReason) {
  case kMissClosed:
    text = English() ? "Connection lost: the power source closed the connection."
                     : "通讯中断：电源关闭了连接。";
    break;
  case kMissRefused:
    text = English()
               ? "Connection lost: the power source refused \"" + what + "\" (code " +
                     std::to_string(code) + ")."
               : "通讯中断：电源拒绝执行“" + what + "”（代码 " + std::to_string(code) + "）。";
    break;
  case kMissBadReply: {
    // Only a serial line has a baud rate to get wrong.
    const bool serial = gPowerInfo.CommType != kCommLAN && gPowerInfo.CommType != kCommGPIB;
    text = English() ? "Connection lost: the power source sent invalid replies to \"" + what +
                           (serial ? "\".\nCheck the baud rate and the device address."
                                   : "\".\nCheck the device address.")
                     : "通讯中断：电源对“" + what + "”的应答无效。\n" +
                           (serial ? "请检查波特率和设备地址。" : "请检查设备地址。");
    break;
  }
  default:
    // The model query is the first frame of a connection: nothing answered yet.
    if (c.PresentCmd1 == kCmdClassQuery && c.PresentCmd2 == kQueryModel)
      text = English()
                 ? "No power source answered at " + CommPortText() +
                       ".\nCheck the cable, the port settings and the device address."
                 : "在" + CommPortText() + "上没有电源应答。\n请检查通讯线、端口设置和设备地址。";
    else
      text = English()
                 ? "Connection lost: no reply from the power source to \"" + what +
                       "\".\nCheck the cable, the port settings and the device address."
                 : "通讯中断：电源对“" + what + "”无应答。\n请检查通讯线、端口设置和设备地址。";
    break;
  }
  const bool quiet = gCommPoll.QuietLoss == 1;
  CommConnectDeal(0);
  // The start-up attempt stays silent while no source has answered: a saved
  // port with nothing attached is not worth a message at every start.
  if (!quiet && !CommReconnectAfterLoss(text))
    Hooks().CommLinkLost(English() ? "Error" : "出错", text);
}

// ---- Model identification ----

bool HasPrograms(int32_t modelType) {
  return modelType == kModelFPA || modelType == kModelFPB || modelType == kModelGS;
}

// A program page the identified model does not have returns to the main panel.
void LeaveMissingPage(int32_t modelType) {
  ViewHooks &hooks = Hooks();
  if (!HasPrograms(modelType)) {
    switch (gCurrentPage) {
    case kPageStep:
      hooks.ExitStepToNormalPanel();
      break;
    case kPageList:
      hooks.ExitListToNormalPanel();
      break;
    case kPageRamp:
      hooks.ExitRampToNormalPanel();
      break;
    case kPageTHD:
      hooks.ExitTHDToNormalPanel();
      break;
    default:
      break;
    }
  }
  if (modelType != kModelGS && gCurrentPage == kPageCross)
    hooks.ExitCrossToNormalPanel();
}

int DecodeModelQuery() {
  const int32_t before = gPowerInfo.ModelType;
  const int accepted =
      ModelQueryRx(gCommInfo.RxBuff.data(), gCommInfo.RxLen, gPowerInfo.PowerModelStr.data(),
                   &gPowerInfo.ModelType, &gPowerInfo.Rating);
  if (accepted != 1)
    return 0;
  gCommPoll.QuietLoss = 0;
  if (gPowerInfo.ModelType != before)
    CommSwitchModelFiles(before, gPowerInfo.ModelType);
  LeaveMissingPage(gPowerInfo.ModelType);
  return 1;
}

// ---- Group advance ----

void FinishConnect() {
  CommInfo &c = gCommInfo;
  const Family family = CurrentFamily();
  CommSetPresentCmd(0, 0, 0);
  c.NormalDataOk = 1;
  c.SystemDataOk = 1;
  if (family == kFamilyFP)
    c.THDDataOk = 1;
  ViewHooks &hooks = Hooks();
  hooks.ModelTypeChoose(1);
  CommConnectToPanel(gPowerInfo.Connected);
  if (family == kFamilyFP) {
    hooks.DataFPFromTHDVarToPanel();
    THDAskAboutPendingEdits();
  }
  if (family == kFamilyFC)
    hooks.CalFCPowerUpDown(gPowerInfo.OutputRunning == 1 ? 1 : 0);
  gCommPoll.StatusCountdown = kPollPeriodTicks;
  // A running output is left running: connecting to watch a source (or
  // reconnecting after a cable fault) must not cut power to the load.
  if (family == kFamilyFP) {
    const bool alarm = gPowerInfo.Alarming == 1;
    switch (gCurrentPage) {
    case kPageStep:
      CommSetNewCmdSingleGroup(kCmdClassRead, 0x22, 0);
      if (!alarm)
        CommSetNewCmdSingleGroup(kCmdClassWrite, 0x12, 0);
      break;
    case kPageList:
      CommSetNewCmdGroup(kGroupReadList);
      if (!alarm)
        CommSetNewCmdSingleGroup(kCmdClassWrite, 0x13, 0);
      break;
    case kPageRamp:
      CommSetNewCmdGroup(kGroupReadRamp);
      if (!alarm)
        CommSetNewCmdSingleGroup(kCmdClassWrite, 0x15, 0);
      break;
    case kPageCross:
      if (IsGS()) {
        CommSetNewCmdGroup(kGroupReadCross);
        if (!alarm)
          CommSetNewCmdSingleGroup(kCmdClassWrite, 0x18, 0);
      }
      break;
    default:
      break;
    }
  }
  StartNextOrRest();
}

void AdvanceConnect(int step) {
  const Family family = CurrentFamily();
  const int lastGroupStep = family == kFamilyFC ? 26 : 29;
  if (step == 10)
    return NextFrame(11, kCmdClassRead, 0x30, 0);
  if (step == 11)
    return NextFrame(20, kCmdClassRead, 0x21, 0);
  if (step >= 20 && step < lastGroupStep)
    return NextFrame(step + 1, kCmdClassRead, 0x21, step + 1 - 20);
  if (step == lastGroupStep) {
    if (family == kFamilyFC)
      return NextFrame(60, kCmdClassRead, 0x11, 0);
    if (family != kFamilyFP)
      return NextFrame(60, kCmdClassRead, 0x11, gCurrentNormalGroup);
    if (OnGPIB())
      return NextFrame(40, kCmdClassRead, 0x32, 0);
    return NextFrame(30, kCmdClassRead, 0x31, 0);
  }
  if (family == kFamilyFP && step >= 30 && step <= 38)
    return NextFrame(step + 1, kCmdClassRead, 0x31, step + 1 - 30);
  if (family == kFamilyFP && step >= 40 && step <= 58) {
    const int next = step + 1;
    return NextFrame(next, kCmdClassRead, next % 2 == 0 ? 0x32 : 0x33, (next - 40) / 2);
  }
  if (family == kFamilyFP && (step == 39 || step == 59))
    return NextFrame(60, kCmdClassRead, 0x11, gCurrentNormalGroup);
  if (step == 60)
    return NextFrame(70, kCmdClassQuery, kQueryStatus, 0);
  FinishConnect();
}

void AdvanceWriteNormalAll(int step) {
  const Family family = CurrentFamily();
  CommInfo &c = gCommInfo;
  const int lastGroupStep = family == kFamilyFC ? 26 : 29;
  if (step == 11)
    return NextFrame(20, kCmdClassWrite, 0x21, 0);
  if (step >= 20 && step < lastGroupStep)
    return NextFrame(step + 1, kCmdClassWrite, 0x21, step + 1 - 20);
  // FS and FL have no group selection (5A 11): their exchange ends with the
  // last group, and the source keeps the group it runs.
  if (step == lastGroupStep && family != kFamilyFS)
    return NextFrame(40, kCmdClassWrite, 0x11, gCurrentNormalGroup);
  c.NormalDataOk = 1;
  c.SystemDataOk = 1;
  Finish();
}

// Reads or writes of a List or Ramp program: header at step 10, then the
// 100 steps at 100..199.
void AdvanceProgramSteps(int step, int cmd1, int stepCmd2, void (*finish)()) {
  if (step == 10)
    return NextFrame(100, cmd1, stepCmd2, 0);
  if (step >= 100 && step <= 198)
    return NextFrame(step + 1, cmd1, stepCmd2, step + 1 - 100);
  finish();
}

// Cross header at step 10, then the 8 entries at 20..27.
void AdvanceCross(int step, int cmd1, void (*finish)()) {
  if (step == 10)
    return NextFrame(20, cmd1, 0x29, 0);
  if (step >= 20 && step <= 26)
    return NextFrame(step + 1, cmd1, 0x29, step + 1 - 20);
  finish();
}

// A program read from the source: the panel and its preview show it.
void FinishReadProgram(int32_t CommInfo::*dataOk, void (ViewHooks::*toPanel)(),
                       void (ViewHooks::*refreshGraph)(int, int, int), int32_t disMode) {
  CommSetPresentCmd(0, 0, 0);
  gCommInfo.*dataOk = 1;
  (Hooks().*toPanel)();
  gRefreshProWaveDelay = 0;
  (Hooks().*refreshGraph)(1, 1, disMode);
  StartNextOrRest();
}

void FinishReadList() {
  FinishReadProgram(&CommInfo::ListDataOk, &ViewHooks::DataFPFromListVarToPanel,
                    &ViewHooks::RefreshListSetGraph, gListSetDisMode);
}

void FinishReadRamp() {
  FinishReadProgram(&CommInfo::RampDataOk, &ViewHooks::DataFPFromRampVarToPanel,
                    &ViewHooks::RefreshRampSetGraph, gRampSetDisMode);
}

void FinishReadCross() {
  FinishReadProgram(&CommInfo::CrossDataOk, &ViewHooks::DataFPFromCrossVarToPanel,
                    &ViewHooks::RefreshCrossSetGraph, gCrossSetDisMode);
}

void FinishReadTHD() {
  CommSetPresentCmd(0, 0, 0);
  gCommInfo.THDDataOk = 1;
  Hooks().DataFPFromTHDVarToPanel();
  StartNextOrRest();
}

void FinishWriteList() {
  gCommInfo.ListDataOk = 1;
  Finish();
}

void FinishWriteRamp() {
  gCommInfo.RampDataOk = 1;
  Finish();
}

void FinishWriteCross() {
  gCommInfo.CrossDataOk = 1;
  Finish();
}

void FinishWriteTHD() {
  CommSetPresentCmd(0, 0, 0);
  gCommInfo.THDDataOk = 1;
  Hooks().CheckAndSetTHDDownloadButton();
  StartNextOrRest();
}

void AdvanceReadTHD(int step) {
  if (step >= 20 && step <= 28)
    return NextFrame(step + 1, kCmdClassRead, 0x31, step + 1 - 20);
  if (step >= 50 && step <= 68) {
    const int next = step + 1;
    return NextFrame(next, kCmdClassRead, next % 2 == 0 ? 0x32 : 0x33, (next - 50) / 2);
  }
  FinishReadTHD();
}

void AdvanceWriteTHDAll(int step) {
  auto &marks = gTHDNeedDownload;
  if (step >= 10 && step <= 18) {
    marks[step - 10] = 0;
    return NextFrame(step + 1, kCmdClassWrite, 0x31, step + 1 - 10);
  }
  if (step >= 30 && step <= 48) {
    marks[(step - 30) / 2] = 0;
    const int next = step + 1;
    return NextFrame(next, kCmdClassWrite, next % 2 == 0 ? 0x32 : 0x33, (next - 30) / 2);
  }
  marks[9] = 0;
  FinishWriteTHD();
}

void AdvanceWriteTHDMarked(int step) {
  auto &marks = gTHDNeedDownload;
  if (step >= 20 && step <= 28) {
    marks[step - 20] = 0;
    const int g = CheckTHDNeedToDownloadFirst();
    if (g < kTHDGroupCount)
      return NextFrame(20 + g, kCmdClassWrite, 0x31, g);
    return FinishWriteTHD();
  }
  if (step >= 50 && step <= 68 && step % 2 == 0)
    return NextFrame(step + 1, kCmdClassWrite, 0x33, (step + 1 - 50) / 2);
  if (step >= 51 && step <= 67) {
    marks[(step - 50) / 2] = 0;
    const int g = CheckTHDNeedToDownloadFirst();
    if (g < kTHDGroupCount)
      return NextFrame(50 + 2 * g, kCmdClassWrite, 0x32, g);
    return FinishWriteTHD();
  }
  marks[9] = 0;
  FinishWriteTHD();
}

void AdvanceGroup() {
  const int group = gCommInfo.PresentGroup;
  const int step = gCommInfo.PresentStep;
  const Family family = CurrentFamily();
  if (group == kGroupConnect)
    return AdvanceConnect(step);
  if (group == kGroupWriteNormalAll)
    return AdvanceWriteNormalAll(step);
  if (family != kFamilyFP)
    return Finish();
  switch (group) {
  case kGroupReadList:
    return AdvanceProgramSteps(step, kCmdClassRead, 0x24, FinishReadList);
  case kGroupReadRamp:
    return AdvanceProgramSteps(step, kCmdClassRead, 0x26, FinishReadRamp);
  case kGroupReadCross:
    return AdvanceCross(step, kCmdClassRead, FinishReadCross);
  case kGroupReadTHD:
    return AdvanceReadTHD(step);
  case kGroupWriteList:
    return AdvanceProgramSteps(step, kCmdClassWrite, 0x24, FinishWriteList);
  case kGroupWriteRamp:
    return AdvanceProgramSteps(step, kCmdClassWrite, 0x26, FinishWriteRamp);
  case kGroupWriteCross:
    return AdvanceCross(step, kCmdClassWrite, FinishWriteCross);
  case kGroupWriteTHDAll:
    return AdvanceWriteTHDAll(step);
  case kGroupWriteTHDMarked:
    return AdvanceWriteTHDMarked(step);
  default:
    return Finish();
  }
}

// ---- One tick ----

// Decodes the reply in RxBuff and counts a miss or advances the group.
void TakeReply() {
  CommInfo &c = gCommInfo;
  gCommPoll.ReplyGathering = 0;
  if (c.PresentGroup == kGroupConnect && c.PresentStep == 10 && CommReconnectOtherSource())
    return;
  const int accepted =
      c.PresentGroup == kGroupConnect && c.PresentStep == 10 ? DecodeModelQuery() : DecodeReply();
  if (accepted != 1) {
    c.NoReplyCount += 1;
    gCommPoll.LastMissReason = ClassifyMiss();
    if (c.NoReplyCount >= kMaxNoReply)
      return LinkLost();
    // An output-control frame is never sent twice: a status query tells
    // whether it was carried out.
    if (c.PresentCmd1 == kCmdClassOutput) {
      c.PresentGroup = kGroupSingle;
      c.PresentStep = 0;
      CommSetPresentCmd(kCmdClassQuery, kQueryStatus, 0);
    }
    CommSentTxBuff();
    return;
  }
  c.NoReplyCount = 0;
  gCommPoll.LastMissReason = kMissNone;
  AdvanceGroup();
}

// Reads the reply once, at the end of its wait.
void ReadReply() {
  CommInfo &c = gCommInfo;
  std::fill_n(c.RxBuff.begin(), 255, uint8_t{0});
  c.RxLen = ActiveCommPort().Read(c.RxBuff.data(), kCommBuffSize, c.RxExpectLen);
  TakeReply();
}

bool ReplyDriven() { return gPowerInfo.CommReplyPacing == 1; }

// Adds what has arrived since the last tick to RxBuff, so that a reply that
// comes in pieces is whole when its last piece is there. True when RxBuff
// holds a whole frame answering the frame in flight, and on GPIB when the
// read brought anything: a GPIB read is a bus transaction that ends when the
// source has sent the expected count, ends its reply, or the 30 ms time-out
// passes, so what it brought is the whole reply (a source that has not begun
// to answer leaves the buffer untouched, and the next tick reads again).
bool GatherReply() {
  CommInfo &c = gCommInfo;
  if (OnGPIB()) {
    c.RxLen = ActiveCommPort().Read(c.RxBuff.data(), kCommBuffSize, c.RxExpectLen);
    return c.RxLen > 0;
  }
  if (gCommPoll.ReplyGathering != 1) {
    std::fill_n(c.RxBuff.begin(), 255, uint8_t{0});
    c.RxLen = 0;
    gCommPoll.ReplyGathering = 1;
  }
  const int32_t room = kCommBuffSize - c.RxLen;
  if (room > 0)
    c.RxLen += ActiveCommPort().Read(c.RxBuff.data() + c.RxLen, room, c.RxExpectLen);
  return CommFrameAccept(c.RxBuff.data(), c.RxLen, gPowerInfo.SoftwareAddress, c.PresentCmd1,
                         c.PresentCmd2) == 1;
}

int MeasureQueryCmd2() {
  switch (gPowerInfo.ModelType) {
  case kModelFCT:
    return kQueryMeasureFCT;
  case kModelFCS:
    return kQueryMeasureFCS;
  default:
    return kQueryMeasure;
  }
}

void IdleTick() {
  if (CommReadNewCmdGroupToPresentGroup() == 1)
    return;
  CommInfo &c = gCommInfo;
  CommPollInfo &poll = gCommPoll;
  const bool running = gPowerInfo.OutputRunning == 1;
  // Both polls due while the output runs, and the status went last: the
  // measurement goes first this time. When one poll exchange lasts a second
  // or more (LAN with GS, FSB or FPB) the two alternate instead of the status
  // query starving the measurements.
  // With replies taken as they come both fit in every second.
  const bool measureFirst = poll.StatusCountdown == 0 && poll.MeasureCountdown == 0 && running &&
                            poll.LastPollStatus == 1 && !ReplyDriven();
  if (poll.StatusCountdown == 0 && !measureFirst) {
    c.PresentGroup = kGroupSingle;
    c.PresentStep = 0;
    CommSetPresentCmd(kCmdClassQuery, kQueryStatus, 0);
    if (IsGS())
      CommSetNewCmdSingleGroup(kCmdClassQuery, kQueryDCState, 0);
    CommSentTxBuff();
    poll.StatusCountdown = kPollPeriodTicks;
    poll.LastPollStatus = 1;
    if (poll.MeasureCountdown == 0 && running)
      poll.MeasureCountdown = 1;
  }
  if (poll.MeasureCountdown != 0)
    return;
  if (running) {
    c.PresentGroup = kGroupSingle;
    c.PresentStep = 0;
    CommSetPresentCmd(kCmdClassQuery, MeasureQueryCmd2(), 0);
    if (IsGS())
      CommSetNewCmdSingleGroup(kCmdClassQuery, kQueryDCMeasure, 0);
    poll.LastPollStatus = 0;
  } else {
    if (!IsGS())
      return;
    c.PresentGroup = kGroupSingle;
    c.PresentStep = 0;
    CommSetNewCmdSingleGroup(kCmdClassQuery, kQueryDCMeasure, 0);
  }
  CommSentTxBuff();
  poll.MeasureCountdown = kPollPeriodTicks;
}

// Wait table columns: RS-232 at 38400, RS-232 slower, LAN, GPIB.
struct IntervalRow {
  int Rs232Fast, Rs232Slow, Lan, Gpib;
};

IntervalRow IntervalRowFor(int32_t modelType, int cmd1, int cmd2) {
  const bool thdWhole = cmd1 == kCmdClassWrite && cmd2 == 0x31;
  const bool thdHalf = cmd1 == kCmdClassWrite && (cmd2 == 0x32 || cmd2 == 0x33);
  switch (modelType) {
  case kModelFCT:
  case kModelFCS:
    return {4, 5, 10, 6};
  case kModelFSB:
    return {10, 13, 20, 14};
  case kModelFPA:
  case kModelGS:
    if (thdWhole)
      return {11, 14, 20, 18};
    if (thdHalf)
      return {4, 6, 11, 18};
    return {4, 6, 11, 7};
  case kModelFPB:
    if (thdWhole)
      return {21, 27, 35, 27};
    if (thdHalf)
      return {10, 13, 20, 27};
    return {10, 13, 20, 14};
  default: // FSA, FL and any other value
    return {4, 6, 11, 7};
  }
}

const char *CommandName(int cmd1, int cmd2, bool english) {
  struct Name {
    int Cmd1, Cmd2;
    const char *English;
    const char *Chinese;
  };
  static const Name names[] = {
      {0x0F, 0xFF, "output on", "开启输出"},
      {0x0F, 0x00, "output off", "关闭输出"},
      {0x0F, 0xFE, "DC output on", "开启直流输出"},
      {0x0F, 0x01, "DC output off", "关闭直流输出"},
      {0x0F, 0x03, "clear alarm", "清除报警"},
      {0x5A, 0x11, "select normal group", "选择常规组"},
      {0x5A, 0x12, "enter Step mode", "进入Step模式"},
      {0x5A, 0x13, "enter List mode", "进入List模式"},
      {0x5A, 0x15, "enter Ramp mode", "进入Ramp模式"},
      {0x5A, 0x18, "enter Cross mode", "进入Cross模式"},
      {0x5A, 0x21, "write normal group", "写入常规组"},
      {0x5A, 0x22, "write Step settings", "写入Step设置"},
      {0x5A, 0x23, "write List header", "写入List参数"},
      {0x5A, 0x24, "write List step", "写入List步"},
      {0x5A, 0x25, "write Ramp header", "写入Ramp参数"},
      {0x5A, 0x26, "write Ramp step", "写入Ramp步"},
      {0x5A, 0x28, "write Cross header", "写入Cross参数"},
      {0x5A, 0x29, "write Cross entry", "写入Cross项"},
      {0x5A, 0x30, "write system settings", "写入系统设置"},
      {0x5A, 0x31, "write THD group", "写入谐波组"},
      {0x5A, 0x32, "write THD group, first half", "写入谐波组前半部分"},
      {0x5A, 0x33, "write THD group, second half", "写入谐波组后半部分"},
      {0x5A, 0x50, "change running output", "在线修改输出"},
      {0xA5, 0x11, "read current normal group", "读取当前常规组"},
      {0xA5, 0x21, "read normal group", "读取常规组"},
      {0xA5, 0x22, "read Step settings", "读取Step设置"},
      {0xA5, 0x23, "read List header", "读取List参数"},
      {0xA5, 0x24, "read List step", "读取List步"},
      {0xA5, 0x25, "read Ramp header", "读取Ramp参数"},
      {0xA5, 0x26, "read Ramp step", "读取Ramp步"},
      {0xA5, 0x28, "read Cross header", "读取Cross参数"},
      {0xA5, 0x29, "read Cross entry", "读取Cross项"},
      {0xA5, 0x30, "read system settings", "读取系统设置"},
      {0xA5, 0x31, "read THD group", "读取谐波组"},
      {0xA5, 0x32, "read THD group, first half", "读取谐波组前半部分"},
      {0xA5, 0x33, "read THD group, second half", "读取谐波组后半部分"},
      {0xF0, 0xED, "model query", "型号查询"},
      {0xF0, 0xEB, "status query", "状态查询"},
      {0xF0, 0xAE, "measurement query", "测量查询"},
      {0xF0, 0x11, "measurement query", "测量查询"},
      {0xF0, 0xAF, "measurement query", "测量查询"},
      {0xF0, 0xEA, "DC output state query", "直流输出状态查询"},
      {0xF0, 0xAD, "DC measurement query", "直流测量查询"},
  };
  for (const Name &name : names)
    if (name.Cmd1 == cmd1 && name.Cmd2 == cmd2)
      return english ? name.English : name.Chinese;
  return english ? "command" : "命令";
}

bool TakesParameter(int cmd1, int cmd2) {
  if (cmd1 != kCmdClassWrite && cmd1 != kCmdClassRead)
    return false;
  switch (cmd2) {
  case 0x21:
  case 0x24:
  case 0x26:
  case 0x29:
  case 0x31:
  case 0x32:
  case 0x33:
    return true;
  case 0x11:
  case 0x50:
    return cmd1 == kCmdClassWrite;
  default:
    return false;
  }
}

} // namespace

// ---- Queue ----

void CommSetNewCmdGroup(int group) {
  const bool gpib = OnGPIB();
  switch (group) {
  case kGroupConnect:
    return QueueRequest(group, 10, kCmdClassQuery, kQueryModel, 0);
  case kGroupReadList:
    return QueueRequest(group, 10, kCmdClassRead, 0x23, 0);
  case kGroupReadRamp:
    return QueueRequest(group, 10, kCmdClassRead, 0x25, 0);
  case kGroupReadCross:
    return QueueRequest(group, 10, kCmdClassRead, 0x28, 0);
  case kGroupReadTHD:
    return gpib ? QueueRequest(group, 50, kCmdClassRead, 0x32, 0)
                : QueueRequest(group, 20, kCmdClassRead, 0x31, 0);
  case kGroupWriteNormalAll:
    return QueueRequest(group, 11, kCmdClassWrite, 0x30, 0);
  case kGroupWriteList:
    return QueueRequest(group, 10, kCmdClassWrite, 0x23, 0);
  case kGroupWriteRamp:
    return QueueRequest(group, 10, kCmdClassWrite, 0x25, 0);
  case kGroupWriteCross:
    return QueueRequest(group, 10, kCmdClassWrite, 0x28, 0);
  case kGroupWriteTHDAll:
    return gpib ? QueueRequest(group, 30, kCmdClassWrite, 0x32, 0)
                : QueueRequest(group, 10, kCmdClassWrite, 0x31, 0);
  case kGroupWriteTHDMarked: {
    const int g = CheckTHDNeedToDownloadFirst();
    if (g >= kTHDGroupCount)
      return QueueRequest(kGroupEmpty, 0, 0, 0, 0);
    return gpib ? QueueRequest(group, 50 + 2 * g, kCmdClassWrite, 0x32, g)
                : QueueRequest(group, 20 + g, kCmdClassWrite, 0x31, g);
  }
  default:
    return;
  }
}

void CommSetNewCmdSingleGroup(int cmd1, int cmd2, int param) {
  QueueRequest(kGroupSingle, 0, cmd1, cmd2, param);
}

void CommSetNewCmd(int cmd1, int cmd2, int param) {
  CommNewCmd &q = gCommNewCmd;
  const int slot = q.WriteIndex % kCommQueueSize;
  q.Cmd1[slot] = cmd1;
  q.Cmd2[slot] = cmd2;
  q.Param[slot] = param;
}

int CommReadNewCmdGroupToPresentGroup() {
  CommNewCmd &q = gCommNewCmd;
  if (q.Count < 1)
    return 0;
  const int slot = q.ReadIndex;
  const int group = q.Group[slot];
  const int cmd1 = q.Cmd1[slot];
  gCommInfo.PresentGroup = group;
  gCommInfo.PresentStep = q.Step[slot];
  CommSetPresentCmd(cmd1, q.Cmd2[slot], q.Param[slot]);
  CommClearNewCmdFirst();
  CommSentTxBuff();
  if ((group != kGroupEmpty && group != kGroupSingle) ||
      (group == kGroupSingle && cmd1 == kCmdClassOutput))
    DisplayPanelWait(1);
  return 1;
}

void CommClearNewCmdFirst() {
  CommNewCmd &q = gCommNewCmd;
  if (q.Count < 1)
    return;
  const int slot = q.ReadIndex;
  q.Valid[slot] = 0;
  q.Group[slot] = 0;
  q.Step[slot] = 0;
  q.Count -= 1;
  q.ReadIndex += 1;
  if (q.ReadIndex >= kCommQueueSize)
    q.ReadIndex = 0;
}

void CommClearNewCmdAll() { gCommNewCmd = CommNewCmd{}; }

// ---- Frame in flight ----

void CommSetPresentCmd(int cmd1, int cmd2, int param) {
  CommInfo &c = gCommInfo;
  if (cmd1 == 0) {
    c.PresentValid = 0;
    c.PresentGroup = 0;
    c.PresentStep = 0;
    c.PresentCmd1 = c.PresentCmd2 = c.PresentParam = 0;
    c.Interval = 0;
    c.TxLen = 0;
    return;
  }
  c.PresentValid = 1;
  c.PresentCmd1 = cmd1;
  c.PresentCmd2 = cmd2;
  c.PresentParam = param;
  // The model query's wait is that of the model last used: the reply that
  // names the new one has not come yet.
  c.Interval = CommGetInterval(cmd1, cmd2);
  if (cmd1 == kCmdClassQuery && cmd2 == kQueryModel)
    c.TxLen = ModelQueryTx(c.TxBuff.data());
  else
    c.TxLen = BuildFrame(cmd1, cmd2, param);
}

void CommSentTxBuff() {
  CommInfo &c = gCommInfo;
  if (c.TxLen <= 0)
    return;
  c.WaitCount = c.Interval;
  gCommPoll.ReplyGathering = 0;
  ActiveCommPort().Write(c.TxBuff.data(), c.TxLen);
}

int CommGetInterval(int cmd1, int cmd2) {
  const IntervalRow row = IntervalRowFor(gPowerInfo.ModelType, cmd1, cmd2);
  switch (gPowerInfo.CommType) {
  case kCommRS232:
    return gPowerInfo.CommTypeRS232Baudrate == 38400 ? row.Rs232Fast : row.Rs232Slow;
  case kCommLAN:
    return row.Lan;
  case kCommGPIB:
    return row.Gpib;
  default:
    return 0;
  }
}

void CommClearMemoryBuff() {
  if (gPowerInfo.CommType == kCommRS232)
    ActiveCommPort().Clear();
}

int CheckTHDNeedToDownloadFirst() {
  const auto &marks = gTHDNeedDownload;
  for (int g = 0; g < kTHDGroupCount; ++g)
    if (marks[g] == 1)
      return g;
  return kTHDGroupCount;
}

int CommGroupFrames(int group) {
  const Family family = CurrentFamily();
  const int thdFrames = OnGPIB() ? 2 * kTHDGroupCount : kTHDGroupCount;
  const int normalGroups = family == kFamilyFC ? kFCGroupCount : kFPGroupCount;
  switch (group) {
  case kGroupSingle:
    return 1;
  case kGroupConnect:
    // model query, system, the normal groups, (THD,) group in use, status
    return 4 + normalGroups + (family == kFamilyFP ? thdFrames : 0);
  case kGroupWriteNormalAll:
    // system, the groups, the group in use (FS and FL have no such write)
    return 1 + normalGroups + (family == kFamilyFS ? 0 : 1);
  case kGroupReadList:
  case kGroupReadRamp:
  case kGroupWriteList:
  case kGroupWriteRamp:
    return 1 + kProgramStepCount; // header and steps
  case kGroupReadCross:
  case kGroupWriteCross:
    return 1 + kCrossEntryCount;
  case kGroupReadTHD:
  case kGroupWriteTHDAll:
    return thdFrames;
  default:
    return 0;
  }
}

int CheckTHDNeedToDownload() { return CheckTHDNeedToDownloadFirst() < kTHDGroupCount ? 1 : 0; }

void CommPollRestart() {
  gCommPoll.StatusCountdown = kPollPeriodTicks;
  gCommPoll.MeasureCountdown = kPollPeriodTicks;
  gCommPoll.LastPollStatus = 0;
  gCommPoll.LastMissReason = kMissNone;
}

void CommTimerDeal() {
  CommPollInfo &poll = gCommPoll;
  if (poll.StatusCountdown > 0)
    poll.StatusCountdown -= 1;
  if (poll.MeasureCountdown > 0)
    poll.MeasureCountdown -= 1;
  CommInfo &c = gCommInfo;
  if (c.PresentValid != 1)
    return IdleTick();
  // The wait of the table stays the limit after which the reply is missed.
  if (ReplyDriven()) {
    if (GatherReply() || c.WaitCount <= 0)
      return TakeReply();
    c.WaitCount -= 1;
    return;
  }
  if (c.WaitCount > 0) {
    c.WaitCount -= 1;
    return;
  }
  ReadReply();
}

void CommPortEvent(int event) {
  if (gPowerInfo.Connected != 1 || !ReplyDriven())
    return;
  if (event == kPortLinkClosed) {
    gCommPoll.LastMissReason = kMissClosed;
    return LinkLost();
  }
  if (gCommInfo.PresentValid == 1 && GatherReply())
    TakeReply();
}

std::string CommCommandText(int cmd1, int cmd2, int param) {
  const bool english = English();
  char bytes[32];
  if (TakesParameter(cmd1, cmd2))
    std::snprintf(bytes, sizeof bytes, "%02X %02X, %d", cmd1 & 0xFF, cmd2 & 0xFF, param);
  else
    std::snprintf(bytes, sizeof bytes, "%02X %02X", cmd1 & 0xFF, cmd2 & 0xFF);
  return std::string(CommandName(cmd1, cmd2, english)) + (english ? " (" : "（") + bytes +
         (english ? ")" : "）");
}
