// The user's files: Set.Dat and the auto-save files at exit, the File menu's
// refused loads and corrections, the communication settings.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "GuiTestSupport.h"
#include "app/gui/AppMain.h"
#include "app/gui/CommPanel.h"
#include "app/gui/CommSetPanel.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Shell.h"
#include "records/Globals.h"
#include "storage/IniFile.h"

namespace {

void WriteSetDat(const QString &path, int model, int language) {
  IniFile document;
  document.SetInt("FileInfo", "Type", 128);
  document.SetInt("Value", "LastPowerModel", model);
  document.SetInt("Value", "Language", language);
  ASSERT_EQ(document.SaveFile(path), 0);
}

int SetDatValue(const QString &path, const char *key) {
  IniFile document;
  EXPECT_EQ(document.LoadFile(path), 0);
  return document.GetInt("Value", key).value_or(-1);
}

using FilesTest = ShellTest;

// The exit path writes exactly the model's auto-save files and "Set.Dat";
// the next start loads them for the stored model.
TEST_F(FilesTest, ExitWritesTheModelsAutoSaveFilesAndTheNextStartLoadsThem) {
  const std::pair<int, QStringList> models[] = {
      {kModelFCT, {"AutoSaveFCT.FCNorAll"}},
      {kModelGS,
       {"AutoSaveGS.CrossAll", "AutoSaveGS.FPNorAll", "AutoSaveGS.ListAll", "AutoSaveGS.RampAll",
        "AutoSaveGS.StepAll", "AutoSaveGS.THDAll"}}};
  for (const auto &[code, files] : models) {
    SCOPED_TRACE(code);
    Fresh();
    WriteSetDat(UserFile("Set.Dat"), code, 1);
    ASSERT_EQ(Start(), 0);
    EXPECT_EQ(gPowerInfo.ModelType, code);
    gNormalFPSet[5].FreqU = 6000;
    gNormalFCSet[5].Freq = 600;
    QFile::remove(UserFile("Set.Dat"));
    ExitMainPanel();
    EXPECT_EQ(QDir(UserDir->path()).entryList(QDir::Files, QDir::Name), QStringList(files)
                                                                            << "Measure.mdb"
                                                                            << "Set.Dat");
    EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "LastPowerModel"), code);
    EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "Language"), 1);
    ShutDown();
    ResetProgramState();
    ASSERT_EQ(Start(), 0);
    EXPECT_EQ(gPowerInfo.ModelType, code);
    EXPECT_EQ(code == kModelFCT ? gNormalFCSet[5].Freq : gNormalFPSet[5].FreqU / 10, 600);
  }
}

// A load goes ahead only with an existing file its reader accepts; otherwise
// the records stay as they were, nothing is sent and the user is told.
TEST_F(FilesTest, RefusedLoadLeavesTheRecordsAndTellsTheUser) {
  const std::string longName = std::string(270, 'x') + ".FPNorAll";
  const struct {
    int MenuItem;
    std::string File;
    const char *Contents; // written to it before the load unless null
  } cases[] = {
      {MENU_FILE_LOAD_ONE, "missing.FPNorOne", nullptr},
      {MENU_FILE_LOAD_ALL, "x.FPNorAll", "[FileInfo]\r\nType = 81\r\n\r\n"},
      {MENU_FILE_LOAD_ALL, "y.FPNorAll", "[Value]\r\nUDisMode = 1\r\n\r\n"},
      {MENU_FILE_LOAD_ALL, longName, nullptr},
  };
  ASSERT_EQ(Start(), 0);
  gNormalFPSet[0].VolU = 1111;
  gSystemSet.OCP_Define = 77;
  for (const auto &c : cases) {
    const QString path = UserFile(QString::fromStdString(c.File));
    SCOPED_TRACE(c.File);
    if (c.Contents) {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.Contents);
    }
    gPowerInfo.Connected = 1;
    Dialogs_.FileAnswers = {path};
    Dialogs_.Messages.clear();
    MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
    gPowerInfo.Connected = 0;
    EXPECT_EQ(gNormalFPSet[0].VolU, 1111);
    EXPECT_EQ(gSystemSet.OCP_Define, 77);
    ASSERT_EQ(Dialogs_.Messages.size(), 1u);
    EXPECT_EQ(Dialogs_.Messages[0].Title, QString::fromUtf8("警告"));
    EXPECT_TRUE(Dialogs_.Messages[0].Text.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(gCommNewCmd.Count, 0);
  }
}

// A group file fills the current group only. Values the source cannot take:
// the user sees the corrections before anything is written and may keep the
// records as they were.
TEST_F(FilesTest, LoadOfOneGroupShowsTheCorrectionsFirstAndNoKeepsTheRecords) {
  ASSERT_EQ(Start(), 0);
  QFile file(UserFile("x.FPNorOne"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[FileInfo]\r\nType = 81\r\n\r\n[Value]\r\nVolU = 9999\r\nRiseTime = 15\r\n");
  file.close();
  gCurrentNormalGroup = 7;
  gNormalFPSet[7].VolU = 1234;
  gPowerInfo.Connected = 1;
  for (const int answer : {0, 1}) {
    Dialogs_.FileAnswers = {file.fileName()};
    Dialogs_.ConfirmAnswers = {answer};
    MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ONE);
    ASSERT_EQ(Dialogs_.Messages.size(), answer + 1u);
    EXPECT_TRUE(Dialogs_.Messages.back().Text.contains("Value.VolU: 9999 -> 2200\n"));
    EXPECT_EQ(
        (std::array{gNormalFPSet[7].VolU, gNormalFPSet[7].RiseTime, gNormalFPSet[6].RiseTime}),
        (answer ? std::array{2200, 15, 0} : std::array{1234, 0, 0}));
    EXPECT_EQ(gCommNewCmd.Count, answer);
  }
  gPowerInfo.Connected = 0;
}

// Cancel keeps the settings (and forgets the output state of a source no
// longer there); OK takes them and writes "Set.Dat"; while connected they
// are shown, not changed.
TEST_F(FilesTest, CommunicationSettingsOkWritesSetDatAndCancelWritesNothing) {
  ASSERT_EQ(Start(), 0);
  gPowerInfo.OutputRunning = gPowerInfo.Alarming = 1;
  DisplayPanelCommSet(1);
  ASSERT_NE(gCommPanel, nullptr);
  EXPECT_EQ(gCommPanel->windowTitle(), QString::fromUtf8("通讯设置"));
  EXPECT_EQ(gCommPanel->RingBaudrate->ringValue(), 38400);
  for (const bool ok : {false, true}) {
    if (ok)
      DisplayPanelCommSet(1);
    gCommPanel->RingPortType->setRingValue(kCommLAN);
    gCommPanel->NumIP[2]->setValue(7);
    gCommPanel->NumTCPPort->setValue(5025);
    gCommPanel->ComboSerialPort->setEditText("/dev/ttyUSB3");
    (ok ? gCommPanel->BtOk : gCommPanel->BtCancel)->click();
    EXPECT_EQ(gCommPanel, nullptr);
    EXPECT_EQ(gPowerInfo.CommType, ok ? kCommLAN : kCommRS232);
    EXPECT_EQ(QFileInfo::exists(UserFile("Set.Dat")), ok);
  }
  EXPECT_EQ(gPowerInfo.OutputRunning + gPowerInfo.Alarming, 0);
  EXPECT_EQ(gPowerInfo.CommTypeLAN_IP3, 7);
  EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "CommType"), kCommLAN);
  EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "CommTypeLAN_Port"), 5025);

  gPowerInfo.Connected = 1;
  DisplayPanelCommSet(1);
  EXPECT_FALSE(gCommPanel->NumAddress->isEnabled() || gCommPanel->BtOk->isEnabled());
  EXPECT_EQ(gCommPanel->ComboSerialPort->currentText(), "/dev/ttyUSB3");
  gCommPanel->close();
  EXPECT_EQ(gCommPanel, nullptr);
  gPowerInfo.Connected = 0;
}

} // namespace
