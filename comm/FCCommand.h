// Program-side codec of the FC (FCT, FCS), FS (FSA, FSB) and FL families:
// output control, normal groups, system settings, status and measurements.
#pragma once

#include <cstdint>

// Builds the frame of a command into buffer, sets CommInfo.RxExpectLen and
// returns its length; 0 for a command outside the family's set. FSCommTx
// builds the frames of both FS and FL.
int FCCommTx(int cmd1, int cmd2, int param, uint8_t *buffer);
int FSCommTx(int cmd1, int cmd2, int param, uint8_t *buffer);

// Checks a reply against the command in flight and stores it: 1 accepted,
// 0 not (nothing stored).
int FCCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count);
int FSCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count);
int FLCommRx(int cmd1, int cmd2, int param, const uint8_t *buffer, int count);
