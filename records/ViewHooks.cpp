#include "records/ViewHooks.h"

#include "records/Globals.h"

namespace {
ViewHooks gSilentHooks;
ViewHooks *gHooks = &gSilentHooks;
} // namespace

ViewHooks &Hooks() { return *gHooks; }

void SetHooks(ViewHooks *hooks) { gHooks = hooks ? hooks : &gSilentHooks; }

void DisplayPanelWait(int show) {
  PowerInfo &info = gPowerInfo;
  if (show == 1 && info.WaitPanelShown == 0) {
    Hooks().DisplayPanelWait(1);
    info.WaitPanelShown = 1;
  } else if (show == 0 && info.WaitPanelShown == 1) {
    Hooks().DisplayPanelWait(0);
    info.WaitPanelShown = 0;
  }
}
