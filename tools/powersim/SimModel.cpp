#include "tools/powersim/SimModel.h"

#include "records/PowerModel.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

struct ModelRow {
  int32_t Code;
  const char *Name;
  const char *Letters;
  char Variant;
  SimFamily Family;
};

// The identifier's family letters and variant letter per model. FL does not
// examine its variant letter; a three-phase "T" is what the source sends.
constexpr std::array<ModelRow, 8> kModels = {{
    {kModelFCT, "FCT", "FC", 'T', SimFamily::FC},
    {kModelFCS, "FCS", "FC", 'S', SimFamily::FC},
    {kModelFSA, "FSA", "FS", 'A', SimFamily::FS},
    {kModelFSB, "FSB", "FS", 'B', SimFamily::FS},
    {kModelFPA, "FPA", "FP", 'A', SimFamily::FP},
    {kModelFPB, "FPB", "FP", 'B', SimFamily::FP},
    {kModelGS, "GS", "GS", 'T', SimFamily::GS},
    {kModelFL, "FL", "FL", 'T', SimFamily::FL},
}};

const ModelRow *FindRow(int32_t code) {
  for (const ModelRow &row : kModels)
    if (row.Code == code)
      return &row;
  return nullptr;
}

} // namespace

std::optional<int32_t> SimModelFromName(const std::string &name) {
  std::string upper = name;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (const ModelRow &row : kModels)
    if (upper == row.Name)
      return row.Code;
  return std::nullopt;
}

const char *SimModelName(int32_t modelType) {
  const ModelRow *row = FindRow(modelType);
  return row ? row->Name : "?";
}

SimFamily SimFamilyOf(int32_t modelType) {
  const ModelRow *row = FindRow(modelType);
  return row ? row->Family : SimFamily::FS;
}

int SimNormalGroupCount(int32_t modelType) { return IsFCModel(modelType) ? 7 : 10; }

bool SimHasPrograms(int32_t modelType) {
  return modelType == kModelFPA || modelType == kModelFPB || modelType == kModelGS;
}

bool SimIsThreePhaseFC(int32_t modelType) { return modelType == kModelFCT; }

std::optional<std::string> SimBuildIdentifier(int32_t modelType, const std::string &ratingText,
                                              std::string *error) {
  auto fail = [error](const std::string &why) -> std::optional<std::string> {
    if (error)
      *error = why;
    return std::nullopt;
  };
  const ModelRow *row = FindRow(modelType);
  if (!row)
    return fail("unknown model");
  if (ratingText.empty() || ratingText.size() > 4 ||
      !std::all_of(ratingText.begin(), ratingText.end(),
                   [](unsigned char c) { return std::isdigit(c) != 0; }))
    return fail("the rating must be 1 to 4 decimal digits");

  std::string id = "QX";
  id += row->Letters;
  if (ratingText.size() == 4) {
    // Only the B variants of FS and FP know the four-digit form: the fourth
    // digit stands where the variant letter would, and "B" follows it.
    if (modelType != kModelFSB && modelType != kModelFPB)
      return fail(std::string("a four-digit rating exists only on FSB and FPB, not on ") +
                  row->Name);
    id += ratingText;
    id += 'B';
  } else {
    id += std::string(3 - ratingText.size(), '0') + ratingText;
    id += row->Variant;
    id += ' ';
  }
  id.resize(11, ' ');
  return id;
}
