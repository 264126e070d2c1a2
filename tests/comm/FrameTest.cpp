// The acceptance rule shared by every codec, the model query and the
// current limit that follows the rating. (The envelope and its checksum are
// pinned by every hand-built frame of the codec tests.)
#include "CodecTestSupport.h"

#include "comm/CommPC.h"
#include "comm/FCCommand.h"
#include "comm/FPCommand.h"

#include <cstring>
#include <numeric>

namespace {

class FrameTest : public CodecFixture {};

// Every decoder applies the same rule; a rejected reply stores nothing.
TEST_F(FrameTest, ReplyAcceptanceRejectsEachFailingStep) {
  const Bytes good = HandFrame(0xA5, 0x11, {0x04});
  struct Case {
    const char *name;
    int index; // byte to change, -1 none
    int value;
    bool fixChecksum;
    int count;
    int cmd2; // command in flight
  };
  const Case cases[] = {{"accepted", -1, 0, false, 9, 0x11},
                        {"start byte", 0, 0x7C, false, 9, 0x11},
                        {"length high byte with a right checksum", 1, 1, true, 9, 0x11},
                        {"address", 3, 2, true, 9, 0x11},
                        {"command byte 1", 4, 0x5A, true, 9, 0x11},
                        {"command byte 2", 5, 0x21, true, 9, 0x11},
                        {"command in flight differs", -1, 0, false, 9, 0x30},
                        {"checksum", 7, good[7] ^ 0x01, false, 9, 0x11},
                        {"count short", -1, 0, false, 8, 0x11},
                        {"exact length (one byte more)", 2, 10, true, 10, 0x11}};
  for (const Case &c : cases) {
    Bytes f = good;
    f.push_back(0x7D); // room for the longer variant
    if (c.index >= 0)
      f[c.index] = static_cast<uint8_t>(c.value);
    if (c.fixChecksum) {
      const int len = f[2];
      unsigned sum = 0;
      for (int i = 1; i <= len - 3; ++i)
        sum += f[i];
      f[len - 2] = static_cast<uint8_t>(sum);
    }
    f.resize(256, 0);
    gCurrentNormalGroup = 0;
    const int accepted = std::strcmp(c.name, "accepted") == 0;
    EXPECT_EQ(FPCommRx(0xA5, c.cmd2, 0, f.data(), c.count), accepted) << c.name;
    EXPECT_EQ(gCurrentNormalGroup, accepted ? 4 : 0) << c.name;
  }
}

// The identifier (positions 0..10) inside a model-query reply.
Bytes ModelReply(const char *identifier, int address = 1) {
  Bytes payload(16, 0);
  std::memcpy(payload.data(), identifier, 11);
  payload[11] = 0x55; // bytes after the identifier are not examined
  Bytes f = HandFrame(0xF0, 0xED, payload, address);
  f.resize(256, 0);
  return f;
}

TEST_F(FrameTest, ModelIdentifierTable) {
  struct Case {
    const char *id;
    int model; // 0: rejected
    int rating;
  };
  // clang-format off
  const Case cases[] = {
      {"QXFC100T???", kModelFCT, 100}, {"QXFC100S???", kModelFCS, 100}, {"QXFC100A???", 0, 0},
      {"QXFC1000B??", 0, 0}, // four digits: position 7 is neither T nor S
      {"QXFS123A???", kModelFSA, 123}, {"QXFS1234B??", kModelFSB, 1234}, {"QXFS123C???", 0, 0},
      {"QXFP050A???", kModelFPA, 50},  {"QXFP050B???", kModelFPB, 50},   {"QXFP9999B??", kModelFPB, 9999},
      {"QXFP123T???", 0, 0},           {"QXGS100T???", kModelGS, 100},   {"QXGS100S???", 0, 0},
      {"QXGS1000B??", 0, 0},           {"QXFL050X???", kModelFL, 50},    {"QXFL0509???", kModelFL, 50},
      {"QXFL050AB??", 0, 0}, // B at position 8 after a letter: rejected for every family
      {"QXFP12AA???", 0, 0},           {"QXFP/23A???", 0, 0},            {"QXFP12:A???", 0, 0},
      {"QYFP123A???", 0, 0},           {"XQFP123A???", 0, 0},            {"QXfp123A???", 0, 0}};
  // clang-format on
  for (const Case &c : cases) {
    gPowerInfo.PowerModelStr.fill('#');
    gPowerInfo.ModelType = -1;
    gPowerInfo.Rating = -1;
    view.Calls.clear();
    const Bytes f = ModelReply(c.id);
    const int r = ModelQueryRx(f.data(), 24, gPowerInfo.PowerModelStr.data(), &gPowerInfo.ModelType,
                               &gPowerInfo.Rating);
    if (c.model == 0) {
      EXPECT_EQ(r, 0) << c.id;
      EXPECT_EQ(gPowerInfo.ModelType, -1) << c.id;
      EXPECT_EQ(gPowerInfo.Rating, -1) << c.id;
      EXPECT_EQ(gPowerInfo.PowerModelStr[0], '#') << c.id;
      EXPECT_TRUE(view.Calls.empty()) << c.id;
      continue;
    }
    EXPECT_EQ(r, 1) << c.id;
    EXPECT_EQ(gPowerInfo.ModelType, c.model) << c.id;
    EXPECT_EQ(gPowerInfo.Rating, c.rating) << c.id;
    EXPECT_EQ(std::string(gPowerInfo.PowerModelStr.data()), std::string(c.id, 11)) << c.id;
    ASSERT_EQ(view.Calls.size(), 1u) << c.id; // the limit itself: OverCurrentLimit
    EXPECT_EQ(view.Calls[0].rfind("SetOCPDefineMax(", 0), 0u) << c.id;
  }
}

TEST_F(FrameTest, ModelQueryReplyEnvelope) {
  const Bytes good = ModelReply("QXFP050A???");
  const struct {
    const char *name;
    int index, value, count;
    bool accepted;
  } cases[] = {{"good", -1, 0, 24, true},
               {"start byte", 0, 0x00, 24, false},
               {"length high byte", 1, 1, 24, false},
               {"length", 2, 23, 24, false},
               {"address", 3, 2, 24, false},
               {"command byte 1", 4, 0xA5, 24, false},
               {"command byte 2", 5, 0xEB, 24, false},
               {"checksum", 22, good[22] + 1, 24, false},
               {"count short", -1, 0, 23, false},
               {"end byte not examined", 23, 0, 24, true}};
  for (const auto &c : cases) {
    Bytes f = good;
    if (c.index >= 0)
      f[c.index] = static_cast<uint8_t>(c.value);
    if (c.index != 22) // each other fault comes with a right checksum
      f[22] = static_cast<uint8_t>(std::accumulate(f.begin() + 1, f.begin() + 22, 0));
    char str[12];
    int32_t model = -1, rating = -1;
    EXPECT_EQ(ModelQueryRx(f.data(), c.count, str, &model, &rating), c.accepted) << c.name;
    EXPECT_EQ(model, c.accepted ? kModelFPA : -1) << c.name;
  }
}

TEST_F(FrameTest, OverCurrentLimit) {
  struct Case {
    int rating, model, limit;
  };
  const Case cases[] = {{10, kModelFPA, 909}, {5, kModelGS, 75},   {5, kModelFCT, 151},
                        {5, kModelFCS, 454},  {3, kModelFL, 90},   {5, kModelFSA, 454},
                        {5, kModelFSB, 151},  {5, kModelFPB, 151}, {5, 0, 151},
                        {0, kModelGS, 0}};
  for (const Case &c : cases) {
    EXPECT_EQ(CalOCPMax(c.rating, c.model), c.limit) << c.rating << " " << c.model;
    view.Calls.clear();
    UpdataOCPMax(c.rating, c.model);
    EXPECT_EQ(view.Calls, Calls{"SetOCPDefineMax(" + std::to_string(c.limit) + ")"});
  }
}

} // namespace
