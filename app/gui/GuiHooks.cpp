#include "app/gui/GuiHooks.h"

#include <QTimer>

#include "app/ViewHooks.h"
#include "app/gui/AppMain.h"
#include "ui/Dialogs.h"

namespace {

// Shows a message now, or right after the tick when called from inside it.
void ShowMessage(const QString &title, const QString &text) {
  if (!InsideTick()) {
    Dialogs().MessagePopup(title, text);
    return;
  }
  QTimer::singleShot(0, [title, text] { Dialogs().MessagePopup(title, text); });
}

class GuiHooks : public ViewHooks {
public:
  void MessagePopup(const std::string &title, const std::string &text) override {
    ShowMessage(QString::fromStdString(title), QString::fromStdString(text));
  }
};

GuiHooks gGuiHooks;

} // namespace

void InstallGuiHooks() { SetHooks(&gGuiHooks); }
void RemoveGuiHooks() { SetHooks(nullptr); }
