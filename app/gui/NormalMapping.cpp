#include "app/gui/NormalMapping.h"

#include <QSignalBlocker>
#include <algorithm>

#include "app/Globals.h"
#include "app/gui/MainPanel.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/Shell.h"

namespace {

template <typename Control> void Show(Control *control, double value) {
  const QSignalBlocker block(control);
  control->setValue(value);
}

void ShowRing(Ring *ring, int value) {
  const QSignalBlocker block(ring);
  ring->setRingValue(value);
}

void ShowCheck(QCheckBox *box, bool on) {
  const QSignalBlocker block(box);
  box->setChecked(on);
}

bool FreqAllowsWave(int freq) { return freq >= 4500 && freq <= 6500; }

// The out-mode selector of the selected variant.
int ModeRingOf(int modelType) {
  switch (modelType) {
  case kModelFSB:
    return kModeRingFSB;
  case kModelFPA:
    return kModeRingFPA;
  case kModelFPB:
    return kModeRingFPB;
  case kModelGS:
    return kModeRingGS;
  default:
    return kModeRingFSA; // FSA and FL
  }
}

} // namespace

int MainPanelBusy() { return gPowerInfo.OutputRunning == 1 || gPowerInfo.Alarming == 1 ? 1 : 0; }

void DataFCFromNormalVarToPanel() {
  MainPanel *panel = gMainPanel;
  const NormalFCSet &group = gNormalFCSet[gCurrentNormalGroup];
  const bool busy = MainPanelBusy() == 1;
  const bool fct = gPowerInfo.ModelType == kModelFCT;

  ShowRing(panel->RingGroupFC, gCurrentNormalGroup);
  panel->RingGroupFC->setEnabled(!busy);
  panel->BtGroupChooseFC->setEnabled(!busy);

  {
    const QSignalBlocker block(panel->KnobVolFC);
    if (fct && gSystemSet.UDisMode == 1 && group.OutMode == 0) {
      panel->KnobVolFC->setRange(1.7, 519.6);
      panel->KnobVolFC->setValue(group.VolLine / 10.0);
    } else {
      panel->KnobVolFC->setRange(1.0, 300.0);
      panel->KnobVolFC->setValue(group.Vol / 10.0);
    }
  }
  {
    const QSignalBlocker block(panel->KnobFreqFC);
    const bool normalFreq = group.Freq < 651;
    panel->KnobFreqFC->setRange(panel->KnobFreqFC->minimum(), normalFreq ? 65.0 : 240.0);
    panel->KnobFreqFC->setValue(group.Freq / 10.0);
    panel->KnobFreqFC->setEnabled(normalFreq && !busy);
  }
  Show(panel->NumUpPer, group.UpUPer);
  Show(panel->NumDownPer, -group.DownUPer);

  if (fct) {
    panel->BtFCUVW->setEnabled(!busy);
    panel->BtFCPL->setEnabled(group.OutMode == 0);
  }
  const bool lampU = fct && (group.OutMode == 0 || group.OutMode == 2);
  const bool lampV = fct && (group.OutMode == 0 || group.OutMode == 3);
  const bool lampW = fct && (group.OutMode == 0 || group.OutMode == 4);
  panel->LampFCPhase[0]->setOn(lampU);
  panel->LampFCPhase[1]->setOn(lampV);
  panel->LampFCPhase[2]->setOn(lampW);
  panel->LampFCRangeLow->setOn(group.VolLevel == 0);
  panel->LampFCRangeHigh->setOn(group.VolLevel != 0);
  panel->LampFC120->setOn(group.Vol == 1200);
  panel->LampFC220->setOn(group.Vol == 2200);
  const int f = group.Freq;
  panel->LampFC50->setOn(f == 500 || f == 1000 || f == 2000);
  panel->LampFC60->setOn(f == 600 || f == 1200 || f == 2400);
  panel->LampFCM2->setOn(f == 1000 || f == 1200);
  panel->LampFCM4->setOn(f == 2000 || f == 2400);
  const bool up = group.Vol == group.VolUp && group.Vol != group.VolBase;
  const bool down =
      group.Vol == group.VolDown && group.Vol != group.VolBase && group.Vol != group.VolUp;
  panel->LampFCUp->setOn(up);
  panel->LampFCDown->setOn(down);
  panel->BtFCUp->setEnabled(busy);
  panel->BtFCDown->setEnabled(busy);
  panel->KnobVolFC->setEnabled(!busy);
  for (QWidget *control :
       std::initializer_list<QWidget *>{panel->BtFCAutoHigh, panel->BtFC5060, panel->BtFCM2M4,
                                        panel->BtFC120220, panel->NumUpPer, panel->NumDownPer})
    control->setEnabled(!busy);
}

void DataFCFromSystemVarToPanel() {
  MainPanel *panel = gMainPanel;
  const bool busy = MainPanelBusy() == 1;
  Show(panel->NumOCPFC, gSystemSet.OCP_Define / 10.0);
  Show(panel->NumStartRise, gSystemSet.StartRise / 10.0);
  Show(panel->NumUCompFC, gSystemSet.UCompensation / 1000.0);
  ShowCheck(panel->SwKeySoundFC, gSystemSet.IfKeySound == 1);
  for (QWidget *control : std::initializer_list<QWidget *>{panel->NumOCPFC, panel->NumStartRise,
                                                           panel->NumUCompFC, panel->SwKeySoundFC})
    control->setEnabled(!busy);
  const NormalFCSet &group = gNormalFCSet[gCurrentNormalGroup];
  const bool shown = gPowerInfo.ModelType == kModelFCT && group.OutMode == 0;
  panel->LampFCLineMode->setOn(shown && gSystemSet.UDisMode == 1);
  panel->LampFCPhaseMode->setOn(shown && gSystemSet.UDisMode != 1);
}

void DataFPFromNormalVarToPanel() {
  MainPanel *panel = gMainPanel;
  const NormalFPSet &group = gNormalFPSet[gCurrentNormalGroup];
  const int model = gPowerInfo.ModelType;
  const bool busy = MainPanelBusy() == 1;
  const int mode = group.OutMode;

  // 1. the variant's out-mode selector
  const int ring = ModeRingOf(model);
  for (int r = 0; r < kModeRingCount; ++r)
    panel->RingOutMode[r]->setVisible(r == ring);
  ShowRing(panel->RingOutMode[ring], mode);

  // 2. range selectors
  const bool lowHigh = model == kModelFSB || model == kModelFPB || mode == 1;
  if (model == kModelGS) {
    panel->RingRange12->hide();
    panel->RingRange23->hide();
    panel->LabelRange->hide();
  } else {
    panel->LabelRange->show();
    panel->RingRange12->setVisible(lowHigh);
    panel->RingRange23->setVisible(!lowHigh);
    ShowRing(lowHigh ? panel->RingRange12 : panel->RingRange23, group.VolLevel);
    ShowRing(lowHigh ? panel->RingRange23 : panel->RingRange12, 2);
  }

  // 3. rise time; rings, rise time and group dimmed while busy
  Show(panel->NumRiseTime, group.RiseTime / 10.0);
  for (QWidget *control : std::initializer_list<QWidget *>{
           panel->RingOutMode[ring], panel->RingRange12, panel->RingRange23, panel->NumRiseTime,
           panel->RingGroup, panel->BtGroupChoose})
    control->setEnabled(!busy);
  ShowRing(panel->RingGroup, gCurrentNormalGroup);

  // 4. waveforms
  const int waves[3] = {group.WaveU, group.WaveV, group.WaveW};
  const int freqs[3] = {group.FreqU, group.FreqV, group.FreqW};
  for (int phase = 0; phase < 3; ++phase) {
    ShowRing(panel->RingWave[phase], waves[phase]);
    bool enabled = FreqAllowsWave(freqs[phase]);
    if (phase > 0)
      enabled = enabled && (mode == 1 || mode == 16);
    if (mode == 1 && (group.OutChannel & (1 << phase)) == 0)
      enabled = false;
    panel->RingWave[phase]->setEnabled(enabled);
  }

  // 5. angle page only in mode 16, separate page only in mode 1
  panel->Tabs->setTabVisible(kTabNormalAngle, mode == 16);
  panel->Tabs->setTabVisible(kTabSeparate, mode == 1);
  Show(panel->NumAngleUV, group.AngleUV / 10.0);
  Show(panel->NumAngleUW, group.AngleUW / 10.0);
  const int vw = group.AngleUW < group.AngleUV ? group.AngleUW - group.AngleUV + 3600
                                               : group.AngleUW - group.AngleUV;
  panel->DispAngleVW->setNumber(vw / 10.0);
  panel->NumAngleUV->setEnabled(!busy);
  panel->NumAngleUW->setEnabled(!busy);
  panel->BtAngleStandard->setEnabled(!busy);

  // 6. labels, second and third phase controls, separate switches
  const bool single = mode == 0 || mode == 5;
  panel->LabelVolSingle->setVisible(single);
  panel->LabelFreqSingle->setVisible(single);
  panel->LabelVolPhase->setVisible(!single);
  panel->LabelFreqPhase->setVisible(!single);
  for (int phase = 1; phase < 3; ++phase) {
    panel->KnobVol[phase]->setEnabled(mode == 1 || mode == 16);
    panel->KnobFreq[phase]->setEnabled(mode == 1);
  }
  panel->KnobVol[0]->setEnabled(true);
  panel->KnobFreq[0]->setEnabled(true);
  if (mode == 1) {
    for (int phase = 0; phase < 3; ++phase) {
      const bool on = (group.OutChannel & (1 << phase)) != 0;
      ShowCheck(panel->SwSeparate[phase], on);
      if (!on) {
        panel->KnobVol[phase]->setEnabled(false);
        panel->KnobFreq[phase]->setEnabled(false);
      }
    }
  }

  // 7. voltage limits and values
  const bool low = group.VolLevel == 1;
  if (mode != 0 || gSystemSet.UDisMode != 1) {
    for (int phase = 0; phase < 3; ++phase) {
      const QSignalBlocker block(panel->KnobVol[phase]);
      panel->KnobVol[phase]->setRange(panel->KnobVol[phase]->minimum(), low ? 150.0 : 300.0);
    }
    Show(panel->KnobVol[0], group.VolU / 10.0);
  } else {
    const QSignalBlocker block(panel->KnobVol[0]);
    panel->KnobVol[0]->setRange(panel->KnobVol[0]->minimum(), low ? 259.8 : 519.6);
    panel->KnobVol[0]->setValue(group.VolLine / 10.0);
  }
  Show(panel->KnobVol[1], group.VolV / 10.0);
  Show(panel->KnobVol[2], group.VolW / 10.0);

  // 8. frequencies
  for (int phase = 0; phase < 3; ++phase)
    Show(panel->KnobFreq[phase], freqs[phase] / 100.0);
}

void DataFPFromSystemVarToPanel() {
  MainPanel *panel = gMainPanel;
  const bool busy = MainPanelBusy() == 1;
  ShowCheck(panel->SwUDisMode, gSystemSet.UDisMode == 1);
  ShowCheck(panel->SwKeySound, gSystemSet.IfKeySound == 1);
  Show(panel->NumOCP, gSystemSet.OCP_Define / 10.0);
  Show(panel->NumUComp, gSystemSet.UCompensation / 1000.0);
  for (QWidget *control : std::initializer_list<QWidget *>{panel->SwUDisMode, panel->SwKeySound,
                                                           panel->NumOCP, panel->NumUComp})
    control->setEnabled(!busy);
}

void ShowNormalAndSystemSettings() {
  if (IsFCModel(gPowerInfo.ModelType)) {
    DataFCFromNormalVarToPanel();
    DataFCFromSystemVarToPanel();
  } else {
    DataFPFromNormalVarToPanel();
    DataFPFromSystemVarToPanel();
  }
}

void RefreshMainPanelFromRecords() {
  ShowNormalAndSystemSettings();
  MainMenuNormalSaveLoadDimmed(MainPanelBusy());
}

void CalFCPowerUpDown(int flag) {
  NormalFCSet &group = gNormalFCSet[gCurrentNormalGroup];
  if (flag == 0) {
    group.VolBase = group.VolUp = group.VolDown = 0;
    return;
  }
  group.VolBase = group.Vol;
  group.VolDown = std::max(10, group.Vol * (100 - group.DownUPer) / 100);
  group.VolUp = std::min(3000, group.Vol * (100 + group.UpUPer) / 100);
}
