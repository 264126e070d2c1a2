// Entry point, start-up, the 50 ms timer's drawing steps, the logo, the wait
// and About popups and the one exit path.
#pragma once

#include <QString>

struct StartOptions {
  // Folder of the user's files ("Set.Dat", auto-save files, "Measure.mdb");
  // empty: the per-user data folder.
  QString WorkDir;
  // A picture of a panel (ScreenGrab.h): the panel to open once connected
  // (--open-panel NAME), a setting file to load into it (--load FILE),
  // whether to switch the output on (--start-output), and the PNG file the
  // window is saved to before the program ends (--grab FILE).
  QString OpenPanel;
  QString LoadFile;
  bool StartOutput = false;
  QString GrabFile;
};

// Reads the command line (--workdir DIR and the picture options).
StartOptions ParseStartOptions(const QStringList &arguments);
// The program: start-up, event loop, end. Returns 0, or -1 when start-up
// was abandoned.
int VexaMain(int argc, char **argv);
// Start-up up to the event loop (the application object exists). Returns 0,
// or -1 when abandoned (a second copy, a panel that could not be created).
int StartUp(const StartOptions &options);
// Discards the panels after the event loop.
void ShutDown();

// The user's folder chosen by the options (created when missing).
QString UserFilesFolder(const StartOptions &options);

// Single running copy per user: a lock named after the program's instance
// name that a crashed copy cannot leave stuck.
bool AcquireSingleInstance();
void ReleaseSingleInstance();
QString SingleInstanceLockPath();

void CheckScreen();
void ExitMainPanel();
void MAIN_PANEL_CALLBACK();
void TIMER_50MS_CALLBACK();
// The port's events (bytes arrived, connection closed), handled as a tick is.
void PortEventCallback(int event);
// The drawing steps of one tick: logo, live charts, delayed preview redraw.
void TimerTickView(long long tick);
// Shows (1) or removes (0) the wait popup; calls that do not change it do nothing.
void ShowWaitPopup(int show);
void DisplayPanelAbout(int show);
void BT_ABOUT_OK_CALLBACK();
void PIC_SOLTO_LOGO_CALLBACK();
void SoltoLogoBrimlet();
void SoltoLogoBrimletChange();
// 1 while the 50 ms tick runs: modal popups asked for then are deferred.
bool InsideTick();
