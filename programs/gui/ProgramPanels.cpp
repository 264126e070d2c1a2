#include "programs/gui/ProgramPanels.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ui/Logo.h"
#include "ui/Texts.h"

namespace {

// Menu bars of the five panels. Item numbers are those the panels' menu
// callbacks dispatch on; text numbers are items of the language files.
QList<PanelMenuItem> MenuLayout(ProgramKind kind) {
  switch (kind) {
  case kProgramStep:
    return {{1, 2, 0, false},   {3, 3, 1, false},  {4, 4, 1, false},  {11, 5, 1, false},
            {5, 205, 0, false}, {6, 213, 5, true}, {7, 214, 5, true}, {8, 215, 5, true},
            {9, 216, 5, true},  {2, 31, 0, false}, {10, 31, 2, false}};
  case kProgramList:
  case kProgramRamp:
    return {{1, 2, 0, false},   {3, 189, 1, false}, {4, 190, 1, false}, {5, 193, 1, false},
            {6, 194, 1, false}, {16, 5, 1, false},  {7, 205, 0, false}, {8, 206, 7, true},
            {9, 207, 7, true},  {10, 208, 7, true}, {11, 209, 7, true}, {12, 210, 7, true},
            {13, 211, 7, true}, {14, 212, 7, true}, {2, 31, 0, false},  {15, 31, 2, false}};
  case kProgramCross:
    return {{1, 2, 0, false},   {3, 189, 1, false}, {4, 190, 1, false}, {5, 193, 1, false},
            {6, 194, 1, false}, {13, 5, 1, false},  {7, 205, 0, false}, {8, 213, 7, true},
            {9, 214, 7, true},  {10, 215, 7, true}, {11, 216, 7, true}, {2, 31, 0, false},
            {12, 31, 2, false}};
  case kProgramTHD:
    return {{1, 2, 0, false},   {3, 189, 1, false}, {4, 190, 1, false}, {5, 191, 1, false},
            {6, 192, 1, false}, {8, 5, 1, false},   {2, 31, 0, false},  {7, 31, 2, false}};
  }
  return {};
}

} // namespace

Ring *MakeOutModeRing(int modelRing, QWidget *parent) {
  // Mode codes each model offers (FPA, FPB, GS).
  static const std::vector<int> kModes[] = {{0, 1, 5, 16}, {0, 1, 16}, {0, 16}};
  auto *ring = new Ring(parent);
  for (int mode : kModes[modelRing])
    ring->addValue(QString(), mode);
  return ring;
}

void SetOutModeRingTexts(Ring *ring, int language) {
  for (int i = 0; i < ring->count(); ++i)
    ring->setItemText(i, OutModeText(language, ring->itemData(i).toInt()));
}

ProgramPanel::ProgramPanel(ProgramKind kind, QWidget *parent)
    : Panel(parent), Kind(kind), Items(MenuLayout(kind)) {
  static const char *const kNames[] = {"",          "StepPanel",  "ListPanel",
                                       "RampPanel", "CrossPanel", "THDPanel"};
  setObjectName(kNames[kind]);
  for (const PanelMenuItem &entry : Items) {
    if (entry.Parent == 0) {
      Menus[entry.Item] = menuBar()->addMenu(QString());
      continue;
    }
    QAction *action = Menus[entry.Parent]->addAction(QString());
    action->setCheckable(entry.Checkable);
    const int item = entry.Item;
    connect(action, &QAction::triggered, this, [this, item] {
      if (OnMenuItem)
        OnMenuItem(item);
    });
    Actions[entry.Item] = action;
  }

  auto *central = new QWidget(this);
  setCentralWidget(central);
  auto *root = new QVBoxLayout(central);
  root->setContentsMargins(5, 4, 5, 4);
  auto *top = new QHBoxLayout;
  LogoPicture = new Logo(central);
  Connection = new ConnectionBar(central);
  top->addWidget(LogoPicture);
  top->addWidget(Connection);
  if (kind != kProgramTHD) {
    Output = new OutputArea(central);
    top->addWidget(Output, 1);
  } else {
    top->addStretch(1);
  }
  root->addLayout(top);

  auto *body = new QHBoxLayout;
  root->addLayout(body, 1);
  auto *editor = new QFrame(central);
  editor->setObjectName("ProgramEditor");
  editor->setFrameShape(QFrame::StyledPanel);
  auto *editorLayout = Editor = new QVBoxLayout(editor);
  Title = new QLabel(editor);
  QFont big = Title->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  Title->setFont(big);
  editorLayout->addWidget(Title);
  body->addWidget(editor, kind == kProgramTHD ? 1 : 0);
  if (kind != kProgramTHD) {
    editor->setFixedWidth(470);
    auto *measureHost = new QWidget(central);
    MeasureSlot = new QVBoxLayout(measureHost);
    MeasureSlot->setContentsMargins(0, 0, 0, 0);
    body->addWidget(measureHost, 1);
  }
  resize(1014, 730);
}

int ProgramPanel::exitItem() const {
  switch (Kind) {
  case kProgramStep:
    return 11;
  case kProgramList:
  case kProgramRamp:
    return 16;
  case kProgramCross:
    return 13;
  case kProgramTHD:
    return 8;
  }
  return 0;
}

int ProgramPanel::helpItem() const { return exitItem() - 1; }

// The frame itself has no texts of its own.
void ProgramPanel::setLayoutTexts(int) {}
