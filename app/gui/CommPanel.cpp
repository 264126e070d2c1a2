#include "app/gui/CommPanel.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kPortNumbers = 10;

QString PortNumberText(int number) {
#ifdef Q_OS_WIN
  return QString("COM%1").arg(number);
#else
  return QString("COM%1  (/dev/ttyS%2)").arg(number).arg(number - 1);
#endif
}

} // namespace

QStringList SerialDevicesPresent() {
  QStringList devices;
#ifndef Q_OS_WIN
  const QDir dev("/dev");
  for (const char *pattern : {"ttyS*", "ttyUSB*", "ttyACM*"}) {
    QStringList found = dev.entryList({pattern}, QDir::System | QDir::Files | QDir::Readable |
                                                     QDir::Writable | QDir::NoDotAndDotDot);
    // ttyS2 before ttyS10
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
      return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const QString &name : found)
      devices << dev.filePath(name);
  }
#endif
  return devices;
}

CommPanel::CommPanel(QWidget *parent)
    : DialogPanel(parent), LabelAddress(new QLabel(this)), NumAddress(new QSpinBox(this)),
      LabelPortType(new QLabel(this)), RingPortType(new Ring(this)), Tabs(new QTabWidget(this)),
      BtOk(new QPushButton(this)), BtCancel(new QPushButton(this)) {
  setObjectName("CommPanel");
  auto *layout = new QVBoxLayout(this);
  auto *head = new QGridLayout;
  NumAddress->setRange(1, 255);
  RingPortType->addValue("RS-232", 16);
  RingPortType->addValue("LAN", 17);
  RingPortType->addValue("GPIB", 18);
  head->addWidget(LabelAddress, 0, 0);
  head->addWidget(NumAddress, 0, 1);
  head->addWidget(LabelPortType, 1, 0);
  head->addWidget(RingPortType, 1, 1);
  layout->addLayout(head);

  auto *serial = new QWidget(Tabs);
  {
    auto *grid = new QGridLayout(serial);
    LabelSerialPort = new QLabel(serial);
    ComboSerialPort = new QComboBox(serial);
    ComboSerialPort->setEditable(true);
    ComboSerialPort->setInsertPolicy(QComboBox::NoInsert);
    ComboSerialPort->setMinimumWidth(220);
    LabelBaudrate = new QLabel(serial);
    RingBaudrate = new Ring(serial);
    for (int baud : {9600, 19200, 38400})
      RingBaudrate->addValue(QString::number(baud), baud);
    grid->addWidget(LabelSerialPort, 0, 0);
    grid->addWidget(ComboSerialPort, 0, 1);
    grid->addWidget(LabelBaudrate, 1, 0);
    grid->addWidget(RingBaudrate, 1, 1);
    grid->setRowStretch(2, 1);
  }
  auto *lan = new QWidget(Tabs);
  {
    auto *grid = new QGridLayout(lan);
    LabelIP = new QLabel(lan);
    auto *octets = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
      NumIP[i] = new QSpinBox(lan);
      NumIP[i]->setRange(0, 255);
      octets->addWidget(NumIP[i]);
      if (i < 3)
        octets->addWidget(new QLabel(".", lan));
    }
    LabelTCPPort = new QLabel(lan);
    NumTCPPort = new QSpinBox(lan);
    NumTCPPort->setRange(0, 65535);
    grid->addWidget(LabelIP, 0, 0);
    grid->addLayout(octets, 0, 1);
    grid->addWidget(LabelTCPPort, 1, 0);
    grid->addWidget(NumTCPPort, 1, 1);
    grid->setRowStretch(2, 1);
  }
  auto *gpib = new QWidget(Tabs);
  {
    auto *grid = new QGridLayout(gpib);
    LabelGPIB = new QLabel(gpib);
    NumGPIB = new QSpinBox(gpib);
    NumGPIB->setRange(0, 30);
    grid->addWidget(LabelGPIB, 0, 0);
    grid->addWidget(NumGPIB, 0, 1);
    grid->setRowStretch(1, 1);
  }
  Tabs->addTab(serial, "RS-232");
  Tabs->addTab(lan, "LAN");
  Tabs->addTab(gpib, "GPIB");
  layout->addWidget(Tabs, 1);
  CheckReplyPacing = new QCheckBox(this);
  LabelReplyPacing = new QLabel(this);
  CheckAutoReconnect = new QCheckBox(this);
  LabelAutoReconnect = new QLabel(this);
  for (QLabel *explanation : {LabelReplyPacing, LabelAutoReconnect}) {
    explanation->setWordWrap(true);
    explanation->setIndent(20);
  }
  for (QWidget *option : std::initializer_list<QWidget *>{CheckReplyPacing, LabelReplyPacing,
                                                          CheckAutoReconnect, LabelAutoReconnect})
    layout->addWidget(option);
  addOkCancelRow(layout, BtOk, BtCancel, OnOk, OnCancel);
  // The page follows the port type.
  connect(RingPortType, &QComboBox::currentIndexChanged, Tabs, &QTabWidget::setCurrentIndex);
  fillSerialPorts(SerialDevicesPresent());
  resize(460, 380);
}

void CommPanel::fillSerialPorts(const QStringList &devicePaths) {
  ComboSerialPort->clear();
  for (int number = 1; number <= kPortNumbers; ++number)
    ComboSerialPort->addItem(PortNumberText(number), number);
  for (const QString &path : devicePaths)
    ComboSerialPort->addItem(path, 0);
}

void CommPanel::setSerialPort(int number, const QString &path) {
  if (!path.isEmpty()) {
    const int index = ComboSerialPort->findText(path);
    if (index >= 0)
      ComboSerialPort->setCurrentIndex(index);
    else
      ComboSerialPort->setEditText(path);
    return;
  }
  const int index = ComboSerialPort->findData(std::clamp(number, 1, kPortNumbers));
  ComboSerialPort->setCurrentIndex(index);
}

int CommPanel::serialPortNumber() const {
  const int index = ComboSerialPort->currentIndex();
  if (index >= 0 && ComboSerialPort->itemText(index) == ComboSerialPort->currentText())
    return ComboSerialPort->itemData(index).toInt();
  return 0;
}

QString CommPanel::serialDevicePath() const {
  return serialPortNumber() == 0 ? ComboSerialPort->currentText().trimmed() : QString();
}

void CommPanel::setSettingsDimmed(bool dimmed) {
  for (QWidget *control : std::initializer_list<QWidget *>{
           NumAddress, RingPortType, ComboSerialPort, RingBaudrate, NumIP[0], NumIP[1], NumIP[2],
           NumIP[3], NumTCPPort, NumGPIB, CheckReplyPacing, CheckAutoReconnect})
    control->setEnabled(!dimmed);
}
