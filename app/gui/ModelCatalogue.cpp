#include "app/gui/ModelCatalogue.h"

#include <QAction>
#include <QGroupBox>
#include <QSignalBlocker>

#include "app/MainPanelFunc.h"
#include "app/MainTimer.h"
#include "app/NormalPanelMap.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/MeasureView.h"
#include "app/gui/Navigation.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/CommScheduler.h"
#include "measure/LiveMeasure.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/SoftSet.h"
#include "ui/Panel.h"

namespace {

struct ModelEntry {
  int Code;
  int MenuItem;
};

constexpr ModelEntry kModels[] = {
    {kModelFCT, MENU_MODEL_FCT}, {kModelFCS, MENU_MODEL_FCS}, {kModelFSA, MENU_MODEL_FSA},
    {kModelFSB, MENU_MODEL_FSB}, {kModelFPA, MENU_MODEL_FPA}, {kModelFPB, MENU_MODEL_FPB},
    {kModelGS, MENU_MODEL_GS},   {kModelFL, MENU_MODEL_FL},
};

bool HasPrograms(int model) {
  return model == kModelFPA || model == kModelFPB || model == kModelGS;
}

// The common steps of every Model...Choose.
void ModelChoose(int code, int force, void (*panelDisplay)()) {
  if (gPowerInfo.ModelType == code && force != 1)
    return;
  if (gPowerInfo.Connected == 0) {
    // The outgoing model keeps what was edited for it; the files are read with
    // the new model's rules.
    if (gPowerInfo.ModelType != code)
      AutoSaveModel(gPowerInfo.ModelType);
    gPowerInfo.ModelType = code;
    AutoLoadSetting(code);
  }
  panelDisplay();
  if (HasPrograms(code)) {
    // The program panel in front shows the new model's program.
    if (gCurrentPage >= kPageStep && gCurrentPage <= kPageTHD)
      ProgramPanelInitAndShow(gCurrentPage);
  }
  MainPanelState &state = gPanelState;
  if (IsFCModel(code))
    SetNormalMeasureDisplayGraphFC(state.Measure);
  else
    SetNormalMeasureDisplayGraph(state.Measure);
  DataFromNormalAndSystemVarToPanel(state);
  ClearMeasureGraphAll(state);
  StateToPanel();
}

// The steps of every SetPowerModel...PanelDisplay.
void PanelDisplay(int code) {
  MainPanel *panel = gMainPanel;
  gPowerInfo.ModelType = code;
  for (const ModelEntry &entry : kModels)
    gMainMenu->setChecked(entry.MenuItem, entry.Code == code);
  const bool fc = IsFCModel(code);
  gMainMenu->setDimmed(MENU_SET_VIEW_TEXT, fc);
  MainMenuSetProgramDimmed(HasPrograms(code) ? 0 : 1);
  MainMenuSetTHDDimmed(HasPrograms(code) ? 0 : 1);
  gPanelState.Output.DCOutput.Visible = code == kModelGS;
  gPanelState.Output.DCReading.Visible = code == kModelGS;

  if (fc) {
    SetPowerModelLEDSetMiddle();
  } else {
    SetPowerModelLCDSetMiddle();
    switch (code) {
    case kModelFSA:
    case kModelFSB:
      SetPowerModelFSSetMiddle();
      break;
    case kModelFPA:
    case kModelFPB:
      SetPowerModelFPSetMiddle();
      break;
    case kModelGS:
      SetPowerModelGSSetMiddle();
      break;
    default:
      SetPowerModelFLSetMiddle();
      break;
    }
  }

  if (fc) {
    // The phase and phase/line keys with their lamps serve three phases only.
    const bool dim = code != kModelFCT;
    FCMiddleView &middle = gPanelState.FCMiddle;
    middle.KeyPhase.Dimmed = middle.KeyPhaseLine.Dimmed = dim;
    for (LampView *lamp : {&middle.LampPhase[0], &middle.LampPhase[1], &middle.LampPhase[2],
                           &middle.LampPhaseMode, &middle.LampLineMode})
      lamp->Dimmed = dim;
  }

  QTabWidget *tabs = panel->Tabs;
  const bool wave = HasPrograms(code);
  tabs->setTabVisible(kTabNormal, !fc);
  tabs->setTabVisible(kTabNormalWave, !fc && wave);
  tabs->setTabVisible(kTabNormalAngle, false);
  gPanelState.Angle.Visible = false;
  gPanelState.Separate.Visible = false;
  tabs->setTabVisible(kTabSystem, !fc);
  tabs->setTabVisible(kTabFCNormal, fc);
  tabs->setTabVisible(kTabFCSystem, fc);
  tabs->setTabVisible(kTabSeparate, false);
  if (!fc)
    tabs->setCurrentIndex(kTabNormal);
  else if (tabs->currentIndex() != kTabFCNormal && tabs->currentIndex() != kTabFCSystem)
    tabs->setCurrentIndex(kTabFCNormal);

  if (!fc) {
    const int ring = OutModeRingOf(code);
    for (int r = 0; r < kModeRingCount; ++r)
      gPanelState.Normal.OutMode[r].Visible = r == ring;
    gPanelState.System.UCompensation.Visible = code != kModelFSB && code != kModelFPB;
  }
}

// The three voltage and three frequency knobs of the non-FC families.
void SetKnobs(double freqMax) {
  MainPanel *panel = gMainPanel;
  PhaseMiddleView &middle = gPanelState.PhaseMiddle;
  for (int phase = 0; phase < 3; ++phase) {
    middle.KnobVol[phase] = NumView{220.0, 0.0, 300.0};
    middle.KnobFreq[phase] = NumView{50.0, 45.0, freqMax};
    const QSignalBlocker blockVol(panel->KnobVol[phase]);
    panel->KnobVol[phase]->setDecimals(1);
    panel->KnobVol[phase]->setSingleStep(0.1);
    const QSignalBlocker blockFreq(panel->KnobFreq[phase]);
    panel->KnobFreq[phase]->setDecimals(2);
    panel->KnobFreq[phase]->setSingleStep(0.01);
  }
}

} // namespace

void ModelTypeChoose(int force) {
  switch (gPowerInfo.ModelType) {
  case kModelFCT:
    ModelFCTChoose(force);
    break;
  case kModelFCS:
    ModelFCSChoose(force);
    break;
  case kModelFSB:
    ModelFSBChoose(force);
    break;
  case kModelFPA:
    ModelFPAChoose(force);
    break;
  case kModelFPB:
    ModelFPBChoose(force);
    break;
  case kModelGS:
    ModelGSChoose(force);
    break;
  case kModelFL:
    ModelFLChoose(force);
    break;
  default:
    ModelFSAChoose(force);
    break;
  }
}

void ModelFCTChoose(int force) { ModelChoose(kModelFCT, force, SetPowerModelFCTPanelDisplay); }
void ModelFCSChoose(int force) { ModelChoose(kModelFCS, force, SetPowerModelFCSPanelDisplay); }
void ModelFSAChoose(int force) { ModelChoose(kModelFSA, force, SetPowerModelFSAPanelDisplay); }
void ModelFSBChoose(int force) { ModelChoose(kModelFSB, force, SetPowerModelFSBPanelDisplay); }
void ModelFPAChoose(int force) { ModelChoose(kModelFPA, force, SetPowerModelFPAPanelDisplay); }
void ModelFPBChoose(int force) { ModelChoose(kModelFPB, force, SetPowerModelFPBPanelDisplay); }
void ModelGSChoose(int force) { ModelChoose(kModelGS, force, SetPowerModelGSPanelDisplay); }
void ModelFLChoose(int force) { ModelChoose(kModelFL, force, SetPowerModelFLPanelDisplay); }

void SetPowerModelFCTPanelDisplay() { PanelDisplay(kModelFCT); }
void SetPowerModelFCSPanelDisplay() { PanelDisplay(kModelFCS); }
void SetPowerModelFSAPanelDisplay() { PanelDisplay(kModelFSA); }
void SetPowerModelFSBPanelDisplay() { PanelDisplay(kModelFSB); }
void SetPowerModelFPAPanelDisplay() { PanelDisplay(kModelFPA); }
void SetPowerModelFPBPanelDisplay() { PanelDisplay(kModelFPB); }
void SetPowerModelGSPanelDisplay() { PanelDisplay(kModelGS); }
void SetPowerModelFLPanelDisplay() { PanelDisplay(kModelFL); }

void SetPowerModelLEDSetMiddle() {
  MainPanel *panel = gMainPanel;
  panel->MiddleLCD->hide();
  panel->MiddleFC->show();
  gPanelState.FCMiddle.KnobVol = NumView{220.0, 1.0, 300.0};
  gPanelState.FCMiddle.KnobFreq = NumView{50.0, 45.0, 65.0};
  for (Knob *knob : {panel->KnobVolFC, panel->KnobFreqFC}) {
    const QSignalBlocker block(knob);
    knob->setDecimals(1);
    knob->setSingleStep(0.1);
  }
}

void SetPowerModelLCDSetMiddle() {
  gMainPanel->MiddleFC->hide();
  gMainPanel->MiddleLCD->show();
}

void SetPowerModelFSSetMiddle() { SetKnobs(240.0); }
void SetPowerModelFPSetMiddle() { SetKnobs(240.0); }
void SetPowerModelGSSetMiddle() { SetKnobs(65.0); }
void SetPowerModelFLSetMiddle() { SetKnobs(65.0); }

void MainMenuNormalSaveLoadDimmed(int dim) {
  for (int item : {MENU_FILE_SAVE_ALL, MENU_FILE_LOAD_ALL, MENU_FILE_SAVE_ONE, MENU_FILE_LOAD_ONE})
    gMainMenu->setDimmed(item, dim == 1);
}

void MainMenuSetPowerModelDimmed(int dim) {
  gMainMenu->setDimmed(MENU_MODEL, dim == 1);
  for (const ModelEntry &entry : kModels)
    gMainMenu->setDimmed(entry.MenuItem, dim == 1);
}

void MainMenuSetProgramDimmed(int dim) {
  for (int item : {MENU_PROGRAM, MENU_PROGRAM_STEP, MENU_PROGRAM_LIST, MENU_PROGRAM_RAMP})
    gMainMenu->setDimmed(item, dim == 1);
  gMainMenu->setDimmed(MENU_PROGRAM_CROSS, !(dim != 1 && gPowerInfo.ModelType == kModelGS));
}

void MainMenuSetTHDDimmed(int dim) {
  gMainMenu->setDimmed(MENU_THD, dim == 1);
  gMainMenu->setDimmed(MENU_THD_THD, dim == 1);
}

void SetOCPDefineMax(int limitTenthAmp) {
  const double limit = limitTenthAmp / 10.0;
  for (QDoubleSpinBox *entry : {static_cast<QDoubleSpinBox *>(gMainPanel->NumOCP),
                                static_cast<QDoubleSpinBox *>(gMainPanel->NumOCPFC)}) {
    const QSignalBlocker block(entry);
    entry->setMaximum(limit);
  }
}
