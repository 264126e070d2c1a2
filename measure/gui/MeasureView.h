// The view of the measurement area: graph or text view, the FC fixed
// charts, the four quantity selections, chart clearing and speed. The area is
// shared by the five operating panels, so each call covers all five.
#pragma once

// Graph view with the four selectors (every family but FC).
void SetNormalMeasureDisplayGraph();
// Text view: the table of eight quantities by three phases.
void SetNormalMeasureDisplayText();
// Graph view with the four fixed FC charts (voltage, current, frequency, power).
void SetNormalMeasureDisplayGraphFC();
// The step, List, Ramp and Cross panels follow MeasureDisplayMode.
void SetProgramMeasureDisplay();
// Readout group k (1..4) shows quantity q.
void SetMeasureTextTypeAndSolution(int k, int quantity);
void SetMeasureR1TextTypeAndSolution(int quantity);
void SetMeasureR2TextTypeAndSolution(int quantity);
void SetMeasureR3TextTypeAndSolution(int quantity);
void SetMeasureR4TextTypeAndSolution(int quantity);
// Clears strip chart k (1..4), or all four in order.
void ClearMeasureGraph(int k);
void ClearMeasureGraphAll();
// Points per screen of the four strip charts.
void SetMeasureGraphSpeed(int points);

// Readouts and table from MeasureOutput (FS, FP, GS, FL families / FC family).
void DataFPFromMeasureToPanel();
void DataFCFromMeasureToPanel();
// One point per trace appended to the four strip charts.
void DataFPFromMeasureToGraph();
void DataFCFromMeasureToGraph();
