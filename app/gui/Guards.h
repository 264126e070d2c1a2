// The guards applied before an action: each shows its message in the
// current language and returns 1 when the action must stop, else 0.
#pragma once

// Alarm: the source reports an alarm.
int AlarmGuard();
// Running: the source's output is on.
int RunningGuard();
// Rising: the output is still rising to its setting (connected and running).
int RisingGuard();
