// Setting records: normal groups, system settings and test programs.
// Every field is a signed 32-bit integer in the source's own units:
// voltage 0.1 V, frequency 0.01 Hz (FC family 0.1 Hz), angle 0.1 degree,
// rise time 0.1 s, Cross times ms, program step times split into hours,
// minutes and hundredths of a second.
#pragma once

#include <array>
#include <cstdint>

constexpr int kFCGroupCount = 7;
constexpr int kFPGroupCount = 10;
constexpr int kProgramStepCount = 100;
constexpr int kCrossEntryCount = 8;
constexpr int kTHDGroupCount = 10;
constexpr int kTHDOrders = 40;
constexpr int kTHDWavePoints = 360;

struct SystemSet {
  int32_t UDisMode;      // 0 phase voltage, 1 line voltage
  int32_t UCompensation; // thousandths, 0..5000
  int32_t DeviceSysByte; // the source's language byte, 0..255
  int32_t StartRise;     // FC only, 0.1 s, 0..999
  int32_t IfKeySound;    // 0 off, 1 on
  int32_t OCP_Define;    // 0.1 A
};

struct NormalFCSet {
  int32_t Freq;    // 0.1 Hz
  int32_t Vol;     // phase voltage, 0.1 V
  int32_t VolLine; // line voltage, 0.1 V
  int32_t VolLevel;
  int32_t OutMode; // FCT 0, 2, 3, 4; FCS 5
  int32_t UpUPer;
  int32_t DownUPer;
  int32_t VolBase; // working values of the up/down keys, never stored
  int32_t VolUp;
  int32_t VolDown;
};

struct NormalFPSet {
  int32_t OutMode; // 0 balanced, 1 separate, 5 single phase, 16 angles
  int32_t OutChannel;
  int32_t VolU, VolV, VolW;
  int32_t VolLine;
  int32_t VolLevel;
  int32_t FreqU, FreqV, FreqW;
  int32_t RiseTime;
  int32_t AngleUV, AngleVW, AngleUW;
  int32_t WaveU, WaveV, WaveW;
};

struct StepSet {
  int32_t OutMode;
  int32_t WaveU, WaveV, WaveW;
  int32_t AngleUV, AngleVW, AngleUW;
  int32_t VolStartU, VolStartV, VolStartW;
  int32_t VolLineStart;
  int32_t VolStepU, VolStepV, VolStepW;
  int32_t VolLineStep;
  int32_t FreqStartU, FreqStartV, FreqStartW;
  int32_t FreqStepU, FreqStepV, FreqStepW;
  int32_t StepCntU, StepCntV, StepCntW;
  int32_t StepTimeHU, StepTimeHV, StepTimeHW;
  int32_t StepTimeMU, StepTimeMV, StepTimeMW;
  int32_t StepTimeS2PU, StepTimeS2PV, StepTimeS2PW;
};

// Header of a List or a Ramp program.
struct ListSet {
  int32_t StartNo;
  int32_t StopNo;
  int32_t CircleDegree;
  int32_t OutMode;
  int32_t AngleUV, AngleVW, AngleUW;
  int32_t CurrentNo; // step shown on the panel; not stored, not normalised
};
using RampSet = ListSet;

// One phase of a List step; a step holds U, V, W in that order.
struct ListPhase {
  int32_t Vol, VolLine, Freq, TimeH, TimeM, TimeS2P, Wave;
};
struct ListListSet {
  std::array<ListPhase, 3> Phase;
};

// One phase of a Ramp step; a step holds U, V, W in that order.
struct RampPhase {
  int32_t VolStart, VolStop, VolLineStart, VolLineStop, FreqStart, FreqStop;
  int32_t TimeH, TimeM, TimeS2P, Wave;
};
struct RampRampSet {
  std::array<RampPhase, 3> Phase;
};

struct CrossListSet {
  int32_t StartNo;
  int32_t StopNo;
  int32_t CircleDegree;
  int32_t CurrentNo; // entry shown on the panel; not stored
};

struct CrossSet {
  int32_t OutChannel;
  int32_t WaveU, WaveV, WaveW;
  int32_t RatingVol;
  int32_t RatingFreq;
  int32_t RatingTime;
  int32_t CrossAngle;
  int32_t DropVol;
  int32_t KeepTime;
  int32_t RiseTime;
  int32_t ResumeVol;
  int32_t EndTime;
};

struct THDSet {
  std::array<int32_t, kTHDOrders> Percent; // element n is order n + 1
  std::array<int32_t, kTHDOrders> Angle;
  std::array<int32_t, kTHDWavePoints> Wave;
  int32_t WaveRms;
  int32_t WaveMax;
  int32_t WaveValid;
};

// Every setting record of one source. The program holds one instance
// (gSettings); the simulated source holds its own.
struct SettingRecords {
  SystemSet System{};
  std::array<NormalFCSet, kFCGroupCount> NormalFC{};
  std::array<NormalFPSet, kFPGroupCount> NormalFP{};
  StepSet Step{};
  ListSet List{};
  std::array<ListListSet, kProgramStepCount> ListList{};
  RampSet Ramp{};
  std::array<RampRampSet, kProgramStepCount> RampRamp{};
  CrossListSet CrossList{};
  std::array<CrossSet, kCrossEntryCount> Cross{};
  std::array<THDSet, kTHDGroupCount> THD{};
};
