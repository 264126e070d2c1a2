// The --model option of the setting-file verbs.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// "FCT", "FCS", "FSA", "FSB", "FPA", "FPB", "GS" or "FL" (any letter case) to
// the model code; an empty name gives FSA; nullopt for any other name.
std::optional<int32_t> ModelFromOption(const QString &name);
