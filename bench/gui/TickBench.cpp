// The 50 ms tick of the window program with the output running: the
// measurement readouts refreshed from a reply, one point set appended to the
// four strip charts of each of the five operating panels (600 points per
// screen, three traces each, the charts full), and the panel in front
// repainted. The tick must stay far below its 50 ms so the program never lags
// the source.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <vector>

#include "app/gui/AppMain.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "measure/LiveMeasure.h"
#include "measure/gui/MeasureArea.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "storage/Language.h"
#include "ui/Dialogs.h"

namespace {

constexpr int kPanels = 5;

// No window pops up in a measurement.
class QuietDialogs : public DialogService {
public:
  void MessagePopup(const QString &, const QString &) override {}
  int ConfirmPopup(const QString &, const QString &) override { return 0; }
  int FileSelectPopup(const QString &, const QString &, const QString &, bool, QString &) override {
    return kFileSelectCancelled;
  }
  bool OpenDocument(const QString &) override { return true; }
  void Notify(const QString &, const QString &) override {}
};

// A measurement reply of a three-phase source under load, varying with n.
void FillMeasurements(long long n) {
  const double wobble = std::sin(double(n) * 0.05);
  for (int phase = 0; phase < kMeasurePhases; ++phase) {
    auto set = [&](int quantity, double value) {
      gMeasureOutput.Value[quantity * 3 + phase] = int32_t(std::lround(value));
    };
    set(0, 2300 + 20 * wobble + phase);
    set(1, 48 + 5 * wobble);
    set(2, 5000);
    set(3, 1100 + 100 * wobble);
    set(4, 1150 + 100 * wobble);
    set(5, 957);
    set(6, 1414);
    set(7, 68 + 7 * wobble);
  }
}

class TickFixture : public benchmark::Fixture {
public:
  void SetUp(benchmark::State &) override {
    ResetProgramState();
    SetDialogs(&Dialogs);
    SetLanguageFolder(QStringLiteral(VEXA_BINARY_DIR "/data"));
    StartOptions options;
    options.WorkDir = UserDir.path();
    StartUp(options);
    if (gPowerInfo.Connected == 1)
      CommConnectDeal(0);
    gMainPanel->Timer50ms->stop(); // the benchmark runs the ticks
    MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
    gPowerInfo.OutputRunning = 1;
    // The area of the main panel (shown) and those of the four program
    // panels (hidden behind it), all full.
    Areas.push_back(gMeasureArea);
    for (int p = 1; p < kPanels; ++p)
      Areas.push_back(new MeasureArea(gMainPanel));
    for (int p = 1; p < kPanels; ++p)
      Areas[p]->hide();
    for (MeasureArea *area : Areas)
      for (StripChart *chart : area->Chart)
        chart->setPointsPerScreen(kMeasureChartPoints);
    for (long long n = 0; n < kMeasureChartPoints; ++n)
      Tick(n);
    QCoreApplication::processEvents();
  }
  void TearDown(benchmark::State &) override {
    Areas.clear();
    gPowerInfo.OutputRunning = 0;
    ShutDown();
    SetDialogs(nullptr);
    ResetProgramState();
  }

  // What one tick does while the output runs: the reply's readouts, then the
  // chart step on every panel.
  void Tick(long long n) {
    FillMeasurements(n);
    Hooks().DataFPFromMeasureToPanel();
    MeasurePointSet points{};
    DataFPFromMeasureToGraph(points);
    for (MeasureArea *area : Areas)
      for (int k = 0; k < MeasureArea::kReadouts; ++k)
        area->Chart[k]->appendPoints(points[k][0], points[k][1], points[k][2]);
  }

  QuietDialogs Dialogs;
  QTemporaryDir UserDir;
  std::vector<MeasureArea *> Areas;
};

// The tick's own work (the repaint follows in the event loop).
BENCHMARK_F(TickFixture, ChartTick)(benchmark::State &state) {
  long long n = kMeasureChartPoints;
  for (auto _ : state)
    Tick(n++);
}

// The tick and the repaint of the main panel it causes.
BENCHMARK_F(TickFixture, ChartTickWithRepaint)(benchmark::State &state) {
  long long n = kMeasureChartPoints;
  for (auto _ : state) {
    Tick(n++);
    QCoreApplication::processEvents();
  }
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
