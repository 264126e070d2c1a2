// The request queue as the scheduler keeps it, for the panel tests until the
// scheduler itself is on this branch: a five-entry ring, taken in order,
// a sixth request dropped. Weak, so the scheduler's own queue wins as soon
// as it is linked.
#include "app/Globals.h"
#include "app/PendingLink.h"

namespace {
void Put(int group, int step, int cmd1, int cmd2, int param) {
  CommNewCmd &q = gCommNewCmd;
  if (q.Count >= kCommQueueSize) {
    return;
  }
  if (q.WriteIndex >= kCommQueueSize) {
    q.WriteIndex = 0;
  }
  const int i = q.WriteIndex;
  q.Valid[i] = 1;
  q.Group[i] = group;
  q.Step[i] = step;
  q.Cmd1[i] = cmd1;
  q.Cmd2[i] = cmd2;
  q.Param[i] = param;
  ++q.Count;
  ++q.WriteIndex;
}
} // namespace

__attribute__((weak)) void CommSetNewCmdSingleGroup(int cmd1, int cmd2, int param) {
  Put(kGroupSingle, 0, cmd1, cmd2, param);
}

__attribute__((weak)) void CommSetNewCmdGroup(int group) { Put(group, 0, 0, 0, 0); }
