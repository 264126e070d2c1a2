// The program against the simulated power source over TCP: start, connect,
// identify the model, reconfigure, and lose the link when the source stops
// answering.
#include <QFileInfo>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Popups.h"
#include "app/gui/Shell.h"
#include "records/Globals.h"
#include "ui/Panel.h"

namespace {

using EndToEndTest = SourceTest;

TEST_F(EndToEndTest, ConnectsIdentifiesReconfiguresAndLosesTheLink) {
  const int port = StartSource({"--model", "GS", "--rating", "5"});
  ASSERT_GT(port, 0);
  WriteSetDat(kModelFSA);

  // The start-up attempt connects by itself; the wait popup stands while the
  // source is read.
  ASSERT_EQ(Start(true), 0);
  EXPECT_EQ(gPowerInfo.ModelType, kModelFSA);
  EXPECT_TRUE(RunUntil([] { return gWaitPanel != nullptr; }, 5000));
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000))
      << "connected " << gPowerInfo.Connected;

  // The source named itself: the panels are those of a GS.
  EXPECT_EQ(gPowerInfo.ModelType, kModelGS);
  EXPECT_TRUE(gMainMenu->isChecked(MENU_MODEL_GS));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_MODEL));
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_PROGRAM_CROSS));
  EXPECT_TRUE(gMainPanel->Output->DCBox->isVisibleTo(gMainPanel));
  const QString model = QString::fromLatin1(gPowerInfo.PowerModelStr.data());
  EXPECT_EQ(model.size(), 11);
  for (ConnectionBar *bar : AllConnectionBars()) {
    EXPECT_EQ(bar->ModelName->text(), model);
    EXPECT_TRUE(bar->LinkLamp->isOn());
    EXPECT_FALSE(bar->BtConnect->isVisibleTo(bar));
  }
  EXPECT_DOUBLE_EQ(gMainPanel->NumOCP->maximum(), 7.5); // rating 5 on a GS
  // The FSA settings that were selected are kept for the next FSA.
  EXPECT_TRUE(QFileInfo::exists(UserFile("AutoSaveFSA.FPNorAll")));
  EXPECT_EQ(gWaitPanel, nullptr);
  EXPECT_TRUE(Dialogs_.Messages.empty());

  // The source stops answering: three missed replies end the link.
  Source.write("silent 100000\n");
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 0; }, 30000));
  ASSERT_TRUE(RunUntil([this] { return !Dialogs_.Messages.empty(); }, 2000));
  EXPECT_EQ(Dialogs_.Messages[0].Title, "Error");
  for (ConnectionBar *bar : AllConnectionBars()) {
    EXPECT_TRUE(bar->BtConnect->isVisibleTo(bar));
    EXPECT_FALSE(bar->LinkLamp->isOn());
  }
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_MODEL));
  EXPECT_EQ(gWaitPanel, nullptr);
}

TEST_F(EndToEndTest, ConnectButtonConnectsAndDisconnects) {
  const int port = StartSource({"--model", "FPA"});
  ASSERT_GT(port, 0);
  WriteSetDat(kModelFPA);
  ASSERT_EQ(Start(true), 0);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  gMainPanel->Connection->BtDisconnect->click();
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_TRUE(gMainPanel->Connection->BtConnect->isVisibleTo(gMainPanel));
  EXPECT_TRUE(Dialogs_.Messages.empty()); // no message on a disconnect
  gMainPanel->Connection->BtConnect->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  EXPECT_EQ(gPowerInfo.ModelType, kModelFPA);
}

} // namespace
