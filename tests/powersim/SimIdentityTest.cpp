// The identifier the simulated source answers the model query with, read by
// the program's own decoder.
#include "SimTestLink.h"

#include "comm/CommPC.h"
#include "tools/powersim/SimModel.h"

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

} // namespace
