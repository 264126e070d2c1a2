// The one road from the core to the user interface. The GUI implements these
// hooks; tests record the calls; headless tools keep the silent defaults.
#pragma once

#include <string>

class ViewHooks {
public:
  virtual ~ViewHooks() = default;

  // A modal message in the current language; the text is already chosen.
  virtual void MessagePopup(const std::string &title, const std::string &text) {
    (void)title;
    (void)text;
  }
};

// The hooks in force; never null (a silent instance until one is installed).
ViewHooks &Hooks();
// Installs hooks (nullptr restores the silent instance). The caller keeps ownership.
void SetHooks(ViewHooks *hooks);
