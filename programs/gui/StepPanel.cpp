#include "programs/gui/StepPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "ui/PhaseGraph.h"
#include "ui/SettingPages.h"
#include "ui/Texts.h"

namespace {

struct RowFormat {
  double Min, Max;
  int Decimals;
  double Step;
};
// Control formats of the grid rows; the limits of the frequency rows follow
// the model (set from the panel record).
constexpr RowFormat kRowFormats[kStepGridRows] = {
    {0, 300, 1, 0.1}, {-300, 300, 1, 0.1}, {45, 240, 2, 0.01}, {-195, 195, 2, 0.01},
    {0, 9999, 0, 1},  {0, 99, 0, 1},       {0, 59, 0, 1},      {0, 59.98, 2, 0.02},
};

} // namespace

StepPanel::StepPanel(QWidget *parent) : ProgramPanel(kProgramStep, parent) {
  QWidget *host = Title->parentWidget();
  Tabs = new QTabWidget(host);
  QWidget *page[3];
  for (QWidget *&p : page) {
    p = new QWidget(Tabs);
    Tabs->addTab(p, QString());
  }
  {
    auto *row = new QHBoxLayout(page[kStepTabMode]);
    LabelOutMode = new QLabel(page[kStepTabMode]);
    row->addWidget(LabelOutMode);
    for (int r = 0; r < kStepRingCount; ++r) {
      RingOutMode[r] = MakeOutModeRing(r, page[kStepTabMode]);
      RingOutMode[r]->setObjectName(QString("StepRingOutMode%1").arg(r));
      row->addWidget(RingOutMode[r]);
    }
    row->addStretch(1);
  }
  WavePage = MakeWavePage(page[kStepTabWave], "StepRingWave");
  RingWave = WavePage.Rings;
  AnglePage = MakeAnglePage(page[kStepTabAngle]);
  Tabs->setFixedHeight(120);
  Editor->addWidget(Tabs);

  auto *grid = new QGridLayout;
  grid->setVerticalSpacing(2);
  for (int phase = 0; phase < 3; ++phase) {
    Heading[phase] = new QLabel(QString(QChar("UVW"[phase])), host);
    Heading[phase]->setAlignment(Qt::AlignCenter);
    grid->addWidget(Heading[phase], 0, phase + 1);
  }
  for (int row = 0; row < kStepGridRows; ++row) {
    RowLabel[row] = new QLabel(host);
    grid->addWidget(RowLabel[row], row + 1, 0);
    const RowFormat &f = kRowFormats[row];
    for (int phase = 0; phase < 3; ++phase) {
      NumEntry *entry = Grid[row][phase] = new NumEntry(f.Min, f.Max, f.Decimals, f.Step, host);
      entry->setObjectName(QString("StepGrid%1%2").arg(row).arg(QChar("UVW"[phase])));
      entry->setKeyboardTracking(false);
      grid->addWidget(entry, row + 1, phase + 1);
    }
  }
  NumVolLineStart = new NumEntry(0, 519.7, 1, 0.1, host);
  NumVolLineStep = new NumEntry(-519.8, 519.7, 1, 0.1, host);
  for (NumEntry *entry : {NumVolLineStart, NumVolLineStep})
    entry->setKeyboardTracking(false);
  // The line controls take the place of phase U's voltage controls.
  grid->addWidget(NumVolLineStart, kRowVolStart + 1, 1);
  grid->addWidget(NumVolLineStep, kRowVolStep + 1, 1);
  Editor->addLayout(grid);

  for (QLabel *&note : GSNote) {
    note = new QLabel(host);
    note->setStyleSheet("color: rgb(110, 110, 110);");
    Editor->addWidget(note);
  }
  Graph = MakePhaseGraph(host, kStepGraphPoints, 0, 300);
  Graph->setObjectName("StepGraph");
  Graph->setMinimumHeight(150);
  Editor->addWidget(Graph, 1);
  setLayoutTexts(0);
}

void StepPanel::setLayoutTexts(int language) {
  auto t = [language](const char *english, const char *chinese) {
    return Tx(language, english, chinese);
  };
  Tabs->setTabText(kStepTabMode, t("Output mode", "输出模式"));
  Tabs->setTabText(kStepTabWave, t("Waveform", "波形设置"));
  Tabs->setTabText(kStepTabAngle, t("Angles", "相位设置"));
  LabelOutMode->setText(t("Output mode", "输出模式"));
  for (Ring *ring : RingOutMode)
    SetOutModeRingTexts(ring, language);
  SetWavePageTexts(WavePage, language);
  SetAnglePageTexts(AnglePage, language);
  const QString rows[kStepGridRows] = {
      t("Start voltage (V)", "起始电压(V)"),
      t("Voltage step (V)", "电压步进(V)"),
      t("Start frequency (Hz)", "起始频率(Hz)"),
      t("Frequency step (Hz)", "频率步进(Hz)"),
      t("Steps", "步数"),
      t("Step time: hours", "步进时间: 时"),
      t("minutes", "分"),
      t("seconds", "秒"),
  };
  for (int row = 0; row < kStepGridRows; ++row)
    RowLabel[row]->setText(rows[row]);
  NumVolLineStart->setToolTip(t("Start line voltage (V)", "起始线电压(V)"));
  NumVolLineStep->setToolTip(t("Line voltage step (V)", "线电压步进(V)"));
  GSNote[0]->setText(t("GS: start frequency 45.00 to 65.00 Hz, step at most ±20.00 Hz.",
                       "GS：起始频率 45.00～65.00 Hz，频率步进不超过 ±20.00 Hz。"));
  GSNote[1]->setText(t("GS: the three phases share frequency, steps and step times.",
                       "GS：三相共用频率、步数和步进时间。"));
}
