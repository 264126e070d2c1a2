#include "programs/gui/THDPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>

#include "ui/PhaseGraph.h"
#include "ui/Texts.h"

THDPanel::THDPanel(QWidget *parent) : ProgramPanel(kProgramTHD, parent) {
  QWidget *host = Title->parentWidget();
  auto *bar = new QHBoxLayout;
  LabelGroup = new QLabel(host);
  RingGroup = new Ring(host);
  RingGroup->setObjectName("THDRingGroup");
  for (int g = 0; g < 10; ++g)
    RingGroup->addValue(QString::number(g + 1), g);
  BtClear = new QPushButton(host);
  BtDownload = new QPushButton(host);
  bar->addWidget(LabelGroup);
  bar->addWidget(RingGroup);
  bar->addSpacing(20);
  bar->addWidget(BtClear);
  bar->addWidget(BtDownload);
  bar->addStretch(1);
  Editor->addLayout(bar);

  auto *body = new QHBoxLayout;
  for (int language = 0; language < 2; ++language) {
    QTableWidget *table = Table[language] = new QTableWidget(kTHDTableRows, 6, host);
    table->setObjectName(language == kTHDTableEnglish ? "THDTableEnglish" : "THDTableChinese");
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int column : {0, 3})
      table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    for (int row = 0; row < kTHDTableRows; ++row)
      for (int column = 0; column < 6; ++column) {
        auto *item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const bool order = column == 0 || column == 3;
        if (order) {
          item->setText(QString::number(row + 1 + (column == 3 ? kTHDTableRows : 0)));
          item->setBackground(QColor(230, 230, 230));
        }
        if (order || (row == 0 && column < 3))
          item->setFlags(Qt::ItemIsEnabled); // order numbers and the fundamental
        table->setItem(row, column, item);
      }
    table->setMinimumWidth(460);
    body->addWidget(table);
  }
  Graph = MakePhaseGraph(host, kTHDGraphPoints, -2, 2);
  Graph->setObjectName("THDGraph");
  body->addWidget(Graph, 1);
  Editor->addLayout(body, 1);
  setLayoutTexts(0);
}

int THDPanel::TableColumn(int column) { return column < 2 ? column + 1 : column + 2; }

void THDPanel::setLayoutTexts(int language) {
  auto t = [language](const char *english, const char *chinese) {
    return Tx(language, english, chinese);
  };
  LabelGroup->setText(t("Group", "组别"));
  BtClear->setText(t("Clear", "清零"));
  BtDownload->setText(t("Download", "下载"));
  const QStringList english = {"Order", "Percent (%)", "Angle (°)",
                               "Order", "Percent (%)", "Angle (°)"};
  const QStringList chinese = {"次数", "含量(%)", "相位(°)", "次数", "含量(%)", "相位(°)"};
  Table[kTHDTableEnglish]->setHorizontalHeaderLabels(english);
  Table[kTHDTableChinese]->setHorizontalHeaderLabels(chinese);
  Table[kTHDTableEnglish]->setVisible(language == 1);
  Table[kTHDTableChinese]->setVisible(language != 1);
}
