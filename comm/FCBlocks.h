// Payload layouts of the FC, FS and FL families (the FS and FL system block
// and measurement reply are those of FPBlocks.h). Same conventions as there:
// encoders write the payload, decoders store the block as it stands.
#pragma once

#include "records/MeasureOutput.h"
#include "records/PowerModel.h"
#include "records/SettingRecords.h"

#include <cstdint>

constexpr int kFCNormalGroupLen = 17;
constexpr int kFCSystemLen = 16;
constexpr int kFCOnlineLen = 12;
constexpr int kFCTMeasureLen = 38;
constexpr int kFCSMeasureLen = 18;
constexpr int kFSNormalGroupLen = 30;
constexpr int kFSOnlineLen = 24;
constexpr int kFCStatusLen = 11; // FC, FS and FL alike

// Status codes of the FC, FS and FL status reply.
constexpr int kFCRunState1 = 133;
constexpr int kFCRunState2 = 134;
constexpr int kFSRunState = 48;
constexpr int kFCAlarmState = 10;

// FC normal group g (0..6). Decoding stores every field, VolLine derived.
void EncodeFCNormalGroup(const NormalFCSet &set, int group, uint8_t *frame);
void DecodeFCNormalGroup(const uint8_t *frame, NormalFCSet &set);

// FC system block (with StartRise and UCompensation always).
void EncodeFCSystem(const SystemSet &set, uint8_t *frame);
void DecodeFCSystem(const uint8_t *frame, SystemSet &set);

// FC on-line change: Vol and Freq of one group.
void EncodeFCOnline(const NormalFCSet &set, uint8_t *frame);
void DecodeFCOnline(const uint8_t *frame, NormalFCSet &set);

// FC measurements: three-phase (FCT) and single-phase (FCS). Only voltage,
// current, frequency and active power are carried; kPower is unsigned.
void EncodeFCTMeasure(const MeasureOutput &m, uint8_t *frame);
void DecodeFCTMeasure(const uint8_t *frame, MeasureOutput &m);
void EncodeFCSMeasure(const MeasureOutput &m, uint8_t *frame);
void DecodeFCSMeasure(const uint8_t *frame, MeasureOutput &m);

// FS/FL normal group g (0..9): OutMode, a 0/1 flag per phase from the bits
// of OutChannel, Vol and Freq per phase, VolLevel, RiseTime. Decoding stores
// them as sent (OutChannel rebuilt from the flags), VolLine derived.
void EncodeFSNormalGroup(const NormalFPSet &set, int group, uint8_t *frame);
void DecodeFSNormalGroup(const uint8_t *frame, NormalFPSet &set);

// FS/FL on-line change: OutMode, then flag, Vol, Freq per phase.
void EncodeFSOnline(const NormalFPSet &set, uint8_t *frame);
void DecodeFSOnline(const uint8_t *frame, NormalFPSet &set);

// 1 when the status code means the output runs for that model.
int FCStatusRunning(int runState, int modelType);

// Status reply: byte 6 the run state; running: byte 7 the group; alarm
// (10): bytes 7-8 the alarm code.
void EncodeFCStatus(const PowerState &st, int modelType, uint8_t *frame);
void DecodeFCStatus(const uint8_t *frame, int modelType, PowerState &st);
