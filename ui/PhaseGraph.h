// The preview graphs of the main panel and the program panels: a dark chart
// with a bottom and a left value axis, the phase curves drawn W, V, U (U on
// top) in the phase colours, the executed part of a running program drawn
// again over them, and dashed division lines.
#pragma once

#include <QChartView>
#include <array>
#include <span>

// A graph with its axes: x 0..xMax, y yMin..yMax.
QChartView *MakePhaseGraph(QWidget *parent, double xMax, double yMin, double yMax);

// Replaces everything drawn with the curves of the shown phases (point i at
// x = i x xSpan / (points - 1)) and sets the y-axis to yMin..yMax.
void DrawPhaseCurves(QChartView *graph, const std::array<std::span<const double>, 3> &points,
                     const std::array<bool, 3> &shown, double xSpan, double yMin, double yMax);

// Draws the first n points of the shown phases again, bold, in place of the
// previous executed part, with a division line where it ends; n = 0 removes
// them.
void DrawPhaseProgress(QChartView *graph, const std::array<std::span<const double>, 3> &points,
                       const std::array<bool, 3> &shown, int n, double xSpan);

// A dashed vertical line at x: white dashes of 20 with gaps of 10 from y 0
// up to 290.
void DrawDivisionLine(QChartView *graph, double x);
