#include "GuiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "app/Globals.h"
#include "app/gui/AppMain.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "storage/Language.h"

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

void FakeDialogs::Notify(const QString &title, const QString &text) {
  Notes.push_back({title, text});
}

bool FakeDialogs::OpenDocument(const QString &path) {
  Documents << path;
  return true;
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
  if (result == 0 && gPowerInfo.Connected == 1 && !keepStartUpLink)
    CommConnectDeal(0);
  return result;
}

QString ShellTest::UserFile(const QString &name) const {
  return QDir(UserDir->path()).filePath(name);
}

QStringList ShellTest::UserFiles() const {
  QStringList files = QDir(UserDir->path()).entryList(QDir::Files, QDir::Name);
  return files;
}

void ShellTest::ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}
