#include "app/gui/MainPanel.h"

#include <QChartView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <vector>

#include "ui/Logo.h"
#include "ui/PhaseGraph.h"
#include "ui/SettingPages.h"
#include "ui/Texts.h"

namespace {

// Mode codes each variant's out-mode selector offers.
const std::array<std::vector<int>, kModeRingCount> kOutModes = {{
    {0, 1, 5},     // FSA
    {0, 1},        // FSB
    {0, 1, 5, 16}, // FPA
    {0, 1, 16},    // FPB
    {0, 16},       // GS
    {0},           // FL: three-phase only
}};

QPushButton *MakeKey(QWidget *parent) {
  auto *key = new QPushButton(parent);
  key->setMinimumSize(104, 30);
  return key;
}

} // namespace

MainPanel::MainPanel(QWidget *parent) : Panel(parent) {
  setObjectName("MainPanel");
  auto *central = new QWidget(this);
  setCentralWidget(central);
  auto *root = new QVBoxLayout(central);
  root->setContentsMargins(5, 4, 5, 4);
  root->setSpacing(4);

  // Top row: logo, connection area, output area.
  auto *top = new QHBoxLayout;
  LogoPicture = new Logo(central);
  Connection = new ConnectionBar(central);
  Output = new OutputArea(central);
  top->addWidget(LogoPicture);
  top->addWidget(Connection);
  top->addWidget(Output, 1);
  root->addLayout(top);

  auto *body = new QHBoxLayout;
  root->addLayout(body, 1);
  auto *left = new QVBoxLayout;
  body->addLayout(left, 0);

  // Middle section, FC family.
  MiddleFC = new QGroupBox(central);
  MiddleFC->setObjectName("MiddleFC");
  {
    auto *grid = new QGridLayout(MiddleFC);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(3);
    KnobVolFC = new Knob(QString(), MiddleFC);
    KnobFreqFC = new Knob(QString(), MiddleFC);
    KnobVolFC->setObjectName("KnobVolFC");
    KnobFreqFC->setObjectName("KnobFreqFC");
    grid->addWidget(KnobVolFC, 0, 0, 4, 1);
    grid->addWidget(KnobFreqFC, 4, 0, 4, 1);
    int row = 0;
    auto addKey = [&](QPushButton *&key, std::initializer_list<Lamp **> lamps) {
      key = MakeKey(MiddleFC);
      grid->addWidget(key, row, 1);
      int column = 2;
      for (Lamp **lamp : lamps) {
        *lamp = new Lamp(QString(), QColor(40, 200, 60), MiddleFC);
        grid->addWidget(*lamp, row, column++);
      }
      ++row;
    };
    addKey(BtFCUVW, {&LampFCPhase[0], &LampFCPhase[1], &LampFCPhase[2]});
    addKey(BtFCPL, {&LampFCPhaseMode, &LampFCLineMode});
    addKey(BtFCAutoHigh, {&LampFCRangeLow, &LampFCRangeHigh});
    addKey(BtFC5060, {&LampFC50, &LampFC60});
    addKey(BtFCM2M4, {&LampFCM2, &LampFCM4});
    addKey(BtFC120220, {&LampFC120, &LampFC220});
    addKey(BtFCUp, {&LampFCUp});
    addKey(BtFCDown, {&LampFCDown});
    grid->setColumnStretch(5, 1);
  }
  left->addWidget(MiddleFC);

  // Middle section, three-phase knobs.
  MiddleLCD = new QGroupBox(central);
  MiddleLCD->setObjectName("MiddleLCD");
  {
    auto *grid = new QGridLayout(MiddleLCD);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(2);
    LabelVolSingle = new QLabel(MiddleLCD);
    LabelVolPhase = new QLabel(MiddleLCD);
    LabelFreqSingle = new QLabel(MiddleLCD);
    LabelFreqPhase = new QLabel(MiddleLCD);
    for (QLabel *label : {LabelVolSingle, LabelVolPhase, LabelFreqSingle, LabelFreqPhase}) {
      label->setWordWrap(true);
      label->setFixedWidth(70);
    }
    grid->addWidget(LabelVolSingle, 0, 0);
    grid->addWidget(LabelVolPhase, 0, 0);
    grid->addWidget(LabelFreqSingle, 1, 0);
    grid->addWidget(LabelFreqPhase, 1, 0);
    LabelVolPhase->hide();
    LabelFreqPhase->hide();
    for (int phase = 0; phase < 3; ++phase) {
      KnobVol[phase] = new Knob(QString(), MiddleLCD);
      KnobFreq[phase] = new Knob(QString(), MiddleLCD);
      KnobVol[phase]->setObjectName(QString("KnobVol%1").arg(QChar("UVW"[phase])));
      KnobFreq[phase]->setObjectName(QString("KnobFreq%1").arg(QChar("UVW"[phase])));
      grid->addWidget(KnobVol[phase], 0, 1 + phase);
      grid->addWidget(KnobFreq[phase], 1, 1 + phase);
    }
  }
  left->addWidget(MiddleLCD);
  MiddleFC->hide();

  // Setting tabs.
  Tabs = new QTabWidget(central);
  Tabs->setObjectName("MainTabs");
  for (int i = 0; i < kTabPageCount; ++i) {
    Page[i] = new QWidget(Tabs);
    Tabs->addTab(Page[i], QString());
  }
  {
    auto *grid = PageGrid(Page[kTabNormal]);
    LabelGroup = new QLabel(Page[kTabNormal]);
    RingGroup = new Ring(Page[kTabNormal]);
    RingGroup->setObjectName("RingGroup");
    for (int g = 0; g < 10; ++g)
      RingGroup->addValue(QString::number(g + 1), g);
    BtGroupChoose = new QPushButton(Page[kTabNormal]);
    LabelOutMode = new QLabel(Page[kTabNormal]);
    auto *modes = new QHBoxLayout;
    modes->setContentsMargins(0, 0, 0, 0);
    for (int r = 0; r < kModeRingCount; ++r) {
      RingOutMode[r] = new Ring(Page[kTabNormal]);
      RingOutMode[r]->setObjectName(QString("RingOutMode%1").arg(r));
      for (int mode : kOutModes[r])
        RingOutMode[r]->addValue(QString(), mode);
      modes->addWidget(RingOutMode[r]);
      RingOutMode[r]->setVisible(r == kModeRingFSA);
    }
    LabelRange = new QLabel(Page[kTabNormal]);
    RingRange12 = new Ring(Page[kTabNormal]);
    RingRange12->addValue(QString(), 1);
    RingRange12->addValue(QString(), 2);
    RingRange23 = new Ring(Page[kTabNormal]);
    RingRange23->addValue(QString(), 2);
    RingRange23->addValue(QString(), 3);
    RingRange12->hide();
    auto *ranges = new QHBoxLayout;
    ranges->setContentsMargins(0, 0, 0, 0);
    ranges->addWidget(RingRange12);
    ranges->addWidget(RingRange23);
    LabelRiseTime = new QLabel(Page[kTabNormal]);
    NumRiseTime = new NumEntry(0.0, 99.9, 1, 0.1, Page[kTabNormal]);
    grid->addWidget(LabelGroup, 0, 0);
    grid->addWidget(RingGroup, 0, 1);
    grid->addWidget(BtGroupChoose, 0, 2);
    grid->addWidget(LabelOutMode, 1, 0);
    grid->addLayout(modes, 1, 1, 1, 2);
    grid->addWidget(LabelRange, 2, 0);
    grid->addLayout(ranges, 2, 1);
    grid->addWidget(LabelRiseTime, 3, 0);
    grid->addWidget(NumRiseTime, 3, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
  }
  {
    WavePage = MakeWavePage(Page[kTabNormalWave], "RingWave");
    LabelWave = WavePage.Label;
    RingWave = WavePage.Rings;
    AnglePage = MakeAnglePage(Page[kTabNormalAngle]);
    LabelAngleUV = AnglePage.LabelUV;
    LabelAngleUW = AnglePage.LabelUW;
    LabelAngleVW = AnglePage.LabelVW;
    NumAngleUV = AnglePage.UV;
    NumAngleUW = AnglePage.UW;
    DispAngleVW = AnglePage.VW;
    BtAngleStandard = AnglePage.Standard;
  }
  {
    auto *grid = PageGrid(Page[kTabSystem]);
    SwUDisMode = new QCheckBox(Page[kTabSystem]);
    SwKeySound = new QCheckBox(Page[kTabSystem]);
    LabelOCP = new QLabel(Page[kTabSystem]);
    NumOCP = new NumEntry(0.0, 999.9, 1, 0.1, Page[kTabSystem]);
    NumOCP->setObjectName("NumOCP");
    LabelUComp = new QLabel(Page[kTabSystem]);
    NumUComp = new NumEntry(0.0, 5.0, 3, 0.001, Page[kTabSystem]);
    NumUComp->setObjectName("NumUComp");
    grid->addWidget(SwUDisMode, 0, 0, 1, 2);
    grid->addWidget(SwKeySound, 1, 0, 1, 2);
    grid->addWidget(LabelOCP, 2, 0);
    grid->addWidget(NumOCP, 2, 1);
    grid->addWidget(LabelUComp, 3, 0);
    grid->addWidget(NumUComp, 3, 1);
    grid->setRowStretch(4, 1);
  }
  {
    auto *grid = PageGrid(Page[kTabFCNormal]);
    LabelGroupFC = new QLabel(Page[kTabFCNormal]);
    RingGroupFC = new Ring(Page[kTabFCNormal]);
    RingGroupFC->setObjectName("RingGroupFC");
    for (int g = 0; g < 7; ++g)
      RingGroupFC->addValue(QString::number(g + 1), g);
    BtGroupChooseFC = new QPushButton(Page[kTabFCNormal]);
    LabelUpPer = new QLabel(Page[kTabFCNormal]);
    LabelDownPer = new QLabel(Page[kTabFCNormal]);
    NumUpPer = new QSpinBox(Page[kTabFCNormal]);
    NumUpPer->setRange(5, 30);
    NumDownPer = new QSpinBox(Page[kTabFCNormal]);
    NumDownPer->setRange(-30, -5);
    for (QSpinBox *box : {NumUpPer, NumDownPer})
      box->setKeyboardTracking(false);
    grid->addWidget(LabelGroupFC, 0, 0);
    grid->addWidget(RingGroupFC, 0, 1);
    grid->addWidget(BtGroupChooseFC, 0, 2);
    grid->addWidget(LabelUpPer, 1, 0);
    grid->addWidget(NumUpPer, 1, 1);
    grid->addWidget(LabelDownPer, 2, 0);
    grid->addWidget(NumDownPer, 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
  }
  {
    auto *grid = PageGrid(Page[kTabFCSystem]);
    LabelOCPFC = new QLabel(Page[kTabFCSystem]);
    NumOCPFC = new NumEntry(0.0, 999.9, 1, 0.1, Page[kTabFCSystem]);
    NumOCPFC->setObjectName("NumOCPFC");
    LabelStartRise = new QLabel(Page[kTabFCSystem]);
    NumStartRise = new NumEntry(0.0, 99.9, 1, 0.1, Page[kTabFCSystem]);
    LabelUCompFC = new QLabel(Page[kTabFCSystem]);
    NumUCompFC = new NumEntry(0.0, 5.0, 3, 0.001, Page[kTabFCSystem]);
    SwKeySoundFC = new QCheckBox(Page[kTabFCSystem]);
    grid->addWidget(LabelOCPFC, 0, 0);
    grid->addWidget(NumOCPFC, 0, 1);
    grid->addWidget(LabelStartRise, 1, 0);
    grid->addWidget(NumStartRise, 1, 1);
    grid->addWidget(LabelUCompFC, 2, 0);
    grid->addWidget(NumUCompFC, 2, 1);
    grid->addWidget(SwKeySoundFC, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
  }
  {
    auto *row = new QHBoxLayout(Page[kTabSeparate]);
    for (int phase = 0; phase < 3; ++phase) {
      SwSeparate[phase] = new QCheckBox(Page[kTabSeparate]);
      SwSeparate[phase]->setObjectName(QString("SwSeparate%1").arg(QChar("UVW"[phase])));
      row->addWidget(SwSeparate[phase]);
    }
    row->addStretch(1);
  }
  Tabs->setMinimumHeight(170);
  left->addWidget(Tabs);

  // Normal-setting graph.
  NormalGraph = MakePhaseGraph(central, 360, -400, 400);
  NormalGraph->setObjectName("NormalGraph");
  NormalGraph->setMinimumHeight(140);
  left->addWidget(NormalGraph, 1);

  // The measurement area moves in here while this panel is in front.
  auto *measureHost = new QWidget(central);
  MeasureSlot = new QVBoxLayout(measureHost);
  MeasureSlot->setContentsMargins(0, 0, 0, 0);
  body->addWidget(measureHost, 1);

  Timer50ms = new QTimer(this);
  Timer50ms->setInterval(50);
  Timer50ms->setTimerType(Qt::PreciseTimer);

  // The settings column keeps its width; the measurement area takes what the
  // window has beyond it. Below this size controls would be clipped.
  for (QWidget *column : std::initializer_list<QWidget *>{MiddleLCD, MiddleFC, Tabs, NormalGraph})
    column->setFixedWidth(470);
  setMinimumSize(1014, 730);
  resize(1014, 730);
  setLayoutTexts(0);
}

void MainPanel::setLayoutTexts(int language) {
  auto t = [language](const char *english, const char *chinese) {
    return Tx(language, english, chinese);
  };
  const std::array<QString, kTabPageCount> captions = {
      t("Normal", "常规设置"),   t("Waveform", "波形设置"),    t("Angles", "相位设置"),
      t("System", "系统设置"),   t("Normal (FC)", "常规设置"), t("System (FC)", "系统设置"),
      t("Separate", "分相输出"),
  };
  for (int i = 0; i < kTabPageCount; ++i)
    Tabs->setTabText(i, captions[i]);

  LabelGroup->setText(t("Group", "组别"));
  LabelGroupFC->setText(t("Group", "组别"));
  BtGroupChoose->setText(t("All groups...", "组列表..."));
  BtGroupChooseFC->setText(t("All groups...", "组列表..."));
  LabelOutMode->setText(t("Output mode", "输出模式"));
  for (int r = 0; r < kModeRingCount; ++r)
    for (int i = 0; i < RingOutMode[r]->count(); ++i)
      RingOutMode[r]->setItemText(i, OutModeText(language, RingOutMode[r]->itemData(i).toInt()));
  LabelRange->setText(t("Voltage range", "电压档位"));
  RingRange12->setItemTexts({t("Low (150 V)", "低档 (150 V)"), t("High (300 V)", "高档 (300 V)")});
  RingRange23->setItemTexts({t("High (300 V)", "高档 (300 V)"), t("High, range 3", "高档 3")});
  LabelRiseTime->setText(t("Rise time (s)", "缓升时间(s)"));
  const char *phases = "UVW";
  SetWavePageTexts(WavePage, language);
  SetAnglePageTexts(AnglePage, language);
  for (int phase = 0; phase < 3; ++phase) {
    SwSeparate[phase]->setText(t("Phase %1 on", "%1 相输出").arg(QChar(phases[phase])));
    KnobVol[phase]->setCaption(QString(QChar(phases[phase])));
    KnobFreq[phase]->setCaption(QString(QChar(phases[phase])));
  }
  LabelVolSingle->setText(t("Voltage (V)", "电压(V)"));
  LabelVolPhase->setText(t("Phase voltages (V)", "各相电压(V)"));
  LabelFreqSingle->setText(t("Frequency (Hz)", "频率(Hz)"));
  LabelFreqPhase->setText(t("Phase frequencies (Hz)", "各相频率(Hz)"));
  SwUDisMode->setText(t("Enter and show line voltage", "线电压设置与显示"));
  SwKeySound->setText(t("Key beep", "按键声音"));
  SwKeySoundFC->setText(t("Key beep", "按键声音"));
  LabelOCP->setText(t("Over-current limit (A)", "过流保护值(A)"));
  LabelOCPFC->setText(t("Over-current limit (A)", "过流保护值(A)"));
  LabelUComp->setText(t("Voltage compensation", "电压补偿"));
  LabelUCompFC->setText(t("Voltage compensation", "电压补偿"));
  LabelStartRise->setText(t("Start rise time (s)", "启动缓升时间(s)"));
  LampFCPhase[0]->setCaption("U");
  LampFCPhase[1]->setCaption("V");
  LampFCPhase[2]->setCaption("W");
  LampFCPhaseMode->setCaption(t("Phase", "相电压"));
  LampFCLineMode->setCaption(t("Line", "线电压"));
  LampFCRangeLow->setCaption(t("Auto", "自动"));
  LampFCRangeHigh->setCaption(t("High", "高档"));
  LampFC50->setCaption("50 Hz");
  LampFC60->setCaption("60 Hz");
  LampFCM2->setCaption("×2");
  LampFCM4->setCaption("×4");
  LampFC120->setCaption("120 V");
  LampFC220->setCaption("220 V");
  LampFCUp->setCaption(t("Up", "升"));
  LampFCDown->setCaption(t("Down", "降"));
}
