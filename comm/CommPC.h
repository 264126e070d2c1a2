// The frame shared by every command: envelope, checksum, reply acceptance,
// the big-endian field encodings, and the model query that opens a connection.
//
// Frame: "{" | length high (0) | length low L | address | cmd1 | cmd2 |
//        payload (L - 8 bytes) | checksum | "}"
// The checksum is the low byte of the sum of bytes 1 .. L-3.
#pragma once

#include <cstdint>

constexpr uint8_t kFrameStart = 0x7B; // "{"
constexpr uint8_t kFrameEnd = 0x7D;   // "}"
constexpr int kFrameMinLen = 8;       // a frame without payload
constexpr int kFramePayload = 6;      // offset of the first payload byte

// Command classes (command byte 1).
enum CommClass : int {
  kCmdOutput = 0x0F,
  kCmdWrite = 0x5A,
  kCmdRead = 0xA5,
  kCmdQuery = 0xF0,
};

constexpr int kModelQueryCmd2 = 0xED;
constexpr int kModelQueryReplyLen = 24;
constexpr int kModelIdLen = 11;

// Plain integer sum of n bytes (not truncated; callers keep the low 8 bits).
int GetStringCheckSum(const uint8_t *bytes, int n);

// Stand-alone frame validator: 0 good, 1 checksum wrong, 128 too short or
// length out of range, 129 address differs, 130 end byte missing.
int CommPCCheck(const uint8_t *rx, int count, int address);

// Decimal value of n ASCII digits; 0 when n < 1.
int GetASCIIToInt(const char *chars, int n);

// Completes a frame whose payload already stands at offsets 6 .. L-3:
// writes the envelope and the checksum, returns L.
int CommFrameComplete(uint8_t *frame, int len, int address, int cmd1, int cmd2);

// The acceptance rule every reply decoder applies first: start byte, length
// high byte 0, address, echo of both command bytes, checksum over the length
// the frame announces, received count at least that length. 1 accepted, 0 not.
int CommFrameAccept(const uint8_t *rx, int count, int address, int cmd1, int cmd2);

// Acceptance plus the exact reply length the command demands.
int CommReplyAccept(const uint8_t *rx, int count, int address, int cmd1, int cmd2, int len);

// Model query: builds the 8-byte query (address from PowerInfo), sets
// CommInfo.RxExpectLen to 24, returns 8.
int ModelQueryTx(uint8_t *buffer);

// Checks and decodes the model-query reply. On acceptance writes the 11-char
// identifier (any byte outside printable ASCII as a blank) and a NUL to modelStr, the model code
// and the rating, calls UpdataOCPMax and returns 1; otherwise returns 0 and writes nothing.
int ModelQueryRx(const uint8_t *rx, int count, char *modelStr, int32_t *modelType, int32_t *rating);

// Decodes an 11-character model identifier ("QXFPA0500B..."): 1 with the
// model code and rating, 0 for an identifier the program does not know.
int ModelIdentifierDecode(const char *id, int32_t *modelType, int32_t *rating);

// Builds a model-query reply carrying the identifier (11 characters; the
// five following payload bytes are 0). Returns 24.
int ModelQueryReplyBuild(uint8_t *frame, int address, const char *identifier);

// Realigns CommInfo.RxBuff on its first start byte; RxLen is left unchanged.
void RepairRxBuff();

// Upper limit of the over-current setting in 0.1 A: floor(rating * 1000 / D),
// D = 11 for FCS, FSA, FPA; 66 for GS; 33 for every other code.
int CalOCPMax(int rating, int modelType);
// Applies that limit to the over-current entries of the panels.
void UpdataOCPMax(int rating, int modelType);

// Big-endian field encodings of the payloads.
inline void PutU8(uint8_t *p, int v) { p[0] = static_cast<uint8_t>(v); }
inline void PutU16(uint8_t *p, int v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void PutU24(uint8_t *p, int v) {
  p[0] = static_cast<uint8_t>(v >> 16);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v);
}
inline int GetU8(const uint8_t *p) { return p[0]; }
inline int GetU16(const uint8_t *p) { return (p[0] << 8) | p[1]; }
inline int GetU24(const uint8_t *p) { return (p[0] << 16) | (p[1] << 8) | p[2]; }

// Sign and magnitude: a negative value travels as its magnitude with the top
// bit set; received, a set top bit makes the value the negative of the rest.
inline void PutS16(uint8_t *p, int v) {
  PutU16(p, v >= 0 ? v : (-static_cast<int64_t>(v) & 0xFFFF) | 0x8000);
}
inline int GetS16(const uint8_t *p) {
  const int raw = GetU16(p);
  return (raw & 0x8000) ? -(raw & 0x7FFF) : raw;
}
inline void PutS24(uint8_t *p, int v) {
  PutU24(p, v >= 0 ? v : static_cast<int>((-static_cast<int64_t>(v) & 0xFFFFFF) | 0x800000));
}
inline int GetS24(const uint8_t *p) {
  const int raw = GetU24(p);
  return (raw & 0x800000) ? -(raw & 0x7FFFFF) : raw;
}

// A reply whose only payload is one byte: the acknowledgement of a write or
// an output command (0 = done), or a one-byte answer. Returns 9.
int CommByteReplyBuild(uint8_t *frame, int address, int cmd1, int cmd2, int value);
