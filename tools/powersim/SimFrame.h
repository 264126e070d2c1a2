// The frame envelope as the source writes it, and the names of the commands
// for the frame log.
#pragma once

#include "comm/CommPC.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Low 8 bits of the sum of bytes 1 .. L-3 of a frame of length L.
uint8_t FrameChecksum(const uint8_t *frame, size_t length);

// Makes a reply frame: the payload bytes are placed after the six header
// bytes, and the header, checksum and end byte are written around them.
std::vector<uint8_t> SimMakeFrame(int address, uint8_t cmd1, uint8_t cmd2, const uint8_t *payload,
                                  size_t payloadLength);

// What a command does, in a few words ("status query", "write normal group");
// "unknown command" for bytes outside the command table.
std::string SimCommandName(uint8_t cmd1, uint8_t cmd2);

// "7B 00 08 01 F0 ED E6 7D"
std::string SimHex(const uint8_t *data, size_t count);
