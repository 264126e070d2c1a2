#include "programs/THDPanelFunc.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "settings/ProgramSet.h"

namespace {

THDSet &CurrentGroup() { return gTHDSet[std::clamp(gTHDCurrentGroup, 0, kTHDGroupCount - 1)]; }

void Changed(THDPanelState &panel, int group) {
  gTHDSet[group].WaveValid = 0;
  DrawTHDPanelGraph(panel.Graph, gTHDCurrentGroup);
  gTHDNeedDownload[group] = 1;
  CheckAndSetTHDDownloadButton(panel);
}

} // namespace

int THDOrderIndex(int row, int column) {
  const int index = row + (column >= 2 ? kTHDTableRows : 0);
  return index == 0 ? -1 : index;
}

int THDCellToStored(double value) {
  // A cell shows one decimal; 2.3 is 22.999... in binary and must stay 23.
  return static_cast<int>(std::trunc(value * 10 + (value < 0 ? -1e-6 : 1e-6)));
}

void THDPanelInit(THDPanelState &panel) {
  for (int g = 0; g < kTHDGroupCount; ++g)
    if (DataTHDCheckOne(g) != 0)
      gTHDSet[g].WaveValid = 0;
  DrawTHDPanelGraph(panel.Graph, gTHDCurrentGroup);
  CheckAndSetTHDDownloadButton(panel);
}

void DataFPFromTHDVarToPanel(THDPanelState &panel) {
  panel.GroupSelector.Value = gTHDCurrentGroup;
  const THDSet &g = CurrentGroup();
  for (THDTableView &table : panel.Table)
    for (int row = 0; row < kTHDTableRows; ++row)
      for (int column = 0; column < kTHDTableColumns; ++column) {
        const int n = THDOrderIndex(row, column);
        if (n >= 0)
          table.Cells[row][column] = (column % 2 == 0 ? g.Percent[n] : g.Angle[n]) / 10.0;
      }
}

void DataFPFromPanelToTHDVar(THDPanelState &panel) {
  const THDTableView &table =
      panel.Table[gPowerInfo.Language == 1 ? kTHDTableEnglish : kTHDTableChinese];
  THDSet &g = CurrentGroup();
  for (int row = 0; row < kTHDTableRows; ++row)
    for (int column = 0; column < kTHDTableColumns; ++column) {
      const int n = THDOrderIndex(row, column);
      if (n >= 0)
        (column % 2 == 0 ? g.Percent[n] : g.Angle[n]) = THDCellToStored(table.Cells[row][column]);
    }
}

void CheckAndSetTHDDownloadButton(THDPanelState &panel) {
  panel.Download.Dimmed = CheckTHDNeedToDownload() == 0;
}

void MenuTHDSaveLoadDimmed(THDPanelState &panel, int busy) { panel.SaveLoadDimmed = busy != 0; }

void THDSetChanged(THDPanelState &panel) {
  if (GuardAlarm()) {
    DataFPFromTHDVarToPanel(panel);
    return;
  }
  DataFPFromPanelToTHDVar(panel);
  DataFPFromTHDVarToPanel(panel);
  Changed(panel, gTHDCurrentGroup);
}

void THDGroupChanged(THDPanelState &panel) {
  if (GuardAlarm()) {
    DataFPFromTHDVarToPanel(panel);
    return;
  }
  gTHDCurrentGroup = std::clamp(panel.GroupSelector.Value, 0, kTHDGroupCount - 1);
  DataFPFromTHDVarToPanel(panel);
  DrawTHDPanelGraph(panel.Graph, gTHDCurrentGroup);
}

void THDClear(THDPanelState &panel) {
  if (GuardAlarm())
    return;
  DataFPInitTHDOne(gTHDCurrentGroup);
  DataFPFromTHDVarToPanel(panel);
  Changed(panel, gTHDCurrentGroup);
}

void THDDownload(THDPanelState &panel) {
  (void)panel;
  if (GuardAlarm())
    return;
  if (gPowerInfo.Connected == 1)
    CommSetNewCmdGroup(kGroupWriteTHDMarked);
}

void THDFileLoadedAll(THDPanelState &panel) {
  DataFPFromTHDVarToPanel(panel);
  for (int g = 0; g < kTHDGroupCount; ++g) {
    gTHDSet[g].WaveValid = 0;
    gTHDNeedDownload[g] = 1;
  }
  DrawTHDPanelGraph(panel.Graph, gTHDCurrentGroup);
  CheckAndSetTHDDownloadButton(panel);
}

void THDFileLoadedOne(THDPanelState &panel) {
  DataFPFromTHDVarToPanel(panel);
  Changed(panel, gTHDCurrentGroup);
}

void THDLeave(int download) {
  if (download != 1)
    gTHDNeedDownload.fill(0);
  CommSetNewCmdGroup(download == 1 ? kGroupWriteTHDMarked : kGroupReadTHD);
}

void THDAskAboutPendingEdits() {
  std::string groups;
  for (int g = 0; g < kTHDGroupCount; ++g)
    if (gTHDNeedDownload[g] == 1)
      groups += (groups.empty() ? "" : ", ") + std::to_string(g + 1);
  if (groups.empty())
    return;
  if (gPowerInfo.Language == 1)
    Hooks().AskTHDPendingEdits(
        "Note", "THD groups " + groups +
                    " were changed on the PC and not yet downloaded.\nDownload them to the "
                    "source now? (No: discard the changes and read the groups from the source.)");
  else
    Hooks().AskTHDPendingEdits("提示", "谐波组 " + groups +
                                           " 已在电脑上修改但尚未下载。\n现在下载到电源吗？"
                                           "（否：放弃修改并从电源读回这些组。）");
}
