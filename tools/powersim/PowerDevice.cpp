#include "tools/powersim/PowerDevice.h"

#include "comm/CommCommands.h"
#include "comm/CommPC.h"
#include "comm/FCBlocks.h"
#include "comm/FPBlocks.h"
#include "tools/powersim/FrameAssembler.h"
#include "tools/powersim/SimDefaults.h"
#include "tools/powersim/SimFrame.h"
#include "tools/powersim/SimModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint8_t kAckOk = 0;
constexpr uint8_t kAckRefused = 1;
constexpr int32_t kEmergencyStop = 900;
constexpr int32_t kInputFault = 200;

bool ClearedOnlyAtSource(int32_t code) { return code == kEmergencyStop || code == kInputFault; }

} // namespace

const char *SimModeName(SimMode mode) {
  switch (mode) {
  case SimMode::Normal:
    return "normal";
  case SimMode::Step:
    return "Step";
  case SimMode::List:
    return "List";
  case SimMode::Ramp:
    return "Ramp";
  case SimMode::Cross:
    return "Cross";
  }
  return "?";
}

std::unique_ptr<PowerDevice> PowerDevice::Create(const PowerDeviceOptions &options,
                                                 std::string *error) {
  std::string identifier = options.Identifier;
  if (identifier.empty()) {
    auto built = SimBuildIdentifier(options.ModelType, options.Rating, error);
    if (!built)
      return nullptr;
    identifier = *built;
  } else if (identifier.size() != kModelIdLen) {
    if (error)
      *error = "an identifier has exactly 11 characters";
    return nullptr;
  }
  if (options.Address < 1 || options.Address > 255) {
    if (error)
      *error = "the address must lie in 1..255";
    return nullptr;
  }
  std::unique_ptr<PowerDevice> device(new PowerDevice);
  device->modelType_ = options.ModelType;
  device->address_ = options.Address;
  device->identifier_ = identifier;
  device->load_ = options.Load;
  device->dcVolts_ = options.DCVolts;
  device->records_ = SimDefaultRecords(options.ModelType);
  int32_t modelType = 0, rating = 0;
  if (ModelIdentifierDecode(identifier.c_str(), &modelType, &rating))
    device->records_.System.OCP_Define = CalOCPMax(rating, modelType);
  if (options.Running) {
    device->running_ = true;
    device->runMode_ = SimMode::Normal;
    device->runStartMs_ = device->nowMs_ - device->RiseMs();
  }
  return device;
}

void PowerDevice::AdvanceMs(int64_t ms) {
  if (ms > 0)
    nowMs_ += ms;
}

void PowerDevice::SetNowMs(int64_t ms) { nowMs_ = std::max(nowMs_, ms); }

// ---- output, alarms, programs ------------------------------------------

int64_t PowerDevice::RiseMs() const {
  const int32_t rise =
      IsFCModel(modelType_) ? records_.System.StartRise : records_.NormalFP[currentGroup_].RiseTime;
  return std::max<int64_t>(rise, 0) * 100;
}

void PowerDevice::SwitchOutput(bool on) {
  Update();
  if (on && alarmCode_ != 0)
    return;
  if (on && running_)
    return;
  running_ = on;
  if (on) {
    runMode_ = mode_;
    runStartMs_ = nowMs_;
  }
}

void PowerDevice::RaiseAlarm(int32_t code) {
  Update();
  alarmCode_ = code;
  if (code != 0) {
    running_ = false;
    dcOn_ = false;
  }
}

void PowerDevice::ClearAlarm() { alarmCode_ = 0; }

void PowerDevice::SwitchDC(bool on) {
  if (modelType_ != kModelGS || (on && alarmCode_ != 0))
    return;
  dcOn_ = on;
}

bool PowerDevice::OutputOn() {
  Update();
  return running_;
}

SimRunPoint PowerDevice::ProgramPoint() const {
  const int64_t ms = RunElapsedMs();
  switch (runMode_) {
  case SimMode::Step:
    return SimStepAt(records_.Step, ms / 10);
  case SimMode::List:
    return SimListAt(records_.List, records_.ListList, ms / 10);
  case SimMode::Ramp:
    return SimRampAt(records_.Ramp, records_.RampRamp, ms / 10);
  case SimMode::Cross:
    return SimCrossAt(records_.CrossList, records_.Cross, ms);
  case SimMode::Normal:
    break;
  }
  return {};
}

void PowerDevice::Update() {
  if (running_ && runMode_ != SimMode::Normal && ProgramPoint().Finished)
    running_ = false;
}

PowerState PowerDevice::Status() {
  Update();
  PowerState st{};
  const SimFamily family = SimFamilyOf(modelType_);
  const bool programFamily = family == SimFamily::FP || family == SimFamily::GS;
  st.DCOutputOn = dcOn_ ? 1 : 0;
  st.DCValue = DCValue();
  if (alarmCode_ != 0) {
    if (!programFamily)
      st.RunState = kFCAlarmState;
    else if (family == SimFamily::GS && alarmCode_ == kEmergencyStop)
      st.RunState = kRunAlarmNoCode;
    else
      st.RunState = kRunAlarm;
    st.AlarmCode = alarmCode_;
    return st;
  }
  if (!running_)
    return st; // stopped: run state 0
  st.RunGroup = currentGroup_;
  if (runMode_ == SimMode::Normal) {
    const int64_t rise = RiseMs();
    const bool rising = RunElapsedMs() < rise;
    switch (family) {
    case SimFamily::FC:
      st.RunState = rising ? kFCRunState1 : kFCRunState2;
      break;
    case SimFamily::FS:
    case SimFamily::FL:
      st.RunState = kFSRunState;
      break;
    default:
      // While rising: time risen and rise length, both in 0.1 s.
      st.RunState = rising ? kRunNormal : kRunNormalShort;
      if (rising) {
        st.RunStepTimeU = static_cast<int32_t>(RunElapsedMs() / 100);
        st.RunStepLengthU = static_cast<int32_t>(rise / 100);
      }
      break;
    }
    return st;
  }
  const SimRunPoint point = ProgramPoint();
  st.RunGroup = 0;
  st.RunState = runMode_ == SimMode::Step   ? kRunStep
                : runMode_ == SimMode::List ? kRunList
                : runMode_ == SimMode::Ramp ? kRunRamp
                                            : kRunCross;
  st.RunCycle = runMode_ == SimMode::Step ? 0 : point.Cycle;
  const auto put = [&point](int phase, int32_t &step, int32_t &time, int32_t &length) {
    step = point.Phase[phase].Step;
    time = static_cast<int32_t>(point.Phase[phase].TimeInStep);
    length = static_cast<int32_t>(point.Phase[phase].StepLength);
  };
  put(0, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
  put(1, st.RunStepV, st.RunStepTimeV, st.RunStepLengthV);
  put(2, st.RunStepW, st.RunStepTimeW, st.RunStepLengthW);
  return st;
}

std::array<SimPhaseOutput, 3> PowerDevice::NormalOutputs() const {
  std::array<SimPhaseOutput, 3> out{};
  const SimFamily family = SimFamilyOf(modelType_);
  if (family == SimFamily::FC) {
    const NormalFCSet &g = records_.NormalFC[std::clamp(currentGroup_, 0, kFCGroupCount - 1)];
    for (int phase = 0; phase < 3; ++phase) {
      // FCT: mode 0 all phases, 2/3/4 one phase; FCS carries U only.
      const bool on =
          modelType_ == kModelFCS ? phase == 0 : (g.OutMode == 0 || g.OutMode == 2 + phase);
      out[phase] = {on, on ? g.Vol : 0, g.Freq, 0};
    }
    return out;
  }
  const NormalFPSet &g = records_.NormalFP[std::clamp(currentGroup_, 0, kFPGroupCount - 1)];
  const std::array<int32_t, 3> vol = {g.VolU, g.VolV, g.VolW};
  const std::array<int32_t, 3> freq = {g.FreqU, g.FreqV, g.FreqW};
  const std::array<int32_t, 3> wave = {g.WaveU, g.WaveV, g.WaveW};
  // FS and FL have no waveforms, and FL runs three-phase balanced only.
  const int32_t mode = family == SimFamily::FL ? 0 : g.OutMode;
  const bool waves = family == SimFamily::FP || family == SimFamily::GS;
  for (int phase = 0; phase < 3; ++phase) {
    bool on = true;
    int v = phase, f = phase;
    if (mode == 1) {
      on = (g.OutChannel >> phase) & 1;
    } else if (mode == 16) {
      f = 0;
    } else {
      v = f = 0;
      on = mode != 5 || phase == 0;
    }
    out[phase] = {on, on ? vol[v] : 0, freq[f], waves ? wave[v] : 0};
  }
  return out;
}

std::array<SimPhaseOutput, 3> PowerDevice::Outputs() {
  Update();
  std::array<SimPhaseOutput, 3> out{};
  if (!running_)
    return out;
  if (runMode_ == SimMode::Normal) {
    out = NormalOutputs();
    const int64_t rise = RiseMs();
    const int64_t elapsed = RunElapsedMs();
    if (elapsed < rise)
      for (SimPhaseOutput &p : out)
        p.Vol = static_cast<int32_t>(p.Vol * elapsed / rise);
    return out;
  }
  const SimRunPoint point = ProgramPoint();
  for (int phase = 0; phase < 3; ++phase) {
    const SimPhaseRun &run = point.Phase[phase];
    out[phase] = {run.On, run.On ? run.Vol : 0, run.Freq, run.Wave};
  }
  return out;
}

MeasureOutput PowerDevice::Measure() { return SimMeasureOutputs(Outputs(), load_, records_.THD); }

int32_t PowerDevice::DCValue() const {
  return dcOn_ ? static_cast<int32_t>(std::lround(dcVolts_ * 10)) : 0;
}

std::string PowerDevice::Describe() {
  const PowerState st = Status();
  char line[256];
  std::snprintf(line, sizeof line,
                "model %s id \"%s\" address %d mode %s group %d output %s alarm %d dc %s "
                "state %d step %d time %d length %d cycle %d t %lld ms",
                SimModelName(modelType_), identifier_.c_str(), address_, SimModeName(mode_),
                currentGroup_, running_ ? "on" : "off", alarmCode_, dcOn_ ? "on" : "off",
                st.RunState, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU, st.RunCycle,
                static_cast<long long>(nowMs_));
  return line;
}

// ---- frames ----------------------------------------------------------------

PowerDevice::Response PowerDevice::HandleFrame(const uint8_t *frame, size_t count) {
  Response r;
  if (!FrameAssembler::IsValidFrame(frame, count)) {
    r.Name = "invalid frame";
    r.Note = "not answered: not a valid frame";
    return r;
  }
  const uint8_t cmd1 = frame[4], cmd2 = frame[5];
  r.Name = SimCommandName(cmd1, cmd2);
  if (frame[3] != address_) {
    r.Note = "not answered: address " + std::to_string(frame[3]);
    return r;
  }
  int replyLen = 0;
  if (cmd1 == kCmdQuery && cmd2 == kModelQueryCmd2) {
    if (count != kFrameMinLen) {
      r.Note = "not answered: wrong length";
      return r;
    }
    replyLen = kModelQueryReplyLen;
  } else {
    const CommCommand *command = CommFindCommand(modelType_, cmd1, cmd2);
    if (!command) {
      r.Note = std::string("not answered: not in the ") + SimModelName(modelType_) + " command set";
      return r;
    }
    if (count != command->TxLen) {
      r.Note = "not answered: length " + std::to_string(count) + ", the command has " +
               std::to_string(command->TxLen);
      return r;
    }
    replyLen = command->RxLen;
  }
  if (faults_.SilentFrames > 0) {
    --faults_.SilentFrames;
    r.Note = "lost on demand (" + std::to_string(faults_.SilentFrames) + " more)";
    return r;
  }
  std::string note;
  if (!Execute(cmd1, cmd2, frame, replyLen, r.Reply, note)) {
    r.Reply.clear();
    r.Note = note.empty() ? "not answered" : note;
    return r;
  }
  r.Note = note;
  if (faults_.CorruptReplies > 0) {
    --faults_.CorruptReplies;
    r.Reply[r.Reply.size() - 2] ^= 0xFF;
    r.Note += (r.Note.empty() ? "" : "; ") + std::string("checksum corrupted on demand");
  }
  r.DelayMs = faults_.DelayMs;
  return r;
}

bool PowerDevice::Execute(uint8_t cmd1, uint8_t cmd2, const uint8_t *frame, int replyLen,
                          std::vector<uint8_t> &reply, std::string &note) {
  std::array<uint8_t, 256> buffer{};
  if (cmd1 == kCmdQuery && cmd2 == kModelQueryCmd2) {
    ModelQueryReplyBuild(buffer.data(), address_, identifier_.c_str());
  } else if (cmd1 == kCmdOutput || cmd1 == kCmdWrite) {
    uint8_t ack = kAckOk;
    const bool ok =
        cmd1 == kCmdOutput ? ExecuteOutput(cmd2, note, ack) : ExecuteWrite(cmd2, frame, note, ack);
    if (!ok)
      return false;
    buffer[kFramePayload] = ack;
  } else if (cmd1 == kCmdRead) {
    if (!ExecuteRead(cmd2, frame, buffer.data())) {
      note = "not answered: index " + std::to_string(frame[kFramePayload]) + " out of range";
      return false;
    }
  } else if (!ExecuteQuery(cmd2, buffer.data())) {
    return false;
  }
  CommFrameComplete(buffer.data(), replyLen, address_, cmd1, cmd2);
  reply.assign(buffer.begin(), buffer.begin() + replyLen);
  return true;
}

bool PowerDevice::ExecuteOutput(uint8_t cmd2, std::string &note, uint8_t &ack) {
  Update();
  switch (cmd2) {
  case 0xFF:
    if (alarmCode_ != 0) {
      ack = kAckRefused;
      note = "refused: alarm " + std::to_string(alarmCode_) + " pending";
    } else {
      SwitchOutput(true);
    }
    return true;
  case 0x00:
    running_ = false;
    return true;
  case 0x03:
    if (ClearedOnlyAtSource(alarmCode_)) {
      ack = kAckRefused;
      note = "refused: alarm " + std::to_string(alarmCode_) + " is cleared at the source only";
    } else {
      alarmCode_ = 0;
    }
    return true;
  case 0xFE:
  case 0x01:
    if (cmd2 == 0xFE && alarmCode_ != 0) {
      ack = kAckRefused;
      note = "refused: alarm pending";
    } else {
      dcOn_ = cmd2 == 0xFE;
    }
    return true;
  default:
    return false;
  }
}

bool PowerDevice::HasUCompensation() const {
  return modelType_ == kModelFPA || modelType_ == kModelGS || modelType_ == kModelFSA ||
         modelType_ == kModelFL;
}

bool PowerDevice::ExecuteWrite(uint8_t cmd2, const uint8_t *frame, std::string &note,
                               uint8_t &ack) {
  const int index = frame[kFramePayload];
  const SimFamily family = SimFamilyOf(modelType_);
  const int groups = SimNormalGroupCount(modelType_);
  auto refuse = [&](const char *why) {
    ack = kAckRefused;
    note = std::string("refused: ") + why;
    return true;
  };
  switch (cmd2) {
  case 0x11:
    if (index >= groups)
      return refuse("no such group");
    currentGroup_ = index;
    mode_ = SimMode::Normal;
    return true;
  case 0x12:
    mode_ = SimMode::Step;
    return true;
  case 0x13:
    mode_ = SimMode::List;
    return true;
  case 0x15:
    mode_ = SimMode::Ramp;
    return true;
  case 0x18:
    mode_ = SimMode::Cross;
    return true;
  case 0x21:
    if (index >= groups)
      return refuse("no such group");
    if (family == SimFamily::FC) {
      DecodeFCNormalGroup(frame, records_.NormalFC[index]);
    } else if (family == SimFamily::FS || family == SimFamily::FL) {
      // Without a select command, the group last written is the one run.
      DecodeFSNormalGroup(frame, records_.NormalFP[index]);
      currentGroup_ = index;
    } else {
      DecodeFPNormalGroup(frame, records_.NormalFP[index]);
    }
    return true;
  case 0x22:
    DecodeStep(frame, records_.Step);
    return true;
  case 0x23:
    DecodeProgramHeader(frame, records_.List);
    return true;
  case 0x25:
    DecodeProgramHeader(frame, records_.Ramp);
    return true;
  case 0x24:
  case 0x26:
    if (index >= kProgramStepCount)
      return refuse("no such step");
    if (cmd2 == 0x24)
      DecodeListStep(frame, records_.ListList[index]);
    else
      DecodeRampStep(frame, records_.RampRamp[index]);
    return true;
  case 0x28:
    DecodeCrossHeader(frame, records_.CrossList);
    return true;
  case 0x29:
    if (index >= kCrossEntryCount)
      return refuse("no such entry");
    DecodeCrossEntry(frame, records_.Cross[index]);
    return true;
  case 0x30:
    if (family == SimFamily::FC)
      DecodeFCSystem(frame, records_.System);
    else
      DecodeFPSystem(frame, HasUCompensation(), records_.System);
    return true;
  case 0x31:
  case 0x32:
  case 0x33: {
    if (index >= kTHDGroupCount)
      return refuse("no such THD group");
    THDSet &group = records_.THD[index];
    const THDSet before = group;
    const THDPart part = cmd2 == 0x31   ? THDPart::Whole
                         : cmd2 == 0x32 ? THDPart::FirstHalf
                                        : THDPart::SecondHalf;
    DecodeTHD(frame, part, group);
    if (part == THDPart::FirstHalf) {
      // The source keeps the second half it holds until that half is written.
      for (int i = 21; i < kTHDOrders; ++i) {
        group.Percent[i] = before.Percent[i];
        group.Angle[i] = before.Angle[i];
      }
    }
    return true;
  }
  case 0x50:
    // The on-line change carries no group: it changes the group in use.
    if (family == SimFamily::FC)
      DecodeFCOnline(frame, records_.NormalFC[currentGroup_]);
    else if (family == SimFamily::FS || family == SimFamily::FL)
      DecodeFSOnline(frame, records_.NormalFP[currentGroup_]);
    else
      DecodeFPOnline(frame, family == SimFamily::FP, records_.NormalFP[currentGroup_]);
    return true;
  default:
    return false;
  }
}

bool PowerDevice::ExecuteRead(uint8_t cmd2, const uint8_t *frame, uint8_t *reply) {
  const int index = frame[kFramePayload];
  const SimFamily family = SimFamilyOf(modelType_);
  switch (cmd2) {
  case 0x11:
    reply[kFramePayload] = static_cast<uint8_t>(currentGroup_);
    return true;
  case 0x21:
    if (index >= SimNormalGroupCount(modelType_))
      return false;
    if (family == SimFamily::FC)
      EncodeFCNormalGroup(records_.NormalFC[index], index, reply);
    else if (family == SimFamily::FS || family == SimFamily::FL)
      EncodeFSNormalGroup(records_.NormalFP[index], index, reply);
    else
      EncodeFPNormalGroup(records_.NormalFP[index], index, reply);
    return true;
  case 0x22:
    EncodeStep(records_.Step, reply);
    return true;
  case 0x23:
    EncodeProgramHeader(records_.List, reply);
    return true;
  case 0x25:
    EncodeProgramHeader(records_.Ramp, reply);
    return true;
  case 0x24:
    if (index >= kProgramStepCount)
      return false;
    EncodeListStep(records_.ListList[index], index, records_.List.OutMode, reply);
    return true;
  case 0x26:
    if (index >= kProgramStepCount)
      return false;
    EncodeRampStep(records_.RampRamp[index], index, records_.Ramp.OutMode, reply);
    return true;
  case 0x28:
    EncodeCrossHeader(records_.CrossList, reply);
    return true;
  case 0x29:
    if (index >= kCrossEntryCount)
      return false;
    EncodeCrossEntry(records_.Cross[index], index, reply);
    return true;
  case 0x30:
    if (family == SimFamily::FC)
      EncodeFCSystem(records_.System, reply);
    else
      EncodeFPSystem(records_.System, HasUCompensation(), reply);
    return true;
  case 0x31:
  case 0x32:
  case 0x33:
    if (index >= kTHDGroupCount)
      return false;
    EncodeTHD(records_.THD[index], index,
              cmd2 == 0x31   ? THDPart::Whole
              : cmd2 == 0x32 ? THDPart::FirstHalf
                             : THDPart::SecondHalf,
              reply);
    return true;
  default:
    return false;
  }
}

bool PowerDevice::ExecuteQuery(uint8_t cmd2, uint8_t *reply) {
  const SimFamily family = SimFamilyOf(modelType_);
  switch (cmd2) {
  case 0xEB: {
    const PowerState st = Status();
    if (family == SimFamily::FP)
      EncodeFPStatus(st, reply);
    else if (family == SimFamily::GS)
      EncodeGSStatus(st, reply);
    else
      EncodeFCStatus(st, modelType_, reply);
    return true;
  }
  case 0xAF:
  case 0xAE:
  case 0x11: {
    // Only FP and GS report the direction of the power; the others carry
    // its magnitude in a plain unsigned field.
    const bool signedPower = family == SimFamily::FP || family == SimFamily::GS;
    MeasureOutput m = Measure();
    if (!signedPower)
      for (int phase = 0; phase < 3; ++phase)
        m.At(kMeasPower, phase) = std::abs(m.At(kMeasPower, phase));
    if (cmd2 == 0xAF)
      EncodeMeasure(m, signedPower, reply);
    else if (cmd2 == 0xAE)
      EncodeFCTMeasure(m, reply);
    else
      EncodeFCSMeasure(m, reply);
    return true;
  }
  case 0xEA:
  case 0xAD: {
    const PowerState st = Status();
    if (cmd2 == 0xEA)
      EncodeDCState(st, reply);
    else
      EncodeDCValue(st, reply);
    return true;
  }
  default:
    return false;
  }
}
