// The link of the device verbs: the connection options, the program's own
// connect exchange and scheduler driven by the 50 ms tick on a Qt event loop,
// and view hooks that print on standard error what the program would tell
// the user in a message box (the port that would not open, the link that was
// lost and why, a request that was dropped).
//
// A session works in a temporary directory of its own: a source of another
// model than the one assumed makes the connect exchange save and load the
// auto-save files of the working directory, and a command-line tool must
// neither overwrite the program's files nor leave new ones behind. The folder
// lies in the user's runtime folder (else the system's temporary folder) and
// is named after the process; a session removes the folders of earlier runs
// that were killed before they could. Verbs turn the paths they were given
// into absolute ones before a session starts.
#pragma once

#include "records/ViewHooks.h"
#include "tools/vexactl/Verbs.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QTimer;

// Exit codes of the device verbs.
enum DeviceExit : int {
  kExitOk = 0,
  kExitFailed = 1, // a file, or a request the source refused or did not carry out
  kExitUsage = 2,
  kExitLink = 3, // the link could not be opened or was lost
  // 128 + the signal number: ended by SIGTERM, SIGINT or SIGHUP
  kExitSignalled = 128,
};

// FPA, FPB and GS keep Step, List, Ramp and THD programs; GS also Cross.
bool ModelHasPrograms(int32_t model);
bool ModelHasCross(int32_t model);
// Queues the reads a program panel makes when it opens while connected
// (page kPageStep .. kPageCross): Step always, List, Ramp and Cross only
// when not read since the connect.
void QueueProgramRead(int32_t page);

// "vexactl: <message>" on standard error (line breaks become blanks); returns code.
int DeviceFail(int code, const QString &message);

class DeviceSession : public ViewHooks {
public:
  DeviceSession();
  ~DeviceSession() override; // disconnects and restores the working directory

  DeviceSession(const DeviceSession &) = delete;
  DeviceSession &operator=(const DeviceSession &) = delete;

  // Sets the communication settings and the assumed model from the options.
  // Empty when they are usable, else what is wrong with them.
  QString Configure(const GlobalOptions &global);

  // Opens the port and runs the connect exchange to its end.
  int Connect();
  // Runs the 50 ms tick until done() holds after a tick. kExitOk, or the
  // exit code of what went wrong first: the link was lost, the source
  // refused a write or an output command, a request was dropped, a stop
  // signal arrived that was not yet acknowledged (128 + its number).
  int RunUntil(const std::function<bool()> &done);
  // Runs until no request waits and no frame is in flight.
  int RunUntilIdle();
  // Clicks the main panel's output switch (which writes the current group
  // before output on) unless the output already is as wanted; then the next
  // status reply must show it so.
  int SwitchOutput(bool on);
  void Disconnect();
  // Takes the stop signals that arrived so far as handled: the next run
  // goes on until another one arrives.
  void AcknowledgeStop();

  // Called after every accepted measurement reply.
  std::function<void()> OnMeasureReply;

  // ---- ViewHooks ----
  void MessagePopup(const std::string &title, const std::string &text) override;
  void RefreshOutputState() override;
  void DataFPFromMeasureToPanel() override;
  void DataFCFromMeasureToPanel() override;
  void CommConnectToPanel(int connected) override;
  void CommRequestDropped(const std::string &text) override;
  void CommLinkLost(const std::string &title, const std::string &text) override;
  void CommLinkStatus(const std::string &text) override;
  void CommAskOtherSource(const std::string &title, const std::string &text) override;

private:
  std::optional<int> CheckFailure();
  void MeasureReply();
  QString LinkName() const;

  QString previousDir_;
  QTemporaryDir workDir_;
  QObject timerOwner_;
  QTimer *timer_ = nullptr;
  bool connectShown_ = false;
  bool linkLostTold_ = false;
  int statusReplies_ = 0;
  std::optional<int> failure_;
  int stopsHandled_ = 0;
};
