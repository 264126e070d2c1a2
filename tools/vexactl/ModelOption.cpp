#include "tools/vexactl/ModelOption.h"

#include "records/PowerModel.h"

namespace {

struct Named {
  const char *Name;
  int32_t Model;
};

constexpr Named kModels[] = {
    {"FCT", kModelFCT}, {"FCS", kModelFCS}, {"FSA", kModelFSA}, {"FSB", kModelFSB},
    {"FPA", kModelFPA}, {"FPB", kModelFPB}, {"GS", kModelGS},   {"FL", kModelFL},
};

} // namespace

std::optional<int32_t> ModelFromOption(const QString &name) {
  if (name.isEmpty())
    return kModelFSA;
  for (const Named &named : kModels)
    if (name.compare(QLatin1StringView(named.Name), Qt::CaseInsensitive) == 0)
      return named.Model;
  return std::nullopt;
}

QString ModelOptionName(int32_t model) {
  for (const Named &named : kModels)
    if (named.Model == model)
      return QLatin1StringView(named.Name);
  return QString::number(model);
}
