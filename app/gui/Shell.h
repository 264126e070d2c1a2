// The panels of the program, created once at start-up and discarded at the
// end (the About and wait popups are created on each use), and the panel in
// front.
#pragma once

#include <QList>

class AboutPanel;
class CommPanel;
class ConnectionBar;
class CrossPanel;
class GroupPanel;
class ListPanel;
class Logo;
class MainMenu;
class MainPanel;
class MeasureArea;
class MeasureDisplayPanel;
class OutputArea;
class ProgramPanel;
class StepPanel;
class THDPanel;
class QWidget;
class WaitPanel;

extern MainPanel *gMainPanel;
extern StepPanel *gStepPanel;
extern ListPanel *gListPanel; // kind List
extern ListPanel *gRampPanel; // kind Ramp
extern CrossPanel *gCrossPanel;
extern THDPanel *gTHDPanel;
extern GroupPanel *gFCGroupPanel;
extern GroupPanel *gFPGroupPanel;
extern MeasureDisplayPanel *gMeasureDisplayPanel;
extern CommPanel *gCommPanel;   // lives while shown
extern WaitPanel *gWaitPanel;   // lives while shown
extern AboutPanel *gAboutPanel; // lives while shown
extern MainMenu *gMainMenu;
// The measurement area, shared by the five operating panels.
extern MeasureArea *gMeasureArea;
// The panel shown instead of the main panel (the main panel itself when none).
extern QWidget *gCurrentPanel;
// Current width of the logo pictures during the animation.
extern int gLogoWidth;

// Creates every panel and menu bar in load order and connects their
// callbacks. Returns 0, or -1 when a panel could not be created.
int LoadAllPanels();
// Discards every panel (end of the program, and between tests).
void DiscardAllPanels();

// The logo pictures of the seven panels that carry one.
QList<Logo *> AllLogos();
// The connection areas of the six main pages.
QList<ConnectionBar *> AllConnectionBars();
// The output areas of the five operating panels.
QList<OutputArea *> AllOutputAreas();
// The program panel of a page code (1 Step .. 5 THD), else nullptr.
ProgramPanel *ProgramPanelOfPage(int page);
