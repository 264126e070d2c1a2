// The communication settings in gPowerInfo: port type, port parameters and
// the device address, their first-start values and their legal ranges.
#pragma once

#include <cstdint>

constexpr int32_t kDefaultSoftwareAddress = 1;
constexpr int32_t kDefaultRS232Port = 1;
constexpr int32_t kDefaultRS232Baudrate = 38400;

// Sets the first-start values: address 1, RS-232 on port 1 at 38400 Bd,
// LAN 192.168.0.1 port 0. The GPIB address and the device path are not
// touched.
void DataInitCommSet();

// Replaces every invalid communication field by its replacement value.
// Returns 1 when anything was replaced, else 0.
int DataCheckCommSet();
