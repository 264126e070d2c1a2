#include "comm/CommSettings.h"

#include "records/Globals.h"

namespace {

struct RangeRule {
  int32_t PowerInfo::*Field;
  int32_t Low, High;
  int32_t Replacement;
};

// The second octet takes the whole 0..255: a source at 10.0.1.20 must keep
// its address. The third octet becomes 0 when out of range, so 0 stays 0.
constexpr RangeRule kRangeRules[] = {
    {&PowerInfo::SoftwareAddress, 1, 255, kDefaultSoftwareAddress},
    {&PowerInfo::CommType, kCommRS232, kCommGPIB, kCommRS232},
    {&PowerInfo::CommTypeRS232Port, 1, 10, kDefaultRS232Port},
    {&PowerInfo::CommTypeLAN_IP1, 1, 255, 192},
    {&PowerInfo::CommTypeLAN_IP2, 0, 255, 168},
    {&PowerInfo::CommTypeLAN_IP3, 1, 255, 0},
    {&PowerInfo::CommTypeLAN_IP4, 1, 255, 1},
    {&PowerInfo::CommTypeLAN_Port, 0, 65535, 0},
};

constexpr int32_t kBaudrates[] = {9600, 19200, 38400};

bool Replace(int32_t &field, int32_t value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

} // namespace

void DataInitCommSet() {
  gPowerInfo.SoftwareAddress = kDefaultSoftwareAddress;
  gPowerInfo.CommType = kCommRS232;
  gPowerInfo.CommTypeRS232Port = kDefaultRS232Port;
  gPowerInfo.CommTypeRS232Baudrate = kDefaultRS232Baudrate;
  gPowerInfo.CommTypeLAN_IP1 = 192;
  gPowerInfo.CommTypeLAN_IP2 = 168;
  gPowerInfo.CommTypeLAN_IP3 = 0;
  gPowerInfo.CommTypeLAN_IP4 = 1;
  gPowerInfo.CommTypeLAN_Port = 0;
}

int DataCheckCommSet() {
  bool changed = false;
  for (const RangeRule &rule : kRangeRules) {
    int32_t &field = gPowerInfo.*rule.Field;
    if (field < rule.Low || field > rule.High)
      changed |= Replace(field, rule.Replacement);
  }
  bool baudOk = false;
  for (const int32_t baud : kBaudrates)
    baudOk |= gPowerInfo.CommTypeRS232Baudrate == baud;
  if (!baudOk)
    changed |= Replace(gPowerInfo.CommTypeRS232Baudrate, kDefaultRS232Baudrate);
  // The two link options are on only when stored as 1.
  for (int32_t *option : {&gPowerInfo.CommReplyPacing, &gPowerInfo.CommAutoReconnect})
    if (*option != 0 && *option != 1)
      changed |= Replace(*option, 0);
  // The device path must stay a terminated string whatever was stored.
  gPowerInfo.CommTypeRS232Device.back() = '\0';
  return changed ? 1 : 0;
}
