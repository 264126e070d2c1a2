#include "app/gui/AppMain.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLockFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <array>
#include <memory>

#include "app/MainTimer.h"
#include "app/OutputState.h"
#include "app/StopSignals.h"
#include "app/gui/GuiHooks.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/MeasureView.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/Navigation.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Popups.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/ScreenGrab.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "measure/Database.h"
#include "records/DateTime.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/Language.h"
#include "storage/SoftSet.h"
#include "ui/Dialogs.h"
#include "ui/Logo.h"
#include "ui/Texts.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr const char *kInstanceName = "Kq58ZrSoftOnlyOneInstance";
constexpr int kMinimumWidth = 1024;
constexpr int kMinimumHeight = 768;
constexpr int kLogoSmallest = 5;
constexpr int kPanelTop = 30;
constexpr int kPanelLeft = 5;
constexpr int kChartPointsPerScreen = 600;

std::unique_ptr<QLockFile> hMutex;
bool gInsideTick = false;

// The display of the primary screen changes to 1024 x 768 only where the
// system lets a program do that; elsewhere the question is not asked.
bool CanChangeDisplayMode() {
#ifdef Q_OS_WIN
  return true;
#else
  return false;
#endif
}

void ChangeDisplayTo1024x768() {
#ifdef Q_OS_WIN
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode))
    return;
  mode.dmPelsWidth = kMinimumWidth;
  mode.dmPelsHeight = kMinimumHeight;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
  ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN);
#endif
}

} // namespace

StartOptions ParseStartOptions(const QStringList &arguments) {
  StartOptions options;
  const std::pair<const char *, QString StartOptions::*> valued[] = {
      {"--workdir", &StartOptions::WorkDir},
      {"--open-panel", &StartOptions::OpenPanel},
      {"--load", &StartOptions::LoadFile},
      {"--grab", &StartOptions::GrabFile},
  };
  for (int i = 1; i < arguments.size(); ++i) {
    const QString &argument = arguments[i];
    if (argument == "--start-output")
      options.StartOutput = true;
    for (const auto &[name, field] : valued) {
      const QString prefix = QString(name) + "=";
      if (argument == name && i + 1 < arguments.size())
        options.*field = arguments[++i];
      else if (argument.startsWith(prefix))
        options.*field = argument.mid(prefix.size());
    }
  }
  return options;
}

QString UserFilesFolder(const StartOptions &options) {
  QString folder = options.WorkDir;
  if (folder.isEmpty())
    folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(folder);
  return QDir(folder).absolutePath();
}

QString SingleInstanceLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty())
    folder = QDir::tempPath();
  return QDir(folder).filePath(QString(kInstanceName) + ".lock");
}

bool AcquireSingleInstance() {
  auto lock = std::make_unique<QLockFile>(SingleInstanceLockPath());
  // Held for the whole run: only a dead owner makes the lock stale.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0))
    return false;
  hMutex = std::move(lock);
  return true;
}

void ReleaseSingleInstance() { hMutex.reset(); }

void CheckScreen() {
  const QScreen *screen = QGuiApplication::primaryScreen();
  if (!screen)
    return;
  const QSize size = screen->size();
  if (size.width() >= kMinimumWidth && size.height() >= kMinimumHeight)
    return;
  if (!CanChangeDisplayMode())
    return;
  const int yes = Dialogs().ConfirmPopup(
      Tx("Tip", "提示"),
      Tx("Application run in the minimum resolution 1024 * 768,do you want change the screen "
         "resolution ?",
         "程序运行最小分辨率为1024 * 768,是否改变屏幕分辨率?"));
  if (yes == 1)
    ChangeDisplayTo1024x768();
}

int StartUp(const StartOptions &options) {
  // The user's files live in one folder; the program works in it.
  QDir::setCurrent(UserFilesFolder(options));
  FileReadSoftSet("Set.Dat");

  if (!AcquireSingleInstance()) {
    Dialogs().MessagePopup(Tx("Warning", "警告"),
                           Tx("Application has already opened, please don't open again!",
                              "程序已打开，请不要重复启动!"));
    return -1;
  }
  CheckScreen();
  if (LoadAllPanels() != 0)
    return -1;
  InstallGuiHooks();
  PortSetEventHandler(PortEventCallback);

  CloseLanguage();
  gPowerInfo.LogoAnimate = 1;
  gPowerInfo.OutputRunning = 0;
  gPowerInfo.Connected = 0;
  gCurrentNormalGroup = 0;
  gPowerInfo.GPIBHandle = 0;
  gLogoWidth = Logo::kFullWidth;
  ResetPanelState();
  ResetProgramPanelStates();

  // An unreadable "Measure.mdb" is renamed aside, never lost, and one that
  // cannot be written stores nothing: either way the user is told.
  QString setAside;
  const int opened =
      DatabaseOpenMeasureRecordByName(kMeasureDatabaseFile, gDatabaseInfo, &setAside);
  DateTimeGetNow(gDateTimeLast);
  DateTimeGetNow(gDateTimeNow);
  const int chinese = gPowerInfo.Language == 1 ? 0 : 1;
  if (opened != 0)
    Dialogs().MessagePopup(Tx("Warning", "警告"),
                           DatabaseCannotOpenMessage(kMeasureDatabaseFile, chinese));
  else if (!setAside.isEmpty())
    Dialogs().MessagePopup(Tx("Warning", "警告"), DatabaseSetAsideMessage(setAside, chinese));

  gMainPanel->move(kPanelLeft, kPanelTop);
  gMainPanel->show();
  gMainPanel->Timer50ms->start();

  gPowerInfo.MeasureItemR1 = 0;
  gPowerInfo.MeasureItemR2 = 1;
  gPowerInfo.MeasureItemR3 = 2;
  gPowerInfo.MeasureItemR4 = 3;
  gStepSetDisMode = gListSetDisMode = gRampSetDisMode = gCrossSetDisMode = 1;

  // The panel texts come from the language file of either language (the
  // panels carry no texts of their own).
  if (gPowerInfo.Language == 1)
    SetLanguageEnglish();
  else
    SetLanguageChinese();
  PanelMainLanguageSet();

  SetMeasureGraphSpeed(kChartPointsPerScreen);
  SetNormalMeasureDisplayGraph();
  ModelTypeChoose(1);
  RefreshOutputState(gPanelState);
  StateToPanel();
  CommConnectAtStartUp();
  return 0;
}

void ShutDown() {
  DatabaseClose(gDatabaseInfo); // already closed when the program was left
  RemoveGuiHooks();
  DiscardAllPanels();
  ReleaseSingleInstance();
}

int VexaMain(int argc, char **argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Vexa");
  QApplication::setApplicationName("VexaPowerControl");
  // The desktop entry and the icon installed with the program.
  QApplication::setDesktopFileName("org.vexa.PowerControl");
  QApplication::setWindowIcon(QIcon::fromTheme("org.vexa.PowerControl"));
  // The program ends only through ExitMainPanel; panels come and go.
  QApplication::setQuitOnLastWindowClosed(false);
  QtDialogService dialogs;
  SetDialogs(&dialogs);
  // SIGTERM, SIGINT and SIGHUP leave through the same path as the user
  // closing the main panel: files written, database closed, port closed. A
  // signal that arrives during start-up is carried out once it is done.
  bool started = false;
  bool stopAsked = false;
  InstallStopSignals([&](int) {
    if (stopAsked)
      return;
    stopAsked = true;
    if (started)
      ExitMainPanel();
  });
  const StartOptions options = ParseStartOptions(QApplication::arguments());
  if (StartUp(options) != 0) {
    RemoveStopSignals();
    return -1;
  }
  started = true;
  if (!options.GrabFile.isEmpty() && !StartScreenGrab(options)) {
    RemoveStopSignals();
    return 2;
  }
  if (stopAsked)
    QTimer::singleShot(0, [] { ExitMainPanel(); });
  const int result = QApplication::exec();
  RemoveStopSignals();
  ShutDown();
  SetDialogs(nullptr);
  return result;
}

void ExitMainPanel() {
  gMainPanel->Timer50ms->stop();
  DatabaseClose(gDatabaseInfo);
  AutoSaveSetting();
  if (gPowerInfo.Connected != 0)
    CommConnectDeal(0);
  ReleaseSingleInstance();
  QCoreApplication::quit();
}

void MAIN_PANEL_CALLBACK() { ExitMainPanel(); }

bool InsideTick() { return gInsideTick; }

void TIMER_50MS_CALLBACK() {
  // A popup shown from inside a tick would run the event loop and with it
  // the next tick; the tick never runs inside itself.
  if (gInsideTick)
    return;
  gInsideTick = true;
  MainTimerTick();
  gInsideTick = false;
}

void PortEventCallback(int event) {
  // Handled as a tick is: never inside a tick (the tick itself gathers what
  // has arrived), and a popup it raises waits until it has ended.
  if (gInsideTick)
    return;
  gInsideTick = true;
  CommPortEvent(event);
  gInsideTick = false;
}

namespace {

// The wait popup follows the frames of the exchange; starting counts anew.
void ShowWaitProgress(bool start) {
  static int framesDone = 0;
  static std::array<int32_t, 4> shown{};
  const CommInfo &c = gCommInfo;
  const std::array<int32_t, 4> frame{c.PresentStep, c.PresentCmd1, c.PresentCmd2, c.PresentParam};
  if (start)
    framesDone = 0;
  else if (frame == shown)
    return;
  else
    ++framesDone;
  shown = frame;
  gWaitPanel->showProgress(
      framesDone, CommGroupFrames(c.PresentGroup),
      QString::fromStdString(CommCommandText(c.PresentCmd1, c.PresentCmd2, c.PresentParam)));
}

} // namespace

void TimerTickView(long long tick) {
  if (gWaitPanel)
    ShowWaitProgress(false);
  if (gPowerInfo.LogoAnimate == 1 && tick % 2 == 0)
    SoltoLogoBrimlet();
  // The charts advance only while fresh measurements are expected.
  if (tick % 2 == 0 && gPowerInfo.OutputRunning == 1 && gPowerInfo.Connected == 1)
    AppendMeasureChartPoints();
  if (MeasureAgeTick(gPanelState.Measure))
    MeasureStateToPanel();
  // The preview of the program page in front is redrawn 1 s after the last change.
  if (gRefreshProWaveDelay > 0 && --gRefreshProWaveDelay == 0)
    RefreshProgramGraphOnPanel(gCurrentPage);
}

void ShowWaitPopup(int show) {
  if (show == 1) {
    if (gWaitPanel)
      return;
    gWaitPanel = new WaitPanel(gCurrentPanel);
    PanelWaitLanguageSet();
    // The way out of a long exchange: the link closes as when it is lost,
    // and what the source did not confirm counts as not written.
    gWaitPanel->OnCancel = [] { CommConnectDeal(0); };
    ShowWaitProgress(true);
    gWaitPanel->setWindowModality(Qt::ApplicationModal);
    gWaitPanel->show();
    return;
  }
  if (!gWaitPanel)
    return;
  gWaitPanel->hide();
  gWaitPanel->deleteLater();
  gWaitPanel = nullptr;
}

void DisplayPanelAbout(int show) {
  if (show != 0) {
    if (gAboutPanel)
      return;
    gAboutPanel = new AboutPanel(gCurrentPanel);
    gAboutPanel->Version->setNumber(1.6);
    PanelAboutLanguageSet();
    gAboutPanel->OnOk = [] { BT_ABOUT_OK_CALLBACK(); };
    gAboutPanel->setWindowModality(Qt::ApplicationModal);
    gAboutPanel->show();
    return;
  }
  if (!gAboutPanel)
    return;
  gAboutPanel->hide();
  gAboutPanel->deleteLater();
  gAboutPanel = nullptr;
}

void BT_ABOUT_OK_CALLBACK() { DisplayPanelAbout(0); }

void PIC_SOLTO_LOGO_CALLBACK() { SoltoLogoBrimletChange(); }

void SoltoLogoBrimlet() {
  gLogoWidth += 1;
  if (gLogoWidth > Logo::kFullWidth)
    gLogoWidth = kLogoSmallest;
  for (Logo *logo : AllLogos())
    logo->setLogoWidth(gLogoWidth);
}

void SoltoLogoBrimletChange() {
  if (gPowerInfo.LogoAnimate != 1) {
    gPowerInfo.LogoAnimate = 1;
    gLogoWidth = kLogoSmallest;
    return;
  }
  gPowerInfo.LogoAnimate = 0;
  for (Logo *logo : AllLogos())
    logo->setLogoWidth(Logo::kFullWidth);
}
