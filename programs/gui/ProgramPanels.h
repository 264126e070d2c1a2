// The frame of the program panels (Step, List, Ramp, Cross) and of the THD
// panel: menu bar, logo, connection area, output area and measurement slot
// (not on THD), and the editor area that the panel's own controls fill.
#pragma once

#include <QAction>
#include <QMap>

#include "ui/Panel.h"

class QVBoxLayout;
class Logo;

enum ProgramKind : int {
  kProgramStep = 1,
  kProgramList = 2,
  kProgramRamp = 3,
  kProgramCross = 4,
  kProgramTHD = 5,
};

// One entry of a panel's menu bar: its item number, the language text that
// names it, and whether it is a menu (a parent of entries) or a submenu.
struct PanelMenuItem {
  int Item;   // the item number the panel's menu callback dispatches on
  int Text;   // language text number
  int Parent; // item number of the menu holding it; 0 for a menu of the bar
  bool Checkable;
};

// The output-mode ring of one model (0 FPA, 1 FPB, 2 GS) with the modes it
// offers, and its texts.
Ring *MakeOutModeRing(int modelRing, QWidget *parent);
void SetOutModeRingTexts(Ring *ring, int language);

class ProgramPanel : public Panel {
  Q_OBJECT
public:
  ProgramPanel(ProgramKind kind, QWidget *parent = nullptr);

  ProgramKind kind() const { return Kind; }
  // The entries of this panel's menu bar, in order.
  const QList<PanelMenuItem> &menuItems() const { return Items; }
  QAction *action(int item) const { return Actions.value(item); }
  QMenu *menu(int item) const { return Menus.value(item); }
  // The item numbers of Exit and Help on this panel.
  int exitItem() const;
  int helpItem() const;
  // Texts that belong to the layout, in the given language.
  virtual void setLayoutTexts(int language);

  // Called with the item number when a menu entry is chosen.
  std::function<void(int)> OnMenuItem;

  Logo *LogoPicture;
  ConnectionBar *Connection;
  OutputArea *Output = nullptr;       // not on THD
  QVBoxLayout *MeasureSlot = nullptr; // not on THD
  QLabel *Title;
  QVBoxLayout *Editor; // the editor area

private:
  ProgramKind Kind;
  QList<PanelMenuItem> Items;
  QMap<int, QAction *> Actions;
  QMap<int, QMenu *> Menus;
};
