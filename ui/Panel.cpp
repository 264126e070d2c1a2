#include "ui/Panel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Panel::Panel(QWidget *parent) : QMainWindow(parent) {}

void Panel::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (OnClose)
    OnClose();
}

DialogPanel::DialogPanel(QWidget *parent) : QDialog(parent) {}

void DialogPanel::addOkCancelRow(QVBoxLayout *layout, QPushButton *ok, QPushButton *cancel,
                                 std::function<void()> &onOk, std::function<void()> &onCancel) {
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [&onOk] {
    if (onOk)
      onOk();
  });
  connect(cancel, &QPushButton::clicked, this, [&onCancel] {
    if (onCancel)
      onCancel();
  });
}

void DialogPanel::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (OnClose)
    OnClose();
}

void DialogPanel::reject() {
  if (OnClose)
    OnClose();
}

ConnectionBar::ConnectionBar(QWidget *parent)
    : QFrame(parent), LinkLamp(new Lamp(QString(), QColor(40, 200, 60), this)),
      NotConnectedText(new QLabel(this)), ModelName(new QLabel(this)), LinkStatus(new QLabel(this)),
      BtConnect(new QPushButton(this)), BtDisconnect(new QPushButton(this)) {
  setObjectName("ConnectionBar");
  setFrameShape(QFrame::StyledPanel);
  auto *layout = new QGridLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  QFont bold = ModelName->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  ModelName->setFont(bold);
  NotConnectedText->setFont(bold);
  ModelName->setMinimumWidth(120);
  setMinimumWidth(180);
  BtConnect->setMinimumWidth(96);
  BtDisconnect->setMinimumWidth(96);
  layout->addWidget(LinkLamp, 0, 0);
  layout->addWidget(NotConnectedText, 0, 1);
  layout->addWidget(ModelName, 0, 1);
  LinkStatus->setWordWrap(true);
  LinkStatus->setMaximumWidth(260);
  LinkStatus->hide();
  layout->addWidget(LinkStatus, 1, 0, 1, 2);
  layout->addWidget(BtConnect, 2, 0, 1, 2);
  layout->addWidget(BtDisconnect, 2, 0, 1, 2);
  showConnected(false, QString());
}

void ConnectionBar::showConnected(bool connected, const QString &modelName) {
  connected_ = connected;
  NotConnectedText->setVisible(!connected);
  ModelName->setVisible(connected);
  ModelName->setText(modelName);
  LinkLamp->setOn(connected);
  showButtons();
}

void ConnectionBar::showLinkStatus(const QString &text) {
  LinkStatus->setText(text);
  LinkStatus->setVisible(!text.isEmpty());
  showButtons();
}

void ConnectionBar::showButtons() {
  const bool stoppable = connected_ || !LinkStatus->text().isEmpty();
  BtConnect->setVisible(!stoppable);
  BtDisconnect->setVisible(stoppable);
}

OutputArea::OutputArea(QWidget *parent)
    : QFrame(parent), OutputSwitch(new LedSwitch(QColor(40, 210, 60), this)),
      RunningText(new QLabel(this)), RisingText(new QLabel(this)), StoppedText(new QLabel(this)),
      AlarmLamp(new Lamp(QString(), QColor(230, 30, 30), this)), AlarmText(new QLabel(this)),
      BtClearAlarm(new QPushButton(this)), DCBox(new QWidget(this)), DCCaption(new QLabel(DCBox)),
      DCSwitch(new LedSwitch(QColor(255, 160, 20), DCBox)), DCValue(new NumDisplay(1, DCBox)) {
  setObjectName("OutputArea");
  setFrameShape(QFrame::StyledPanel);
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);

  layout->addWidget(OutputSwitch);

  // One place for the state: running, rising and stopped show one at a time.
  auto *state = new QGridLayout;
  QFont bold = RunningText->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  RunningText->setFont(bold);
  RisingText->setFont(bold);
  StoppedText->setFont(bold);
  RunningText->setStyleSheet("color: rgb(20, 150, 40);");
  RisingText->setStyleSheet("color: rgb(200, 130, 0);");
  StoppedText->setStyleSheet("color: rgb(90, 90, 90);");
  for (QLabel *text : {RunningText, RisingText, StoppedText})
    state->addWidget(text, 0, 0);
  layout->addLayout(state);

  auto *alarm = new QHBoxLayout;
  AlarmText->setStyleSheet("color: rgb(200, 20, 20); font-weight: bold;");
  AlarmText->setMinimumWidth(150);
  AlarmText->setWordWrap(true);
  BtClearAlarm->setMinimumWidth(100);
  BtClearAlarm->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  alarm->addWidget(AlarmLamp);
  alarm->addWidget(AlarmText, 1);
  alarm->addWidget(BtClearAlarm);
  layout->addLayout(alarm, 1);

  auto *dc = new QGridLayout(DCBox);
  dc->setContentsMargins(0, 0, 0, 0);
  DCSwitch->setFixedSize(32, 32);
  dc->addWidget(DCCaption, 0, 0, 1, 3);
  dc->addWidget(DCSwitch, 1, 0);
  dc->addWidget(DCValue, 1, 1);
  dc->addWidget(new QLabel("V", DCBox), 1, 2);
  layout->addWidget(DCBox);

  OutputSwitch->setFixedSize(42, 42);
  // What an alarm or the state hides keeps its place, so that nothing moves
  // sideways when an alarm comes or goes.
  for (QWidget *keep :
       std::initializer_list<QWidget *>{OutputSwitch, RunningText, RisingText, StoppedText,
                                        AlarmLamp, AlarmText, BtClearAlarm}) {
    QSizePolicy policy = keep->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    keep->setSizePolicy(policy);
  }
  RunningText->hide();
  AlarmLamp->hide();
  AlarmText->hide();
  BtClearAlarm->setEnabled(false);
}
