// The 50 ms heartbeat of the program.
//
// MainTimerTick is the core's part of every tick: count the tick, run the
// communication scheduler while connected, follow a LAN connect under way and
// the automatic reconnection, let the panels do their drawing
// steps, count down the output's rise time once a second and record a
// measurement row twice a second. The GUI and vexactl call it from a 50 ms
// QTimer (StartMainTimer); tests call it tick by tick.
#pragma once

#include <cstdint>

class QObject;
class QTimer;

constexpr int kMainTimerPeriodMs = 50;

// One 50 ms tick.
void MainTimerTick();

// A 50 ms timer (owned by parent) that calls MainTimerTick; already started.
QTimer *StartMainTimer(QObject *parent);
