#include "app/gui/MainMenu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "app/MainTimer.h"
#include "app/NormalPanelMap.h"
#include "app/OutputState.h"
#include "app/gui/AppMain.h"
#include "app/gui/CommSetPanel.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MeasureView.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/Navigation.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/Language.h"
#include "storage/SoftSet.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

namespace {

// Commands of the source (class, code).
constexpr int kClassWrite = 90;
constexpr int kClassRead = 165;
constexpr int kWriteNormalGroup = 33;
constexpr int kWriteSystem = 48;

QString NormalAllPattern() { return IsFCModel(gPowerInfo.ModelType) ? "*.FCNorAll" : "*.FPNorAll"; }
QString NormalOnePattern() { return IsFCModel(gPowerInfo.ModelType) ? "*.FCNorOne" : "*.FPNorOne"; }

} // namespace

QString ChooseFile(const QString &pattern, bool save) {
  QString path;
  const int result = Dialogs().FileSelectPopup(QString(), pattern, QString(), save, path);
  if (result != kFileSelectExisting && result != kFileSelectNew)
    return {};
  if (path.size() > kMaxPathLength) {
    Dialogs().MessagePopup(Tx("Warning", "警告"),
                           Tx("The path is longer than %1 characters:\n%2\nChoose a shorter one.",
                              "路径超过 %1 个字符：\n%2\n请选择较短的路径。")
                               .arg(kMaxPathLength)
                               .arg(QDir::toNativeSeparators(path)));
    return {};
  }
  return path;
}

bool LoadableFile(const QString &path) {
  if (QFileInfo(path).isFile())
    return true;
  Dialogs().MessagePopup(
      Tx("Warning", "警告"),
      Tx("The file %1 does not exist.\nNothing was loaded.", "文件 %1 不存在。\n未读取任何设置。")
          .arg(QDir::toNativeSeparators(path)));
  return false;
}

void TellNotLoaded(const QString &path, const QString &pattern) {
  Dialogs().MessagePopup(Tx("Warning", "警告"),
                         Tx("The file %1 is not a setting file of the kind %2.\nNothing was "
                            "loaded.",
                            "文件 %1 不是 %2 类型的设置文件。\n未读取任何设置。")
                             .arg(QDir::toNativeSeparators(path), pattern));
}

namespace {

// Reads a normal-setting file of the current family into the records (one
// group, or all with the system settings). When normalisation changed
// fields the user sees which and to what, and may keep the records as they
// were. 1 when read and accepted; 0 after telling the user why not.
int ReadNormalFile(bool all, const QString &path, const QString &pattern) {
  const bool fc = IsFCModel(gPowerInfo.ModelType);
  const SettingKind kind = fc ? (all ? SettingKind::FCNorAll : SettingKind::FCNorOne)
                              : (all ? SettingKind::FPNorAll : SettingKind::FPNorOne);
  const auto fcSets = gNormalFCSet;
  const auto fpSets = gNormalFPSet;
  const SystemSet system = gSystemSet;
  SettingFindings findings;
  if (SettingFileRead(kind, path, gCurrentNormalGroup, &findings) != 1) {
    TellNotLoaded(path, pattern);
    return 0;
  }
  if (findings.isEmpty() ||
      Dialogs().ConfirmPopup(
          Tx("Corrected values", "已修正的数值"),
          Tx("Values of %1 are outside what the source takes and were corrected:\n\n%2\nLoad "
             "with these corrections?",
             "文件 %1 中的数值超出电源允许范围，已修正：\n\n%2\n按修正后的数值读取？")
              .arg(QDir::toNativeSeparators(path), SettingFindingsText(findings))) == 1)
    return 1;
  gNormalFCSet = fcSets;
  gNormalFPSet = fpSets;
  gSystemSet = system;
  return 0;
}

void FileSaveAll() {
  const QString path = ChooseFile(NormalAllPattern(), true);
  if (path.isEmpty())
    return;
  if (IsFCModel(gPowerInfo.ModelType))
    FileWriteNormalFCAll(path);
  else
    FileWriteNormalFPAll(path);
}

void FileLoadAll() {
  const QString pattern = NormalAllPattern();
  const QString path = ChooseFile(pattern, false);
  if (path.isEmpty() || !LoadableFile(path))
    return;
  if (ReadNormalFile(true, path, pattern) != 1)
    return;
  ShowNormalAndSystemSettings();
  if (gPowerInfo.Connected == 1)
    CommSetNewCmdGroup(kGroupWriteNormalAll);
}

void FileSaveOne() {
  const QString path = ChooseFile(NormalOnePattern(), true);
  if (path.isEmpty())
    return;
  if (IsFCModel(gPowerInfo.ModelType))
    FileWriteNormalFCOne(path, gCurrentNormalGroup);
  else
    FileWriteNormalFPOne(path, gCurrentNormalGroup);
}

void FileLoadOne() {
  const QString pattern = NormalOnePattern();
  const QString path = ChooseFile(pattern, false);
  if (path.isEmpty() || !LoadableFile(path))
    return;
  if (ReadNormalFile(false, path, pattern) != 1)
    return;
  if (IsFCModel(gPowerInfo.ModelType))
    DataFCFromNormalVarToPanel(gPanelState);
  else
    DataFPFromNormalVarToPanel(gPanelState);
  StateToPanel();
  if (gPowerInfo.Connected == 1)
    CommSetNewCmdSingleGroup(kClassWrite, kWriteNormalGroup, gCurrentNormalGroup);
}

// After a language switch: the source's own display follows when it can.
void SendLanguageToSource() {
  if (gPowerInfo.Connected == 1 && gPowerInfo.OutputRunning == 0 &&
      !IsFCModel(gPowerInfo.ModelType)) {
    gSystemSet.DeviceSysByte = gPowerInfo.Language;
    CommSetNewCmdSingleGroup(kClassWrite, kWriteSystem, 0);
  }
}

} // namespace

const QList<MainMenuEntry> &MainMenu::Entries() {
  static const QList<MainMenuEntry> entries = {
      {MENU_FILE, 2, 0, true, false},
      {MENU_FILE_SAVE_ALL, 189, MENU_FILE, false, false},
      {MENU_FILE_LOAD_ALL, 190, MENU_FILE, false, false},
      {MENU_FILE_SAVE_ONE, 191, MENU_FILE, false, false},
      {MENU_FILE_LOAD_ONE, 192, MENU_FILE, false, false},
      {MENU_FILE_EXIT, 5, MENU_FILE, false, false},
      {MENU_SET, 13, 0, true, false},
      {MENU_SET_COMM, 6, MENU_SET, false, false},
      {MENU_SET_LANGUAGE, 7, MENU_SET, true, false},
      {MENU_SET_LANGUAGE_CHINESE, 8, MENU_SET_LANGUAGE, false, true},
      {MENU_SET_LANGUAGE_ENGLISH, 9, MENU_SET_LANGUAGE, false, true},
      {MENU_SET_VIEW, 10, MENU_SET, true, false},
      {MENU_SET_VIEW_GRAPH, 11, MENU_SET_VIEW, false, true},
      {MENU_SET_VIEW_TEXT, 12, MENU_SET_VIEW, false, true},
      {MENU_MODEL, 21, 0, true, false},
      {MENU_MODEL_FCT, 14, MENU_MODEL, false, true},
      {MENU_MODEL_FCS, 15, MENU_MODEL, false, true},
      {MENU_MODEL_FSA, 16, MENU_MODEL, false, true},
      {MENU_MODEL_FSB, 17, MENU_MODEL, false, true},
      {MENU_MODEL_FPA, 18, MENU_MODEL, false, true},
      {MENU_MODEL_FPB, 19, MENU_MODEL, false, true},
      {MENU_MODEL_GS, 20, MENU_MODEL, false, true},
      {MENU_MODEL_FL, 348, MENU_MODEL, false, true},
      {MENU_PROGRAM, 27, 0, true, false},
      {MENU_PROGRAM_STEP, 23, MENU_PROGRAM, false, false},
      {MENU_PROGRAM_LIST, 24, MENU_PROGRAM, false, false},
      {MENU_PROGRAM_RAMP, 25, MENU_PROGRAM, false, false},
      {MENU_PROGRAM_CROSS, 26, MENU_PROGRAM, false, false},
      {MENU_THD, 29, 0, true, false},
      {MENU_THD_THD, 28, MENU_THD, false, false},
      {MENU_HISTORY, 175, 0, true, false},
      {MENU_HISTORY_HISTORY, 30, MENU_HISTORY, false, false},
      {MENU_HELP, 31, 0, true, false},
      {MENU_HELP_HELP, 31, MENU_HELP, false, false},
      {MENU_HELP_ABOUT, 32, MENU_HELP, false, false},
  };
  return entries;
}

MainMenu::MainMenu(QMenuBar *bar) : QObject(bar) {
  for (const MainMenuEntry &entry : Entries()) {
    if (entry.IsMenu) {
      QMenu *menu =
          entry.Parent == 0 ? bar->addMenu(QString()) : Menus[entry.Parent]->addMenu(QString());
      Menus[entry.Item] = menu;
      Actions[entry.Item] = menu->menuAction();
      continue;
    }
    QMenu *parent = Menus[entry.Parent];
    if (entry.Item == MENU_FILE_EXIT)
      parent->addSeparator();
    QAction *action = parent->addAction(QString());
    action->setCheckable(entry.Checkable);
    const int item = entry.Item;
    connect(action, &QAction::triggered, this, [action, item] {
      // The check marks follow the program's state, not the click.
      if (action->isCheckable())
        action->setChecked(!action->isChecked());
      MAIN_MENU_ITEM_CALLBACK(item);
    });
    Actions[entry.Item] = action;
  }
}

void MainMenu::setDimmed(int item, bool dimmed) {
  if (QAction *action = Actions.value(item))
    action->setEnabled(!dimmed);
}

bool MainMenu::isDimmed(int item) const {
  const QAction *action = Actions.value(item);
  return action && !action->isEnabled();
}

void MainMenu::setChecked(int item, bool checked) {
  if (QAction *action = Actions.value(item))
    action->setChecked(checked);
}

bool MainMenu::isChecked(int item) const {
  const QAction *action = Actions.value(item);
  return action && action->isChecked();
}

void SetLanguageChinese() {
  gPowerInfo.Language = 0;
  gMainMenu->setChecked(MENU_SET_LANGUAGE_CHINESE, true);
  gMainMenu->setChecked(MENU_SET_LANGUAGE_ENGLISH, false);
}

void SetLanguageEnglish() {
  gPowerInfo.Language = 1;
  gMainMenu->setChecked(MENU_SET_LANGUAGE_CHINESE, false);
  gMainMenu->setChecked(MENU_SET_LANGUAGE_ENGLISH, true);
}

void CallHelpFile() {
  const QString name =
      gPowerInfo.Language == 1 ? "Vexa_PC_Software_EN.html" : "Vexa_PC_Software_CN.html";
  const QString path = QDir(LanguageFolder()).filePath(name);
  if (!Dialogs().OpenDocument(path))
    Dialogs().MessagePopup(Tx("Help", "帮助"),
                           Tx("No program could open the help file. Open it yourself:\n%1",
                              "没有程序能打开帮助文件，请自行打开：\n%1")
                               .arg(QDir::toNativeSeparators(path)));
}

void MainMenuOpenProgram(int page) {
  if (GuardAlarm())
    return;
  PanelAllLanguageSet(page);
  if (DisplayProgramPanel(page) != 1)
    return;
  ProgramPanelInitAndShow(page);
  if (gPowerInfo.Connected != 1)
    return;
  switch (page) {
  case kPageStep:
    CommSetNewCmdSingleGroup(kClassRead, 34, 0);
    CommSetNewCmdSingleGroup(kClassWrite, 18, 0);
    break;
  case kPageList:
    if (gCommInfo.ListDataOk == 0)
      CommSetNewCmdGroup(kGroupReadList);
    CommSetNewCmdSingleGroup(kClassWrite, 19, 0);
    break;
  case kPageRamp:
    if (gCommInfo.RampDataOk == 0)
      CommSetNewCmdGroup(kGroupReadRamp);
    CommSetNewCmdSingleGroup(kClassWrite, 21, 0);
    break;
  case kPageCross:
    if (gCommInfo.CrossDataOk == 0)
      CommSetNewCmdGroup(kGroupReadCross);
    CommSetNewCmdSingleGroup(kClassWrite, 24, 0);
    break;
  case kPageTHD:
    if (gCommInfo.THDDataOk == 0)
      CommSetNewCmdGroup(kGroupReadTHD);
    break;
  default:
    break;
  }
}

void MAIN_MENU_ITEM_CALLBACK(int menuItem) {
  switch (menuItem) {
  case MENU_FILE_SAVE_ALL:
    FileSaveAll();
    break;
  case MENU_FILE_LOAD_ALL:
    FileLoadAll();
    break;
  case MENU_FILE_SAVE_ONE:
    FileSaveOne();
    break;
  case MENU_FILE_LOAD_ONE:
    FileLoadOne();
    break;
  case MENU_FILE_EXIT:
    ExitMainPanel();
    break;
  case MENU_SET_COMM:
    DisplayPanelCommSet(1);
    break;
  case MENU_SET_LANGUAGE_CHINESE:
    if (gPowerInfo.Language == 0)
      break;
    SetLanguageChinese();
    PanelMainLanguageSet();
    SendLanguageToSource();
    break;
  case MENU_SET_LANGUAGE_ENGLISH:
    if (gPowerInfo.Language == 1)
      break;
    SetLanguageEnglish();
    PanelMainLanguageSet();
    SendLanguageToSource();
    break;
  case MENU_SET_VIEW_GRAPH:
    // The FC families have their own graph view of fixed quantities.
    if (IsFCModel(gPowerInfo.ModelType))
      SetNormalMeasureDisplayGraphFC();
    else
      SetNormalMeasureDisplayGraph();
    break;
  case MENU_SET_VIEW_TEXT:
    SetNormalMeasureDisplayText();
    break;
  case MENU_MODEL_FCT:
    ModelFCTChoose(0);
    break;
  case MENU_MODEL_FCS:
    ModelFCSChoose(0);
    break;
  case MENU_MODEL_FSA:
    ModelFSAChoose(0);
    break;
  case MENU_MODEL_FSB:
    ModelFSBChoose(0);
    break;
  case MENU_MODEL_FPA:
    ModelFPAChoose(0);
    break;
  case MENU_MODEL_FPB:
    ModelFPBChoose(0);
    break;
  case MENU_MODEL_GS:
    ModelGSChoose(0);
    break;
  case MENU_MODEL_FL:
    ModelFLChoose(0);
    break;
  case MENU_PROGRAM_STEP:
    MainMenuOpenProgram(kPageStep);
    break;
  case MENU_PROGRAM_LIST:
    MainMenuOpenProgram(kPageList);
    break;
  case MENU_PROGRAM_RAMP:
    MainMenuOpenProgram(kPageRamp);
    break;
  case MENU_PROGRAM_CROSS:
    MainMenuOpenProgram(kPageCross);
    break;
  case MENU_THD_THD:
    MainMenuOpenProgram(kPageTHD);
    break;
  case MENU_HISTORY_HISTORY:
    PanelAllLanguageSet(kPageMeasureHistory);
    DisplayMeasureDisplayPanel();
    break;
  case MENU_HELP_HELP:
    CallHelpFile();
    break;
  case MENU_HELP_ABOUT:
    DisplayPanelAbout(1);
    break;
  default:
    break;
  }
}
