// The building blocks shared by the panels: a top-level panel whose close box
// is handed to the program (it decides whether the panel goes), the
// connection area of the six main pages and the output area of the five
// operating panels.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <functional>

#include "ui/Controls.h"

class QPushButton;
class QVBoxLayout;
class Logo;

// A panel with a menu bar. Closing it calls OnClose and leaves the decision
// to it; the panel never closes itself.
class Panel : public QMainWindow {
  Q_OBJECT
public:
  explicit Panel(QWidget *parent = nullptr);
  std::function<void()> OnClose;

protected:
  void closeEvent(QCloseEvent *event) override;
};

// A dialog panel without menu bar, same close rule.
class DialogPanel : public QDialog {
  Q_OBJECT
public:
  explicit DialogPanel(QWidget *parent = nullptr);
  std::function<void()> OnClose;

protected:
  void closeEvent(QCloseEvent *event) override;
  void reject() override; // Escape behaves like the close box
  // OK (the default button) and Cancel, right-aligned at the foot of layout;
  // each calls its function when one is set.
  void addOkCancelRow(QVBoxLayout *layout, QPushButton *ok, QPushButton *cancel,
                      std::function<void()> &onOk, std::function<void()> &onCancel);
};

// Link indicator, not-connected text, model name and the connect and
// disconnect buttons.
class ConnectionBar : public QFrame {
  Q_OBJECT
public:
  explicit ConnectionBar(QWidget *parent = nullptr);
  // 1: connected look (model name, disconnect button); 0: the reverse.
  void showConnected(bool connected, const QString &modelName);
  // What the link does between connections (empty: nothing). While it shows,
  // the disconnect button stays offered, to stop it.
  void showLinkStatus(const QString &text);

  Lamp *LinkLamp;
  QLabel *NotConnectedText;
  QLabel *ModelName;
  QLabel *LinkStatus;
  QPushButton *BtConnect;
  QPushButton *BtDisconnect;

private:
  void showButtons();
  bool connected_ = false;
};

// Output switch, output-on and output-off indications, alarm indicator, alarm text,
// clear-alarm key, DC output switch and DC reading.
class OutputArea : public QFrame {
  Q_OBJECT
public:
  explicit OutputArea(QWidget *parent = nullptr);

  LedSwitch *OutputSwitch;
  QLabel *RunningText;
  QLabel *RisingText;
  QLabel *StoppedText;
  Lamp *AlarmLamp;
  QLabel *AlarmText;
  QPushButton *BtClearAlarm;
  QWidget *DCBox; // the DC output switch and reading (GS only)
  QLabel *DCCaption;
  LedSwitch *DCSwitch;
  NumDisplay *DCValue;
};
