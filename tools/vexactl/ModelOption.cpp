#include "tools/vexactl/ModelOption.h"

#include "app/PowerModel.h"

std::optional<int32_t> ModelFromOption(const QString &name) {
  if (name.isEmpty())
    return kModelFSA;
  struct Named {
    const char *Name;
    int32_t Model;
  };
  static constexpr Named kModels[] = {
      {"FCT", kModelFCT}, {"FCS", kModelFCS}, {"FSA", kModelFSA}, {"FSB", kModelFSB},
      {"FPA", kModelFPA}, {"FPB", kModelFPB}, {"GS", kModelGS},   {"FL", kModelFL},
  };
  for (const Named &named : kModels)
    if (name.compare(QLatin1StringView(named.Name), Qt::CaseInsensitive) == 0)
      return named.Model;
  return std::nullopt;
}
