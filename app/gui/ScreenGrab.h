// Pictures of the real program for the documentation: once the program is
// connected it opens a panel by name, loads a setting file into it, switches
// the output on if asked, waits until the panel shows what it should (the
// program's progress on the Step graph) and saves the window as a PNG file,
// then ends. New panels take part by a line in the name table.
#pragma once

#include "app/gui/AppMain.h"

// Starts the sequence of the options (--open-panel, --load, --start-output,
// --grab). False, with a message on standard error, for an unknown panel
// name. The program ends with 0 after the picture was saved, else with 3.
bool StartScreenGrab(const StartOptions &options);
