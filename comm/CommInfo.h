// The frame in flight and the request queue of the device link.
#pragma once

#include <array>
#include <cstdint>

constexpr int kCommBuffSize = 256;
constexpr int kCommQueueSize = 5;

enum CommGroupCode : int32_t {
  kGroupEmpty = 0,
  kGroupSingle = 15,
  kGroupConnect = 18,
  kGroupReadList = 19,
  kGroupReadRamp = 20,
  kGroupReadCross = 21,
  kGroupReadTHD = 22,
  kGroupWriteNormalAll = 34,
  kGroupWriteList = 35,
  kGroupWriteRamp = 36,
  kGroupWriteCross = 37,
  kGroupWriteTHDAll = 38,
  kGroupWriteTHDMarked = 39,
};

struct CommInfo {
  int32_t PresentValid;
  int32_t PresentGroup;
  int32_t PresentStep;
  int32_t PresentCmd1, PresentCmd2, PresentParam;
  int32_t Interval;
  int32_t WaitCount;
  int32_t RxExpectLen;
  std::array<uint8_t, kCommBuffSize> RxBuff;
  int32_t TxLen;
  std::array<uint8_t, kCommBuffSize> TxBuff;
  int32_t RxLen;
  int32_t NormalDataOk, ListDataOk, RampDataOk, CrossDataOk, THDDataOk, SystemDataOk;
  std::array<int32_t, 10> THDNeedDownload;
  int32_t NoReplyCount;
};

struct CommNewCmd {
  int32_t ReadIndex;
  int32_t WriteIndex;
  int32_t Count;
  std::array<int32_t, kCommQueueSize> Valid;
  std::array<int32_t, kCommQueueSize> Group;
  std::array<int32_t, kCommQueueSize> Step;
  std::array<int32_t, kCommQueueSize> Cmd1, Cmd2, Param;
};
