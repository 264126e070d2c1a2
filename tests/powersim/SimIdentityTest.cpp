#include "SimTestLink.h"

#include "comm/CommPC.h"
#include "tools/powersim/FrameAssembler.h"
#include "tools/powersim/SimFrame.h"
#include "tools/powersim/SimModel.h"
#include "tools/powersim/SimOptions.h"

#include <gtest/gtest.h>

namespace {

struct IdentityCase {
  const char *Model;
  const char *Rating;
  const char *Identifier; // the 11 characters; nullptr: the model cannot carry the rating
  int32_t DecodedRating;
};

// clang-format off
const IdentityCase kIdentities[] = {
    {"FCT", "100", "QXFC100T   ", 100}, {"FCS", "5", "QXFC005S   ", 5},
    {"FSA", "123", "QXFS123A   ", 123}, {"FSB", "050", "QXFS050B   ", 50},
    {"FSB", "1234", "QXFS1234B  ", 1234}, {"FPA", "10", "QXFP010A   ", 10},
    {"FPB", "0500", "QXFP0500B  ", 500}, {"FPB", "333", "QXFP333B   ", 333},
    {"GS", "100", "QXGS100T   ", 100}, {"FL", "050", "QXFL050T   ", 50},
    {"fpa", "7", "QXFP007A   ", 7}, {"FPA", "1000", nullptr, 0}, {"GS", "1000", nullptr, 0},
    {"FCT", "1234", nullptr, 0}, {"FL", "1234", nullptr, 0}, {"FSA", "12345", nullptr, 0},
    {"FSA", "", nullptr, 0}, {"FSA", "1a", nullptr, 0},
};
// clang-format on

TEST(SimIdentity, EveryModelAndRatingFormDecodesAsTheProgramReadsIt) {
  for (const IdentityCase &c : kIdentities) {
    SCOPED_TRACE(std::string(c.Model) + " " + c.Rating);
    const auto model = SimModelFromName(c.Model);
    ASSERT_TRUE(model);
    std::string error;
    const auto id = SimBuildIdentifier(*model, c.Rating, &error);
    if (!c.Identifier) {
      EXPECT_FALSE(id);
      EXPECT_FALSE(error.empty());
      continue;
    }
    ASSERT_TRUE(id) << error;
    EXPECT_EQ(*id, c.Identifier);

    // The whole model-query exchange through the program's own decoder.
    SimTestLink link(kModelFSA); // the model assumed before the query
    PowerDeviceOptions options;
    options.ModelType = *model;
    options.Rating = c.Rating;
    link.Recreate(options);
    uint8_t query[8];
    ASSERT_EQ(ModelQueryTx(query), 8);
    const auto r = link.device->HandleFrame(query, 8);
    ASSERT_EQ(r.Reply.size(), 24u);
    char name[12] = {};
    int32_t type = 0, rating = 0;
    ASSERT_EQ(ModelQueryRx(r.Reply.data(), 24, name, &type, &rating), 1);
    EXPECT_EQ(type, *model);
    EXPECT_EQ(rating, c.DecodedRating);
    EXPECT_STREQ(name, c.Identifier);
  }
}

TEST(SimIdentity, UnknownModelNamesAreRejected) {
  EXPECT_FALSE(SimModelFromName("FPC"));
  EXPECT_FALSE(SimModelFromName(""));
}

// ---- the stream ----------------------------------------------------------

std::vector<uint8_t> Query(int cmd2) { return SimTestLink::Frame(1, 0xF0, cmd2); }

std::vector<std::vector<uint8_t>> FramesOf(const std::vector<FrameAssembler::Piece> &pieces) {
  std::vector<std::vector<uint8_t>> frames;
  for (const auto &p : pieces)
    if (p.IsFrame)
      frames.push_back(p.Bytes);
  return frames;
}

TEST(SimStream, FramesSplitAtEveryByteOrJoinedComeOutWhole) {
  const auto a = Query(0xED), b = Query(0xEB);
  std::vector<uint8_t> both = a;
  both.insert(both.end(), b.begin(), b.end());
  for (size_t cut = 0; cut <= both.size(); ++cut) {
    FrameAssembler assembler;
    auto frames = FramesOf(assembler.Feed(both.data(), cut, 0));
    const auto rest = FramesOf(assembler.Feed(both.data() + cut, both.size() - cut, 0));
    frames.insert(frames.end(), rest.begin(), rest.end());
    ASSERT_EQ(frames.size(), 2u) << "cut at " << cut;
    EXPECT_EQ(frames[0], a);
    EXPECT_EQ(frames[1], b);
    EXPECT_EQ(assembler.Pending(), 0u);
  }
}

// ---- command line ----------------------------------------------------------

TEST(SimOptionsParse, BadOptionsAreRefusedWithAReason) {
  const std::vector<QStringList> bad = {
      {"--model", "XX"},    {"--model", "GS", "--rating", "1000"},
      {"--address", "0"},   {"--address", "256"},
      {"--lan", "nocolon"}, {"--pf", "1.5"},
      {"--ident", "short"}, {"--silent"},
      {"--frobnicate"},     {"--load-ohms", "-1"},
  };
  for (const QStringList &args : bad) {
    SimOptions o;
    QString error;
    EXPECT_FALSE(ParseSimOptions(args, o, &error)) << qPrintable(args.join(' '));
    EXPECT_FALSE(error.isEmpty());
  }
}

} // namespace
