// The measurement history panel: start date and time, display span and
// quantity for the trend graph, the export items, span, interval, file and
// its progress, clear database; menu bar with exit and help. The decisions
// are the core's (MeasurePanelFunc) on the panel's HistoryPanelState; the
// widgets are copied into it before and out of it after every callback.
#pragma once

#include <QAction>
#include <QTimer>
#include <array>
#include <utility>

#include "measure/MeasurePanelFunc.h"
#include "ui/Panel.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class Logo;
class TrendGraph;

class MeasureDisplayPanel : public Panel {
  Q_OBJECT
public:
  enum MenuItem : int { kMenuExit = 1, kMenuHelp = 2 };

  explicit MeasureDisplayPanel(QWidget *parent = nullptr);
  void setLayoutTexts(int language);
  // What opening the panel does after showing it: the start fields take the
  // current date and time, the axis the display span from there, no plots.
  void showAtNow();
  // Ends an export that is running (its partial file is removed).
  void cancelExport();

  // Widgets to record and back; the record to the graph and the readout.
  void toState();
  void fromState();
  void showTrend();
  void showReadout();

  std::function<void(int)> OnMenuItem;
  HistoryPanelState State;

  QAction *MenuExit;
  QAction *MenuHelp;
  Logo *LogoPicture;
  QLabel *Title;
  QGroupBox *StartBox;
  QLabel *LabelStartDate, *LabelYear, *LabelMonth, *LabelDay;
  QLabel *LabelStartTime, *LabelHour, *LabelMinute, *LabelSecond;
  QSpinBox *Year, *Month, *Day, *Hour, *Minute, *Second;
  QLabel *LabelSpan, *LabelQuantity;
  std::array<QLabel *, 3> SpanUnits;
  QSpinBox *SpanHours, *SpanMinutes, *SpanSeconds;
  Ring *Quantity;
  QPushButton *BtDisplay;
  QPushButton *BtClear;
  QGroupBox *ExportBox;
  std::array<QCheckBox *, kExportItemCount> Items;
  QLabel *LabelExportSpan, *LabelInterval, *LabelFile;
  std::array<QLabel *, 3> ExportUnits;
  QSpinBox *ExportHours, *ExportMinutes, *ExportSeconds, *ExportInterval;
  QLineEdit *FilePath;
  QPushButton *BtChooseFile;
  QCheckBox *Bom;
  QPushButton *BtExport;
  QPushButton *BtExportView;
  QProgressBar *Progress;
  QPushButton *BtCancelExport;
  QGroupBox *GraphBox;
  TrendGraph *Graph;
  QLabel *Readout;
  QLabel *Hint;
  QPushButton *BtResetZoom;

  CsvExportJob Export;
  QTimer ExportTimer; // drives the export's slices from the event loop

private:
  // The spin boxes and the fields of the record they show.
  std::array<std::pair<QSpinBox *, int32_t HistoryPanelState::*>, 13> spinFields() const;
};

// The panel's callbacks.
void BT_DISPLAY_DB_CALLBACK(MeasureDisplayPanel &panel);
void BT_CLEAR_DB_CALLBACK(MeasureDisplayPanel &panel);
void BT_DATA_TO_FILE_CALLBACK(MeasureDisplayPanel &panel);
void BT_MEA_TO_FILE_CALLBACK(MeasureDisplayPanel &panel);
void CB_REPORT_CALLBACK(MeasureDisplayPanel &panel);
void NUM_DATA_LONG_CALLBACK(MeasureDisplayPanel &panel);
void NUM_REPORT_LONG_CALLBACK(MeasureDisplayPanel &panel);
void NUM_DATA_CHOOSE_CHANGE_CALLBACK(MeasureDisplayPanel &panel);
// A new view from the graph (zoom, pan, selection, reset): read and draw it.
void HistoryShowView(MeasureDisplayPanel &panel, const TrendView &view);
// Start-up hook of the screenshots, from VEXA_HISTORY_VIEW =
// "START;SPAN;ZOOM_AT;CURSOR_AT" (times as "YYYY-MM-DD HH:MM:SS", span in
// seconds): Display that range, zoom in one wheel step around ZOOM_AT, put
// the cursor at CURSOR_AT. Does nothing when the variable is not set.
void HistoryApplyViewHook(MeasureDisplayPanel &panel);
