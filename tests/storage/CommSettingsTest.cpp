#include "comm/CommSettings.h"
#include "records/Globals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

struct FieldCase {
  const char *Name;
  int32_t PowerInfo::*Field;
  int32_t Stored;
  int32_t Expected;
};

class CommSetCheck : public testing::TestWithParam<FieldCase> {
protected:
  void SetUp() override {
    ResetProgramState();
    DataInitCommSet();
  }
};

} // namespace

TEST_P(CommSetCheck, ReplacesOnlyInvalidValues) {
  const FieldCase &c = GetParam();
  gPowerInfo.*c.Field = c.Stored;
  const PowerInfo before = gPowerInfo;
  EXPECT_EQ(DataCheckCommSet(), c.Stored != c.Expected ? 1 : 0);
  EXPECT_EQ(gPowerInfo.*c.Field, c.Expected);
  // Nothing else moves.
  PowerInfo after = gPowerInfo;
  after.*c.Field = c.Stored;
  EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0);
}

#define FIELD(name) &PowerInfo::name
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    EveryRow, CommSetCheck,
    testing::Values(FieldCase{"Address0", FIELD(SoftwareAddress), 0, 1},
                    FieldCase{"Address1", FIELD(SoftwareAddress), 1, 1},
                    FieldCase{"Address255", FIELD(SoftwareAddress), 255, 255},
                    FieldCase{"Address256", FIELD(SoftwareAddress), 256, 1},
                    FieldCase{"Type15", FIELD(CommType), 15, 16},
                    FieldCase{"Type16", FIELD(CommType), 16, 16},
                    FieldCase{"Type18", FIELD(CommType), 18, 18},
                    FieldCase{"Type19", FIELD(CommType), 19, 16},
                    FieldCase{"Port0", FIELD(CommTypeRS232Port), 0, 1},
                    FieldCase{"Port10", FIELD(CommTypeRS232Port), 10, 10},
                    FieldCase{"Port11", FIELD(CommTypeRS232Port), 11, 1},
                    FieldCase{"Baud4800", FIELD(CommTypeRS232Baudrate), 4800, 38400},
                    FieldCase{"Baud9600", FIELD(CommTypeRS232Baudrate), 9600, 9600},
                    FieldCase{"Baud19200", FIELD(CommTypeRS232Baudrate), 19200, 19200},
                    FieldCase{"Baud38400", FIELD(CommTypeRS232Baudrate), 38400, 38400},
                    FieldCase{"Baud38401", FIELD(CommTypeRS232Baudrate), 38401, 38400},
                    FieldCase{"Ip1_0", FIELD(CommTypeLAN_IP1), 0, 192},
                    FieldCase{"Ip1_1", FIELD(CommTypeLAN_IP1), 1, 1},
                    FieldCase{"Ip1_255", FIELD(CommTypeLAN_IP1), 255, 255},
                    FieldCase{"Ip1_256", FIELD(CommTypeLAN_IP1), 256, 192},
                    // The second and third octets may be 0.
                    FieldCase{"Ip2_Minus1", FIELD(CommTypeLAN_IP2), -1, 168},
                    FieldCase{"Ip2_0", FIELD(CommTypeLAN_IP2), 0, 0},
                    FieldCase{"Ip2_255", FIELD(CommTypeLAN_IP2), 255, 255},
                    FieldCase{"Ip2_256", FIELD(CommTypeLAN_IP2), 256, 168},
                    FieldCase{"Ip3_Minus1", FIELD(CommTypeLAN_IP3), -1, 0},
                    FieldCase{"Ip3_0", FIELD(CommTypeLAN_IP3), 0, 0},
                    FieldCase{"Ip3_255", FIELD(CommTypeLAN_IP3), 255, 255},
                    FieldCase{"Ip3_256", FIELD(CommTypeLAN_IP3), 256, 0},
                    FieldCase{"Ip4_0", FIELD(CommTypeLAN_IP4), 0, 1},
                    FieldCase{"Ip4_1", FIELD(CommTypeLAN_IP4), 1, 1},
                    FieldCase{"Ip4_255", FIELD(CommTypeLAN_IP4), 255, 255},
                    FieldCase{"Ip4_256", FIELD(CommTypeLAN_IP4), 256, 1},
                    FieldCase{"TcpMinus1", FIELD(CommTypeLAN_Port), -1, 0},
                    FieldCase{"Tcp0", FIELD(CommTypeLAN_Port), 0, 0},
                    FieldCase{"Tcp65535", FIELD(CommTypeLAN_Port), 65535, 65535},
                    FieldCase{"Tcp65536", FIELD(CommTypeLAN_Port), 65536, 0},
                    FieldCase{"GpibAny", FIELD(CommTypeGPIBPort), -77, -77},
                    FieldCase{"Pacing1", FIELD(CommReplyPacing), 1, 1},
                    FieldCase{"Pacing2", FIELD(CommReplyPacing), 2, 0},
                    FieldCase{"ReconnectMinus1", FIELD(CommAutoReconnect), -1, 0}),
    [](const testing::TestParamInfo<FieldCase> &info) { return std::string(info.param.Name); });
// clang-format on
#undef FIELD

TEST(CommSet, ZeroedSettingsAreMadeLegal) {
  ResetProgramState();
  EXPECT_EQ(DataCheckCommSet(), 1);
  // The second and third octets may be 0.
  const int32_t expected[] = {1, kCommRS232, 1, 38400, 192, 0, 0, 1, 0};
  const int32_t actual[] = {
      gPowerInfo.SoftwareAddress,       gPowerInfo.CommType,        gPowerInfo.CommTypeRS232Port,
      gPowerInfo.CommTypeRS232Baudrate, gPowerInfo.CommTypeLAN_IP1, gPowerInfo.CommTypeLAN_IP2,
      gPowerInfo.CommTypeLAN_IP3,       gPowerInfo.CommTypeLAN_IP4, gPowerInfo.CommTypeLAN_Port};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), std::begin(actual)));
}
