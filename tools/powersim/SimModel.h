// The simulated source's identity: model names, families and the 11-character
// identifier it answers the model query with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class SimFamily { FC, FS, FP, GS, FL };

// "FCT" .. "FL" (case-insensitive) to the model code; nullopt for anything else.
std::optional<int32_t> SimModelFromName(const std::string &name);
// The model code's short name ("FCT" .. "FL"), "?" for an unknown code.
const char *SimModelName(int32_t modelType);
SimFamily SimFamilyOf(int32_t modelType);

// Normal groups the family keeps: 7 for FC, 10 for the others.
int SimNormalGroupCount(int32_t modelType);
bool SimHasPrograms(int32_t modelType); // Step, List, Ramp and THD
bool SimIsThreePhaseFC(int32_t modelType);

// Builds the identifier for a model and a rating written with 1 to 4 digits.
// Ratings written with up to 3 digits are padded to 3 ("5" -> "005"); a
// rating written with 4 digits uses the four-digit form, which only FSB and
// FPB have ("QXFP0500B  "). Returns nullopt with a reason in *error when the
// model cannot carry that rating.
std::optional<std::string> SimBuildIdentifier(int32_t modelType, const std::string &ratingText,
                                              std::string *error);
