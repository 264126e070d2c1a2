// Record fields named in text, so that a table of check cases states what it
// sets and what it expects on one line: "VolU=3001 VolLine=1000". The phases
// of a List or Ramp step are named U., V., W. ("V.Vol=100").
#pragma once

#include "records/SettingRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>

template <class T> struct NamedField {
  std::string_view Name;
  int32_t T::*Field;
};

#define VEXA_FIELD(T, f)                                                                           \
  NamedField<T> { #f, &T::f }

inline constexpr NamedField<SystemSet> kSystemFields[] = {
    VEXA_FIELD(SystemSet, UDisMode), VEXA_FIELD(SystemSet, UCompensation),
    VEXA_FIELD(SystemSet, StartRise), VEXA_FIELD(SystemSet, IfKeySound),
    VEXA_FIELD(SystemSet, OCP_Define)};
inline constexpr NamedField<NormalFCSet> kNormalFCFields[] = {
    VEXA_FIELD(NormalFCSet, Freq),     VEXA_FIELD(NormalFCSet, Vol),
    VEXA_FIELD(NormalFCSet, VolLine),  VEXA_FIELD(NormalFCSet, VolLevel),
    VEXA_FIELD(NormalFCSet, OutMode),  VEXA_FIELD(NormalFCSet, UpUPer),
    VEXA_FIELD(NormalFCSet, DownUPer), VEXA_FIELD(NormalFCSet, VolUp),
    VEXA_FIELD(NormalFCSet, VolBase),  VEXA_FIELD(NormalFCSet, VolDown)};
inline constexpr NamedField<NormalFPSet> kNormalFPFields[] = {
    VEXA_FIELD(NormalFPSet, OutMode),  VEXA_FIELD(NormalFPSet, OutChannel),
    VEXA_FIELD(NormalFPSet, VolU),     VEXA_FIELD(NormalFPSet, VolV),
    VEXA_FIELD(NormalFPSet, VolW),     VEXA_FIELD(NormalFPSet, VolLine),
    VEXA_FIELD(NormalFPSet, VolLevel), VEXA_FIELD(NormalFPSet, FreqU),
    VEXA_FIELD(NormalFPSet, FreqV),    VEXA_FIELD(NormalFPSet, FreqW),
    VEXA_FIELD(NormalFPSet, RiseTime), VEXA_FIELD(NormalFPSet, AngleUV),
    VEXA_FIELD(NormalFPSet, AngleVW),  VEXA_FIELD(NormalFPSet, AngleUW),
    VEXA_FIELD(NormalFPSet, WaveU),    VEXA_FIELD(NormalFPSet, WaveV),
    VEXA_FIELD(NormalFPSet, WaveW)};
inline constexpr NamedField<StepSet> kStepFields[] = {
    VEXA_FIELD(StepSet, OutMode),      VEXA_FIELD(StepSet, WaveU),
    VEXA_FIELD(StepSet, WaveV),        VEXA_FIELD(StepSet, WaveW),
    VEXA_FIELD(StepSet, AngleUV),      VEXA_FIELD(StepSet, AngleVW),
    VEXA_FIELD(StepSet, AngleUW),      VEXA_FIELD(StepSet, VolStartU),
    VEXA_FIELD(StepSet, VolStartV),    VEXA_FIELD(StepSet, VolLineStart),
    VEXA_FIELD(StepSet, VolStepU),     VEXA_FIELD(StepSet, VolStepV),
    VEXA_FIELD(StepSet, VolStepW),     VEXA_FIELD(StepSet, VolLineStep),
    VEXA_FIELD(StepSet, FreqStartU),   VEXA_FIELD(StepSet, FreqStartV),
    VEXA_FIELD(StepSet, FreqStartW),   VEXA_FIELD(StepSet, FreqStepU),
    VEXA_FIELD(StepSet, FreqStepV),    VEXA_FIELD(StepSet, StepCntU),
    VEXA_FIELD(StepSet, StepCntV),     VEXA_FIELD(StepSet, StepCntW),
    VEXA_FIELD(StepSet, StepTimeHU),   VEXA_FIELD(StepSet, StepTimeHV),
    VEXA_FIELD(StepSet, StepTimeMU),   VEXA_FIELD(StepSet, StepTimeMW),
    VEXA_FIELD(StepSet, StepTimeS2PU), VEXA_FIELD(StepSet, StepTimeS2PV),
    VEXA_FIELD(StepSet, StepTimeS2PW)};
inline constexpr NamedField<ListSet> kProgramHeaderFields[] = {
    VEXA_FIELD(ListSet, StartNo), VEXA_FIELD(ListSet, StopNo),   VEXA_FIELD(ListSet, CircleDegree),
    VEXA_FIELD(ListSet, OutMode), VEXA_FIELD(ListSet, AngleUV),  VEXA_FIELD(ListSet, AngleVW),
    VEXA_FIELD(ListSet, AngleUW), VEXA_FIELD(ListSet, CurrentNo)};
inline constexpr NamedField<ListPhase> kListPhaseFields[] = {
    VEXA_FIELD(ListPhase, Vol),   VEXA_FIELD(ListPhase, VolLine), VEXA_FIELD(ListPhase, Freq),
    VEXA_FIELD(ListPhase, TimeH), VEXA_FIELD(ListPhase, TimeM),   VEXA_FIELD(ListPhase, TimeS2P),
    VEXA_FIELD(ListPhase, Wave)};
inline constexpr NamedField<RampPhase> kRampPhaseFields[] = {
    VEXA_FIELD(RampPhase, VolStart),     VEXA_FIELD(RampPhase, VolStop),
    VEXA_FIELD(RampPhase, VolLineStart), VEXA_FIELD(RampPhase, VolLineStop),
    VEXA_FIELD(RampPhase, FreqStart),    VEXA_FIELD(RampPhase, FreqStop),
    VEXA_FIELD(RampPhase, TimeH),        VEXA_FIELD(RampPhase, TimeM),
    VEXA_FIELD(RampPhase, TimeS2P),      VEXA_FIELD(RampPhase, Wave)};
inline constexpr NamedField<CrossListSet> kCrossHeaderFields[] = {
    VEXA_FIELD(CrossListSet, StartNo), VEXA_FIELD(CrossListSet, StopNo),
    VEXA_FIELD(CrossListSet, CircleDegree), VEXA_FIELD(CrossListSet, CurrentNo)};
inline constexpr NamedField<CrossSet> kCrossFields[] = {
    VEXA_FIELD(CrossSet, OutChannel), VEXA_FIELD(CrossSet, WaveU),
    VEXA_FIELD(CrossSet, WaveV),      VEXA_FIELD(CrossSet, WaveW),
    VEXA_FIELD(CrossSet, RatingVol),  VEXA_FIELD(CrossSet, RatingFreq),
    VEXA_FIELD(CrossSet, RatingTime), VEXA_FIELD(CrossSet, CrossAngle),
    VEXA_FIELD(CrossSet, DropVol),    VEXA_FIELD(CrossSet, KeepTime),
    VEXA_FIELD(CrossSet, RiseTime),   VEXA_FIELD(CrossSet, ResumeVol),
    VEXA_FIELD(CrossSet, EndTime)};

#undef VEXA_FIELD

template <class T, std::size_t N>
int32_t *FieldIn(T &record, const NamedField<T> (&names)[N], std::string_view name) {
  for (const NamedField<T> &f : names)
    if (f.Name == name)
      return &(record.*f.Field);
  return nullptr;
}

inline int32_t *FieldOf(SystemSet &r, std::string_view n) { return FieldIn(r, kSystemFields, n); }
inline int32_t *FieldOf(NormalFCSet &r, std::string_view n) {
  return FieldIn(r, kNormalFCFields, n);
}
inline int32_t *FieldOf(NormalFPSet &r, std::string_view n) {
  return FieldIn(r, kNormalFPFields, n);
}
inline int32_t *FieldOf(StepSet &r, std::string_view n) { return FieldIn(r, kStepFields, n); }
inline int32_t *FieldOf(ListSet &r, std::string_view n) {
  return FieldIn(r, kProgramHeaderFields, n);
}
inline int32_t *FieldOf(CrossListSet &r, std::string_view n) {
  return FieldIn(r, kCrossHeaderFields, n);
}
inline int32_t *FieldOf(CrossSet &r, std::string_view n) { return FieldIn(r, kCrossFields, n); }

// "V.Vol": the phase (U, V, W) of a List or Ramp step, then its field.
template <class Step, class Phase, std::size_t N>
int32_t *PhaseFieldOf(Step &step, const NamedField<Phase> (&names)[N], std::string_view name) {
  const std::string_view phases = "UVW";
  if (name.size() < 3 || name[1] != '.' || phases.find(name[0]) == std::string_view::npos)
    return nullptr;
  return FieldIn(step.Phase[phases.find(name[0])], names, name.substr(2));
}
inline int32_t *FieldOf(ListListSet &r, std::string_view n) {
  return PhaseFieldOf(r, kListPhaseFields, n);
}
inline int32_t *FieldOf(RampRampSet &r, std::string_view n) {
  return PhaseFieldOf(r, kRampPhaseFields, n);
}

// Calls f(field, value, name) for every "name=value" of the list; false when
// a name is not a field of the record.
template <class T, class F> bool ForEachField(T &record, std::string_view list, F f) {
  std::istringstream in{std::string(list)};
  std::string item;
  while (in >> item) {
    const size_t eq = item.find('=');
    int32_t *field = eq == std::string::npos ? nullptr : FieldOf(record, item.substr(0, eq));
    if (field == nullptr) {
      ADD_FAILURE() << "no field \"" << item << "\"";
      return false;
    }
    f(*field, static_cast<int32_t>(std::stol(item.substr(eq + 1))), item.substr(0, eq));
  }
  return true;
}

// Sets the fields a list names.
template <class T> void SetFields(T &record, std::string_view list) {
  ForEachField(record, list,
               [](int32_t &field, int32_t value, const std::string &) { field = value; });
}

// The fields a list names hold its values.
template <class T> testing::AssertionResult HasFields(const T &record, std::string_view list) {
  T copy = record;
  std::string wrong;
  ForEachField(copy, list, [&](int32_t &field, int32_t value, const std::string &name) {
    if (field != value)
      wrong += " " + name + "=" + std::to_string(field);
  });
  if (wrong.empty())
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "expected " << list << ", found" << wrong;
}

// 1 when the record changed, as the checks return it.
template <class T> int Differs(const T &a, const T &b) {
  return std::memcmp(&a, &b, sizeof(T)) != 0 ? 1 : 0;
}
