#include "programs/gui/ListPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "ui/PhaseGraph.h"
#include "ui/Texts.h"

namespace {

NumEntry *Entry(double minimum, double maximum, int decimals, double step, QWidget *parent) {
  auto *entry = new NumEntry(minimum, maximum, decimals, step, parent);
  entry->setKeyboardTracking(false);
  return entry;
}

} // namespace

ListPanel::ListPanel(ProgramKind kind, QWidget *parent)
    : ProgramPanel(kind, parent), Ends(kind == kProgramRamp ? 2 : 1) {
  QWidget *host = Title->parentWidget();
  const QString name = kind == kProgramRamp ? "Ramp" : "List";
  Tabs = new QTabWidget(host);
  QWidget *header = new QWidget(Tabs);
  QWidget *angles = new QWidget(Tabs);
  Tabs->addTab(header, QString());
  Tabs->addTab(angles, QString());
  {
    QGridLayout *grid = PageGrid(header);
    LabelOutMode = new QLabel(header);
    grid->addWidget(LabelOutMode, 0, 0);
    auto *rings = new QHBoxLayout;
    for (int r = 0; r < kStepRingCount; ++r) {
      RingOutMode[r] = MakeOutModeRing(r, header);
      RingOutMode[r]->setObjectName(QString("%1RingOutMode%2").arg(name).arg(r));
      rings->addWidget(RingOutMode[r]);
    }
    grid->addLayout(rings, 0, 1, 1, 3);
    LabelStartNo = new QLabel(header);
    LabelStopNo = new QLabel(header);
    LabelCircle = new QLabel(header);
    NumStartNo = Entry(0, 99, 0, 1, header);
    NumStopNo = Entry(0, 99, 0, 1, header);
    NumCircleDegree = Entry(1, 999999, 0, 1, header);
    grid->addWidget(LabelStartNo, 1, 0);
    grid->addWidget(NumStartNo, 1, 1);
    grid->addWidget(LabelStopNo, 1, 2);
    grid->addWidget(NumStopNo, 1, 3);
    grid->addWidget(LabelCircle, 2, 0);
    grid->addWidget(NumCircleDegree, 2, 1);
  }
  AnglePage = MakeAnglePage(angles);
  Tabs->setFixedHeight(120);
  Editor->addWidget(Tabs);

  auto *grid = new QGridLayout;
  grid->setVerticalSpacing(2);
  LabelStepNo = new QLabel(host);
  NumStepNo = Entry(0, 99, 0, 1, host);
  NumStepNo->setObjectName(name + "StepNo");
  auto *stepRow = new QHBoxLayout;
  stepRow->addWidget(LabelStepNo);
  stepRow->addWidget(NumStepNo);
  grid->addLayout(stepRow, 0, 0);
  for (int phase = 0; phase < 3; ++phase) {
    Heading[phase] = new QLabel(QString(QChar("UVW"[phase])), host);
    Heading[phase]->setAlignment(Qt::AlignCenter);
    grid->addWidget(Heading[phase], 0, phase + 1);
  }
  FollowU = new QLabel(host);
  FollowU->setAlignment(Qt::AlignCenter);
  FollowU->setStyleSheet("color: rgb(110, 110, 110);");
  grid->addWidget(FollowU, 0, 2, 1, 2);

  int row = 1;
  auto addRow = [&](std::array<NumEntry *, 3> &entries, double minimum, double maximum,
                    int decimals, double step, const QString &object) {
    RowLabel.append(new QLabel(host));
    grid->addWidget(RowLabel.last(), row, 0);
    for (int phase = 0; phase < 3; ++phase) {
      entries[phase] = Entry(minimum, maximum, decimals, step, host);
      entries[phase]->setObjectName(name + object + QChar("UVW"[phase]));
      grid->addWidget(entries[phase], row, phase + 1);
    }
    ++row;
  };
  for (int end = 0; end < Ends; ++end) {
    addRow(Vol[end], 0, 300, 1, 0.1, QString("Vol%1").arg(end));
    // Line-voltage entry takes the place of phase U's voltage.
    NumVolLine[end] = Entry(0, 519.6, 1, 0.1, host);
    NumVolLine[end]->setObjectName(name + QString("VolLine%1").arg(end));
    grid->addWidget(NumVolLine[end], row - 1, 1);
  }
  for (int end = 0; end < Ends; ++end)
    addRow(Freq[end], 45, 240, 2, 0.01, QString("Freq%1").arg(end));
  addRow(TimeH, 0, 99, 0, 1, "TimeH");
  addRow(TimeM, 0, 59, 0, 1, "TimeM");
  addRow(TimeS, 0, 59.98, 2, 0.02, "TimeS");
  RowLabel.append(new QLabel(host));
  grid->addWidget(RowLabel.last(), row, 0);
  for (int phase = 0; phase < 3; ++phase) {
    RingWave[phase] = new Ring(host);
    RingWave[phase]->setObjectName(name + "RingWave" + QChar("UVW"[phase]));
    for (int wave = 0; wave <= 10; ++wave)
      RingWave[phase]->addValue(QString(), wave);
    grid->addWidget(RingWave[phase], row, phase + 1);
  }
  Editor->addLayout(grid);

  for (QLabel *&note : GSNote) {
    note = new QLabel(host);
    note->setStyleSheet("color: rgb(110, 110, 110);");
    Editor->addWidget(note);
  }
  Graph = MakePhaseGraph(host, kListGraphPoints, 0, 300);
  Graph->setObjectName(name + "Graph");
  Graph->setMinimumHeight(120);
  Editor->addWidget(Graph, 1);
  auto *window = new QGridLayout;
  window->setVerticalSpacing(0);
  for (int k = 0; k < kFiveStepSlots; ++k) {
    WindowStep[k] = new QLabel(host);
    WindowTime[k] = new QLabel(host);
    for (QLabel *text : {WindowStep[k], WindowTime[k]})
      text->setAlignment(Qt::AlignCenter);
    window->addWidget(WindowStep[k], 0, k);
    window->addWidget(WindowTime[k], 1, k);
  }
  Editor->addLayout(window);
  setLayoutTexts(0);
}

void ListPanel::setLayoutTexts(int language) {
  auto t = [language](const char *english, const char *chinese) {
    return Tx(language, english, chinese);
  };
  Tabs->setTabText(kListTabHeader, t("Program", "程序设置"));
  Tabs->setTabText(kListTabAngle, t("Angles", "相位设置"));
  LabelOutMode->setText(t("Output mode", "输出模式"));
  for (Ring *ring : RingOutMode)
    SetOutModeRingTexts(ring, language);
  LabelStartNo->setText(t("Start step", "起始步"));
  LabelStopNo->setText(t("Stop step", "结束步"));
  LabelCircle->setText(t("Repeat", "循环次数"));
  SetAnglePageTexts(AnglePage, language);
  LabelStepNo->setText(t("Step", "步号"));
  QStringList rows;
  if (Ends == 2)
    rows = {t("Start voltage (V)", "起始电压(V)"), t("Stop voltage (V)", "结束电压(V)"),
            t("Start freq. (Hz)", "起始频率(Hz)"), t("Stop freq. (Hz)", "结束频率(Hz)")};
  else
    rows = {t("Voltage (V)", "电压(V)"), t("Frequency (Hz)", "频率(Hz)")};
  rows << t("Time: hours", "时间: 时") << t("minutes", "分") << t("seconds", "秒")
       << t("Waveform", "波形");
  for (int row = 0; row < RowLabel.size(); ++row)
    RowLabel[row]->setText(rows.value(row));
  for (Ring *ring : RingWave)
    ring->setItemTexts(WaveTexts(language));
  for (int end = 0; end < Ends; ++end)
    NumVolLine[end]->setToolTip(Ends == 2 ? (end == 0 ? t("Start line voltage (V)", "起始线电压(V)")
                                                      : t("Stop line voltage (V)", "结束线电压(V)"))
                                          : t("Line voltage (V)", "线电压(V)"));
  FollowU->setText(t("V and W run as U", "V、W 相同 U 相"));
  GSNote[0]->setText(t("GS: frequency 45.00 to 65.00 Hz.", "GS：频率 45.00～65.00 Hz。"));
  GSNote[1]->setText(
      t("GS: the three phases share frequency and step times.", "GS：三相共用频率和步进时间。"));
}
