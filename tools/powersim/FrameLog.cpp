#include "tools/powersim/FrameLog.h"

#include "tools/powersim/SimFrame.h"

#include <QDateTime>

FrameLog::~FrameLog() {
  if (file_)
    std::fclose(file_);
}

bool FrameLog::Open(const std::string &path) {
  if (file_)
    std::fclose(file_);
  file_ = std::fopen(path.c_str(), "a");
  return file_ != nullptr;
}

std::string FrameLog::FormatLine(const std::string &wallClock, Direction direction,
                                 const std::string &endpoint, int64_t deviceMs,
                                 const uint8_t *bytes, size_t count, const std::string &name,
                                 const std::string &note) {
  const char *dir = direction == Direction::In     ? "in "
                    : direction == Direction::Out  ? "out"
                    : direction == Direction::None ? "-- "
                                                   : "?? ";
  char clock[32];
  std::snprintf(clock, sizeof clock, "+%lld.%03lld", static_cast<long long>(deviceMs / 1000),
                static_cast<long long>(deviceMs % 1000));
  std::string line = wallClock + " " + clock + " " + endpoint + " " + dir + " ";
  line += count ? SimHex(bytes, count) : std::string("(nothing)");
  line += "  " + name;
  if (!note.empty())
    line += ": " + note;
  return line;
}

void FrameLog::Write(Direction direction, const std::string &endpoint, int64_t deviceMs,
                     const uint8_t *bytes, size_t count, const std::string &name,
                     const std::string &note) {
  if (!file_)
    return;
  const std::string wall =
      QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString();
  const std::string line =
      FormatLine(wall, direction, endpoint, deviceMs, bytes, count, name, note);
  std::fprintf(file_, "%s\n", line.c_str());
  std::fflush(file_);
}
