#include "records/ViewHooks.h"

namespace {
ViewHooks gSilentHooks;
ViewHooks *gHooks = &gSilentHooks;
} // namespace

ViewHooks &Hooks() { return *gHooks; }

void SetHooks(ViewHooks *hooks) { gHooks = hooks ? hooks : &gSilentHooks; }
