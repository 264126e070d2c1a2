// Program-side codec of the FP (FPA, FPB) and GS families: builds the frames
// of the commands from the program's setting records and stores the replies
// into the records, the device state and the measurement record.
#pragma once

#include <cstdint>

// Builds the frame of a command into buffer, sets CommInfo.RxExpectLen and
// returns its length; 0 for a command outside the family's set.
int FPCommTx(int cmd1, int cmd2, int param, uint8_t *buffer);
int GSCommTx(int cmd1, int cmd2, int param, uint8_t *buffer);

// Checks a reply against the command in flight and stores it: 1 accepted,
// 0 not (nothing stored).
int FPCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count);
int GSCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count);
