// The group-choice panels: one row per normal group with its settings and a
// radio button; OK takes the marked group, Cancel and the close box return
// without change.
#pragma once

#include <QButtonGroup>
#include <QPushButton>
#include <QTableWidget>

#include "ui/Panel.h"

class GroupPanel : public DialogPanel {
  Q_OBJECT
public:
  // rows: 7 for the FC family, 10 for the others; columns: the headings
  // after the radio-button column.
  GroupPanel(const char *objectName, int rows, int columns, QWidget *parent = nullptr);

  int rowCount() const { return Table->rowCount(); }
  // Marks row n (and unmarks the others).
  void markRow(int row);
  int markedRow() const;
  void setCell(int row, int column, const QString &text);
  QString cell(int row, int column) const;
  void setHeadings(const QStringList &headings);

  std::function<void(int)> OnRowChosen; // a radio button was clicked
  std::function<void()> OnOk;
  std::function<void()> OnCancel;

  QLabel *Hint;
  QTableWidget *Table;
  QButtonGroup *Radios;
  QPushButton *BtOk;
  QPushButton *BtCancel;
};
