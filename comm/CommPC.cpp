#include "comm/CommPC.h"

#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include <cstring>

namespace {

bool IsDigit(uint8_t c) { return NumOutBound(c, '9', '0') == 0; }

int Checksum(const uint8_t *frame, int len) { return GetStringCheckSum(frame + 1, len - 3) & 0xFF; }

} // namespace

int GetStringCheckSum(const uint8_t *bytes, int n) {
  int sum = 0;
  for (int i = 0; i < n; ++i)
    sum += bytes[i];
  return sum;
}

int CommPCCheck(const uint8_t *rx, int count, int address) {
  if (count < kFrameMinLen)
    return 128;
  if (rx[3] != address)
    return 129;
  const int len = rx[1] * 256 + rx[2];
  if (len < kFrameMinLen || len > count)
    return 128;
  if (rx[len - 1] != kFrameEnd)
    return 130;
  return Checksum(rx, len) == rx[len - 2] ? 0 : 1;
}

int GetASCIIToInt(const char *chars, int n) {
  int value = 0;
  for (int i = 0; i < n; ++i)
    value = value * 10 + (chars[i] - '0');
  return value;
}

int CommFrameComplete(uint8_t *frame, int len, int address, int cmd1, int cmd2) {
  frame[0] = kFrameStart;
  frame[1] = 0;
  frame[2] = static_cast<uint8_t>(len);
  frame[3] = static_cast<uint8_t>(address);
  frame[4] = static_cast<uint8_t>(cmd1);
  frame[5] = static_cast<uint8_t>(cmd2);
  frame[len - 2] = static_cast<uint8_t>(Checksum(frame, len));
  frame[len - 1] = kFrameEnd;
  return len;
}

int CommFrameAccept(const uint8_t *rx, int count, int address, int cmd1, int cmd2) {
  // The six header bytes are read before anything else is known.
  if (count < kFramePayload)
    return 0;
  if (rx[0] != kFrameStart || rx[1] != 0)
    return 0;
  if (rx[3] != address)
    return 0;
  if (rx[4] != cmd1 || rx[5] != cmd2)
    return 0;
  const int len = rx[2];
  // A length below 8 is never a reply; the checksum needs bytes 1 .. L-2.
  if (len < kFrameMinLen || count < len)
    return 0;
  return Checksum(rx, len) == rx[len - 2] ? 1 : 0;
}

int CommReplyAccept(const uint8_t *rx, int count, int address, int cmd1, int cmd2, int len) {
  return CommFrameAccept(rx, count, address, cmd1, cmd2) && rx[2] == len ? 1 : 0;
}

int ModelQueryTx(uint8_t *buffer) {
  gCommInfo.RxExpectLen = kModelQueryReplyLen;
  return CommFrameComplete(buffer, kFrameMinLen, gPowerInfo.SoftwareAddress, kCmdQuery,
                           kModelQueryCmd2);
}

int ModelIdentifierDecode(const char *id, int32_t *modelType, int32_t *rating) {
  const auto *u = reinterpret_cast<const uint8_t *>(id);
  if (u[0] != 'Q' || u[1] != 'X')
    return 0;
  if (!IsDigit(u[4]) || !IsDigit(u[5]) || !IsDigit(u[6]))
    return 0;
  const bool fourDigits = u[8] == 'B';
  if (fourDigits && !IsDigit(u[7]))
    return 0;
  const auto family = [&](const char *letters) { return u[2] == letters[0] && u[3] == letters[1]; };
  const char variant = id[7];
  int code = 0;
  int digits = 3;
  if (family("FC")) {
    code = variant == 'T' ? kModelFCT : variant == 'S' ? kModelFCS : 0;
  } else if (family("FS") || family("FP")) {
    const bool fs = family("FS");
    if (fourDigits) {
      code = fs ? kModelFSB : kModelFPB;
      digits = 4;
    } else if (variant == 'B') {
      code = fs ? kModelFSB : kModelFPB;
    } else if (variant == 'A') {
      code = fs ? kModelFSA : kModelFPA;
    }
  } else if (family("GS")) {
    code = variant == 'T' ? kModelGS : 0;
  } else if (family("FL")) {
    code = kModelFL;
  }
  if (code == 0)
    return 0;
  *modelType = code;
  *rating = GetASCIIToInt(id + 4, digits);
  return 1;
}

int ModelQueryRx(const uint8_t *rx, int count, char *modelStr, int32_t *modelType,
                 int32_t *rating) {
  if (count < kFramePayload)
    return 0;
  if (rx[0] != kFrameStart || rx[1] != 0 || rx[2] != kModelQueryReplyLen ||
      rx[3] != gPowerInfo.SoftwareAddress || rx[4] != kCmdQuery || rx[5] != kModelQueryCmd2)
    return 0;
  if (count < kModelQueryReplyLen)
    return 0;
  if ((GetStringCheckSum(rx + 1, 21) & 0xFF) != rx[22])
    return 0;
  const char *id = reinterpret_cast<const char *>(rx + kFramePayload);
  int32_t code = 0;
  int32_t value = 0;
  if (!ModelIdentifierDecode(id, &code, &value))
    return 0;
  // The identifier is shown, stored with every row and exported: a byte a
  // line of text cannot hold (a NUL, a line break) becomes a blank.
  for (int i = 0; i < kModelIdLen; ++i)
    modelStr[i] = id[i] >= 0x20 && id[i] <= 0x7E ? id[i] : ' ';
  modelStr[kModelIdLen] = '\0';
  *modelType = code;
  *rating = value;
  UpdataOCPMax(value, code);
  return 1;
}

int ModelQueryReplyBuild(uint8_t *frame, int address, const char *identifier) {
  std::memset(frame + kFramePayload, 0, kModelQueryReplyLen - kFrameMinLen);
  std::memcpy(frame + kFramePayload, identifier, kModelIdLen);
  return CommFrameComplete(frame, kModelQueryReplyLen, address, kCmdQuery, kModelQueryCmd2);
}

void RepairRxBuff() {
  const int len = gCommInfo.RxLen;
  if (len <= 0)
    return;
  auto &buff = gCommInfo.RxBuff;
  const int n = len < kCommBuffSize ? len : kCommBuffSize;
  int p = 0;
  while (p < n && buff[p] != kFrameStart)
    ++p;
  if (p == 0 || p >= n)
    return;
  for (int i = p; i < n; ++i)
    buff[i - p] = buff[i];
}

int CalOCPMax(int rating, int modelType) {
  int divisor = 33;
  if (modelType == kModelFCS || modelType == kModelFSA || modelType == kModelFPA)
    divisor = 11;
  else if (modelType == kModelGS)
    divisor = 66;
  return rating * 1000 / divisor;
}

void UpdataOCPMax(int rating, int modelType) {
  Hooks().SetOCPDefineMax(CalOCPMax(rating, modelType));
}

int CommByteReplyBuild(uint8_t *frame, int address, int cmd1, int cmd2, int value) {
  PutU8(frame + kFramePayload, value);
  return CommFrameComplete(frame, kFrameMinLen + 1, address, cmd1, cmd2);
}
