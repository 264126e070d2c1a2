// The measurement history panel as a frame: menu bar (exit, help), logo and
// the area where the trend graph and the export go.
#pragma once

#include <QAction>

#include "ui/Panel.h"

class Logo;

class MeasureDisplayPanel : public Panel {
  Q_OBJECT
public:
  enum MenuItem : int { kMenuExit = 1, kMenuHelp = 2 };

  explicit MeasureDisplayPanel(QWidget *parent = nullptr);
  void setLayoutTexts(int language);

  std::function<void(int)> OnMenuItem;

  QAction *MenuExit;
  QAction *MenuHelp;
  Logo *LogoPicture;
  QLabel *Title;
  QLabel *Note;
};
