#include "programs/gui/CrossPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "ui/PhaseGraph.h"
#include "ui/Texts.h"

namespace {

enum CrossTabPage : int {
  kCrossTabProgram = 0,
  kCrossTabWave = 1,
};

// Times take a fourth decimal so that a typed 0.1506 s reaches the rounding
// to whole ms.
struct ValueFormat {
  double Min, Max;
  int Decimals;
  double Step;
};
constexpr ValueFormat kValueFormats[kCrossValueCount] = {
    {45, 65, 2, 0.01},        {0, 300, 1, 0.1}, {-60, 60, 1, 0.1},
    {0.02, 99.999, 4, 0.001}, {0, 300, 1, 0.1}, {0.02, 99.999, 4, 0.001},
    {0, 99.999, 4, 0.001},    {0, 300, 1, 0.1}, {0.02, 99.999, 4, 0.001},
};

const char *const kStandardNames[kCrossStandardCount] = {"GER", "USA", "ENG", "CHI"};

NumEntry *MakeEntry(double minimum, double maximum, int decimals, double step, QWidget *parent,
                    const QString &name) {
  auto *entry = new NumEntry(minimum, maximum, decimals, step, parent);
  entry->setObjectName(name);
  entry->setKeyboardTracking(false);
  return entry;
}

} // namespace

CrossPanel::CrossPanel(QWidget *parent) : ProgramPanel(kProgramCross, parent) {
  QWidget *host = Title->parentWidget();
  Tabs = new QTabWidget(host);
  QWidget *program = new QWidget(Tabs);
  QWidget *wave = new QWidget(Tabs);
  Tabs->addTab(program, QString());
  Tabs->addTab(wave, QString());
  {
    QGridLayout *grid = PageGrid(program);
    LabelStartNo = new QLabel(program);
    LabelStopNo = new QLabel(program);
    LabelCircleDegree = new QLabel(program);
    LabelStandard = new QLabel(program);
    NumStartNo = MakeEntry(0, 7, 0, 1, program, "CrossStartNo");
    NumStopNo = MakeEntry(0, 7, 0, 1, program, "CrossStopNo");
    NumCircleDegree = MakeEntry(1, 999999, 0, 1, program, "CrossCircleDegree");
    grid->addWidget(LabelStartNo, 0, 0);
    grid->addWidget(NumStartNo, 0, 1);
    grid->addWidget(LabelStopNo, 0, 2);
    grid->addWidget(NumStopNo, 0, 3);
    grid->addWidget(LabelCircleDegree, 0, 4);
    grid->addWidget(NumCircleDegree, 0, 5);
    grid->addWidget(LabelStandard, 1, 0);
    auto *keys = new QHBoxLayout;
    for (int k = 0; k < kCrossStandardCount; ++k) {
      BtStandard[k] = new QPushButton(kStandardNames[k], program);
      BtStandard[k]->setObjectName(QString("CrossStandard") + kStandardNames[k]);
      keys->addWidget(BtStandard[k]);
    }
    grid->addLayout(keys, 1, 1, 1, 5);
  }
  WavePage = MakeWavePage(wave, "CrossRingWave");
  RingWave = WavePage.Rings;
  Tabs->setFixedHeight(110);
  Editor->addWidget(Tabs);

  auto *grid = new QGridLayout;
  grid->setVerticalSpacing(2);
  LabelEntryNo = new QLabel(host);
  NumEntryNo = MakeEntry(0, 7, 0, 1, host, "CrossEntryNo");
  LabelOutChannel = new QLabel(host);
  RingOutChannel = new Ring(host);
  RingOutChannel->setObjectName("CrossRingOutChannel");
  for (int mask = 1; mask <= 7; ++mask)
    RingOutChannel->addValue(QString(), mask);
  grid->addWidget(LabelEntryNo, 0, 0);
  grid->addWidget(NumEntryNo, 0, 1);
  grid->addWidget(LabelOutChannel, 0, 2);
  grid->addWidget(RingOutChannel, 0, 3);
  for (int v = 0; v < kCrossValueCount; ++v) {
    const ValueFormat &f = kValueFormats[v];
    LabelValue[v] = new QLabel(host);
    NumValue[v] = MakeEntry(f.Min, f.Max, f.Decimals, f.Step, host, QString("CrossValue%1").arg(v));
    const int row = 1 + v / 2, column = (v % 2) * 2;
    grid->addWidget(LabelValue[v], row, column);
    grid->addWidget(NumValue[v], row, column + 1);
  }
  Editor->addLayout(grid);

  Graph = MakePhaseGraph(host, kCrossGraphPoints, 0, 300);
  Graph->setObjectName("CrossGraph");
  Graph->setMinimumHeight(150);
  Editor->addWidget(Graph, 1);
  setLayoutTexts(0);
}

void CrossPanel::setLayoutTexts(int language) {
  auto t = [language](const char *english, const char *chinese) {
    return Tx(language, english, chinese);
  };
  Tabs->setTabText(kCrossTabProgram, t("Program", "程序"));
  Tabs->setTabText(kCrossTabWave, t("Waveform", "波形设置"));
  LabelStartNo->setText(t("Start", "起始"));
  LabelStopNo->setText(t("Stop", "结束"));
  LabelCircleDegree->setText(t("Repeat", "循环"));
  LabelStandard->setText(t("Standard", "标准"));
  const QString standardTips[kCrossStandardCount] = {
      t("German profile: 230 V 50 Hz, dip to 0 V for 0.15 s",
        "德国标准：230 V 50 Hz，跌落至 0 V 保持 0.15 s"),
      t("US profile: 120 V 60 Hz, dip to 15 % for 0.625 s",
        "美国标准：120 V 60 Hz，跌落至 15 % 保持 0.625 s"),
      t("British profile: 240 V 50 Hz, dip to 0 V for 0.14 s",
        "英国标准：240 V 50 Hz，跌落至 0 V 保持 0.14 s"),
      t("Chinese profile: 220 V 50 Hz, dip to 20 % for 1 s",
        "中国标准：220 V 50 Hz，跌落至 20 % 保持 1 s"),
  };
  for (int k = 0; k < kCrossStandardCount; ++k)
    BtStandard[k]->setToolTip(standardTips[k]);
  SetWavePageTexts(WavePage, language);
  LabelEntryNo->setText(t("Entry", "序号"));
  LabelOutChannel->setText(t("Phases", "跌落相"));
  const QString masks[7] = {"U", "V", "U+V", "W", "U+W", "V+W", "U+V+W"};
  for (int i = 0; i < 7; ++i)
    RingOutChannel->setItemText(i, masks[i]);
  const QString values[kCrossValueCount] = {
      t("Rated frequency (Hz)", "额定频率(Hz)"), t("Rated voltage (V)", "额定电压(V)"),
      t("Dip angle (°)", "跌落角度(°)"),         t("Rated time (s)", "额定时间(s)"),
      t("Dip voltage (V)", "跌落电压(V)"),       t("Hold time (s)", "保持时间(s)"),
      t("Rise time (s)", "上升时间(s)"),         t("Resume voltage (V)", "恢复电压(V)"),
      t("End time (s)", "结束时间(s)"),
  };
  for (int v = 0; v < kCrossValueCount; ++v)
    LabelValue[v]->setText(values[v]);
}
