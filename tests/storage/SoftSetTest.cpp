#include "storage/SoftSet.h"
#include "TestSupport.h"
#include "comm/CommSettings.h"
#include "records/Globals.h"
#include "settings/NormalSet.h"
#include "settings/ProgramSet.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"

#include <cstring>
#include <vector>

namespace {

QByteArray SetDat(const QByteArray &items) {
  return "[FileInfo]\r\nType = 128\r\n\r\n[Value]\r\n" + items + "\r\n";
}

std::string Device() { return gPowerInfo.CommTypeRS232Device.data(); }

void SetDevice(const char *path) {
  std::strncpy(gPowerInfo.CommTypeRS232Device.data(), path,
               gPowerInfo.CommTypeRS232Device.size() - 1);
}

// Every test runs in its own empty working directory.
class WorkDir : public testing::Test {
protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(Dir.IsValid());
  }
  QStringList Files() const { return Dir.Files(); }

  TempWorkDir Dir;
};

} // namespace

TEST_F(WorkDir, SetDatItemsAreReadAndCheckedAsTheyCome) {
  // The device path ends at a NUL, as it is written back.
  const char items[] = "LastPowerModel = 22\r\nSoftwareAddress = 0\r\n"
                       "CommTypeRS232Baudrate = 4800\r\nCommTypeLAN_IP1 = 0\r\n"
                       "CommTypeLAN_IP2 = 0\r\ncommtypelan_ip3 = 0\r\nCommTypeLAN_IP4 = 20\r\n"
                       "CommTypeGPIBPort = 14\r\nCommType = 17\r\nCommTypeLAN_Port = 5025\r\n"
                       "CommTypeRS232Device = /dev/pts/7\0junk\r\nCommReplyPacing = 1\r\n";
  WriteAll("Set.Dat", SetDat(QByteArray(items, sizeof items - 1)));
  gPowerInfo.Language = 1;
  EXPECT_EQ(FileReadSoftSet("Set.Dat"), 1);
  // IP2 0 is legal (10.0.1.20 must stay reachable); Language is absent: kept;
  // CommAutoReconnect is absent: off.
  const PowerInfo &i = gPowerInfo;
  EXPECT_EQ((std::vector{i.ModelType, i.SoftwareAddress, i.CommTypeRS232Baudrate, i.CommTypeLAN_IP1,
                         i.CommTypeLAN_IP2, i.CommTypeLAN_IP3, i.CommTypeLAN_IP4,
                         i.CommTypeGPIBPort, i.CommType, i.CommTypeLAN_Port, i.Language,
                         i.CommReplyPacing, i.CommAutoReconnect}),
            (std::vector<int32_t>{kModelGS, 1, 38400, 192, 0, 0, 20, 14, kCommLAN, 5025, 1, 1, 0}));
  EXPECT_EQ(Device(), "/dev/pts/7");
}

TEST_F(WorkDir, SetDatOfAnotherTypeIsNotReadNorChecked) {
  WriteAll("Set.Dat", "[FileInfo]\r\nType = 80\r\n\r\n[Value]\r\nLanguage = 1\r\n\r\n");
  EXPECT_EQ(FileReadSoftSet("Set.Dat"), 0);
  EXPECT_EQ(gPowerInfo.Language, 0);
  EXPECT_EQ(gPowerInfo.SoftwareAddress, 0);
  EXPECT_EQ(gPowerInfo.CommTypeRS232Baudrate, 0);
}

TEST_F(WorkDir, SetDatRoundTripKeepsForeignItems) {
  WriteAll("Set.Dat", SetDat("; written by an older version\r\nLanguage = 0\r\nWindowX = 40\r\n"));
  gPowerInfo.ModelType = kModelFL;
  gPowerInfo.Language = 1;
  DataInitCommSet();
  gPowerInfo.CommTypeLAN_IP2 = 0;
  gPowerInfo.CommTypeGPIBPort = 9;
  // Long enough to be written as a run of pieces.
  const std::string device = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"
                             "-with-a-longer-name-than-eighty";
  SetDevice(device.c_str());
  EXPECT_EQ(FileWriteSoftSet("Set.Dat"), 1);
  const PowerInfo written = gPowerInfo;

  const QByteArray text = ReadAll("Set.Dat");
  EXPECT_TRUE(text.contains("; written by an older version\r\nLanguage = 1\r\nWindowX = 40\r\n"));
  EXPECT_TRUE(text.contains("CommTypeRS232Device Line0001 = "));

  ResetProgramState();
  EXPECT_EQ(FileReadSoftSet("Set.Dat"), 1);
  EXPECT_EQ(std::memcmp(&written, &gPowerInfo, sizeof written), 0);
  EXPECT_EQ(Device(), device);
}

// Each family saves its own files, and "Set.Dat", nothing more.
TEST_F(WorkDir, AutoSaveWritesTheFamilyFilesAndSetDat) {
  const std::pair<int32_t, QStringList> cases[] = {
      {kModelFCS, {"AutoSaveFCS.FCNorAll"}},
      {kModelFSA, {"AutoSaveFSA.FPNorAll"}},
      {kModelFPB,
       {"AutoSaveFPB.FPNorAll", "AutoSaveFPB.StepAll", "AutoSaveFPB.ListAll", "AutoSaveFPB.RampAll",
        "AutoSaveFPB.THDAll"}},
      {kModelGS,
       {"AutoSaveGS.FPNorAll", "AutoSaveGS.StepAll", "AutoSaveGS.ListAll", "AutoSaveGS.RampAll",
        "AutoSaveGS.CrossAll", "AutoSaveGS.THDAll"}},
      {24, {}},
  };
  for (const auto &[model, files] : cases) {
    for (const QString &file : Files())
      QFile::remove(file);
    EXPECT_EQ(AutoSaveFileNames(model), files);
    gPowerInfo.ModelType = model;
    AutoSaveSetting();
    QStringList expected = files + QStringList{"Set.Dat"};
    expected.sort();
    EXPECT_EQ(Files(), expected) << model;
  }
}
