#include "measure/gui/MeasureDisplayPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "measure/gui/TrendGraph.h"
#include "records/Globals.h"
#include "ui/Dialogs.h"
#include "ui/Logo.h"
#include "ui/Texts.h"

namespace {

// Times looked up per slice of an export: a few milliseconds of work, so
// the window and the recording keep running between slices.
constexpr int32_t kExportSlice = 500;
constexpr int kProgressSteps = 1000;

QSpinBox *Spin(int minimum, int maximum, QWidget *parent) {
  auto *box = new QSpinBox(parent);
  box->setRange(minimum, maximum);
  box->setAlignment(Qt::AlignRight);
  return box;
}

// The date-time of seconds, or only its time of day.
QString TimeText(int64_t seconds, bool withDate = true) {
  const QString text = DateTimeText(seconds);
  return withDate ? text : text.right(8);
}

void SetSpin(QSpinBox *box, int value) {
  if (box->value() == value)
    return;
  const QSignalBlocker block(box);
  box->setValue(value);
}

// A row of hours, minutes and seconds.
QHBoxLayout *SpanRow(QSpinBox *h, QSpinBox *m, QSpinBox *s, std::array<QLabel *, 3> &units,
                     QWidget *parent) {
  auto *row = new QHBoxLayout;
  QSpinBox *boxes[] = {h, m, s};
  for (int i = 0; i < 3; ++i) {
    units[static_cast<size_t>(i)] = new QLabel(parent);
    row->addWidget(boxes[i], 1);
    row->addWidget(units[static_cast<size_t>(i)]);
  }
  return row;
}

// Widgets to the record, one step of the core, the record back to the widgets.
template <typename Step> void Synced(MeasureDisplayPanel &panel, Step step) {
  panel.toState();
  step(panel.State);
  panel.fromState();
}

int Chinese() { return gPowerInfo.Language == 1 ? 0 : 1; }

void ExportEnded(MeasureDisplayPanel &panel, int result) {
  panel.ExportTimer.stop();
  panel.State.Exporting = false;
  RefreshExportButton(panel.State);
  panel.fromState();
  Dialogs().MessagePopup(Tx("Tip", "提示"),
                         result == 0 ? Tx("Data export finish!", "数据导出完成!")
                                     : Tx("File open error", "文件读写错误，请检查后再次尝试!"));
}

void ExportSlice(MeasureDisplayPanel &panel) {
  const int more = panel.Export.Step(kExportSlice);
  panel.Progress->setValue(static_cast<int>(panel.Export.Progress() * kProgressSteps));
  if (more == 1)
    return;
  ExportEnded(panel, more == 0 ? panel.Export.Finish() : -1);
}

} // namespace

MeasureDisplayPanel::MeasureDisplayPanel(QWidget *parent) : Panel(parent) {
  setObjectName("MeasureDisplayPanel");
  MenuExit = menuBar()->addAction(QString());
  MenuHelp = menuBar()->addAction(QString());
  connect(MenuExit, &QAction::triggered, this, [this] {
    if (OnMenuItem)
      OnMenuItem(kMenuExit);
  });
  connect(MenuHelp, &QAction::triggered, this, [this] {
    if (OnMenuItem)
      OnMenuItem(kMenuHelp);
  });
  auto *central = new QWidget(this);
  setCentralWidget(central);
  auto *root = new QVBoxLayout(central);
  root->setContentsMargins(5, 4, 5, 4);
  auto *top = new QHBoxLayout;
  LogoPicture = new Logo(central);
  Title = new QLabel(central);
  QFont big = Title->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  Title->setFont(big);
  top->addWidget(LogoPicture);
  top->addSpacing(20);
  top->addWidget(Title);
  top->addStretch(1);
  root->addLayout(top);
  auto *body = new QHBoxLayout;
  root->addLayout(body, 1);
  auto *left = new QVBoxLayout;
  body->addLayout(left);

  // Start, span, quantity, display and clear.
  StartBox = new QGroupBox(central);
  auto *start = new QGridLayout(StartBox);
  LabelStartDate = new QLabel(StartBox);
  LabelStartTime = new QLabel(StartBox);
  Year = Spin(2000, 2135, StartBox);
  Month = Spin(1, 12, StartBox);
  Day = Spin(1, 31, StartBox);
  Hour = Spin(0, 23, StartBox);
  Minute = Spin(0, 59, StartBox);
  Second = Spin(0, 59, StartBox);
  LabelYear = new QLabel(StartBox);
  LabelMonth = new QLabel(StartBox);
  LabelDay = new QLabel(StartBox);
  LabelHour = new QLabel(StartBox);
  LabelMinute = new QLabel(StartBox);
  LabelSecond = new QLabel(StartBox);
  start->addWidget(LabelStartDate, 0, 0, 1, 6);
  QWidget *dateRow[] = {Year, LabelYear, Month, LabelMonth, Day, LabelDay};
  QWidget *timeRow[] = {Hour, LabelHour, Minute, LabelMinute, Second, LabelSecond};
  for (int i = 0; i < 6; ++i) {
    start->addWidget(dateRow[i], 1, i);
    start->addWidget(timeRow[i], 3, i);
  }
  start->addWidget(LabelStartTime, 2, 0, 1, 6);
  LabelSpan = new QLabel(StartBox);
  SpanHours = Spin(0, 99999, StartBox);
  SpanMinutes = Spin(0, 59, StartBox);
  SpanSeconds = Spin(0, 59, StartBox);
  start->addWidget(LabelSpan, 4, 0, 1, 6);
  start->addLayout(SpanRow(SpanHours, SpanMinutes, SpanSeconds, SpanUnits, StartBox), 5, 0, 1, 6);
  LabelQuantity = new QLabel(StartBox);
  Quantity = new Ring(StartBox);
  for (int q = 0; q < kExportItemCount; ++q)
    Quantity->addValue(QString(), q);
  start->addWidget(LabelQuantity, 6, 0, 1, 2);
  start->addWidget(Quantity, 6, 2, 1, 4);
  BtDisplay = new QPushButton(StartBox);
  BtClear = new QPushButton(StartBox);
  auto *keys = new QHBoxLayout;
  keys->addWidget(BtDisplay);
  keys->addWidget(BtClear);
  start->addLayout(keys, 7, 0, 1, 6);
  left->addWidget(StartBox);

  // Export.
  ExportBox = new QGroupBox(central);
  auto *exp = new QGridLayout(ExportBox);
  for (int q = 0; q < kExportItemCount; ++q) {
    Items[static_cast<size_t>(q)] = new QCheckBox(ExportBox);
    exp->addWidget(Items[static_cast<size_t>(q)], q / 2, q % 2);
  }
  LabelExportSpan = new QLabel(ExportBox);
  ExportHours = Spin(0, 99999, ExportBox);
  ExportMinutes = Spin(0, 59, ExportBox);
  ExportSeconds = Spin(0, 59, ExportBox);
  exp->addWidget(LabelExportSpan, 4, 0, 1, 2);
  exp->addLayout(SpanRow(ExportHours, ExportMinutes, ExportSeconds, ExportUnits, ExportBox), 5, 0,
                 1, 2);
  LabelInterval = new QLabel(ExportBox);
  ExportInterval = Spin(1, 86400, ExportBox);
  exp->addWidget(LabelInterval, 6, 0);
  exp->addWidget(ExportInterval, 6, 1);
  LabelFile = new QLabel(ExportBox);
  FilePath = new QLineEdit(ExportBox);
  FilePath->setReadOnly(true);
  BtChooseFile = new QPushButton(ExportBox);
  exp->addWidget(LabelFile, 7, 0);
  exp->addWidget(BtChooseFile, 7, 1);
  exp->addWidget(FilePath, 8, 0, 1, 2);
  Bom = new QCheckBox(ExportBox);
  exp->addWidget(Bom, 9, 0, 1, 2);
  BtExport = new QPushButton(ExportBox);
  BtExportView = new QPushButton(ExportBox);
  exp->addWidget(BtExport, 10, 0);
  exp->addWidget(BtExportView, 10, 1);
  Progress = new QProgressBar(ExportBox);
  Progress->setRange(0, kProgressSteps);
  BtCancelExport = new QPushButton(ExportBox);
  exp->addWidget(Progress, 11, 0);
  exp->addWidget(BtCancelExport, 11, 1);
  left->addWidget(ExportBox);
  left->addStretch(1);
  StartBox->setFixedWidth(330);
  ExportBox->setFixedWidth(330);

  // The graph.
  GraphBox = new QGroupBox(central);
  auto *graph = new QVBoxLayout(GraphBox);
  Graph = new TrendGraph(GraphBox);
  graph->addWidget(Graph, 1);
  Readout = new QLabel(GraphBox);
  Readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Readout->setMinimumHeight(2 * Readout->fontMetrics().height() + 4);
  graph->addWidget(Readout);
  auto *graphKeys = new QHBoxLayout;
  Hint = new QLabel(GraphBox);
  Hint->setStyleSheet("color: rgb(110, 110, 110);");
  BtResetZoom = new QPushButton(GraphBox);
  graphKeys->addWidget(Hint, 1);
  graphKeys->addWidget(BtResetZoom);
  graph->addLayout(graphKeys);
  body->addWidget(GraphBox, 1);

  MeasureDisplayPanel &self = *this;
  connect(BtDisplay, &QPushButton::clicked, this, [&self] { BT_DISPLAY_DB_CALLBACK(self); });
  connect(BtClear, &QPushButton::clicked, this, [&self] { BT_CLEAR_DB_CALLBACK(self); });
  connect(BtChooseFile, &QPushButton::clicked, this, [&self] { BT_DATA_TO_FILE_CALLBACK(self); });
  connect(BtExport, &QPushButton::clicked, this, [&self] { BT_MEA_TO_FILE_CALLBACK(self); });
  connect(BtExportView, &QPushButton::clicked, this, [&self] {
    self.toState();
    HistoryTakeViewForExport(self.State);
    self.fromState();
    BT_MEA_TO_FILE_CALLBACK(self);
  });
  connect(BtCancelExport, &QPushButton::clicked, this, [&self] { self.cancelExport(); });
  for (QCheckBox *box : Items)
    connect(box, &QCheckBox::toggled, this, [&self] { CB_REPORT_CALLBACK(self); });
  for (QSpinBox *box : {SpanHours, SpanMinutes, SpanSeconds})
    connect(box, &QSpinBox::valueChanged, this, [&self] { NUM_DATA_LONG_CALLBACK(self); });
  for (QSpinBox *box : {ExportHours, ExportMinutes, ExportSeconds})
    connect(box, &QSpinBox::valueChanged, this, [&self] { NUM_REPORT_LONG_CALLBACK(self); });
  for (QSpinBox *box : {Year, Month, Day})
    connect(box, &QSpinBox::valueChanged, this, [&self] { NUM_DATA_CHOOSE_CHANGE_CALLBACK(self); });
  // A new quantity is drawn at once over the range on the graph.
  connect(Quantity, &QComboBox::currentIndexChanged, this, [&self] {
    self.toState();
    HistoryShowView(self, self.State.View);
  });
  connect(Graph, &TrendGraph::viewRequested, this,
          [&self](const TrendView &view) { HistoryShowView(self, view); });
  connect(Graph, &TrendGraph::resetRequested, this,
          [&self] { HistoryShowView(self, self.State.Chosen); });
  connect(BtResetZoom, &QPushButton::clicked, this,
          [&self] { HistoryShowView(self, self.State.Chosen); });
  connect(Graph, &TrendGraph::cursorMoved, this, [&self] { self.showReadout(); });
  connect(&ExportTimer, &QTimer::timeout, this, [&self] { ExportSlice(self); });
  ExportTimer.setInterval(0);

  resize(1014, 730);
  fromState();
  setLayoutTexts(0);
}

void MeasureDisplayPanel::setLayoutTexts(int language) {
  BtExportView->setText(Tx(language, "Export the view", "导出当前视图"));
  BtExportView->setToolTip(Tx(language,
                              "Export the range the graph shows: the start and the export span "
                              "are taken from the view",
                              "导出曲线当前显示的时间段：起始时间和导出时长取自当前视图"));
  Bom->setText(Tx(language, "UTF-8 byte-order mark (for spreadsheets)",
                  "UTF-8 字节序标记（便于电子表格识别）"));
  BtCancelExport->setText(Tx(language, "Cancel", "取消"));
  BtResetZoom->setText(Tx(language, "Chosen span (Home)", "返回所选时长 (Home)"));
  Hint->setText(Tx(language, "Wheel: zoom   Drag: pan   Right drag: select a range",
                   "滚轮：缩放   拖动：平移   右键拖动：选择时间段"));
  showReadout();
}

std::array<std::pair<QSpinBox *, int32_t HistoryPanelState::*>, 13>
MeasureDisplayPanel::spinFields() const {
  return {{{Year, &HistoryPanelState::Year},
           {Month, &HistoryPanelState::Month},
           {Day, &HistoryPanelState::Day},
           {Hour, &HistoryPanelState::Hour},
           {Minute, &HistoryPanelState::Minute},
           {Second, &HistoryPanelState::Second},
           {SpanHours, &HistoryPanelState::SpanHours},
           {SpanMinutes, &HistoryPanelState::SpanMinutes},
           {SpanSeconds, &HistoryPanelState::SpanSeconds},
           {ExportHours, &HistoryPanelState::ExportHours},
           {ExportMinutes, &HistoryPanelState::ExportMinutes},
           {ExportSeconds, &HistoryPanelState::ExportSeconds},
           {ExportInterval, &HistoryPanelState::ExportInterval}}};
}

void MeasureDisplayPanel::toState() {
  HistoryPanelState &s = State;
  for (const auto &[box, field] : spinFields())
    s.*field = box->value();
  s.Quantity = Quantity->ringValue();
  for (size_t q = 0; q < Items.size(); ++q)
    s.ExportItem[q] = Items[q]->isChecked() ? 1 : 0;
  s.Bom = Bom->isChecked();
}

void MeasureDisplayPanel::fromState() {
  const HistoryPanelState &s = State;
  for (const auto &[box, field] : spinFields())
    SetSpin(box, s.*field);
  {
    const QSignalBlocker block(Quantity);
    Quantity->setRingValue(s.Quantity);
  }
  for (size_t q = 0; q < Items.size(); ++q) {
    const QSignalBlocker block(Items[q]);
    Items[q]->setChecked(s.ExportItem[q] != 0);
  }
  Bom->setChecked(s.Bom);
  FilePath->setText(s.ExportPath);
  BtExport->setEnabled(!s.ExportDimmed);
  BtExportView->setEnabled(!s.ExportDimmed);
  for (QWidget *w : std::initializer_list<QWidget *>{BtClear, BtChooseFile})
    w->setEnabled(!s.Exporting);
  Progress->setVisible(s.Exporting);
  BtCancelExport->setVisible(s.Exporting);
}

void MeasureDisplayPanel::showTrend() {
  Graph->setTrend(State.View, State.Buckets, MeasurePrecision[static_cast<size_t>(State.Quantity)]);
  showReadout();
}

void MeasureDisplayPanel::showReadout() {
  const int language = gPowerInfo.Language;
  const TrendView &view = State.View;
  const int32_t i = TrendBucketAt(view, Graph->cursorTime());
  if (i < 0 || static_cast<size_t>(i) >= State.Buckets.size()) {
    Readout->setText(Tx(language, "Move the pointer over the graph to read the values.",
                        "将鼠标移到曲线上可读取数值。"));
    return;
  }
  const int64_t from = TrendBucketStart(view, i);
  const int64_t to = TrendBucketStart(view, i + 1) - 1;
  QString text = TimeText(from);
  if (to > from)
    text += QString::fromUtf8(" – ") + TimeText(to, to - from < 86400);
  const TrendBucket &b = State.Buckets[static_cast<size_t>(i)];
  if (b.Rows == 0) {
    Readout->setText(text + "\n" + Tx(language, "no record", "无记录"));
    return;
  }
  const int decimals = MeasurePrecision[static_cast<size_t>(State.Quantity)];
  text += "   " + Tx(language, "min / mean / max", "最小 / 平均 / 最大") + "\n";
  const char *const phases[] = {"U", "V", "W"};
  for (int p = 0; p < kMeasurePhases; ++p)
    text += QString("%1  %2 / %3 / %4      ")
                .arg(phases[p])
                .arg(b.Min[p], 0, 'f', decimals)
                .arg(b.Mean[p], 0, 'f', decimals + 1)
                .arg(b.Max[p], 0, 'f', decimals);
  Readout->setText(text.trimmed());
}

void MeasureDisplayPanel::showAtNow() {
  cancelExport();
  DateTime now{};
  DateTimeGetNow(now);
  toState();
  UpdataChooseDataTime(State, now);
  State.Bom = Chinese() == 1;
  const DateTime start = CorrectChooseYearMonthDay(State);
  State.Chosen = TrendViewOfSpan(DateTimeSeconds(start), GetDataChooseLongSecond(State));
  State.View = State.Chosen;
  State.Buckets.clear();
  Graph->setCursorTime(-1);
  RefreshExportButton(State);
  fromState();
  showTrend();
}

void MeasureDisplayPanel::cancelExport() {
  Export.Cancel();
  ExportTimer.stop();
  State.Exporting = false;
  RefreshExportButton(State);
  fromState();
}

void BT_DISPLAY_DB_CALLBACK(MeasureDisplayPanel &panel) {
  panel.toState();
  HistoryDisplay(panel.State, gDatabaseInfo);
  panel.fromState();
  panel.showTrend();
}

void HistoryShowView(MeasureDisplayPanel &panel, const TrendView &view) {
  panel.State.View = view;
  HistoryReadView(panel.State, gDatabaseInfo);
  panel.showTrend();
}

void BT_CLEAR_DB_CALLBACK(MeasureDisplayPanel &panel) {
  if (Dialogs().ConfirmPopup(Tx("Warning", "警告"),
                             Tx("Database clear will delete all measure record",
                                "清除数据库将删除所有历史测量记录")) != 1)
    return;
  if (HistoryClearDatabase(gDatabaseInfo, kMeasureDatabaseFile) != 0)
    Dialogs().MessagePopup(Tx("Warning", "警告"),
                           Tx("The measurement database is in use by another program and was "
                              "not cleared. Close that program and try again.",
                              "测量数据库正被其他程序使用，未能清除。请关闭该程序后重试。"));
  HistoryShowView(panel, panel.State.View);
}

void BT_DATA_TO_FILE_CALLBACK(MeasureDisplayPanel &panel) {
  QString path;
  if (Dialogs().FileSelectPopup(QString(), "*.csv", QString(), true, path) == kFileSelectCancelled)
    return;
  panel.toState();
  panel.State.ExportPath = path;
  panel.State.FileChosen = 1;
  RefreshExportButton(panel.State);
  panel.fromState();
}

void BT_MEA_TO_FILE_CALLBACK(MeasureDisplayPanel &panel) {
  panel.toState();
  HistoryPanelState &s = panel.State;
  RefreshExportButton(s);
  if (s.ExportDimmed)
    return;
  const DateTime start = CorrectChooseYearMonthDay(s);
  const int32_t duration = GetDataExportLongSecond(s);
  if (panel.Export.Begin(s.ExportPath, s.ExportItem, gDatabaseInfo, start, duration,
                         s.ExportInterval, Chinese(), s.Bom) != 0) {
    ExportEnded(panel, -1);
    return;
  }
  s.Exporting = true;
  RefreshExportButton(s);
  panel.Progress->setValue(0);
  panel.fromState();
  panel.ExportTimer.start();
}

void CB_REPORT_CALLBACK(MeasureDisplayPanel &panel) { Synced(panel, RefreshExportButton); }

void NUM_DATA_LONG_CALLBACK(MeasureDisplayPanel &panel) { Synced(panel, GetDataChooseLongSecond); }

void NUM_REPORT_LONG_CALLBACK(MeasureDisplayPanel &panel) {
  Synced(panel, GetDataExportLongSecond);
}

void NUM_DATA_CHOOSE_CHANGE_CALLBACK(MeasureDisplayPanel &panel) {
  Synced(panel, CorrectChooseYearMonthDay);
}

void HistoryApplyViewHook(MeasureDisplayPanel &panel) {
  const QStringList parts = qEnvironmentVariable("VEXA_HISTORY_VIEW").split(';');
  DateTime start{}, zoomAt{}, cursorAt{};
  if (parts.size() != 4 || !DateTimeFromText(parts[0], start) ||
      !DateTimeFromText(parts[2], zoomAt) || !DateTimeFromText(parts[3], cursorAt))
    return;
  panel.toState();
  UpdataChooseDataTime(panel.State, start);
  const int span = parts[1].toInt();
  panel.State.SpanHours = span / 3600;
  panel.State.SpanMinutes = span / 60 % 60;
  panel.State.SpanSeconds = span % 60;
  panel.fromState();
  BT_DISPLAY_DB_CALLBACK(panel);
  panel.Graph->setCursorTime(static_cast<double>(DateTimeSeconds(cursorAt)));
  HistoryShowView(panel, TrendZoom(panel.State.View, static_cast<double>(DateTimeSeconds(zoomAt)),
                                   kTrendWheelZoom));
}
