// Shared set-up of the GUI tests: an offscreen application, dialogs that the
// test answers, a fresh user folder and the program started in it.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "e2e/Powersim.h"
#include "mainpanel/MainPanelTestSupport.h"
#include "records/CommInfo.h"
#include "ui/Dialogs.h"

// Creates the one application object of the test program (offscreen, with a
// private runtime folder for the single-instance lock).
void EnsureApplication();
// The data folder of the built program (language and help files).
QString BuiltDataFolder();
// The built program.
QString BuiltProgram();

struct Message {
  QString Title;
  QString Text;
};

// Dialogs answered by the test: messages are recorded, questions and file
// choices take the queued answers (none left: no / cancel).
class FakeDialogs : public DialogService {
public:
  void MessagePopup(const QString &title, const QString &text) override;
  int ConfirmPopup(const QString &title, const QString &text) override;
  int FileSelectPopup(const QString &defaultDir, const QString &pattern, const QString &title,
                      bool save, QString &path) override;
  bool OpenDocument(const QString &path) override;
  void Notify(const QString &, const QString &) override {} // not waited for, not checked

  std::vector<Message> Messages;
  std::vector<int> ConfirmAnswers;
  std::vector<QString> FileAnswers; // a path, or empty for cancel
  QStringList FilePatterns;         // the pattern of every file dialog shown
  std::vector<bool> FileSaves;      // save or load button of every file dialog
  QStringList Documents;
  bool DocumentsOpen = true; // whether a viewer opens a document
};

class ShellTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override;
  void TearDown() override;

  // Starts the program in the test's user folder; returns StartUp's result.
  // The link the start-up attempt opened is closed unless asked to keep it.
  int Start(bool keepStartUpLink = false);
  // Shuts the program down and clears every state for a new user folder;
  // Restart starts the program there.
  void Fresh();
  void Restart();
  QString UserFile(const QString &name) const;
  // Lets queued events (deferred deletes, posted messages) run.
  static void ProcessEvents();

  FakeDialogs Dialogs_;
  std::unique_ptr<QTemporaryDir> UserDir;
  QString OriginalDir;
};

// Frames of one command powersim has received, by the name its log gives.
int Received(const QString &log, const QString &command);

// Runs the event loop (and with it the program's 50 ms timer) until condition
// holds or milliseconds have passed; whether it held.
bool RunUntil(const std::function<bool()> &condition, int milliseconds);

// The program against a simulated power source (powersim) started by the test.
class SourceTest : public ShellTest {
protected:
  void TearDown() override;

  // Starts powersim with the given arguments; its TCP port, 0 when it did
  // not start.
  int StartSource(const QStringList &arguments);
  QString Control(const QString &line) { return Source->Control(line); }
  // "Set.Dat" naming the model, English and the link to the source: its
  // pseudo-terminal at 38400 Bd when serial, else its TCP endpoint; replies
  // are taken as they come (the table waits are run by the link tests).
  void WriteSetDat(int model, bool serial = false);
  // The connection is shown on the panels.
  static bool ConnectionShown();

  std::unique_ptr<Powersim> Source;
};
