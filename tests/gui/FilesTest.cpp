// The user's files: Set.Dat and the auto-save files at exit and on a change
// of model, the File menu's load and save, the communication settings.
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
#include "measure/Database.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"
#include "storage/SoftSet.h"

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

struct ExitCase {
  const char *Name;
  int Code;
};

const ExitCase kExitCases[] = {{"FCT", kModelFCT}, {"FCS", kModelFCS}, {"FSA", kModelFSA},
                               {"FSB", kModelFSB}, {"FPA", kModelFPA}, {"FPB", kModelFPB},
                               {"GS", kModelGS},   {"FL", kModelFL}};

class ExitFilesTest : public ShellTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitFilesTest, ExitWritesExactlyTheModelsAutoSaveFilesAndSetDat) {
  const int code = GetParam().Code;
  WriteSetDat(UserFile("Set.Dat"), code, 1);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(gPowerInfo.ModelType, code);
  const QStringList before = UserFiles();
  QFile::remove(UserFile("Set.Dat"));
  ExitMainPanel();
  QStringList expected = AutoSaveFileNames(code);
  expected << "Set.Dat";
  for (const QString &name : before)
    if (name != "Set.Dat")
      expected << name; // what start-up created (the measurement database)
  expected.sort();
  EXPECT_EQ(UserFiles(), expected);
  EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "LastPowerModel"), code);
  EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "Language"), 1);
}

INSTANTIATE_TEST_SUITE_P(AllModels, ExitFilesTest, ::testing::ValuesIn(kExitCases),
                         [](const auto &info) { return std::string(info.param.Name); });

using FilesTest = ShellTest;

TEST_F(FilesTest, ChangingTheModelKeepsTheOutgoingModelsEdits) {
  ASSERT_EQ(Start(), 0);
  ASSERT_EQ(gPowerInfo.ModelType, kModelFSA);
  EXPECT_EQ(gNormalFPSet[0].VolU, 2200); // defaults without auto-save files
  gNormalFPSet[0].VolU = 1234;
  gNormalFPSet[0].VolLine = 2137;
  gCurrentNormalGroup = 2;
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  EXPECT_TRUE(QFileInfo::exists(UserFile("AutoSaveFSA.FPNorAll")));
  EXPECT_EQ(gNormalFPSet[0].VolU, 2200);
  EXPECT_EQ(gCurrentNormalGroup, 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FSA);
  EXPECT_EQ(gNormalFPSet[0].VolU, 1234);
  EXPECT_DOUBLE_EQ(gMainPanel->KnobVol[0]->value(), 123.4);
}

TEST_F(FilesTest, AutoSaveFilesOfAnFcModelAreNormalisedWithItsOwnRules) {
  // An FCT file read while another model is selected must keep three-phase
  // groups (the single-phase rules would make every group single-phase).
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FCT);
  gNormalFCSet[1].OutMode = 3;
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FCT);
  EXPECT_EQ(gNormalFCSet[1].OutMode, 3);
}

TEST_F(FilesTest, StoredModelLoadsItsAutoSaveFilesAtStartUp) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  gNormalFPSet[5].FreqU = 6000;
  ExitMainPanel();
  ShutDown();
  ResetProgramState();
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(gPowerInfo.ModelType, kModelFPA);
  EXPECT_EQ(gNormalFPSet[5].FreqU, 6000);
}

TEST_F(FilesTest, SaveAndLoadAllGroupsThroughTheFileDialog) {
  ASSERT_EQ(Start(), 0);
  gNormalFPSet[3].VolU = gNormalFPSet[3].VolV = gNormalFPSet[3].VolW = 1500;
  gNormalFPSet[3].VolLine = 2598;
  Dialogs_.FileAnswers = {UserFile("bench.FPNorAll")};
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ALL);
  ASSERT_TRUE(QFileInfo::exists(UserFile("bench.FPNorAll")));
  EXPECT_EQ(Dialogs_.FilePatterns, QStringList{"*.FPNorAll"});
  EXPECT_TRUE(Dialogs_.FileSaves.back());

  gNormalFPSet[3].VolU = 2200;
  Dialogs_.FileAnswers = {UserFile("bench.FPNorAll")};
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ALL);
  EXPECT_FALSE(Dialogs_.FileSaves.back());
  EXPECT_EQ(gNormalFPSet[3].VolU, 1500);
  EXPECT_TRUE(Dialogs_.Messages.empty()) << Dialogs_.Messages[0].Text.toStdString();
}

struct RefusedLoad {
  const char *Name;
  int MenuItem;
  const char *File;     // in the user folder (default "missing.FPNorAll")
  const char *Contents; // written to it before the load unless null
};

const std::string kLongName = std::string(270, 'x') + ".FPNorAll";

const RefusedLoad kRefusedLoads[] = {
    {"MissingAll", MENU_FILE_LOAD_ALL, "", nullptr},
    {"MissingOne", MENU_FILE_LOAD_ONE, "", nullptr},
    {"WrongKindAll", MENU_FILE_LOAD_ALL, "x.FPNorAll", "[FileInfo]\r\nType = 81\r\n\r\n"},
    {"WrongKindOne", MENU_FILE_LOAD_ONE, "x.FPNorOne", "[FileInfo]\r\nType = 80\r\n\r\n"},
    {"NoTypeAll", MENU_FILE_LOAD_ALL, "x.FPNorAll", "[Value]\r\nUDisMode = 1\r\n\r\n"},
    {"PathTooLong", MENU_FILE_LOAD_ALL, kLongName.c_str(), nullptr},
};

class RefusedLoadTest : public ShellTest, public ::testing::WithParamInterface<RefusedLoad> {};

// A load goes ahead only with an existing file its reader accepts; otherwise
// the records stay as they were and the user is told.
TEST_P(RefusedLoadTest, LeavesTheRecordsAndTellsTheUser) {
  const RefusedLoad &c = GetParam();
  ASSERT_EQ(Start(), 0);
  QString path = UserFile("missing.FPNorAll");
  if (*c.File)
    path = UserFile(c.File);
  if (c.Contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.Contents);
  }
  gNormalFPSet[0].VolU = 1111;
  gSystemSet.OCP_Define = 77;
  gPowerInfo.Connected = 1;
  Dialogs_.FileAnswers = {path};
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  gPowerInfo.Connected = 0;
  EXPECT_EQ(gNormalFPSet[0].VolU, 1111);
  EXPECT_EQ(gSystemSet.OCP_Define, 77);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, QString::fromUtf8("警告"));
  EXPECT_TRUE(Dialogs_.Messages[0].Text.contains(QDir::toNativeSeparators(path)));
  EXPECT_EQ(gCommNewCmd.Count, 0);
}

INSTANTIATE_TEST_SUITE_P(Loads, RefusedLoadTest, ::testing::ValuesIn(kRefusedLoads),
                         [](const auto &info) { return std::string(info.param.Name); });

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

TEST_F(FilesTest, FcModelsUseTheFcKinds) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FCS);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ALL);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ONE);
  EXPECT_EQ(Dialogs_.FilePatterns, (QStringList{"*.FCNorAll", "*.FCNorOne"}));
}

TEST_F(FilesTest, CommunicationSettingsOkWritesSetDatAndCancelWritesNothing) {
  ASSERT_EQ(Start(), 0);
  DisplayPanelCommSet(1);
  ASSERT_NE(gCommPanel, nullptr);
  EXPECT_EQ(gCommPanel->windowTitle(), QString::fromUtf8("通讯设置"));
  EXPECT_EQ(gCommPanel->NumAddress->value(), 1);
  EXPECT_EQ(gCommPanel->RingBaudrate->ringValue(), 38400);
  EXPECT_EQ(gCommPanel->NumIP[0]->value(), 192);
  gCommPanel->RingPortType->setRingValue(kCommLAN);
  gCommPanel->NumIP[2]->setValue(7);
  gCommPanel->NumTCPPort->setValue(5025);
  gCommPanel->BtCancel->click();
  EXPECT_EQ(gCommPanel, nullptr);
  EXPECT_EQ(gPowerInfo.CommType, kCommRS232);
  EXPECT_FALSE(QFileInfo::exists(UserFile("Set.Dat")));

  DisplayPanelCommSet(1);
  gCommPanel->RingPortType->setRingValue(kCommLAN);
  gCommPanel->NumIP[2]->setValue(7);
  gCommPanel->NumTCPPort->setValue(5025);
  gCommPanel->ComboSerialPort->setEditText("/dev/ttyUSB3");
  gCommPanel->BtOk->click();
  EXPECT_EQ(gCommPanel, nullptr);
  EXPECT_EQ(gPowerInfo.CommType, kCommLAN);
  EXPECT_EQ(gPowerInfo.CommTypeLAN_IP3, 7);
  EXPECT_STREQ(gPowerInfo.CommTypeRS232Device.data(), "/dev/ttyUSB3");
  EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "CommType"), kCommLAN);
  EXPECT_EQ(SetDatValue(UserFile("Set.Dat"), "CommTypeLAN_Port"), 5025);

  // Looked at, not changed, while connected.
  gPowerInfo.Connected = 1;
  DisplayPanelCommSet(1);
  EXPECT_FALSE(gCommPanel->NumAddress->isEnabled());
  EXPECT_FALSE(gCommPanel->ComboSerialPort->isEnabled());
  EXPECT_FALSE(gCommPanel->BtOk->isEnabled());
  EXPECT_EQ(gCommPanel->ComboSerialPort->currentText(), "/dev/ttyUSB3");
  gCommPanel->close();
  EXPECT_EQ(gCommPanel, nullptr);
  gPowerInfo.Connected = 0;
}

TEST_F(FilesTest, UnreadableMeasurementDatabaseIsSetAsideAndTheUserIsTold) {
  QFile old(UserFile("Measure.mdb"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("Standard Jet DB, not ours");
  old.close();
  ASSERT_EQ(Start(), 0);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, QString::fromUtf8("警告"));
  const QStringList aside =
      QDir(UserDir->path()).entryList({"Measure.mdb.unreadable-*"}, QDir::Files);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_TRUE(Dialogs_.Messages[0].Text.contains(aside[0]));
  EXPECT_EQ(gDatabaseInfo.Connected, 1);
  ExitMainPanel();
  EXPECT_EQ(gDatabaseInfo.Connected, 0);
}

TEST_F(FilesTest, AMeasurementDatabaseThatCannotBeWrittenIsReported) {
  ASSERT_TRUE(QDir(UserDir->path()).mkdir("Measure.mdb"));
  ASSERT_EQ(Start(), 0);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Text, DatabaseCannotOpenMessage("Measure.mdb", 1));
  EXPECT_TRUE(Dialogs_.Messages[0].Text.contains(QString::fromUtf8("无法写入")));
  EXPECT_EQ(gDatabaseInfo.Connected, 0);
  EXPECT_TRUE(QFileInfo(UserFile("Measure.mdb")).isDir());
  ExitMainPanel();
}

TEST_F(FilesTest, CancelWhileDisconnectedClearsTheOutputAndAlarmState) {
  ASSERT_EQ(Start(), 0);
  gPowerInfo.OutputRunning = 1;
  gPowerInfo.Alarming = 1;
  DisplayPanelCommSet(1);
  gCommPanel->BtCancel->click();
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_EQ(gPowerInfo.Alarming, 0);
}

} // namespace
