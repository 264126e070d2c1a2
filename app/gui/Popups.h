// The wait popup shown during long transfers and the About popup.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "ui/Controls.h"

class WaitPanel : public QDialog {
  Q_OBJECT
public:
  explicit WaitPanel(QWidget *parent = nullptr);
  // The frames exchanged so far of those expected (0: not known) and the
  // one in flight.
  void showProgress(int framesDone, int framesExpected, const QString &inFlight);

  QLabel *Title;
  QLabel *Text;
  QLabel *Progress;
  QPushButton *BtCancel;
  std::function<void()> OnCancel;

protected:
  void closeEvent(QCloseEvent *event) override; // it goes when the transfer ends
  void reject() override {}
};

class AboutPanel : public QDialog {
  Q_OBJECT
public:
  explicit AboutPanel(QWidget *parent = nullptr);
  std::function<void()> OnOk;

  QLabel *ProgramName;
  QLabel *VersionLabel;
  NumDisplay *Version;
  QLabel *Description;
  QPushButton *BtOk;

protected:
  void closeEvent(QCloseEvent *event) override;
  void reject() override;
};
