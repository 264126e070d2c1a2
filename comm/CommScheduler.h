// The command queue and the poll scheduler: exactly one frame in flight, a
// reply wait counted in 50 ms ticks, the multi-frame exchanges (groups), a
// five-entry request queue, and the status and measurement polls when idle.
// Panels never talk to the port: they queue requests here, and the 50 ms
// tick (CommTimerDeal, while connected) does the rest.
#pragma once

#include <cstdint>
#include <string>

// Command classes and the commands the scheduler itself sends.
constexpr int kCmdClassOutput = 0x0F;
constexpr int kCmdClassWrite = 0x5A;
constexpr int kCmdClassRead = 0xA5;
constexpr int kCmdClassQuery = 0xF0;
constexpr int kQueryModel = 0xED;
constexpr int kQueryStatus = 0xEB;
constexpr int kQueryMeasureFCT = 0xAE;
constexpr int kQueryMeasureFCS = 0x11;
constexpr int kQueryMeasure = 0xAF;
constexpr int kQueryDCState = 0xEA;
constexpr int kQueryDCMeasure = 0xAD;

// Ticks between two status queries, and between two measurement queries.
constexpr int kPollPeriodTicks = 20;
// Consecutive unaccepted replies that end the connection.
constexpr int kMaxNoReply = 3;

// One tick of the scheduler; called every 50 ms while connected.
void CommTimerDeal();
// What the port reports between ticks (a PortEvent). With reply-driven
// pacing a reply is taken as soon as it is whole and the next frame goes out
// at once, and a LAN connection the source closed is a lost link at once;
// without pacing the tick alone drives the link.
void CommPortEvent(int event);

// Queues a multi-frame exchange (18..22, 34..39) with its first frame and step.
void CommSetNewCmdGroup(int group);
// Queues one frame as group 15, step 0.
void CommSetNewCmdSingleGroup(int cmd1, int cmd2, int param);
// Writes the three values into the entry at WriteIndex.
void CommSetNewCmd(int cmd1, int cmd2, int param);
// Starts the oldest queued request: 1 when one was started, 0 when none waits.
int CommReadNewCmdGroupToPresentGroup();
// Drops the oldest entry.
void CommClearNewCmdFirst();
// Clears the whole queue record.
void CommClearNewCmdAll();
// Makes this the frame in flight and builds it into TxBuff; command byte 1 of
// 0 makes the scheduler idle.
void CommSetPresentCmd(int cmd1, int cmd2, int param);
// Sends TxBuff (when TxLen > 0) and starts the reply wait.
void CommSentTxBuff();
// Reply wait of a command, in ticks, for the model and port in PowerInfo.
int CommGetInterval(int cmd1, int cmd2);
// RS-232 only: empties the serial input queue.
void CommClearMemoryBuff();
// Index 0..9 of the first THD group marked for download, 10 when none is.
int CheckTHDNeedToDownloadFirst();
// 1 when any THD group is marked for download, else 0.
int CheckTHDNeedToDownload();

// Puts the poll countdowns back to a full period; the connect procedure
// calls it so that every connection polls on the same beat.
void CommPollRestart();

// The frames a request group exchanges from its first to its last, for the
// current model and port (a GPIB THD group goes in halves); 0 when that
// depends on what is marked (changed THD groups) or the group is unknown.
int CommGroupFrames(int group);

// The text naming a command for the user, in the current language, e.g.
// "status query (F0 EB)" or "write normal group (5A 21, 3)".
std::string CommCommandText(int cmd1, int cmd2, int param);
