// The program against the simulated power source over TCP: start, connect,
// identify the model, reconfigure, and lose the link when the source stops
// answering.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <QPushButton>
#include <algorithm>
#include <cstdio>

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

TEST_F(EndToEndTest, AConnectToAnAddressThatDoesNotAnswerNeverStallsTheWindow) {
  // A server that accepts nothing and whose one-place backlog is taken: a
  // further connect gets no answer at all, as from an address where nothing is.
  QTcpServer silent;
  silent.setListenBacklogSize(0);
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  silent.pauseAccepting();
  const quint16 port = silent.serverPort();
  QTcpSocket filler;
  filler.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(filler.waitForConnected(2000));

  ASSERT_EQ(Start(), 0);
  gPowerInfo.CommType = kCommLAN;
  gPowerInfo.CommTypeLAN_IP1 = 127;
  gPowerInfo.CommTypeLAN_IP2 = gPowerInfo.CommTypeLAN_IP3 = 0;
  gPowerInfo.CommTypeLAN_IP4 = 1;
  gPowerInfo.CommTypeLAN_Port = port;
  // The longest time between two turns of the event loop.
  QElapsedTimer sinceLast;
  qint64 longest = 0;
  QTimer beat;
  QObject::connect(&beat, &QTimer::timeout,
                   [&] { longest = std::max(longest, sinceLast.restart()); });
  beat.start(5);
  sinceLast.start();
  gMainPanel->Connection->BtConnect->click();
  EXPECT_TRUE(
      gMainPanel->Connection->LinkStatus->text().contains(QString("127.0.0.1:%1").arg(port)));
  EXPECT_TRUE(gMainPanel->Connection->BtDisconnect->isVisibleTo(gMainPanel));
  ASSERT_TRUE(RunUntil([this] { return !Dialogs_.Messages.empty(); }, 10000));
  EXPECT_LT(longest, 100) << "ms";
  std::printf("longest event-loop stall during the connect attempt: %lld ms\n",
              static_cast<long long>(longest));
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_FALSE(gMainPanel->Connection->LinkStatus->isVisibleTo(gMainPanel));
}

} // namespace
