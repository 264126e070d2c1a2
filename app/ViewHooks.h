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
};

// The hooks in force; never null (a silent instance until one is installed).
ViewHooks &Hooks();
// Installs hooks (nullptr restores the silent instance). The caller keeps ownership.
void SetHooks(ViewHooks *hooks);
