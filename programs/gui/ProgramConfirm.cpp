#include "programs/gui/ProgramConfirm.h"

#include "ui/Dialogs.h"
#include "ui/Texts.h"

bool ConfirmProgramDownload(const ProgramFindings &findings) {
  if (findings.isEmpty())
    return true;
  if (ProgramRefused(findings)) {
    ProgramFindings refusals;
    for (const ProgramFinding &f : findings)
      if (f.Refused)
        refusals.append(f);
    Dialogs().MessagePopup(Tx("Error", "错误"), ProgramFindingsText(refusals));
    return false;
  }
  if (Dialogs().ConfirmPopup(
          Tx("Corrected values", "已修正的数值"),
          Tx("Values of the program are outside what the source takes and would be "
             "corrected:\n\n%1\nSend the program with these corrections?",
             "程序中的数值超出电源允许范围，将被修正：\n\n%1\n按修正后的数值发送程序？")
              .arg(ProgramFindingsText(findings))) != 1)
    return false;
  ApplyProgramFindings(findings);
  return true;
}
