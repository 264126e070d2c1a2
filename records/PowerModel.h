// Model codes and the records that describe the connected source.
#pragma once

#include <array>
#include <cstdint>

enum ModelCode : int32_t {
  kModelFCT = 16,
  kModelFCS = 17,
  kModelFSA = 18,
  kModelFSB = 19,
  kModelFPA = 20,
  kModelFPB = 21,
  kModelGS = 22,
  kModelFL = 23,
};

enum CommTypeCode : int32_t {
  kCommRS232 = 16,
  kCommLAN = 17,
  kCommGPIB = 18,
};

inline bool IsFCModel(int32_t modelType) {
  return modelType == kModelFCT || modelType == kModelFCS;
}

struct PowerInfo {
  int32_t ModelType;
  int32_t Rating;
  std::array<char, 12> PowerModelStr; // 11-character identifier and a NUL
  int32_t Language;                   // 1 English, otherwise Chinese
  int32_t MeasureDisplayMode;         // 1 text, 0 graphs
  int32_t SoftwareAddress;
  int32_t CommType;
  int32_t CommTypeRS232Port;
  int32_t CommTypeRS232Baudrate;
  std::array<char, 256> CommTypeRS232Device; // serial device path, NUL-terminated; empty: none
  int32_t CommTypeLAN_IP1, CommTypeLAN_IP2, CommTypeLAN_IP3, CommTypeLAN_IP4;
  std::array<char, 20> LanIPStr;
  int32_t CommTypeLAN_Port;
  int32_t LanHandle;
  int32_t CommTypeGPIBPort;
  int32_t GPIBHandle;
  int32_t CommReplyPacing;   // 1: a reply is taken as soon as it has come whole
  int32_t CommAutoReconnect; // 1: a lost link is connected again by itself
  int32_t LogoAnimate;
  int32_t OutputRunning;
  int32_t RemainSecond;
  int32_t Alarming;
  int32_t Connected;
  int32_t MeasureItemR1, MeasureItemR2, MeasureItemR3, MeasureItemR4;
  int32_t WaitPanelShown;
};

// The last status the source reported.
struct PowerState {
  int32_t RunState;
  int32_t AlarmCode;
  int32_t RunGroup;
  int32_t RunCycle;
  int32_t RunStepU, RunStepTimeU, RunStepLengthU;
  int32_t RunStepV, RunStepTimeV, RunStepLengthV;
  int32_t RunStepW, RunStepTimeW, RunStepLengthW;
  int32_t DCOutputOn;
  int32_t DCValue;
};
