// The simulated power source: one device of one of the eight models, with
// its own setting records, output, programs, alarms and measurements. It
// answers frames exactly as the source does (or, on demand, misbehaves) and
// knows nothing of sockets or clocks: the caller feeds it frames and tells it
// the time, so tests move time forward without waiting.
#pragma once

#include "records/MeasureOutput.h"
#include "records/PowerModel.h"
#include "records/SettingRecords.h"
#include "tools/powersim/SimMeasure.h"
#include "tools/powersim/SimProgramRun.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class SimMode { Normal, Step, List, Ramp, Cross };

struct PowerDeviceOptions {
  int32_t ModelType = kModelFPA;
  std::string Rating = "5"; // 1 to 4 digits; 4 digits: the four-digit identifier (FSB, FPB)
  int Address = 1;          // the device address every frame must carry
  std::string Identifier;   // when not empty, sent instead of the one built (11 characters)
  SimLoad Load;             // the load on every phase
  double DCVolts = 24.0;    // GS: the DC output's voltage while on
  bool Running = false;     // the output is found running (normal mode, risen)
};

// Faults a test or a user asks for.
struct SimFaults {
  int SilentFrames = 0;   // the next N valid frames are lost: not acted on, not answered
  int CorruptReplies = 0; // the next N replies go out with a wrong checksum
  int DelayMs = 0;        // every reply waits this long before it goes out
};

class PowerDevice {
public:
  // nullptr (with the reason in *error) when the model cannot carry the
  // rating or the identifier given is not 11 characters.
  static std::unique_ptr<PowerDevice> Create(const PowerDeviceOptions &options, std::string *error);

  // What came of one received frame.
  struct Response {
    std::vector<uint8_t> Reply; // empty: nothing goes back
    int DelayMs = 0;            // wait before sending the reply
    std::string Name;           // the command's name ("status query")
    std::string Note;           // why nothing went back, or what was done to the reply
  };
  // Handles one frame (exactly one, as the stream assembler cuts them).
  Response HandleFrame(const uint8_t *frame, size_t count);

  // Time in ms on the device's own clock, which only moves when told.
  int64_t NowMs() const { return nowMs_; }
  void AdvanceMs(int64_t ms);
  void SetNowMs(int64_t ms); // never moves backwards

  // Front-panel and bench actions (the control interface).
  void SwitchOutput(bool on); // refused (no effect) during an alarm
  void RaiseAlarm(int32_t code);
  void ClearAlarm(); // whatever the code, as the operator does at the source
  void SwitchDC(bool on);
  void SetLoad(const SimLoad &load) { load_ = load; }
  SimFaults &Faults() { return faults_; }

  // State, as the source sees it now.
  int32_t ModelType() const { return modelType_; }
  int Address() const { return address_; }
  const std::string &Identifier() const { return identifier_; }
  SettingRecords &Records() { return records_; }
  const SettingRecords &Records() const { return records_; }
  int32_t CurrentGroup() const { return currentGroup_; }
  SimMode Mode() const { return mode_; }
  bool OutputOn();
  bool DCOn() const { return dcOn_; }
  int32_t AlarmCode() const { return alarmCode_; }
  const SimLoad &Load() const { return load_; }
  // The status the next status reply reports.
  PowerState Status();
  // What each phase outputs now, and what the meters read.
  std::array<SimPhaseOutput, 3> Outputs();
  MeasureOutput Measure();
  int32_t DCValue() const; // 0.1 V

  // One line describing the state, for the control interface.
  std::string Describe();

private:
  PowerDevice() = default;

  // Brings the run up to the present: a program that has run its length
  // stops the output.
  void Update();
  int64_t RunElapsedMs() const { return nowMs_ - runStartMs_; }
  int64_t RiseMs() const;
  SimRunPoint ProgramPoint() const;
  std::array<SimPhaseOutput, 3> NormalOutputs() const;

  // The reply of a command this family has; false when the source does not
  // answer it (a parameter out of range).
  bool Execute(uint8_t cmd1, uint8_t cmd2, const uint8_t *frame, int replyLen,
               std::vector<uint8_t> &reply, std::string &note);
  bool ExecuteOutput(uint8_t cmd2, std::string &note, uint8_t &ack);
  bool ExecuteWrite(uint8_t cmd2, const uint8_t *frame, std::string &note, uint8_t &ack);
  bool ExecuteRead(uint8_t cmd2, const uint8_t *frame, uint8_t *reply);
  bool ExecuteQuery(uint8_t cmd2, uint8_t *reply);
  bool HasUCompensation() const;

  int32_t modelType_ = kModelFPA;
  int address_ = 1;
  std::string identifier_;
  SettingRecords records_{};
  int32_t currentGroup_ = 0;
  SimMode mode_ = SimMode::Normal;
  bool running_ = false;
  SimMode runMode_ = SimMode::Normal; // what the running output runs
  int64_t runStartMs_ = 0;
  int32_t alarmCode_ = 0;
  bool dcOn_ = false;
  double dcVolts_ = 24.0;
  SimLoad load_;
  SimFaults faults_;
  int64_t nowMs_ = 0;
};

const char *SimModeName(SimMode mode);
