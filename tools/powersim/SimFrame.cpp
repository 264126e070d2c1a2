#include "tools/powersim/SimFrame.h"

#include <algorithm>
#include <array>
#include <cstdio>

uint8_t FrameChecksum(const uint8_t *frame, size_t length) {
  if (length < 3)
    return 0;
  return static_cast<uint8_t>(GetStringCheckSum(frame + 1, static_cast<int>(length) - 3) & 0xFF);
}

std::vector<uint8_t> SimMakeFrame(int address, uint8_t cmd1, uint8_t cmd2, const uint8_t *payload,
                                  size_t payloadLength) {
  // The length travels in one byte: no frame is longer than 255 bytes.
  std::array<uint8_t, 255> frame{};
  const size_t length = std::min(payloadLength + kFrameMinLen, frame.size());
  std::copy(payload, payload + (length - kFrameMinLen), frame.begin() + kFramePayload);
  CommFrameComplete(frame.data(), static_cast<int>(length), address, cmd1, cmd2);
  return std::vector<uint8_t>(frame.begin(), frame.begin() + static_cast<long>(length));
}

namespace {

struct CommandRow {
  uint8_t Cmd1, Cmd2;
  const char *Name;
};

constexpr std::array<CommandRow, 40> kCommandNames = {{
    {0x0F, 0xFF, "output on"},
    {0x0F, 0x00, "output off"},
    {0x0F, 0xFE, "DC output on"},
    {0x0F, 0x01, "DC output off"},
    {0x0F, 0x03, "clear alarm"},
    {0x5A, 0x11, "select normal group"},
    {0x5A, 0x12, "enter Step mode"},
    {0x5A, 0x13, "enter List mode"},
    {0x5A, 0x15, "enter Ramp mode"},
    {0x5A, 0x18, "enter Cross mode"},
    {0x5A, 0x21, "write normal group"},
    {0x5A, 0x22, "write Step"},
    {0x5A, 0x23, "write List header"},
    {0x5A, 0x24, "write List step"},
    {0x5A, 0x25, "write Ramp header"},
    {0x5A, 0x26, "write Ramp step"},
    {0x5A, 0x28, "write Cross header"},
    {0x5A, 0x29, "write Cross entry"},
    {0x5A, 0x30, "write system settings"},
    {0x5A, 0x31, "write THD group"},
    {0x5A, 0x32, "write THD group first half"},
    {0x5A, 0x33, "write THD group second half"},
    {0x5A, 0x50, "on-line change"},
    {0xA5, 0x11, "read current group"},
    {0xA5, 0x21, "read normal group"},
    {0xA5, 0x22, "read Step"},
    {0xA5, 0x23, "read List header"},
    {0xA5, 0x24, "read List step"},
    {0xA5, 0x25, "read Ramp header"},
    {0xA5, 0x26, "read Ramp step"},
    {0xA5, 0x28, "read Cross header"},
    {0xA5, 0x29, "read Cross entry"},
    {0xA5, 0x30, "read system settings"},
    {0xA5, 0x31, "read THD group"},
    {0xA5, 0x32, "read THD group first half"},
    {0xA5, 0x33, "read THD group second half"},
    {0xF0, 0xED, "model query"},
    {0xF0, 0xEB, "status query"},
    {0xF0, 0xEA, "DC state query"},
    {0xF0, 0xAD, "DC measurement query"},
}};

} // namespace

std::string SimCommandName(uint8_t cmd1, uint8_t cmd2) {
  if (cmd1 == 0xF0 && (cmd2 == 0xAE || cmd2 == 0x11 || cmd2 == 0xAF))
    return cmd2 == 0xAE   ? "measurement query (FC three-phase)"
           : cmd2 == 0x11 ? "measurement query (FC single-phase)"
                          : "measurement query";
  for (const CommandRow &row : kCommandNames)
    if (row.Cmd1 == cmd1 && row.Cmd2 == cmd2)
      return row.Name;
  return "unknown command";
}

std::string SimHex(const uint8_t *data, size_t count) {
  std::string out;
  out.reserve(count * 3);
  char cell[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(cell, sizeof cell, i ? " %02X" : "%02X", data[i]);
    out += cell;
  }
  return out;
}
