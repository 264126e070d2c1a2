// The main (normal-mode) panel: menu bar, logo, connection and output areas,
// the middle section (FC keys and knobs, or the three-phase knobs), the
// setting tabs, the normal-setting graph and the slot of the measurement area.
#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <array>

#include "ui/Controls.h"
#include "ui/Panel.h"
#include "ui/SettingPages.h"

class QChartView;
class QGroupBox;
class QVBoxLayout;
class Logo;

// Pages of the setting tabs, in page order.
enum MainTabPage : int {
  kTabNormal = 0,
  kTabNormalWave = 1,
  kTabNormalAngle = 2,
  kTabSystem = 3,
  kTabFCNormal = 4,
  kTabFCSystem = 5,
  kTabSeparate = 6,
  kTabPageCount = 7,
};

// The out-mode selectors of the normal page, one per variant (FSA and FL share one).
enum OutModeSelector : int {
  kModeRingFSA = 0,
  kModeRingFSB = 1,
  kModeRingFPA = 2,
  kModeRingFPB = 3,
  kModeRingGS = 4,
  kModeRingFL = 5,
  kModeRingCount = 6,
};

class MainPanel : public Panel {
  Q_OBJECT
public:
  explicit MainPanel(QWidget *parent = nullptr);

  // Texts that belong to the layout (tab captions, ring items, fixed labels),
  // in the given language.
  void setLayoutTexts(int language);

  Logo *LogoPicture;
  ConnectionBar *Connection;
  OutputArea *Output;
  QVBoxLayout *MeasureSlot;
  QTimer *Timer50ms;

  // Middle section, FC family: one voltage and one frequency knob and the
  // front-panel keys with their lamps.
  QGroupBox *MiddleFC;
  Knob *KnobVolFC;
  Knob *KnobFreqFC;
  QPushButton *BtFCUVW;
  std::array<Lamp *, 3> LampFCPhase{}; // U, V, W
  QPushButton *BtFCPL;
  Lamp *LampFCPhaseMode;
  Lamp *LampFCLineMode;
  QPushButton *BtFCAutoHigh;
  Lamp *LampFCRangeLow;
  Lamp *LampFCRangeHigh;
  QPushButton *BtFC5060;
  Lamp *LampFC50;
  Lamp *LampFC60;
  QPushButton *BtFCM2M4;
  Lamp *LampFCM2;
  Lamp *LampFCM4;
  QPushButton *BtFC120220;
  Lamp *LampFC120;
  Lamp *LampFC220;
  QPushButton *BtFCUp;
  Lamp *LampFCUp;
  QPushButton *BtFCDown;
  Lamp *LampFCDown;

  // Middle section, other families: a voltage and a frequency knob per phase.
  QGroupBox *MiddleLCD;
  std::array<Knob *, 3> KnobVol{};
  std::array<Knob *, 3> KnobFreq{};
  QLabel *LabelVolSingle; // shown in modes 0 and 5
  QLabel *LabelVolPhase;  // shown in the other modes
  QLabel *LabelFreqSingle;
  QLabel *LabelFreqPhase;

  // Setting tabs.
  QTabWidget *Tabs;
  std::array<QWidget *, kTabPageCount> Page{};
  // normal page
  QLabel *LabelGroup;
  Ring *RingGroup;
  QPushButton *BtGroupChoose;
  QLabel *LabelOutMode;
  std::array<Ring *, kModeRingCount> RingOutMode{};
  QLabel *LabelRange;
  Ring *RingRange12; // codes 1 (low), 2 (high)
  Ring *RingRange23; // codes 2, 3 (both high)
  QLabel *LabelRiseTime;
  NumEntry *NumRiseTime;
  // waveform page
  WavePageControls WavePage;
  AnglePageControls AnglePage;
  std::array<QLabel *, 3> LabelWave{};
  std::array<Ring *, 3> RingWave{};
  // angle page
  QLabel *LabelAngleUV;
  QLabel *LabelAngleUW;
  QLabel *LabelAngleVW;
  NumEntry *NumAngleUV;
  NumEntry *NumAngleUW;
  NumDisplay *DispAngleVW;
  QPushButton *BtAngleStandard;
  // system page
  QCheckBox *SwUDisMode;
  QCheckBox *SwKeySound;
  QLabel *LabelOCP;
  NumEntry *NumOCP;
  QLabel *LabelUComp;
  NumEntry *NumUComp;
  // FC normal page
  QLabel *LabelGroupFC;
  Ring *RingGroupFC;
  QPushButton *BtGroupChooseFC;
  QLabel *LabelUpPer;
  QLabel *LabelDownPer;
  QSpinBox *NumUpPer;
  QSpinBox *NumDownPer; // shown negated
  // FC system page
  QLabel *LabelOCPFC;
  NumEntry *NumOCPFC;
  QLabel *LabelStartRise;
  NumEntry *NumStartRise;
  QLabel *LabelUCompFC;
  NumEntry *NumUCompFC;
  QCheckBox *SwKeySoundFC;
  // separate page
  std::array<QCheckBox *, 3> SwSeparate{};

  // Normal-setting graph (one period of each phase).
  QChartView *NormalGraph;
};
