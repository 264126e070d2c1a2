// The question before a whole program is written to the source or run.
#pragma once

#include "programs/ProgramCheck.h"

// Nothing to report: true at once. Corrections: a question listing them
// (step, field, value, what it becomes); yes applies them and gives true, no
// gives false and changes nothing. A refusal: a message box, false.
bool ConfirmProgramDownload(const ProgramFindings &findings);
