// The communication settings panel: device address and port type at the top,
// a tab per port type (RS-232, LAN, GPIB), the link options, OK and Cancel.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <array>

#include "ui/Controls.h"
#include "ui/Panel.h"

class CommPanel : public DialogPanel {
  Q_OBJECT
public:
  enum Page : int { kPageRS232 = 0, kPageLAN = 1, kPageGPIB = 2 };

  explicit CommPanel(QWidget *parent = nullptr);
  // The serial ports offered: port numbers 1..10 and, where the system names
  // devices by path, the serial devices present.
  void fillSerialPorts(const QStringList &devicePaths);
  // Selects port number n (1..10) or, when path is not empty, that device.
  void setSerialPort(int number, const QString &path);
  // The chosen port number (1..10), or 0 when a device path was chosen or typed.
  int serialPortNumber() const;
  QString serialDevicePath() const;
  // Dims every setting control (looked at but not changed while connected).
  void setSettingsDimmed(bool dimmed);

  std::function<void()> OnOk;
  std::function<void()> OnCancel;

  QLabel *LabelAddress;
  QSpinBox *NumAddress;
  QLabel *LabelPortType;
  Ring *RingPortType; // 16 RS-232, 17 LAN, 18 GPIB
  QTabWidget *Tabs;
  QLabel *LabelSerialPort;
  QComboBox *ComboSerialPort;
  QLabel *LabelBaudrate;
  Ring *RingBaudrate;
  QLabel *LabelIP;
  std::array<QSpinBox *, 4> NumIP{};
  QLabel *LabelTCPPort;
  QSpinBox *NumTCPPort;
  QLabel *LabelGPIB;
  QSpinBox *NumGPIB;
  // The link options, each with its one-line explanation.
  QCheckBox *CheckReplyPacing;
  QLabel *LabelReplyPacing;
  QCheckBox *CheckAutoReconnect;
  QLabel *LabelAutoReconnect;
  QPushButton *BtOk;
  QPushButton *BtCancel;
};

// The serial devices present on this system (Linux: /dev/ttyS*, /dev/ttyUSB*,
// /dev/ttyACM*); empty where ports are only numbered.
QStringList SerialDevicesPresent();
