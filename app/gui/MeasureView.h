// The measurement area's view: graph or text view, the FC fixed charts,
// chart clearing and speed. The area is shared by the five operating panels,
// so each call covers all five.
#pragma once

// Graph view with the four selectors (every family but FC).
void SetNormalMeasureDisplayGraph();
// Text view: the table of eight quantities by three phases.
void SetNormalMeasureDisplayText();
// Graph view with the four fixed FC charts (voltage, current, frequency, power).
void SetNormalMeasureDisplayGraphFC();
// Clears the four strip charts.
void ClearMeasureGraphAll();
// Points per screen of the four strip charts.
void SetMeasureGraphSpeed(int points);
// One point set appended to the four strip charts (the timer's chart step).
void AppendMeasureChartPoints();
