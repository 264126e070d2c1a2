#include "app/gui/GroupChoose.h"

#include <QSignalBlocker>

#include "app/Globals.h"
#include "app/MainTimer.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/Guards.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/CommScheduler.h"
#include "ui/Texts.h"

int gChooseFCGroup = 0;
int gChooseFPGroup = 0;

namespace {

constexpr int kClassWrite = 90;
constexpr int kWriteNormalGroup = 33;

QString Tenths(int value) { return QString::number(value / 10.0, 'f', 1); }
QString Hundredths(int value) { return QString::number(value / 100.0, 'f', 2); }

QString ChannelText(int mask) {
  QString text;
  for (int phase = 0; phase < 3; ++phase)
    if (mask & (1 << phase))
      text += QChar("UVW"[phase]);
  return text.isEmpty() ? "-" : text;
}

void SendCurrentGroup() {
  if (gPowerInfo.Connected == 1)
    CommSetNewCmdSingleGroup(kClassWrite, kWriteNormalGroup, gCurrentNormalGroup);
}

} // namespace

void ConnectGroupPanels() {
  QObject::connect(gMainPanel->BtGroupChoose, &QPushButton::clicked, gMainPanel,
                   [] { BT_GROUP_CHOOSE_CALLBACK(); });
  QObject::connect(gMainPanel->BtGroupChooseFC, &QPushButton::clicked, gMainPanel,
                   [] { BT_GROUP_CHOOSE_CALLBACK(); });
  gFCGroupPanel->OnRowChosen = [](int row) { gChooseFCGroup = row; };
  gFPGroupPanel->OnRowChosen = [](int row) { gChooseFPGroup = row; };
  gFCGroupPanel->OnOk = [] { BT_FC_GROUP_OK_CALL(); };
  gFPGroupPanel->OnOk = [] { BT_FP_GROUP_OK_CALL(); };
  gFCGroupPanel->OnCancel = [] { ExitFCGroupToNormalPanel(); };
  gFPGroupPanel->OnCancel = [] { ExitFPGroupToNormalPanel(); };
}

void BT_GROUP_CHOOSE_CALLBACK() {
  if (AlarmGuard())
    return;
  if (IsFCModel(gPowerInfo.ModelType)) {
    PanelAllLanguageSet(kPageFCGroup);
    DataFCFromNormalVarToGroupPanel();
    ChooseFCGroup(gCurrentNormalGroup);
    DisplayFCGroupPanel();
  } else {
    PanelAllLanguageSet(kPageFPGroup);
    DataFPFromNormalVarToGroupPanel();
    ChooseFPGroup(gCurrentNormalGroup);
    DisplayFPGroupPanel();
  }
}

void ChooseFCGroup(int group) {
  gChooseFCGroup = group;
  gFCGroupPanel->markRow(group);
}

void ChooseFPGroup(int group) {
  gChooseFPGroup = group;
  gFPGroupPanel->markRow(group);
}

void DataFCFromNormalVarToGroupPanel() {
  const bool fcs = gPowerInfo.ModelType == kModelFCS;
  for (int g = 0; g < kFCGroupCount; ++g) {
    const NormalFCSet &group = gNormalFCSet[g];
    const QStringList row = {Tenths(group.Vol),
                             Tenths(group.Freq),
                             QString::number(fcs ? 1 : group.OutMode),
                             QString::number(group.VolLevel),
                             QString::number(group.UpUPer),
                             QString::number(-group.DownUPer)};
    for (int c = 0; c < row.size(); ++c)
      gFCGroupPanel->setCell(g, c, row[c]);
  }
}

void DataFPFromNormalVarToGroupPanel() {
  // A single-phase group has no second and third waveform.
  const QString noWave = Tx("none", "无");
  for (int g = 0; g < kFPGroupCount; ++g) {
    const NormalFPSet &group = gNormalFPSet[g];
    const bool single = group.OutMode == 5;
    const QStringList row = {QString::number(group.OutMode),
                             ChannelText(group.OutChannel),
                             Tenths(group.VolU),
                             Tenths(group.VolV),
                             Tenths(group.VolW),
                             Tenths(group.VolLine),
                             QString::number(group.VolLevel),
                             Hundredths(group.FreqU),
                             Hundredths(group.FreqV),
                             Hundredths(group.FreqW),
                             Tenths(group.RiseTime),
                             Tenths(group.AngleUV),
                             Tenths(group.AngleVW),
                             Tenths(group.AngleUW),
                             QString::number(group.WaveU),
                             single ? noWave : QString::number(group.WaveV),
                             single ? noWave : QString::number(group.WaveW)};
    for (int c = 0; c < row.size(); ++c)
      gFPGroupPanel->setCell(g, c, row[c]);
  }
}

void BT_FC_GROUP_OK_CALL() {
  if (AlarmGuard())
    return;
  gCurrentNormalGroup = gChooseFCGroup;
  {
    const QSignalBlocker block(gMainPanel->RingGroupFC);
    gMainPanel->RingGroupFC->setRingValue(gCurrentNormalGroup);
  }
  ExitFCGroupToNormalPanel();
  DataFCFromNormalVarToPanel();
  SendCurrentGroup();
}

void BT_FP_GROUP_OK_CALL() {
  if (AlarmGuard())
    return;
  gCurrentNormalGroup = gChooseFPGroup;
  {
    const QSignalBlocker block(gMainPanel->RingGroup);
    gMainPanel->RingGroup->setRingValue(gCurrentNormalGroup);
  }
  ExitFPGroupToNormalPanel();
  DataFPFromNormalVarToPanel();
  SendCurrentGroup();
}
