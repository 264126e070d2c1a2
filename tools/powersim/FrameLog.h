// The frame log of powersim: one line per frame received and per reply sent
// (or not sent), with the time, the endpoint, the bytes in hex and the
// command's name.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class FrameLog {
public:
  enum class Direction { In, Out, None, Garbage };

  FrameLog() = default;
  FrameLog(const FrameLog &) = delete;
  FrameLog &operator=(const FrameLog &) = delete;
  ~FrameLog();

  // false when the file cannot be opened for appending.
  bool Open(const std::string &path);
  bool IsOpen() const { return file_ != nullptr; }

  void Write(Direction direction, const std::string &endpoint, int64_t deviceMs,
             const uint8_t *bytes, size_t count, const std::string &name, const std::string &note);

  // "2026-12-05 16:40:01.123 +12.345 lan#1 in  7B 00 08 01 F0 ED E6 7D  model query"
  // (wall clock, then the device's clock in seconds).
  static std::string FormatLine(const std::string &wallClock, Direction direction,
                                const std::string &endpoint, int64_t deviceMs, const uint8_t *bytes,
                                size_t count, const std::string &name, const std::string &note);

private:
  std::FILE *file_ = nullptr;
};
