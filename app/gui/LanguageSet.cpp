#include "app/gui/LanguageSet.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>

#include "app/gui/CommPanel.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/Popups.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"
#include "measure/gui/MeasureDisplayPanel.h"
#include "programs/gui/CrossPanel.h"
#include "programs/gui/ListPanel.h"
#include "programs/gui/ProgramPanels.h"
#include "programs/gui/StepPanel.h"
#include "programs/gui/THDPanel.h"
#include "records/Globals.h"
#include "storage/Language.h"
#include "ui/Texts.h"

namespace {

// Texts shared by the panels that carry these areas.
void SetConnectionTexts(ConnectionBar *bar) {
  bar->BtConnect->setText(LanguageItem(33));
  bar->BtDisconnect->setText(LanguageItem(34));
  bar->NotConnectedText->setText(LanguageItem(35));
}

void SetOutputTexts(OutputArea *area) {
  area->RunningText->setText(LanguageItem(37));
  area->RisingText->setText(Tx("Rising", "缓升中"));
  area->StoppedText->setText(LanguageItem(38));
  area->AlarmLamp->setCaption(LanguageItem(176));
  area->BtClearAlarm->setText(LanguageItem(177));
  area->DCCaption->setText(LanguageItem(195));
}

void SetMeasureTexts() {
  QStringList names;
  for (int n = 109; n <= 116; ++n)
    names << LanguageItem(n);
  gMeasureArea->setQuantityNames(names);
  gMeasureArea->setPhaseNames({LanguageItem(117), LanguageItem(118), LanguageItem(119)});
}

void SetProgramPanelTexts(ProgramPanel *panel, int title) {
  OpenLanguage(gPowerInfo.Language);
  const QString name = LanguageItem(title);
  panel->setWindowTitle(name);
  panel->Title->setText(name);
  for (const PanelMenuItem &entry : panel->menuItems()) {
    const QString text = LanguageItem(entry.Text);
    if (entry.Parent == 0)
      panel->menu(entry.Item)->setTitle(text);
    else
      panel->action(entry.Item)->setText(text);
  }
  SetConnectionTexts(panel->Connection);
  if (panel->Output) {
    SetOutputTexts(panel->Output);
    SetMeasureTexts();
  }
  panel->setLayoutTexts(gPowerInfo.Language);
  CloseLanguage();
}

// Headings "Voltage (V)" over U, V, W.
QStringList PhaseHeadings(const QString &quantity) {
  return {quantity + "\nU", quantity + "\nV", quantity + "\nW"};
}

void SetGroupHints(GroupPanel *panel) {
  panel->Hint->setText(LanguageItem(66) + " " + LanguageItem(67) + "\n" + LanguageItem(69) + "   " +
                       LanguageItem(68) + " " + QString::number(gCurrentNormalGroup + 1));
  panel->BtOk->setText(LanguageItem(178));
  panel->BtCancel->setText(LanguageItem(179));
}

} // namespace

QString LanguageItem(int n) {
  ReadItem(n, gStrLanguage);
  return QString::fromUtf8(gStrLanguage);
}

void PanelAllLanguageSet(int panel) {
  switch (panel) {
  case kPageMain:
    PanelMainLanguageSet();
    break;
  case kPageStep:
    PanelStepLanguageSet();
    break;
  case kPageList:
    PanelListLanguageSet();
    break;
  case kPageRamp:
    PanelRampLanguageSet();
    break;
  case kPageCross:
    PanelCrossLanguageSet();
    break;
  case kPageTHD:
    PanelTHDLanguageSet();
    break;
  case kPageFCGroup:
    PanelGroupLanguageSet();
    break;
  case kPageFPGroup:
    PanelFPGroupLanguageSet();
    break;
  case kPageMeasureHistory:
    PanelDisplayLanguageSet();
    break;
  default:
    break;
  }
}

void PanelMainLanguageSet() {
  MainPanel *panel = gMainPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(1));
  for (const MainMenuEntry &entry : MainMenu::Entries()) {
    const QString text = LanguageItem(entry.Text);
    if (entry.IsMenu)
      gMainMenu->menu(entry.Item)->setTitle(text);
    else
      gMainMenu->action(entry.Item)->setText(text);
  }
  SetConnectionTexts(panel->Connection);
  SetOutputTexts(panel->Output);
  const QString setting = LanguageItem(22);
  panel->MiddleLCD->setTitle(setting);
  panel->MiddleFC->setTitle(setting);
  QPushButton *const keys[] = {panel->BtFCUVW,  panel->BtFCPL,   panel->BtFCAutoHigh,
                               panel->BtFC5060, panel->BtFCM2M4, panel->BtFC120220,
                               panel->BtFCUp,   panel->BtFCDown};
  for (int i = 0; i < 8; ++i)
    keys[i]->setText(LanguageItem(46 + i));
  panel->LabelUpPer->setText(LanguageItem(56));
  panel->LabelDownPer->setText(LanguageItem(57));
  panel->KnobVolFC->setCaption(LanguageItem(109));
  panel->KnobFreqFC->setCaption(LanguageItem(111));
  SetMeasureTexts();
  panel->setLayoutTexts(gPowerInfo.Language);
  CloseLanguage();
}

void PanelStepLanguageSet() { SetProgramPanelTexts(gStepPanel, 23); }
void PanelListLanguageSet() { SetProgramPanelTexts(gListPanel, 24); }
void PanelRampLanguageSet() { SetProgramPanelTexts(gRampPanel, 25); }
void PanelCrossLanguageSet() { SetProgramPanelTexts(gCrossPanel, 26); }
void PanelTHDLanguageSet() { SetProgramPanelTexts(gTHDPanel, 28); }

void PanelGroupLanguageSet() {
  GroupPanel *panel = gFCGroupPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(62));
  panel->setHeadings({LanguageItem(63), LanguageItem(109), LanguageItem(111), LanguageItem(64),
                      LanguageItem(65), LanguageItem(56), LanguageItem(57)});
  SetGroupHints(panel);
  CloseLanguage();
}

void PanelFPGroupLanguageSet() {
  GroupPanel *panel = gFPGroupPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(62));
  QStringList headings{LanguageItem(63), LanguageItem(64), LanguageItem(60)};
  headings << PhaseHeadings(LanguageItem(109)) << LanguageItem(70) << LanguageItem(65)
           << PhaseHeadings(LanguageItem(111)) << LanguageItem(71);
  const QString angle = LanguageItem(72);
  headings << angle + "\nU→V" << angle + "\nV→W" << angle + "\nU→W";
  headings << PhaseHeadings(LanguageItem(77));
  panel->setHeadings(headings);
  SetGroupHints(panel);
  CloseLanguage();
}

void PanelDisplayLanguageSet() {
  MeasureDisplayPanel *panel = gMeasureDisplayPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(30));
  panel->Title->setText(LanguageItem(30));
  panel->MenuExit->setText(LanguageItem(5));
  panel->MenuHelp->setText(LanguageItem(31));
  QStringList quantities;
  for (int q = 0; q < kExportItemCount; ++q) {
    quantities << LanguageItem(109 + q);
    panel->Items[static_cast<size_t>(q)]->setText(quantities.last());
  }
  panel->Quantity->setItemTexts(quantities);
  QLabel *const labels[] = {panel->LabelStartDate, panel->LabelYear,      panel->LabelMonth,
                            panel->LabelDay,       panel->LabelStartTime, panel->LabelHour,
                            panel->LabelMinute,    panel->LabelSecond,    panel->LabelSpan,
                            panel->LabelQuantity};
  for (int i = 0; i < 10; ++i)
    labels[i]->setText(LanguageItem(157 + i));
  for (size_t i = 0; i < 3; ++i) {
    panel->SpanUnits[i]->setText(LanguageItem(162 + static_cast<int>(i)));
    panel->ExportUnits[i]->setText(LanguageItem(162 + static_cast<int>(i)));
  }
  panel->BtDisplay->setText(LanguageItem(167));
  panel->BtClear->setText(LanguageItem(168));
  panel->LabelExportSpan->setText(LanguageItem(169));
  panel->LabelInterval->setText(LanguageItem(170));
  panel->ExportBox->setTitle(LanguageItem(171));
  panel->LabelFile->setText(LanguageItem(172));
  panel->BtChooseFile->setText(LanguageItem(173));
  panel->BtExport->setText(LanguageItem(174));
  panel->GraphBox->setTitle(LanguageItem(204));
  panel->setLayoutTexts(gPowerInfo.Language);
  CloseLanguage();
}

void PanelCommSetLanguageSet() {
  CommPanel *panel = gCommPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(6));
  panel->LabelAddress->setText(LanguageItem(196));
  panel->LabelPortType->setText(LanguageItem(197));
  panel->LabelSerialPort->setText(LanguageItem(198));
  panel->LabelBaudrate->setText(LanguageItem(199));
  panel->LabelIP->setText(LanguageItem(200));
  panel->LabelTCPPort->setText(LanguageItem(201));
  panel->LabelGPIB->setText(LanguageItem(202));
  panel->CheckReplyPacing->setText(LanguageItem(349));
  panel->LabelReplyPacing->setText(LanguageItem(350));
  panel->CheckAutoReconnect->setText(LanguageItem(351));
  panel->LabelAutoReconnect->setText(LanguageItem(352));
  panel->BtOk->setText(LanguageItem(178));
  panel->BtCancel->setText(LanguageItem(179));
  CloseLanguage();
}

void PanelAboutLanguageSet() {
  AboutPanel *panel = gAboutPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(32));
  panel->ProgramName->setText(LanguageItem(1));
  panel->VersionLabel->setText(LanguageItem(183));
  panel->Description->setText(LanguageItem(184));
  panel->BtOk->setText(LanguageItem(178));
  CloseLanguage();
}

void PanelWaitLanguageSet() {
  WaitPanel *panel = gWaitPanel;
  OpenLanguage(gPowerInfo.Language);
  panel->setWindowTitle(LanguageItem(181));
  panel->Title->setText(LanguageItem(181));
  panel->Text->setText(LanguageItem(182));
  panel->BtCancel->setText(Tx("Cancel and disconnect", "取消并断开连接"));
  CloseLanguage();
}
