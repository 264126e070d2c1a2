#include "app/gui/GroupPanels.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QVBoxLayout>

GroupPanel::GroupPanel(const char *objectName, int rows, int columns, QWidget *parent)
    : DialogPanel(parent), Hint(new QLabel(this)), Table(new QTableWidget(rows, columns + 1, this)),
      Radios(new QButtonGroup(this)), BtOk(new QPushButton(this)), BtCancel(new QPushButton(this)) {
  setObjectName(objectName);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(Hint);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->setSelectionMode(QAbstractItemView::NoSelection);
  Table->verticalHeader()->hide();
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < rows; ++row) {
    auto *radio = new QRadioButton(QString::number(row + 1), Table);
    Radios->addButton(radio, row);
    Table->setCellWidget(row, 0, radio);
    for (int column = 1; column <= columns; ++column) {
      auto *item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignCenter);
      Table->setItem(row, column, item);
    }
  }
  Radios->setExclusive(true);
  connect(Radios, &QButtonGroup::idClicked, this, [this](int row) {
    if (OnRowChosen)
      OnRowChosen(row);
  });
  layout->addWidget(Table, 1);
  addOkCancelRow(layout, BtOk, BtCancel, OnOk, OnCancel);
  resize(rows > 7 ? 1000 : 720, rows > 7 ? 480 : 380);
  OnClose = [this] {
    if (OnCancel)
      OnCancel();
  };
}

void GroupPanel::markRow(int row) {
  if (QAbstractButton *button = Radios->button(row))
    button->setChecked(true);
}

int GroupPanel::markedRow() const { return Radios->checkedId(); }

void GroupPanel::setCell(int row, int column, const QString &text) {
  if (QTableWidgetItem *item = Table->item(row, column + 1))
    item->setText(text);
}

QString GroupPanel::cell(int row, int column) const {
  const QTableWidgetItem *item = Table->item(row, column + 1);
  return item ? item->text() : QString();
}

void GroupPanel::setHeadings(const QStringList &headings) {
  QStringList all = headings;
  while (all.size() < Table->columnCount())
    all << QString();
  Table->setHorizontalHeaderLabels(all);
}
