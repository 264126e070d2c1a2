// The THD (harmonic) panel, headless: what its controls show (THDPanelState)
// and its callbacks on gTHDSet and the download flags. Edits are kept on the
// PC and flagged per group; Download writes the flagged groups.
#pragma once

#include <array>

#include "programs/ProgramGraph.h"
#include "records/PanelViews.h"

constexpr int kTHDTableRows = 20;
// The four value columns of a table: percent and angle of orders 1..20, then
// of orders 21..40. Row 0 of the first pair (the fundamental) is not used.
constexpr int kTHDTableColumns = 4;

struct THDTableView {
  // Cells in display units: percent and degrees, one decimal.
  std::array<std::array<double, kTHDTableColumns>, kTHDTableRows> Cells{};
};

// The tables of the two languages: only the one of the interface language is
// shown and read, both are written.
enum THDTableLanguage : int {
  kTHDTableChinese = 0,
  kTHDTableEnglish = 1,
};

struct THDPanelState {
  std::array<THDTableView, 2> Table{};
  RingView GroupSelector; // the group index 0..9
  KeyView Download;       // dimmed while no group waits for downloading
  ProgramGraphView Graph;
  bool SaveLoadDimmed = false;
};

// The record index (order - 1) of a cell, or -1 for the fundamental's cells.
int THDOrderIndex(int row, int column);
// A cell value as stored: x 10, truncated toward zero.
int THDCellToStored(double value);

void THDPanelInit(THDPanelState &panel);
void DataFPFromTHDVarToPanel(THDPanelState &panel);
void DataFPFromPanelToTHDVar(THDPanelState &panel);
void CheckAndSetTHDDownloadButton(THDPanelState &panel);
void MenuTHDSaveLoadDimmed(THDPanelState &panel, int busy);

// The callbacks.
void THDSetChanged(THDPanelState &panel);   // a table cell
void THDGroupChanged(THDPanelState &panel); // the group selector
void THDClear(THDPanelState &panel);
void THDDownload(THDPanelState &panel);
// A THD file was read: all groups, or the current one.
void THDFileLoadedAll(THDPanelState &panel);
void THDFileLoadedOne(THDPanelState &panel);
// Flagged groups while connected (leaving the panel, or kept through a
// connect): download them (answer 1), or discard the edits and read every
// group back from the source (0).
void THDLeave(int download);
// After the connect exchange: when groups wait for their download, asks the
// user once, naming them (groups counted from 1).
void THDAskAboutPendingEdits();
