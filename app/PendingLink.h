// The request queue of the device link, as the panels use it. The scheduler
// (comm/) defines these; this declaration stands until it is on this branch.
#pragma once

// Queues a multi-frame exchange (18..22, 34..39) with its first frame and step.
void CommSetNewCmdGroup(int group);
// Queues one frame as group 15, step 0.
void CommSetNewCmdSingleGroup(int cmd1, int cmd2, int param);
