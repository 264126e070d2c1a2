// Start-up, the single running copy, help and the exit path.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>

#include <csignal>

#include "GuiTestSupport.h"
#include "app/gui/AppMain.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Shell.h"
#include "records/Globals.h"

namespace {

using StartUpTest = ShellTest;

TEST_F(StartUpTest, WithoutSetDatStartsAsFsaInChineseWithoutAnyMessage) {
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(gPowerInfo.ModelType, kModelFSA);
  EXPECT_EQ(gMainPanel->windowTitle(), QString::fromUtf8("Vexa 电源控制软件"));
  EXPECT_EQ(gMainMenu->menu(MENU_FILE)->title(), QString::fromUtf8("文件"));
  for (const int item : {MENU_MODEL_FSA, MENU_SET_LANGUAGE_CHINESE, MENU_SET_VIEW_GRAPH})
    EXPECT_TRUE(gMainMenu->isChecked(item)) << item;
  EXPECT_FALSE(gMainMenu->isChecked(MENU_SET_LANGUAGE_ENGLISH));
  EXPECT_TRUE(gMainPanel->isVisible());
  EXPECT_EQ(gMainPanel->pos(), QPoint(5, 30));
  EXPECT_TRUE(gMainPanel->Timer50ms->isActive());
  EXPECT_TRUE(Dialogs_.Messages.empty());
  EXPECT_EQ(QDir::current().absolutePath(), QDir(UserDir->path()).absolutePath());
}

// A second start is refused with the warning in the stored language; the
// first copy keeps running.
TEST_F(StartUpTest, SecondStartIsRefusedWithTheWarningAndTheFirstKeepsRunning) {
  ASSERT_EQ(Start(), 0);
  MainPanel *first = gMainPanel;
  EXPECT_EQ(Start(), -1);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title + Dialogs_.Messages[0].Text,
            QString::fromUtf8("警告程序已打开，请不要重复启动!"));
  EXPECT_EQ(gMainPanel, first);
  EXPECT_TRUE(gMainPanel->isVisible());
  Fresh();
  ASSERT_TRUE(AcquireSingleInstance());
  QFile setDat(UserFile("Set.Dat"));
  ASSERT_TRUE(setDat.open(QIODevice::WriteOnly));
  setDat.write("[FileInfo]\r\nType = 128\r\n\r\n[Value]\r\nLanguage = 1\r\n\r\n");
  setDat.close();
  EXPECT_EQ(Start(), -1);
  ReleaseSingleInstance();
  EXPECT_EQ(gMainPanel, nullptr);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, "Warning");
  EXPECT_EQ(Dialogs_.Messages[0].Text, "Application has already opened, please don't open again!");
}

// A running copy holds the lock. SIGTERM, SIGINT and SIGHUP take the main
// panel's exit path: the auto-save files and "Set.Dat" are written and the
// lock is given back (the lock of a killed copy is the kill test's).
TEST_F(StartUpTest, StopSignalsLeaveThroughTheExitPath) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    QTemporaryDir otherUserDir;
    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", qEnvironmentVariable("XDG_RUNTIME_DIR"));
    other.setProcessEnvironment(environment);
    other.start(BuiltProgram(), {"--workdir", otherUserDir.path()});
    ASSERT_TRUE(other.waitForStarted(5000));
    ASSERT_TRUE(RunUntil(
        [&] {
          return QFileInfo::exists(SingleInstanceLockPath()) &&
                 QFileInfo::exists(QDir(otherUserDir.path()).filePath("Measure.mdb"));
        },
        10000));
    EXPECT_FALSE(AcquireSingleInstance());
    ::kill(static_cast<pid_t>(other.processId()), signal);
    ASSERT_TRUE(other.waitForFinished(10000)) << signal;
    EXPECT_EQ(other.exitStatus(), QProcess::NormalExit) << signal;
    EXPECT_EQ(other.exitCode(), 0) << signal;
    EXPECT_EQ(QDir(otherUserDir.path()).entryList({"Set.Dat", "AutoSave*"}, QDir::Files),
              QStringList({"AutoSaveFSA.FPNorAll", "Set.Dat"}))
        << signal;
    EXPECT_FALSE(QFileInfo::exists(SingleInstanceLockPath())) << signal;
  }
}

// Help opens the document of the language, or says where it is when no
// viewer opens it.
TEST_F(StartUpTest, HelpOpensTheDocumentOfTheLanguage) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_HELP_HELP);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
  MAIN_MENU_ITEM_CALLBACK(MENU_HELP_HELP);
  ASSERT_EQ(Dialogs_.Documents.size(), 2);
  EXPECT_EQ(QFileInfo(Dialogs_.Documents[0]).fileName(), "Vexa_PC_Software_CN.html");
  EXPECT_EQ(QFileInfo(Dialogs_.Documents[1]).fileName(), "Vexa_PC_Software_EN.html");
  for (const QString &document : Dialogs_.Documents)
    EXPECT_TRUE(QFileInfo::exists(document)) << document.toStdString();
  Dialogs_.DocumentsOpen = false;
  MAIN_MENU_ITEM_CALLBACK(MENU_HELP_HELP);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_TRUE(Dialogs_.Messages[0].Text.contains(Dialogs_.Documents[1]));
}

} // namespace
