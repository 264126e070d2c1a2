#include "app/Globals.h"

ProgramState gProgram;

void ResetProgramState() { gProgram = ProgramState{}; }
