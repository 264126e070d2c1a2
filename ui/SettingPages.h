// The waveform and angle pages that the main panel and the Step panel both
// carry: a waveform ring per phase, and the U->V and U->W angle entries with
// the derived V->W angle and the standard-angle key.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>

class QGridLayout;

#include "records/PanelViews.h"
#include "ui/Controls.h"

struct WavePageControls {
  std::array<QLabel *, 3> Label{};
  std::array<Ring *, 3> Rings{}; // values 0 (sine) .. 10
};

struct AnglePageControls {
  QLabel *LabelUV, *LabelUW, *LabelVW;
  NumEntry *UV, *UW; // degrees
  NumDisplay *VW;
  QPushButton *Standard;
};

// The grid of a setting tab page (margins and spacing of every page).
QGridLayout *PageGrid(QWidget *page);
// Fills a tab page; the rings are named prefix + U, V, W.
WavePageControls MakeWavePage(QWidget *page, const QString &ringName);
AnglePageControls MakeAnglePage(QWidget *page);
void SetWavePageTexts(const WavePageControls &controls, int language);
void SetAnglePageTexts(const AnglePageControls &controls, int language);
// The page's controls from a record's view of them (only what differs), and
// the entries' values back into it.
void ApplyAnglePage(const AnglePageControls &controls, const AnglePageView &view);
void ReadAnglePage(const AnglePageControls &controls, AnglePageView &view);
