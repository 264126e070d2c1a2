// Message boxes and file dialogs go through this one interface, so tests can
// answer them; the program installs the Qt implementation at start-up.
#pragma once

#include <QString>

class QWidget;

// Longest path a setting file may have, in characters.
constexpr int kMaxPathLength = 260;

// Result codes of FileSelectPopup.
enum FileSelectResult : int {
  kFileSelectCancelled = 0,
  kFileSelectExisting = 1,
  kFileSelectNew = 2,
};

class DialogService {
public:
  virtual ~DialogService() = default;

  // A modal message with one button.
  virtual void MessagePopup(const QString &title, const QString &text) = 0;
  // A yes/no question: 1 for yes, 0 for no.
  virtual int ConfirmPopup(const QString &title, const QString &text) = 0;
  // A file selection restricted to pattern (for example "*.FPNorAll"); save
  // selects the Save button, otherwise Load. Returns a FileSelectResult and
  // the chosen path in path.
  virtual int FileSelectPopup(const QString &defaultDir, const QString &pattern,
                              const QString &title, bool save, QString &path) = 0;
  // Opens a document in the system's default viewer; false when that failed.
  virtual bool OpenDocument(const QString &path) = 0;
  // A message that does not wait for the user (no modal loop).
  virtual void Notify(const QString &title, const QString &text) = 0;
};

// The dialogs in force (never null once the program or a test installed one;
// a silent implementation that cancels everything until then).
DialogService &Dialogs();
// Installs a service (nullptr restores the silent one). The caller keeps ownership.
void SetDialogs(DialogService *service);

// The real dialogs: QMessageBox and QFileDialog over the panel in front.
class QtDialogService : public DialogService {
public:
  void MessagePopup(const QString &title, const QString &text) override;
  int ConfirmPopup(const QString &title, const QString &text) override;
  int FileSelectPopup(const QString &defaultDir, const QString &pattern, const QString &title,
                      bool save, QString &path) override;
  bool OpenDocument(const QString &path) override;
  void Notify(const QString &title, const QString &text) override;
};
