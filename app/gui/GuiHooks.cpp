#include "app/gui/GuiHooks.h"

#include <QTimer>

#include "app/MainPanelFunc.h"
#include "app/NormalPanelMap.h"
#include "app/OutputState.h"
#include "app/gui/AppMain.h"
#include "app/gui/CommSetPanel.h"
#include "app/gui/MeasureView.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/Navigation.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/PanelSync.h"
#include "app/gui/ProgramSync.h"
#include "comm/CommReconnect.h"
#include "measure/LiveMeasure.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

namespace {

// Shows a message now, or right after the tick when called from inside it.
void ShowMessage(const QString &title, const QString &text) {
  if (!InsideTick()) {
    Dialogs().MessagePopup(title, text);
    return;
  }
  QTimer::singleShot(0, [title, text] { Dialogs().MessagePopup(title, text); });
}

// A record-to-panel step of the core on the panel record, then onto the widgets.
void OnPanel(void (*step)(MainPanelState &)) {
  step(gPanelState);
  StateToPanel();
}

// The List or Ramp program record onto its panel.
void ListVarToPanel(int page) {
  ::DataFPFromListVarToPanel(ListStateOfPage(page));
  ListStateToPanel(page);
}

class GuiHooks : public ViewHooks {
public:
  void MessagePopup(const std::string &title, const std::string &text) override {
    ShowMessage(QString::fromStdString(title), QString::fromStdString(text));
  }
  void RefreshOutputState() override {
    // The settings are shown again only when the running or alarm state changed.
    const bool changed = gPowerInfo.OutputRunning != gPanelState.LastOutputRunning ||
                         gPowerInfo.Alarming != gPanelState.LastAlarming;
    ::RefreshOutputState(gPanelState);
    if (changed)
      StateToPanel();
    else
      OutputStateToPanel();
  }
  void RefreshDCOutputStateAndMeasure() override { OnPanel(::RefreshDCOutputStateAndMeasure); }
  void DataFPFromMeasureToPanel() override {
    ::DataFPFromMeasureToPanel(gPanelState.Measure);
    MeasureStateToPanel();
  }
  void DataFCFromMeasureToPanel() override {
    ::DataFCFromMeasureToPanel(gPanelState.Measure);
    MeasureStateToPanel();
  }
  void DataFPFromVarToPanel(int kind) override {
    if (kind == 0)
      OnPanel(DataFromNormalAndSystemVarToPanel);
    else if (kind == kPageStep)
      DataFPFromStepVarToPanel();
    else if (kind == kPageList || kind == kPageRamp)
      ListVarToPanel(kind);
    else if (kind == kPageCross)
      DataFPFromCrossVarToPanel();
  }
  void DataFPFromNormalVarToPanel() override { OnPanel(::DataFPFromNormalVarToPanel); }
  void DataFPFromSystemVarToPanel() override { OnPanel(::DataFPFromSystemVarToPanel); }
  void DataFCFromNormalVarToPanel() override { OnPanel(::DataFCFromNormalVarToPanel); }
  void DataFCFromSystemVarToPanel() override { OnPanel(::DataFCFromSystemVarToPanel); }
  void SetOCPDefineMax(int limitTenthAmp) override { ::SetOCPDefineMax(limitTenthAmp); }

  void DisplayPanelWait(int show) override { ShowWaitPopup(show); }
  void ModelTypeChoose(int force) override { ::ModelTypeChoose(force); }
  void CommConnectToPanel(int connected) override { ShowConnectionOnPanels(connected); }
  void MainMenuSetPowerModelDimmed(int dim) override { ::MainMenuSetPowerModelDimmed(dim); }
  void CalFCPowerUpDown(int running) override { ::CalFCPowerUpDown(running); }
  void DataFPFromStepVarToPanel() override {
    ::DataFPFromStepVarToPanel(gStepPanelState);
    StepStateToPanel();
  }
  void RefreshStepSetGraph(int recompute, int redraw, int mode) override {
    RefreshStepGraphOnPanel(recompute, redraw, mode);
  }
  void DataFPFromTHDVarToPanel() override {
    ::DataFPFromTHDVarToPanel(gTHDPanelState);
    // Groups read from the source show their own waveform.
    DrawTHDPanelGraph(gTHDPanelState.Graph, gTHDCurrentGroup);
    THDStateToPanel();
  }
  void CheckAndSetTHDDownloadButton() override {
    ::CheckAndSetTHDDownloadButton(gTHDPanelState);
    THDStateToPanel();
  }
  void DataFPFromListVarToPanel() override { ListVarToPanel(kPageList); }
  void DataFPFromRampVarToPanel() override { ListVarToPanel(kPageRamp); }
  void RefreshListSetGraph(int recompute, int redraw, int mode) override {
    RefreshListGraphOnPanel(kPageList, recompute, redraw, mode);
  }
  void RefreshRampSetGraph(int recompute, int redraw, int mode) override {
    RefreshListGraphOnPanel(kPageRamp, recompute, redraw, mode);
  }
  void DataFPFromCrossVarToPanel() override {
    ::DataFPFromCrossVarToPanel(gCrossPanelState);
    CrossStateToPanel();
  }
  void RefreshCrossSetGraph(int recompute, int redraw, int mode) override {
    RefreshCrossGraphOnPanel(recompute, redraw, mode);
  }
  void ExitStepToNormalPanel() override { ::ExitStepToNormalPanel(); }
  void ExitListToNormalPanel() override { ::ExitListToNormalPanel(); }
  void ExitRampToNormalPanel() override { ::ExitRampToNormalPanel(); }
  void ExitCrossToNormalPanel() override { ::ExitCrossToNormalPanel(); }
  void ExitTHDToNormalPanel() override { ::ExitTHDToNormalPanel(); }
  void AskTHDPendingEdits(const std::string &title, const std::string &text) override {
    const QString t = QString::fromStdString(title), x = QString::fromStdString(text);
    auto ask = [t, x] { THDLeave(Dialogs().ConfirmPopup(t, x)); };
    if (InsideTick())
      QTimer::singleShot(0, ask);
    else
      ask();
  }
  void CommRequestDropped(const std::string &text) override {
    Dialogs().Notify(Tx("Tip", "提示"), QString::fromStdString(text));
  }
  void CommLinkLost(const std::string &title, const std::string &text) override {
    ShowMessage(QString::fromStdString(title), QString::fromStdString(text));
  }
  void CommLinkStatus(const std::string &text) override {
    ShowLinkStatusOnPanels(QString::fromStdString(text));
  }
  // Asked right after the tick; the answer goes back to the link.
  void CommAskOtherSource(const std::string &title, const std::string &text) override {
    QTimer::singleShot(
        0, [title = QString::fromStdString(title), text = QString::fromStdString(text)] {
          CommReconnectAnswer(Dialogs().ConfirmPopup(title, text) == 1 ? 1 : 0);
        });
  }
  void TimerTickView(long long tick) override { ::TimerTickView(tick); }
};

GuiHooks gGuiHooks;

} // namespace

void InstallGuiHooks() { SetHooks(&gGuiHooks); }
void RemoveGuiHooks() { SetHooks(nullptr); }
