// Automatic reconnection: after a lost link the port is opened again with a
// growing interval (2 s, 4 s, ... up to 60 s) until the source answers. The
// source must be the one that was lost (the same identifier, so the same
// model and rating); another one is not taken on without the user's answer.
// Everything runs in the 50 ms tick: nothing waits.
#pragma once

#include <string>

constexpr int kReconnectFirstSeconds = 2;
constexpr int kReconnectMaxSeconds = 60;

// Called after a lost link, the link already closed. false when the option
// is off (the loss is then reported as always); otherwise the reconnection
// takes over, shows the reason and the countdown, and returns true.
bool CommReconnectAfterLoss(const std::string &reason);

// Once per tick: counts down to the next attempt, starts it, and sees it
// succeed (the connect exchange has finished) or fail.
void CommReconnectTick();

// Called with the model-query reply of a connect exchange in CommInfo. True
// when a reconnection attempt reached another source than the one lost: the
// link has been closed and the user is being asked. Otherwise false and the
// reply goes its usual way.
bool CommReconnectOtherSource();

// The user's answer about the other source: 1 connects to it as to a new
// source, 0 stops reconnecting.
void CommReconnectAnswer(int adopt);

// Stops reconnecting (the user's Disconnect); gives up an attempt under way.
void CommReconnectStop();

// True from the loss until the reconnection succeeded or was stopped.
bool CommReconnectActive();
