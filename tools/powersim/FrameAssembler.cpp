#include "tools/powersim/FrameAssembler.h"

#include "tools/powersim/SimFrame.h"

namespace {

void AppendGarbage(std::vector<FrameAssembler::Piece> &out, uint8_t byte) {
  if (out.empty() || out.back().IsFrame)
    out.push_back({false, {}});
  out.back().Bytes.push_back(byte);
}

} // namespace

bool FrameAssembler::IsValidFrame(const uint8_t *frame, size_t count) {
  if (count < 8 || frame[0] != kFrameStart || frame[1] != 0)
    return false;
  const size_t length = frame[2];
  if (length < 8 || length != count || frame[length - 1] != kFrameEnd)
    return false;
  return FrameChecksum(frame, length) == frame[length - 2];
}

std::vector<FrameAssembler::Piece> FrameAssembler::Feed(const uint8_t *data, size_t count,
                                                        int64_t nowMs) {
  const bool wasEmpty = buffer_.empty();
  buffer_.insert(buffer_.end(), data, data + count);
  if (wasEmpty)
    partialSinceMs_ = nowMs;
  return Scan(nowMs, false);
}

std::vector<FrameAssembler::Piece> FrameAssembler::Expire(int64_t nowMs) {
  if (buffer_.empty() || nowMs - partialSinceMs_ < kPartialTimeoutMs)
    return {};
  return Scan(nowMs, true);
}

void FrameAssembler::Clear() { buffer_.clear(); }

std::vector<FrameAssembler::Piece> FrameAssembler::Scan(int64_t nowMs, bool expire) {
  std::vector<Piece> out;
  size_t pos = 0;
  while (pos < buffer_.size()) {
    if (buffer_[pos] != kFrameStart) {
      AppendGarbage(out, buffer_[pos++]);
      continue;
    }
    const size_t left = buffer_.size() - pos;
    // Reject a start byte as soon as the header shows it cannot begin a frame.
    if ((left >= 2 && buffer_[pos + 1] != 0) || (left >= 3 && buffer_[pos + 2] < 8)) {
      AppendGarbage(out, buffer_[pos++]);
      continue;
    }
    const size_t length = left >= 3 ? buffer_[pos + 2] : 0;
    if (left < 3 || left < length) {
      if (!expire)
        break; // wait for the rest
      AppendGarbage(out, buffer_[pos++]);
      expire = false; // only the stale start byte goes; what follows is new
      continue;
    }
    if (IsValidFrame(&buffer_[pos], length)) {
      out.push_back(
          {true, std::vector<uint8_t>(buffer_.begin() + static_cast<long>(pos),
                                      buffer_.begin() + static_cast<long>(pos + length))});
      pos += length;
    } else {
      AppendGarbage(out, buffer_[pos++]);
    }
  }
  if (pos > 0) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(pos));
    partialSinceMs_ = nowMs;
  }
  return out;
}
