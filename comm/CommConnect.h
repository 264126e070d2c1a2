// The connection procedure: open the port of the communication settings and
// start the connect exchange, or stop the scheduler and close the port.
#pragma once

#include <cstdint>

// 1: connect (only while disconnected), 0: disconnect (only while connected).
// A port that cannot be opened is reported with the message box "Error"
// unless the silent start-up attempt is running.
void CommConnectDeal(int connect);

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

// The open-failure message in the current language.
const char *CommOpenErrorTitle();
const char *CommOpenErrorText();
