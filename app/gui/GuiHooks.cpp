#include "app/gui/GuiHooks.h"

#include <QTimer>

#include "app/ViewHooks.h"
#include "app/gui/AppMain.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/OutputState.h"
#include "measure/gui/MeasureView.h"
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
  void RefreshOutputState() override { ::RefreshOutputState(); }
  void RefreshDCOutputStateAndMeasure() override { ::RefreshDCOutputStateAndMeasure(); }
  void DataFPFromMeasureToPanel() override { ::DataFPFromMeasureToPanel(); }
  void DataFCFromMeasureToPanel() override { ::DataFCFromMeasureToPanel(); }
  void DataFPFromVarToPanel(int kind) override {
    // The program frames show no program yet; kind 0 is the main panel.
    if (kind == 0) {
      ::DataFPFromNormalVarToPanel();
      ::DataFPFromSystemVarToPanel();
    }
  }
  void DataFPFromNormalVarToPanel() override { ::DataFPFromNormalVarToPanel(); }
  void DataFPFromSystemVarToPanel() override { ::DataFPFromSystemVarToPanel(); }
  void DataFCFromNormalVarToPanel() override { ::DataFCFromNormalVarToPanel(); }
  void DataFCFromSystemVarToPanel() override { ::DataFCFromSystemVarToPanel(); }
  void SetOCPDefineMax(int limitTenthAmp) override { ::SetOCPDefineMax(limitTenthAmp); }
};

GuiHooks gGuiHooks;

} // namespace

void InstallGuiHooks() { SetHooks(&gGuiHooks); }
void RemoveGuiHooks() { SetHooks(nullptr); }
