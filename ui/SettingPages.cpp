#include "ui/SettingPages.h"

#include <QGridLayout>

#include "ui/ControlSync.h"
#include "ui/Texts.h"

QGridLayout *PageGrid(QWidget *page) {
  auto *grid = new QGridLayout(page);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(10);
  return grid;
}

WavePageControls MakeWavePage(QWidget *page, const QString &ringName) {
  WavePageControls c;
  auto *grid = PageGrid(page);
  for (int phase = 0; phase < 3; ++phase) {
    c.Label[phase] = new QLabel(page);
    c.Rings[phase] = new Ring(page);
    c.Rings[phase]->setObjectName(ringName + QChar("UVW"[phase]));
    for (int wave = 0; wave <= 10; ++wave)
      c.Rings[phase]->addValue(QString(), wave);
    grid->addWidget(c.Label[phase], phase, 0);
    grid->addWidget(c.Rings[phase], phase, 1);
  }
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(1, 1);
  return c;
}

AnglePageControls MakeAnglePage(QWidget *page) {
  AnglePageControls c;
  auto *grid = PageGrid(page);
  c.LabelUV = new QLabel(page);
  c.LabelUW = new QLabel(page);
  c.LabelVW = new QLabel(page);
  c.UV = new NumEntry(0.0, 359.9, 1, 0.1, page);
  c.UW = new NumEntry(0.0, 359.9, 1, 0.1, page);
  c.VW = new NumDisplay(1, page);
  c.Standard = new QPushButton(page);
  grid->addWidget(c.LabelUV, 0, 0);
  grid->addWidget(c.UV, 0, 1);
  grid->addWidget(c.LabelUW, 1, 0);
  grid->addWidget(c.UW, 1, 1);
  grid->addWidget(c.LabelVW, 2, 0);
  grid->addWidget(c.VW, 2, 1);
  grid->addWidget(c.Standard, 0, 2);
  grid->setRowStretch(3, 1);
  return c;
}

void SetWavePageTexts(const WavePageControls &c, int language) {
  for (int phase = 0; phase < 3; ++phase) {
    c.Label[phase]->setText(Tx(language, "Waveform", "波形") + " " + QChar("UVW"[phase]));
    c.Rings[phase]->setItemTexts(WaveTexts(language));
  }
}

void SetAnglePageTexts(const AnglePageControls &c, int language) {
  c.LabelUV->setText(Tx(language, "Angle U→V (°)", "U→V 相位(°)"));
  c.LabelUW->setText(Tx(language, "Angle U→W (°)", "U→W 相位(°)"));
  c.LabelVW->setText(Tx(language, "Angle V→W (°)", "V→W 相位(°)"));
  c.Standard->setText(Tx(language, "Standard 120°/240°", "标准相位"));
}

void ApplyAnglePage(const AnglePageControls &c, const AnglePageView &view) {
  ApplyNum(c.UV, view.AngleUV);
  ApplyNum(c.UW, view.AngleUW);
  ApplyNum(c.VW, view.AngleVW);
  ApplyKey(c.Standard, view.Standard);
}

void ReadAnglePage(const AnglePageControls &c, AnglePageView &view) {
  view.AngleUV.Value = c.UV->value();
  view.AngleUW.Value = c.UW->value();
}
