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

// The scheduler's own poll counters, in 50 ms ticks. They are not part of
// CommInfo (which is cleared at every connect and disconnect).
struct CommPollInfo {
  int32_t StatusCountdown = 20;  // ticks until the next status query is due
  int32_t MeasureCountdown = 20; // ticks until the next measurement query is due
  int32_t LastPollStatus = 0;    // 1 when the last poll sent was a status query
  int32_t LastMissReason = 0;    // CommMissReason of the latest unaccepted reply
  int32_t QuietLoss = 0;         // 1: a lost link is not reported (start-up attempt, until
                                 // the source has answered the model query)
  int32_t ReplyGathering = 0;    // 1 once the reply to the frame in flight is being gathered
};

// The state of the link between connections: a LAN connect under way, and
// the automatic reconnection after a lost link.
enum CommReconnectState : int32_t {
  kReconnectOff = 0,
  kReconnectWaiting = 1, // counting down to the next attempt
  kReconnectTrying = 2,  // an attempt is opening the port or running the connect exchange
  kReconnectAsking = 3,  // another source answered; the user decides
};

struct CommLinkInfo {
  int32_t Opening = 0;   // 1 while a LAN connect is under way
  int32_t OpenQuiet = 0; // 1: its failure is not reported
  int32_t Reconnect = kReconnectOff;
  int32_t RetryTicks = 0;              // ticks until the next attempt
  int32_t RetrySeconds = 0;            // interval before the attempt counted down now
  int32_t Attempts = 0;                // attempts since the link was lost
  std::array<char, 12> LostModelStr{}; // the source that was connected
  int32_t LostModelType = 0;
  int32_t LostRating = 0;
  std::array<char, 12> OtherModelStr{}; // the source that answered instead
};

enum CommMissReason : int32_t {
  kMissNone = 0,
  kMissNoReply = 1,  // nothing came
  kMissBadReply = 2, // something came that is not the reply to the frame in flight
  kMissRefused = 3,  // the source answered a write or output control with a nonzero code
  kMissClosed = 4,   // the source closed the LAN connection
};
