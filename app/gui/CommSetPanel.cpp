#include "app/gui/CommSetPanel.h"

#include <QSignalBlocker>
#include <algorithm>

#include "app/MainTimer.h"
#include "app/OutputState.h"
#include "app/gui/CommPanel.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/CommReconnect.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/Language.h"
#include "storage/SoftSet.h"

void DisplayPanelCommSet(int show) {
  if (show == 0) {
    if (gCommPanel) {
      gCommPanel->hide();
      gCommPanel->deleteLater();
      gCommPanel = nullptr;
    }
    return;
  }
  if (gCommPanel)
    return;
  gCommPanel = new CommPanel(gMainPanel ? static_cast<QWidget *>(gCurrentPanel) : nullptr);
  gCommPanel->setWindowFlag(Qt::Dialog);
  gCommPanel->OnOk = [] { BT_COMMSET_OK_CALLBACK(); };
  gCommPanel->OnCancel = [] { BT_COMMSET_CANCEL_CALLBACK(); };
  gCommPanel->OnClose = [] { COMM_PANEL_CALLBACK(); };
  PanelCommSetLanguageSet();
  gCommPanel->setWindowModality(Qt::ApplicationModal);
  gCommPanel->show();
  DataFromCommSetVarToPanel();
  gCommPanel->setSettingsDimmed(gPowerInfo.Connected == 1);
  gCommPanel->BtOk->setEnabled(gPowerInfo.Connected != 1);
}

void DataFromCommSetVarToPanel() {
  CommPanel *panel = gCommPanel;
  panel->NumAddress->setValue(gPowerInfo.SoftwareAddress);
  panel->RingPortType->setRingValue(gPowerInfo.CommType);
  panel->Tabs->setCurrentIndex(std::clamp(gPowerInfo.CommType - kCommRS232, 0, 2));
  panel->setSerialPort(gPowerInfo.CommTypeRS232Port,
                       QString::fromLocal8Bit(gPowerInfo.CommTypeRS232Device.data()));
  panel->RingBaudrate->setRingValue(gPowerInfo.CommTypeRS232Baudrate);
  const int octets[4] = {gPowerInfo.CommTypeLAN_IP1, gPowerInfo.CommTypeLAN_IP2,
                         gPowerInfo.CommTypeLAN_IP3, gPowerInfo.CommTypeLAN_IP4};
  for (int i = 0; i < 4; ++i)
    panel->NumIP[i]->setValue(octets[i]);
  panel->NumTCPPort->setValue(gPowerInfo.CommTypeLAN_Port);
  panel->NumGPIB->setValue(gPowerInfo.CommTypeGPIBPort);
  panel->CheckReplyPacing->setChecked(gPowerInfo.CommReplyPacing == 1);
  panel->CheckAutoReconnect->setChecked(gPowerInfo.CommAutoReconnect == 1);
}

void DataFromPanelToCommSetVar() {
  CommPanel *panel = gCommPanel;
  gPowerInfo.SoftwareAddress = panel->NumAddress->value();
  gPowerInfo.CommType = panel->RingPortType->ringValue();
  // A port number, or a device path that takes its place.
  auto &device = gPowerInfo.CommTypeRS232Device;
  device.fill('\0');
  if (const int number = panel->serialPortNumber(); number > 0) {
    gPowerInfo.CommTypeRS232Port = number;
  } else {
    const QByteArray path = panel->serialDevicePath().toLocal8Bit().left(int(device.size()) - 1);
    std::copy(path.begin(), path.end(), device.begin());
  }
  gPowerInfo.CommTypeRS232Baudrate = panel->RingBaudrate->ringValue();
  gPowerInfo.CommTypeLAN_IP1 = panel->NumIP[0]->value();
  gPowerInfo.CommTypeLAN_IP2 = panel->NumIP[1]->value();
  gPowerInfo.CommTypeLAN_IP3 = panel->NumIP[2]->value();
  gPowerInfo.CommTypeLAN_IP4 = panel->NumIP[3]->value();
  gPowerInfo.CommTypeLAN_Port = panel->NumTCPPort->value();
  gPowerInfo.CommTypeGPIBPort = panel->NumGPIB->value();
  gPowerInfo.CommReplyPacing = panel->CheckReplyPacing->isChecked() ? 1 : 0;
  gPowerInfo.CommAutoReconnect = panel->CheckAutoReconnect->isChecked() ? 1 : 0;
}

void BT_COMMSET_OK_CALLBACK() {
  DataFromPanelToCommSetVar();
  DisplayPanelCommSet(0);
  FileWriteSoftSet("Set.Dat");
}

void BT_COMMSET_CANCEL_CALLBACK() {
  if (gPowerInfo.Connected != 1) {
    gPowerInfo.OutputRunning = 0;
    gPowerInfo.Alarming = 0;
    RefreshOutputState(gPanelState);
    StateToPanel();
  }
  DisplayPanelCommSet(0);
}

void COMM_PANEL_CALLBACK() { DisplayPanelCommSet(0); }

void BT_COMM_CONNECT_CALLBACK() {
  // Disconnect also gives up a connect under way and stops reconnecting.
  if (gPowerInfo.Connected == 1 || gCommLink.Opening == 1 || CommReconnectActive()) {
    CommReconnectStop();
    CommConnectDeal(0);
    return;
  }
  CommConnectDeal(1);
}

void ShowConnectionOnPanels(int connected) {
  const QString model = QString::fromLatin1(gPowerInfo.PowerModelStr.data());
  for (ConnectionBar *bar : AllConnectionBars())
    bar->showConnected(connected == 1, model);
}

void ShowLinkStatusOnPanels(const QString &text) {
  QString shown = text;
  if (!text.isEmpty()) {
    OpenLanguage(gPowerInfo.Language);
    shown += "\n" + LanguageItem(353);
    CloseLanguage();
  }
  for (ConnectionBar *bar : AllConnectionBars())
    bar->showLinkStatus(shown);
}
