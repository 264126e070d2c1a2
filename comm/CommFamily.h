// What the program-side family codecs share: completing a command frame from
// the family's command table, the acceptance of a reply for the command in
// flight, and the device-state updates common to every family.
#pragma once

#include "comm/CommCommands.h"
#include "records/PowerModel.h"

#include <cstdint>

// 1 when index names one of count records (groups, steps, entries).
inline bool CommIndexValid(int index, int count) { return index >= 0 && index < count; }

// Writes the payload of a write command (cmd2) of a family; 0 when the
// index in param names no record (then no frame is built).
using CommEncodeWriteFn = int (*)(int cmd2, int param, uint8_t *buffer);

// Builds the frame of a command of the model's command table: the payload of
// a write command through encodeWrite, then the envelope (a 9-byte frame
// carries just the parameter in byte 6). Sets
// CommInfo.RxExpectLen and returns the frame length; 0 for a command outside
// the table or a write whose index is out of range.
int CommFamilyTx(int modelType, int cmd1, int cmd2, int param, uint8_t *buffer,
                 CommEncodeWriteFn encodeWrite);

// The command in flight if the reply is accepted for it: acceptance rule,
// the command's exact reply length, and for output and write commands an
// acknowledgement byte of 0. nullptr otherwise.
const CommCommand *CommFamilyRxCheck(int modelType, int cmd1, int cmd2, const uint8_t *buffer,
                                     int count);

// Seconds until the output has finished rising, for a rise time in 0.1 s.
inline int RemainSecondFromRise(int riseTenths) {
  return riseTenths >= 1 ? (riseTenths + 9) / 10 : 0;
}

// The group byte (byte 6) of a reply names one of groupCount groups; when it
// does not, the reply is still taken (the source answered) and the skipped
// store is logged.
bool CommReplyGroupValid(const char *reply, int group, int groupCount);

// The reply to the read of the group in force (A5 11): byte 6 becomes the
// current normal group when it names one of groupCount groups, else the
// current group stays. Always 1: the reply is accepted.
int CommStoreCurrentGroup(const uint8_t *frame, int groupCount);

// RiseTime of the current FP-style normal group (0 when the index is bad).
int CurrentNormalFPRiseTime();

// Run flags set from a status reply.
inline void CommSetRunning(PowerInfo &info) {
  info.OutputRunning = 1;
  info.Alarming = 0;
}
inline void CommSetAlarming(PowerInfo &info) {
  info.OutputRunning = 0;
  info.Alarming = 1;
}
inline void CommSetStopped(PowerInfo &info) {
  info.OutputRunning = 0;
  info.Alarming = 0;
}

// The panels an output-control reply shows again, per family.
struct OutputReplyView {
  void (*ShowValues)();  // the setting values of the panel(s) in question
  void (*ShowMeasure)(); // the measurement readouts
};

// Redraws the graph of the program page in front without its progress.
void RedrawStoppedProgramGraph();

// Output on (0F FF), off (0F 00) and clear alarm (0F 03) confirmed by the
// source: run flags, RemainSecond from the rise time, measurements cleared
// on off, and the refreshes of the output area and panels (a stopped program
// loses its progress on the preview).
void CommOutputControlReply(int cmd2, int riseTenths, const OutputReplyView &view);
