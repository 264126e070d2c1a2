// The user interface's side of the view hooks the core calls.
#pragma once

void InstallGuiHooks();
void RemoveGuiHooks();
