// The preview graphs of the main panel and the program panels: a dark chart
// with a bottom and a left value axis, the phase curves drawn W, V, U (U on
// top) in the phase colours, the executed part of a running program drawn
// again over them, and dashed division lines.
#pragma once

#include <QChartView>
#include <array>
#include <span>

#include "programs/ProgramGraph.h"

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

// The x-axis 0..xMax.
void SetGraphXRange(QChartView *graph, double xMax);

// Replaces everything drawn with the five-step window in phase U's colour
// (its lines, the List band filled), the slot borders dashed, x 0..100.
void DrawFiveStepWindow(QChartView *graph, const FiveStepWindow &window, double yMin, double yMax);

// A note over the graph (empty: none).
void SetGraphNote(QChartView *graph, const QString &text);

// A dashed vertical line at x: white dashes of 20 with gaps of 10 from y 0
// up to 290.
void DrawDivisionLine(QChartView *graph, double x);
// Four dashed lines at width x 1/5, 2/5, 3/5 and 4/5.
void DrawDivisionLineByFive(QChartView *graph, double width);
