#include "comm/CommSettings.h"
#include "records/Globals.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// One field of the link settings set to a stored value: the check replaces
// it only when it is out of range, and nothing else moves (the lower bounds
// the "Set.Dat" reading test shows are left to it).
TEST(CommSet, CheckReplacesOnlyInvalidValues) {
  const struct {
    int32_t PowerInfo::*Field;
    int32_t Stored, Expected;
  } cases[] = {
      {&PowerInfo::SoftwareAddress, 255, 255},
      {&PowerInfo::SoftwareAddress, 256, 1},
      {&PowerInfo::CommType, 15, 16},
      {&PowerInfo::CommType, 18, 18},
      {&PowerInfo::CommType, 19, 16},
      {&PowerInfo::CommTypeRS232Port, 0, 1},
      {&PowerInfo::CommTypeRS232Port, 10, 10},
      {&PowerInfo::CommTypeRS232Port, 11, 1},
      {&PowerInfo::CommTypeRS232Baudrate, 9600, 9600},
      {&PowerInfo::CommTypeRS232Baudrate, 19200, 19200},
      {&PowerInfo::CommTypeRS232Baudrate, 38401, 38400},
      {&PowerInfo::CommTypeLAN_IP1, 256, 192},
      {&PowerInfo::CommTypeLAN_IP2, 256, 168},
      {&PowerInfo::CommTypeLAN_IP3, -1, 0},
      {&PowerInfo::CommTypeLAN_IP3, 255, 255},
      {&PowerInfo::CommTypeLAN_IP4, 0, 1},
      {&PowerInfo::CommTypeLAN_Port, 65535, 65535},
      {&PowerInfo::CommTypeLAN_Port, 65536, 0},
      {&PowerInfo::CommTypeGPIBPort, -77, -77},
      {&PowerInfo::CommReplyPacing, 2, 0},
      {&PowerInfo::CommAutoReconnect, -1, 0},
  };
  for (const auto &c : cases) {
    ResetProgramState();
    DataInitCommSet();
    gPowerInfo.*c.Field = c.Stored;
    const PowerInfo before = gPowerInfo;
    EXPECT_EQ(DataCheckCommSet(), c.Stored != c.Expected ? 1 : 0) << c.Stored;
    EXPECT_EQ(gPowerInfo.*c.Field, c.Expected) << c.Stored;
    PowerInfo after = gPowerInfo;
    after.*c.Field = c.Stored;
    EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0) << c.Stored;
  }
}

} // namespace
