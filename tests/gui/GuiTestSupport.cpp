#include "GuiTestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/gui/AppMain.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "records/Globals.h"
#include "storage/IniFile.h"
#include "storage/Language.h"
#include "ui/Panel.h"

namespace {

int gArgc = 1;
char gArg0[] = "test_gui";
char *gArgv[] = {gArg0, nullptr};

// The offscreen platform says so for every window feature it lacks.
void QuietPlatformMessages(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (text.startsWith("This plugin does not support"))
    return;
  qt_message_output(type, context, text);
}

} // namespace

void EnsureApplication() {
  if (QApplication::instance())
    return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QTemporaryDir runtime;
  QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  qInstallMessageHandler(QuietPlatformMessages);
  // Kept to the very end of the process: destroying it among the static
  // objects would run Qt's clean-up after the SQL driver's own is gone.
  static QApplication *app = new QApplication(gArgc, gArgv);
  (void)app;
}

QString BuiltDataFolder() { return QStringLiteral(VEXA_BINARY_DIR "/data"); }
QString BuiltProgram() { return QStringLiteral(VEXA_BINARY_DIR "/vexa"); }

void FakeDialogs::MessagePopup(const QString &title, const QString &text) {
  Messages.push_back({title, text});
}

int FakeDialogs::ConfirmPopup(const QString &title, const QString &text) {
  Messages.push_back({title, text});
  if (ConfirmAnswers.empty())
    return 0;
  const int answer = ConfirmAnswers.front();
  ConfirmAnswers.erase(ConfirmAnswers.begin());
  return answer;
}

int FakeDialogs::FileSelectPopup(const QString &, const QString &pattern, const QString &,
                                 bool save, QString &path) {
  FilePatterns << pattern;
  FileSaves.push_back(save);
  if (FileAnswers.empty())
    return kFileSelectCancelled;
  const QString answer = FileAnswers.front();
  FileAnswers.erase(FileAnswers.begin());
  if (answer.isEmpty())
    return kFileSelectCancelled;
  path = answer;
  return QFileInfo::exists(answer) ? kFileSelectExisting : kFileSelectNew;
}

bool FakeDialogs::OpenDocument(const QString &path) {
  Documents << path;
  return DocumentsOpen;
}

void ShellTest::SetUp() {
  ResetProgramState();
  OriginalDir = QDir::currentPath();
  UserDir = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(UserDir->isValid());
  SetDialogs(&Dialogs_);
  SetLanguageFolder(BuiltDataFolder());
}

void ShellTest::TearDown() {
  if (gMainPanel)
    ShutDown();
  ProcessEvents();
  SetDialogs(nullptr);
  QDir::setCurrent(OriginalDir);
  SetLanguageFolder(QString());
  ResetProgramState();
}

int ShellTest::Start(bool keepStartUpLink) {
  StartOptions options;
  options.WorkDir = UserDir->path();
  const int result = StartUp(options);
  // Without "Set.Dat" the start-up attempt opens the first serial port, which
  // may exist on the test machine; the tests start from a closed link, as
  // after the user's Disconnect.
  if (result == 0 && !keepStartUpLink)
    CommConnectDeal(0);
  return result;
}

void ShellTest::Fresh() {
  TearDown();
  Dialogs_ = FakeDialogs{};
  SetUp();
}

void ShellTest::Restart() {
  Fresh();
  ASSERT_EQ(Start(), 0);
}

QString ShellTest::UserFile(const QString &name) const {
  return QDir(UserDir->path()).filePath(name);
}

void ShellTest::ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

bool RunUntil(const std::function<bool()> &condition, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

void SourceTest::TearDown() {
  Source.reset();
  ShellTest::TearDown();
}

int SourceTest::StartSource(const QStringList &arguments) {
  Source = std::make_unique<Powersim>(arguments);
  return Source->Ready() ? Source->Endpoint("lan").section(':', 1).toInt() : 0;
}

void SourceTest::WriteSetDat(int model, bool serial) {
  IniFile document;
  document.SetInt("FileInfo", "Type", 128);
  document.SetInt("Value", "LastPowerModel", model);
  document.SetInt("Value", "Language", 1);
  document.SetInt("Value", "SoftwareAddress", 1);
  document.SetInt("Value", "CommReplyPacing", 1);
  if (serial) {
    document.SetInt("Value", "CommType", kCommRS232);
    document.SetInt("Value", "CommTypeRS232Port", 1);
    document.SetInt("Value", "CommTypeRS232Baudrate", 38400);
    document.SetString("Value", "CommTypeRS232Device", Source->Endpoint("serial").toLocal8Bit());
  } else {
    document.SetInt("Value", "CommType", kCommLAN);
    document.SetInt("Value", "CommTypeLAN_IP1", 127);
    document.SetInt("Value", "CommTypeLAN_IP2", 0);
    document.SetInt("Value", "CommTypeLAN_IP3", 0);
    document.SetInt("Value", "CommTypeLAN_IP4", 1);
    document.SetInt("Value", "CommTypeLAN_Port", Source->Endpoint("lan").section(':', 1).toInt());
  }
  ASSERT_EQ(document.SaveFile(UserFile("Set.Dat")), 0);
}

bool SourceTest::ConnectionShown() {
  return gMainPanel->Connection->ModelName->isVisibleTo(gMainPanel);
}

int Received(const QString &log, const QString &command) {
  QFile file(log);
  if (!file.open(QIODevice::ReadOnly))
    return 0;
  int count = 0;
  for (const QString &line : QString::fromLatin1(file.readAll()).split('\n'))
    count += line.contains(" in  ") && line.endsWith("  " + command);
  return count;
}
