// Payload layouts of the FP and GS families, one encoder and one decoder per
// block. They work on the records passed in, so the program (on its globals)
// and a simulated source (on its own instances) share them in both directions.
//
// Encoders write the block's payload into a frame buffer (byte 6 onwards; the
// caller completes the envelope with CommFrameComplete). Decoders read an
// already accepted frame and store the block as it stands on the wire; the
// per-family rules about which fields a reply may change live with the
// program-side codecs.
#pragma once

#include "records/MeasureOutput.h"
#include "records/PowerModel.h"
#include "records/SettingRecords.h"

#include <cstdint>

// Frame lengths (L) of the blocks.
constexpr int kAckLen = 9;
constexpr int kFPNormalGroupLen = 35;
constexpr int kStepLen = 60;
constexpr int kProgramHeaderLen = 20;
constexpr int kListStepLen = 36;
constexpr int kRampStepLen = 48;
constexpr int kFPSystemLen = 15;
constexpr int kTHDWholeLen = 165;
constexpr int kTHDFirstHalfLen = 89;
constexpr int kTHDSecondHalfLen = 85;
constexpr int kCrossHeaderLen = 13;
constexpr int kCrossEntryLen = 35;
constexpr int kFPOnlineLen = 24;
constexpr int kGSOnlineLen = 23;
constexpr int kMeasureLen = 63;
constexpr int kFPStatusLen = 37;
constexpr int kGSStatusLen = 21;
constexpr int kDCStateLen = 9;
constexpr int kDCValueLen = 10;

// Run states reported by the FP and GS status reply.
enum FPRunState : int {
  kRunNormal = 144,
  kRunNormalShort = 145,
  kRunStep = 160,
  kRunList = 176,
  kRunRamp = 192,
  kRunCross = 208,
  kRunAlarmNoCode = 8, // GS only
  kRunAlarm = 9,
};
constexpr int kGSEmergencyAlarmCode = 900;

// Normal group g: OutMode, OutChannel, RiseTime, angles, VolLevel and
// Vol/Freq/Wave per phase. Decoding stores every field, VolLine derived.
void EncodeFPNormalGroup(const NormalFPSet &set, int group, uint8_t *frame);
void DecodeFPNormalGroup(const uint8_t *frame, NormalFPSet &set);

// Step program. Sending, the V and W blocks follow OutMode: 1 their own
// phase; 16 their own voltages and wave with phase U's frequency, count and
// times; anything else a copy of U. Decoding stores all three as received.
void EncodeStep(const StepSet &set, uint8_t *frame);
void DecodeStep(const uint8_t *frame, StepSet &set);

// Header of a List or Ramp program.
void EncodeProgramHeader(const ListSet &set, uint8_t *frame);
void DecodeProgramHeader(const uint8_t *frame, ListSet &set);

// List and Ramp step n. Sending, by the program's OutMode: 1 every phase its
// own; 16 V and W their own voltages and wave with phase U's frequency and
// times; anything else (0, 5) phase U three times.
void EncodeListStep(const ListListSet &step, int n, int outMode, uint8_t *frame);
void DecodeListStep(const uint8_t *frame, ListListSet &step);
void EncodeRampStep(const RampRampSet &step, int n, int outMode, uint8_t *frame);
void DecodeRampStep(const uint8_t *frame, RampRampSet &step);

// System block of the FP, GS, FS and FL families. UCompensation travels only
// when withUComp; otherwise two zero bytes are sent and nothing is stored.
void EncodeFPSystem(const SystemSet &set, bool withUComp, uint8_t *frame);
void DecodeFPSystem(const uint8_t *frame, bool withUComp, SystemSet &set);

// THD group: harmonic indexes 1..39, Percent then Angle per index.
enum class THDPart { Whole, FirstHalf, SecondHalf };
int THDPartLength(THDPart part);
void EncodeTHD(const THDSet &set, int group, THDPart part, uint8_t *frame);
// A whole group or a first half clears the group record first.
void DecodeTHD(const uint8_t *frame, THDPart part, THDSet &set);

// Cross program (GS): header and entry n.
void EncodeCrossHeader(const CrossListSet &set, uint8_t *frame);
void DecodeCrossHeader(const uint8_t *frame, CrossListSet &set);
void EncodeCrossEntry(const CrossSet &set, int n, uint8_t *frame);
void DecodeCrossEntry(const uint8_t *frame, CrossSet &set);

// On-line change of the running output: Vol/Freq/Wave per phase, and for FP
// (withChannel) the OutChannel byte. Decoding derives VolLine.
void EncodeFPOnline(const NormalFPSet &set, bool withChannel, uint8_t *frame);
void DecodeFPOnline(const uint8_t *frame, bool withChannel, NormalFPSet &set);

// 63-byte measurement reply: three 18-byte phase blocks. kPower is sign and
// magnitude for FP and GS (signedPower), a plain 24-bit value for FS and FL.
void EncodeMeasure(const MeasureOutput &m, bool signedPower, uint8_t *frame);
void DecodeMeasure(const uint8_t *frame, bool signedPower, MeasureOutput &m);

// Status reply: byte 6 the run state, then the fields that state carries.
// Decoding stores RunState and those fields only.
void EncodeFPStatus(const PowerState &st, uint8_t *frame);
void DecodeFPStatus(const uint8_t *frame, PowerState &st);
// GS: one phase; 160 copies U into V and W; 208 Cross; 8 stores code 900.
void EncodeGSStatus(const PowerState &st, uint8_t *frame);
void DecodeGSStatus(const uint8_t *frame, PowerState &st);

// GS DC output: state (byte 6) and measurement (bytes 6-7).
void EncodeDCState(const PowerState &st, uint8_t *frame);
void DecodeDCState(const uint8_t *frame, PowerState &st);
void EncodeDCValue(const PowerState &st, uint8_t *frame);
void DecodeDCValue(const uint8_t *frame, PowerState &st);
