#include "ui/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace {

class SilentDialogs : public DialogService {
public:
  void MessagePopup(const QString &, const QString &) override {}
  int ConfirmPopup(const QString &, const QString &) override { return 0; }
  int FileSelectPopup(const QString &, const QString &, const QString &, bool, QString &) override {
    return kFileSelectCancelled;
  }
  bool OpenDocument(const QString &) override { return false; }
  void Notify(const QString &, const QString &) override {}
};

SilentDialogs gSilentDialogs;
DialogService *gDialogs = &gSilentDialogs;

// The visible top-level window the dialog belongs to, if any.
QWidget *DialogParent() {
  if (QWidget *modal = QApplication::activeModalWidget())
    return modal;
  return QApplication::activeWindow();
}

} // namespace

DialogService &Dialogs() { return *gDialogs; }

void SetDialogs(DialogService *service) { gDialogs = service ? service : &gSilentDialogs; }

void QtDialogService::MessagePopup(const QString &title, const QString &text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, DialogParent());
  box.exec();
}

int QtDialogService::ConfirmPopup(const QString &title, const QString &text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                  DialogParent());
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? 1 : 0;
}

int QtDialogService::FileSelectPopup(const QString &defaultDir, const QString &pattern,
                                     const QString &title, bool save, QString &path) {
  QFileDialog dialog(DialogParent(), title, defaultDir, pattern);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setLabelText(QFileDialog::Accept,
                      save ? QFileDialog::tr("&Save") : QFileDialog::tr("&Open"));
  dialog.setOption(QFileDialog::ReadOnly, true); // no new folders from the dialog
  // The extension is restricted to the pattern's.
  const QString suffix = pattern.startsWith("*.") ? pattern.mid(2) : QString();
  if (!suffix.isEmpty())
    dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return kFileSelectCancelled;
  QString chosen = dialog.selectedFiles().first();
  if (!suffix.isEmpty() && QFileInfo(chosen).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
    chosen += "." + suffix;
  path = chosen;
  return QFileInfo::exists(chosen) ? kFileSelectExisting : kFileSelectNew;
}

bool QtDialogService::OpenDocument(const QString &path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtDialogService::Notify(const QString &title, const QString &text) {
  auto *box =
      new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, DialogParent());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}
