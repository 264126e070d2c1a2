#include "app/gui/Popups.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/Logo.h"
#include "ui/Texts.h"

WaitPanel::WaitPanel(QWidget *parent)
    : QDialog(parent), Title(new QLabel(this)), Text(new QLabel(this)), Progress(new QLabel(this)),
      BtCancel(new QPushButton(this)) {
  setObjectName("WaitPanel");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto *layout = new QVBoxLayout(this);
  QFont big = Title->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  Title->setFont(big);
  Title->setAlignment(Qt::AlignCenter);
  Text->setAlignment(Qt::AlignCenter);
  Text->setWordWrap(true);
  auto *busy = new QProgressBar(this);
  busy->setRange(0, 0); // a moving bar: the length of the transfer is not known
  busy->setTextVisible(false);
  Progress->setAlignment(Qt::AlignCenter);
  layout->addWidget(Title);
  layout->addWidget(Text);
  layout->addWidget(busy);
  layout->addWidget(Progress);
  layout->addWidget(BtCancel, 0, Qt::AlignCenter);
  connect(BtCancel, &QPushButton::clicked, this, [this] {
    if (OnCancel)
      OnCancel();
  });
  setFixedSize(360, 190);
}

void WaitPanel::showProgress(int framesDone, int framesExpected, const QString &inFlight) {
  const QString done = framesExpected > 0
                           ? Tx("%1 of %2 frames", "%1 / %2 帧").arg(framesDone).arg(framesExpected)
                           : Tx("%1 frames", "%1 帧").arg(framesDone);
  Progress->setText(done + Tx(" — now: ", " — 当前：") + inFlight);
}

void WaitPanel::closeEvent(QCloseEvent *event) { event->ignore(); }

AboutPanel::AboutPanel(QWidget *parent)
    : QDialog(parent), ProgramName(new QLabel(this)), VersionLabel(new QLabel(this)),
      Version(new NumDisplay(1, this)), Description(new QLabel(this)), BtOk(new QPushButton(this)) {
  setObjectName("AboutPanel");
  auto *layout = new QVBoxLayout(this);
  auto *head = new QHBoxLayout;
  head->addWidget(new Logo(this));
  QFont big = ProgramName->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  ProgramName->setFont(big);
  head->addWidget(ProgramName, 1);
  layout->addLayout(head);
  auto *version = new QHBoxLayout;
  version->addWidget(VersionLabel);
  version->addWidget(Version);
  version->addStretch(1);
  layout->addLayout(version);
  Description->setWordWrap(true);
  layout->addWidget(Description);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BtOk);
  layout->addLayout(buttons);
  BtOk->setDefault(true);
  connect(BtOk, &QPushButton::clicked, this, [this] {
    if (OnOk)
      OnOk();
  });
  setFixedSize(440, 220);
}

void AboutPanel::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (OnOk)
    OnOk();
}

void AboutPanel::reject() {
  if (OnOk)
    OnOk();
}
