#include "measure/gui/MeasureDisplayPanel.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ui/Logo.h"
#include "ui/Texts.h"

MeasureDisplayPanel::MeasureDisplayPanel(QWidget *parent) : Panel(parent) {
  setObjectName("MeasureDisplayPanel");
  MenuExit = menuBar()->addAction(QString());
  MenuHelp = menuBar()->addAction(QString());
  connect(MenuExit, &QAction::triggered, this, [this] {
    if (OnMenuItem)
      OnMenuItem(kMenuExit);
  });
  connect(MenuHelp, &QAction::triggered, this, [this] {
    if (OnMenuItem)
      OnMenuItem(kMenuHelp);
  });
  auto *central = new QWidget(this);
  setCentralWidget(central);
  auto *root = new QVBoxLayout(central);
  root->setContentsMargins(5, 4, 5, 4);
  auto *top = new QHBoxLayout;
  LogoPicture = new Logo(central);
  top->addWidget(LogoPicture);
  top->addStretch(1);
  root->addLayout(top);
  auto *frame = new QFrame(central);
  frame->setFrameShape(QFrame::StyledPanel);
  auto *layout = new QVBoxLayout(frame);
  Title = new QLabel(frame);
  QFont big = Title->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  Title->setFont(big);
  Note = new QLabel(frame);
  Note->setWordWrap(true);
  Note->setStyleSheet("color: rgb(110, 110, 110);");
  layout->addWidget(Title);
  layout->addWidget(Note);
  layout->addStretch(1);
  root->addWidget(frame, 1);
  resize(1014, 730);
  setLayoutTexts(0);
}

void MeasureDisplayPanel::setLayoutTexts(int language) {
  Note->setText(Tx(language,
                   "The trend graph of the recorded measurements and their export to a "
                   "comma-separated file come in a later version of this program. The "
                   "measurements are already being recorded while the output runs.",
                   "历史测量曲线和数据导出功能将在后续版本中提供。输出运行时测量数据已在记录。"));
}
