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

  // Output state and alarm display of the five operating panels.
  virtual void RefreshOutputState() {}
  virtual void RefreshDCOutputStateAndMeasure() {}

  // Measurement readouts of the five operating panels.
  virtual void DataFPFromMeasureToPanel() {}
  virtual void DataFCFromMeasureToPanel() {}

  // Record to panel: kind 0 normal and system, 1 Step, 2 List, 3 Ramp, 4 Cross.
  virtual void DataFPFromVarToPanel(int kind) { (void)kind; }
  virtual void DataFPFromNormalVarToPanel() {}
  virtual void DataFPFromSystemVarToPanel() {}
  virtual void DataFCFromNormalVarToPanel() {}
  virtual void DataFCFromSystemVarToPanel() {}
  virtual void DataFPFromStepVarToPanel() {}

  // Program preview graphs: recompute the curves, redraw the whole graph,
  // display mode of the panel (1 all phases, 2 U, 3 V, 4 W, ...).
  virtual void RefreshStepSetGraph(int recompute, int redraw, int mode) {
    (void)recompute, (void)redraw, (void)mode;
  }
  virtual void RefreshListSetGraph(int recompute, int redraw, int mode) {
    (void)recompute, (void)redraw, (void)mode;
  }
  virtual void RefreshRampSetGraph(int recompute, int redraw, int mode) {
    (void)recompute, (void)redraw, (void)mode;
  }
  virtual void RefreshCrossSetGraph(int recompute, int redraw, int mode) {
    (void)recompute, (void)redraw, (void)mode;
  }

  // Maximum of the over-current entries (system and FC system pages), 0.1 A.
  virtual void SetOCPDefineMax(int limitTenthAmp) { (void)limitTenthAmp; }

  // ---- Device link and 50 ms tick ----

  // Shows (1) or removes (0) the wait popup. Called only when the state
  // changes; PowerInfo.WaitPanelShown is kept by the core.
  virtual void DisplayPanelWait(int show) { (void)show; }
  // Sets the panels up for PowerInfo.ModelType (1 = even when unchanged).
  virtual void ModelTypeChoose(int force) { (void)force; }
  // Connection indicators, model name and connect/disconnect buttons of the
  // six main pages.
  virtual void CommConnectToPanel(int connected) { (void)connected; }
  // Power-model menu dimmed (1) or enabled (0).
  virtual void MainMenuSetPowerModelDimmed(int dim) { (void)dim; }
  // FC up/down key levels after a connect: 1 when the output runs.
  virtual void CalFCPowerUpDown(int running) { (void)running; }
  // Programs read from the source, shown on their panels.
  virtual void DataFPFromListVarToPanel() {}
  virtual void DataFPFromRampVarToPanel() {}
  virtual void DataFPFromCrossVarToPanel() {}
  virtual void DataFPFromTHDVarToPanel() {}
  // The THD download button follows the download flags (gTHDNeedDownload).
  virtual void CheckAndSetTHDDownloadButton() {}
  // THD groups edited on the PC were kept through the connect exchange: ask
  // (yes/no, title and text in the current language) whether to download
  // them, and pass the answer (1 yes) to THDLeave. May be
  // called from inside the 50 ms tick: ask right after it.
  virtual void AskTHDPendingEdits(const std::string &title, const std::string &text) {
    (void)title;
    (void)text;
  }
  // A program page the connected model does not have returns to the main
  // panel (each sets gCurrentPage to 0).
  virtual void ExitStepToNormalPanel() {}
  virtual void ExitListToNormalPanel() {}
  virtual void ExitRampToNormalPanel() {}
  virtual void ExitCrossToNormalPanel() {}
  virtual void ExitTHDToNormalPanel() {}
  // A request to the source was dropped because the queue was full; the
  // text says which, in the current language. May be called from inside the
  // 50 ms tick: show it without re-entering the tick (not as a modal loop).
  virtual void CommRequestDropped(const std::string &text) { (void)text; }
  // The link was lost (three replies missing in a row) and is closed; the
  // title and text say why, in the current language. Called from inside the
  // 50 ms tick, after the disconnect: show it as the message box "Error".
  virtual void CommLinkLost(const std::string &title, const std::string &text) {
    (void)title;
    (void)text;
  }
  // What the link does between connections, for the connection areas of the
  // main pages ("Connecting to ...", "Reconnecting in 8 s ..."), in the
  // current language; empty when there is nothing to show.
  virtual void CommLinkStatus(const std::string &text) { (void)text; }
  // Another source than the one lost answered a reconnection attempt; the
  // link is closed again. Ask the user whether to connect to it and give the
  // answer to CommReconnectAnswer (not from inside this call's tick).
  virtual void CommAskOtherSource(const std::string &title, const std::string &text) {
    (void)title;
    (void)text;
  }
  // Once per 50 ms tick, after the scheduler: the logo step, the live charts
  // and the delayed preview redraw of the panels.
  virtual void TimerTickView(long long tick) { (void)tick; }
};

// The hooks in force; never null (a silent instance until one is installed).
ViewHooks &Hooks();
// Installs hooks (nullptr restores the silent instance). The caller keeps ownership.
void SetHooks(ViewHooks *hooks);

// Shows (1) or removes (0) the wait popup through the hooks and keeps
// PowerInfo.WaitPanelShown; a call that does not change the state does
// nothing, so nested requests are harmless.
void DisplayPanelWait(int show);

// A message popup in the current language (Language 1 English, otherwise
// Chinese).
void MessagePopupInLanguage(const char *englishTitle, const char *englishText,
                            const char *chineseTitle, const char *chineseText);

// The guards: each shows its message (in the current language) and returns
// 1 when the action must stop, else 0.
// Alarm: the source reports an alarm.
int GuardAlarm();
// Running: the source's output is on.
int GuardRunning();
// Rising: the output is still rising to its setting.
int GuardRising();
