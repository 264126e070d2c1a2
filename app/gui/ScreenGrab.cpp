#include "app/gui/ScreenGrab.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/MainPanelFunc.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/PanelSync.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"
#include "programs/gui/ListPanel.h"
#include "records/Globals.h"
#include "ui/StripChart.h"

namespace {

constexpr int kPollMs = 100;
constexpr int kTimeoutMs = 60000;
// Steps of the Step graph drawn as executed before its picture (of 400),
// points of the List and Ramp graphs (of 1000).
constexpr int kStepProgressShown = 120;
constexpr int kListProgressShown = 300;
// The step in the middle of the List's five-step window.
constexpr int kWindowStep = 3;
// Points of the Cross graph drawn as executed before its picture (of 800).
constexpr int kCrossProgressShown = 240;

struct GrabPanel {
  const char *Name;
  int MenuItem; // the main-menu entry that opens it; 0 for the main panel
  // Loads a setting file into the panel; null when it has no file items.
  int (*Load)(const QString &path);
  // The panel shows what its picture is for (the output is on when asked).
  bool (*Ready)();
};

bool Always() { return true; }
// Readings of the running output on the readouts and a few seconds of chart.
bool MeasuresShown() {
  return gPowerInfo.OutputRunning != 1 ||
         (gMeasureArea->Readout[0][0]->number() > 0 && gMeasureArea->Chart[0]->pointCount() >= 40);
}
bool StepProgressShown() { return gStepPanelState.Graph.Progress >= kStepProgressShown; }
bool CrossProgressShown() { return gCrossPanelState.Graph.Progress >= kCrossProgressShown; }
int LoadCross(const QString &path) { return CrossLoadFile(path, !path.endsWith(".CrossOne")); }
int LoadTHD(const QString &path) { return THDLoadFile(path, !path.endsWith(".THDOne")); }
int LoadList(const QString &path) { return ListLoadFile(kPageList, path, true); }
int LoadRamp(const QString &path) { return ListLoadFile(kPageRamp, path, true); }
bool ListProgressShown() { return gListPanelState.Graph.Progress >= kListProgressShown; }
bool RampProgressShown() { return gRampPanelState.Graph.Progress >= kListProgressShown; }
// The List's five-step window of phase U around a step in the program.
bool ListWindowShown() {
  if (gListSet.CurrentNo != kWindowStep)
    gListPanel->NumStepNo->setValue(kWindowStep);
  if (gListSetDisMode != 5)
    ListMenuItem(kPageList, 12);
  return gListPanelState.Graph.WindowShown;
}

const GrabPanel kPanels[] = {
    {"main", 0, nullptr, MeasuresShown},
    {"step", MENU_PROGRAM_STEP, StepLoadFile, StepProgressShown},
    {"list", MENU_PROGRAM_LIST, LoadList, ListProgressShown},
    {"list-steps", MENU_PROGRAM_LIST, LoadList, ListWindowShown},
    {"ramp", MENU_PROGRAM_RAMP, LoadRamp, RampProgressShown},
    {"cross", MENU_PROGRAM_CROSS, LoadCross, CrossProgressShown},
    {"thd", MENU_THD_THD, LoadTHD, Always},
    {"history", MENU_HISTORY_HISTORY, nullptr, Always},
};

// Connected, nothing queued or in flight, no wait popup.
bool LinkIdle() {
  return gPowerInfo.Connected == 1 && gCommInfo.PresentValid == 0 && gCommNewCmd.Count == 0 &&
         gPowerInfo.WaitPanelShown == 0;
}

enum class Stage { Connect, Open, Load, Settle, Output, Show, Done };

struct Grab {
  StartOptions Options;
  const GrabPanel *Panel = nullptr;
  Stage At = Stage::Connect;
  int Elapsed = 0;
};

void Finish(int code, const char *why) {
  if (why)
    std::fprintf(stderr, "vexa: no picture: %s\n", why);
  // The source is left as it is (the picture may show its output on).
  gMainPanel->Timer50ms->stop();
  QCoreApplication::exit(code);
}

void Step(Grab &g) {
  g.Elapsed += kPollMs;
  if (g.Elapsed > kTimeoutMs)
    return Finish(3, g.At == Stage::Connect ? "no source connected" : "the panel did not settle");
  switch (g.At) {
  case Stage::Connect:
    if (LinkIdle())
      g.At = Stage::Open;
    return;
  case Stage::Open:
    if (g.Panel->MenuItem != 0)
      MAIN_MENU_ITEM_CALLBACK(g.Panel->MenuItem);
    g.At = Stage::Load;
    return;
  case Stage::Load:
    // After what opening the panel read from the source.
    if (!LinkIdle())
      return;
    if (!g.Options.LoadFile.isEmpty() && (!g.Panel->Load || g.Panel->Load(g.Options.LoadFile) != 1))
      return Finish(3, "the file could not be loaded into the panel");
    g.At = Stage::Settle;
    return;
  case Stage::Settle:
    if (!LinkIdle())
      return;
    if (g.Options.StartOutput && gPowerInfo.OutputRunning != 1)
      RunPanelCallback(OutputSwitchClick);
    g.At = Stage::Output;
    return;
  case Stage::Output:
    if (g.Options.StartOutput && gPowerInfo.OutputRunning != 1)
      return;
    if (!g.Panel->Ready())
      return;
    g.At = Stage::Show;
    return;
  case Stage::Show: {
    // The logo stands still at its full width (as after a click on it).
    if (gPowerInfo.LogoAnimate == 1)
      SoltoLogoBrimletChange();
    QWidget *window = gCurrentPanel ? gCurrentPanel : static_cast<QWidget *>(gMainPanel);
    const bool saved = window->grab().save(g.Options.GrabFile, "PNG");
    g.At = Stage::Done;
    return saved ? Finish(0, nullptr) : Finish(3, "the picture could not be written");
  }
  case Stage::Done:
    return;
  }
}

} // namespace

bool StartScreenGrab(const StartOptions &options) {
  const QString name = options.OpenPanel.isEmpty() ? "main" : options.OpenPanel;
  const GrabPanel *panel = nullptr;
  for (const GrabPanel &entry : kPanels)
    if (name == entry.Name)
      panel = &entry;
  if (!panel) {
    QStringList names;
    for (const GrabPanel &entry : kPanels)
      names << entry.Name;
    std::fprintf(stderr, "vexa: unknown panel '%s' (one of: %s)\n", qPrintable(name),
                 qPrintable(names.join(", ")));
    return false;
  }
  auto *timer = new QTimer(gMainPanel);
  auto grab = std::make_shared<Grab>(Grab{options, panel});
  QObject::connect(timer, &QTimer::timeout, timer, [grab, timer] {
    Step(*grab);
    if (grab->At == Stage::Done)
      timer->stop();
  });
  timer->start(kPollMs);
  return true;
}
