// The --model option of vexactl.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// "FCT", "FCS", "FSA", "FSB", "FPA", "FPB", "GS" or "FL" (any letter case) to
// the model code; an empty name gives FSA; nullopt for any other name.
std::optional<int32_t> ModelFromOption(const QString &name);
// The name of a model code ("GS"), or the number for a code that names none.
QString ModelOptionName(int32_t model);
