// Cuts the byte stream of one connection into frames. Bytes may arrive split
// or joined in any way; whatever cannot start a valid frame is handed back as
// garbage, so the source answers only frames that are whole and correct.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FrameAssembler {
public:
  struct Piece {
    bool IsFrame; // false: bytes discarded while looking for a frame
    std::vector<uint8_t> Bytes;
  };

  // A partial frame that waits this long for its remaining bytes is taken
  // for garbage, so a stray start byte cannot hold up the next frames.
  static constexpr int64_t kPartialTimeoutMs = 500;

  // Appends received bytes; returns the frames completed and the garbage
  // discarded, in stream order.
  std::vector<Piece> Feed(const uint8_t *data, size_t count, int64_t nowMs);
  // Gives up a partial frame older than the time-out; call it now and then.
  std::vector<Piece> Expire(int64_t nowMs);
  void Clear();
  size_t Pending() const { return buffer_.size(); }

  // The frame checks of a receiving source: start byte, zero length high
  // byte, length at least 8, end byte, checksum over bytes 1 .. L-3.
  static bool IsValidFrame(const uint8_t *frame, size_t count);

private:
  std::vector<Piece> Scan(int64_t nowMs, bool expire);

  std::vector<uint8_t> buffer_;
  int64_t partialSinceMs_ = 0;
};
