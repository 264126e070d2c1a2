// The main panel's menu bar and its handler: setting files, exit, the
// communication settings, language, measurement view, power model, the
// program, THD and history panels, help and About.
#pragma once

#include <QMap>
#include <QObject>

class QAction;
class QString;
class QMenu;
class QMenuBar;

enum MainMenuItem : int {
  MENU_FILE = 1,
  MENU_FILE_SAVE_ALL,
  MENU_FILE_LOAD_ALL,
  MENU_FILE_SAVE_ONE,
  MENU_FILE_LOAD_ONE,
  MENU_FILE_EXIT,
  MENU_SET,
  MENU_SET_COMM,
  MENU_SET_LANGUAGE,
  MENU_SET_LANGUAGE_CHINESE,
  MENU_SET_LANGUAGE_ENGLISH,
  MENU_SET_VIEW,
  MENU_SET_VIEW_GRAPH,
  MENU_SET_VIEW_TEXT,
  MENU_MODEL,
  MENU_MODEL_FCT,
  MENU_MODEL_FCS,
  MENU_MODEL_FSA,
  MENU_MODEL_FSB,
  MENU_MODEL_FPA,
  MENU_MODEL_FPB,
  MENU_MODEL_GS,
  MENU_MODEL_FL,
  MENU_PROGRAM,
  MENU_PROGRAM_STEP,
  MENU_PROGRAM_LIST,
  MENU_PROGRAM_RAMP,
  MENU_PROGRAM_CROSS,
  MENU_THD,
  MENU_THD_THD,
  MENU_HISTORY,
  MENU_HISTORY_HISTORY,
  MENU_HELP,
  MENU_HELP_HELP,
  MENU_HELP_ABOUT,
};

struct MainMenuEntry {
  int Item;
  int Text;   // language text number
  int Parent; // 0: a menu of the bar
  bool IsMenu;
  bool Checkable;
};

class MainMenu : public QObject {
  Q_OBJECT
public:
  // Builds the menu bar of the main panel.
  explicit MainMenu(QMenuBar *bar);

  static const QList<MainMenuEntry> &Entries();
  // The action of an entry; for a menu or submenu, the action that opens it.
  QAction *action(int item) const { return Actions.value(item); }
  QMenu *menu(int item) const { return Menus.value(item); }
  void setDimmed(int item, bool dimmed);
  bool isDimmed(int item) const;
  void setChecked(int item, bool checked);
  bool isChecked(int item) const;

private:
  QMap<int, QAction *> Actions;
  QMap<int, QMenu *> Menus;
};

// Dispatches a chosen entry; entries without an action do nothing.
void MAIN_MENU_ITEM_CALLBACK(int menuItem);

// Language switches: set Language and move the check mark, nothing else.
void SetLanguageChinese();
void SetLanguageEnglish();
// Opens the help document of the current language in the system's viewer.
void CallHelpFile();
// Opens the Step, List, Ramp, Cross or THD panel from the main menu (page 1..5).
void MainMenuOpenProgram(int page);

// Setting files of every panel's file menu.
// Asks for a file of the pattern's kind ("*.StepAll"); empty when cancelled.
QString ChooseFile(const QString &pattern, bool save);
// A load goes ahead only with a file that exists; tells the user otherwise.
bool LoadableFile(const QString &path);
// Tells the user that a file was not of the pattern's kind and nothing was loaded.
void TellNotLoaded(const QString &path, const QString &pattern);
