// Showing another panel in place of the main panel and returning from it.
#pragma once

#include "records/Globals.h" // PageCode: the panel in front

// Show a panel in place of the main panel. The program panels (Step, List,
// Ramp, Cross, THD) are refused while the output runs: they return 0, else 1.
int DisplayStepPanel();
int DisplayListPanel();
int DisplayRampPanel();
int DisplayCrossPanel();
int DisplayTHDPanel();
int DisplayFCGroupPanel();
int DisplayFPGroupPanel();
int DisplayMeasureDisplayPanel();
// The Display function of a program page (1..5).
int DisplayProgramPanel(int page);

// Return to the main panel. Step, List, Ramp and Cross are refused while the
// output runs (the panel stays; they return 0, else 1).
int ExitStepToNormalPanel();
int ExitListToNormalPanel();
int ExitRampToNormalPanel();
int ExitCrossToNormalPanel();
int ExitTHDToNormalPanel();
int ExitFCGroupToNormalPanel();
int ExitFPGroupToNormalPanel();
int ExitMearsureDisplayToNormalPanel();
// The Exit function of a program page (1..5).
int ExitProgramToNormalPanel(int page);

// Initialises a program panel and shows its record (after it was opened).
void ProgramPanelInitAndShow(int page);
// The program panels' menu handler and close box.
void ProgramPanelMenuItem(int page, int item);
void ProgramPanelClose(int page);
void MeasureDisplayMenuItem(int item);
