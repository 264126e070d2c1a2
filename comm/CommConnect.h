// The connection procedure: open the port of the communication settings and
// start the connect exchange, or stop the scheduler and close the port.
#pragma once

#include <cstdint>
#include <string>

// 1: connect (only while disconnected), 0: disconnect (only while connected).
// A port that cannot be opened is reported with the message box "Error"
// unless the silent start-up attempt is running. A LAN connect goes on in the
// background (CommConnectTick ends it); 0 while it is under way gives it up.
void CommConnectDeal(int connect);

// Once per tick: ends a LAN connect under way when it has succeeded, failed
// or run out of time, and starts the connect exchange or reports the failure.
void CommConnectTick();

// "Connecting to ... ", in the current language.
std::string CommOpeningText();

// Switches the connection display of the main pages; on 0 also clears the
// DC measurement and its display.
void CommConnectToPanel(int connected);

// The start-up attempt with the saved settings: a port that cannot be
// opened, or a port on which no source answers the model query, is not
// reported; the user connects later with the button.
void CommConnectAtStartUp();

// The connected source is of another model than the one selected: the
// selected model's auto-save files are written, then the new model's read,
// so that what the source does not send keeps the new model's saved values.
void CommSwitchModelFiles(int32_t fromModel, int32_t toModel);

// The port of the communication settings as a message names it, in the
// current language: "serial port /dev/ttyS0", "LAN 192.168.0.1:5025",
// "GPIB address 7".
std::string CommPortText();

// The open-failure message in the current language: which port and why,
// as far as the link can tell.
const char *CommOpenErrorTitle();
std::string CommOpenErrorText();
