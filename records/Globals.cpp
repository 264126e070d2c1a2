#include "records/Globals.h"

ProgramState gProgram;

void ResetProgramState() { gProgram = ProgramState{}; }
