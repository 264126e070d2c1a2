// Not a test: renders the panels to PNG files for looking at them, when
// VEXA_SHOTS names a folder (run with --gtest_also_run_disabled_tests).
#include <QCoreApplication>
#include <QDir>

#include "GuiTestSupport.h"
#include "app/gui/CommPanel.h"
#include "app/gui/CommSetPanel.h"
#include "app/gui/GroupChoose.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureDisplayPanel.h"
#include "programs/gui/ProgramPanels.h"
#include "records/Globals.h"

namespace {

using Screenshots = ShellTest;

void Save(QWidget *widget, const QString &name) {
  const QString folder = qEnvironmentVariable("VEXA_SHOTS");
  QCoreApplication::processEvents();
  widget->grab().save(QDir(folder).filePath(name + ".png"));
}

TEST_F(Screenshots, DISABLED_Panels) {
  ASSERT_FALSE(qEnvironmentVariable("VEXA_SHOTS").isEmpty());
  ASSERT_EQ(Start(), 0);
  for (int language : {0, 1}) {
    MAIN_MENU_ITEM_CALLBACK(language == 1 ? MENU_SET_LANGUAGE_ENGLISH : MENU_SET_LANGUAGE_CHINESE);
    const QString suffix = language == 1 ? "_en" : "_cn";
    for (auto [item, name] :
         {std::pair{MENU_MODEL_FCT, "fct"}, {MENU_MODEL_FSA, "fsa"}, {MENU_MODEL_GS, "gs"}}) {
      MAIN_MENU_ITEM_CALLBACK(item);
      Save(gMainPanel, QString("main_") + name + suffix);
    }
    MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_STEP);
    Save(gStepPanel, "step" + suffix);
    gStepPanel->close();
    MAIN_MENU_ITEM_CALLBACK(MENU_THD_THD);
    Save(gTHDPanel, "thd" + suffix);
    gTHDPanel->close();
    MAIN_MENU_ITEM_CALLBACK(MENU_HISTORY_HISTORY);
    Save(gMeasureDisplayPanel, "history" + suffix);
    gMeasureDisplayPanel->close();
    BT_GROUP_CHOOSE_CALLBACK();
    Save(gFPGroupPanel, "fpgroup" + suffix);
    gFPGroupPanel->close();
    MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FCT);
    BT_GROUP_CHOOSE_CALLBACK();
    Save(gFCGroupPanel, "fcgroup" + suffix);
    gFCGroupPanel->close();
    DisplayPanelCommSet(1);
    Save(gCommPanel, "comm" + suffix);
    DisplayPanelCommSet(0);
  }
}

} // namespace
