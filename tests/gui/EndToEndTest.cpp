// The program against the simulated power source over TCP: start, connect,
// identify the model, reconfigure, and lose the link when the source stops
// answering.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include "GuiTestSupport.h"
#include "app/Globals.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Popups.h"
#include "app/gui/Shell.h"
#include "storage/IniFile.h"
#include "ui/Panel.h"

namespace {

QString PowersimProgram() { return QStringLiteral(VEXA_BINARY_DIR "/tools/powersim"); }

// Runs the event loop (and with it the 50 ms timer) until condition holds.
bool RunUntil(const std::function<bool()> &condition, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class EndToEndTest : public ShellTest {
protected:
  void TearDown() override {
    if (Source.state() != QProcess::NotRunning) {
      Source.write("quit\n");
      if (!Source.waitForFinished(3000))
        Source.kill();
    }
    ShellTest::TearDown();
  }

  // Starts the source; returns its TCP port, 0 on failure.
  int StartSource(const QStringList &arguments) {
    Source.setProcessChannelMode(QProcess::SeparateChannels);
    Source.start(PowersimProgram(), QStringList{"--lan", "127.0.0.1:0"} + arguments);
    if (!Source.waitForStarted(5000))
      return 0;
    QByteArray out;
    const QRegularExpression lan("^lan 127\\.0\\.0\\.1:(\\d+)$",
                                 QRegularExpression::MultilineOption);
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
      Source.waitForReadyRead(200);
      out += Source.readAllStandardOutput();
      if (const auto match = lan.match(QString::fromLatin1(out)); match.hasMatch())
        return match.captured(1).toInt();
    }
    return 0;
  }

  void WriteSetDat(int port, int model) {
    IniFile document;
    document.SetInt("FileInfo", "Type", 128);
    document.SetInt("Value", "LastPowerModel", model);
    document.SetInt("Value", "Language", 1);
    document.SetInt("Value", "SoftwareAddress", 1);
    document.SetInt("Value", "CommType", kCommLAN);
    document.SetInt("Value", "CommTypeLAN_IP1", 127);
    document.SetInt("Value", "CommTypeLAN_IP2", 0);
    document.SetInt("Value", "CommTypeLAN_IP3", 0);
    document.SetInt("Value", "CommTypeLAN_IP4", 1);
    document.SetInt("Value", "CommTypeLAN_Port", port);
    ASSERT_EQ(document.SaveFile(UserFile("Set.Dat")), 0);
  }

  static bool ConnectionShown() {
    return gMainPanel->Connection->ModelName->isVisibleTo(gMainPanel);
  }

  QProcess Source;
};

TEST_F(EndToEndTest, ConnectsIdentifiesReconfiguresAndLosesTheLink) {
  ASSERT_TRUE(QFileInfo::exists(PowersimProgram()));
  const int port = StartSource({"--model", "GS", "--rating", "5"});
  ASSERT_GT(port, 0);
  WriteSetDat(port, kModelFSA);

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
  WriteSetDat(port, kModelFPA);
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
