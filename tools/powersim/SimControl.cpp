#include "tools/powersim/SimControl.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Words(const std::string &line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;)
    words.push_back(w);
  return words;
}

bool ParseInt(const std::string &text, long lo, long hi, long &value) {
  try {
    size_t used = 0;
    value = std::stol(text, &used, 10);
    return used == text.size() && value >= lo && value <= hi;
  } catch (...) {
    return false;
  }
}

bool ParseDouble(const std::string &text, double &value) {
  try {
    size_t used = 0;
    value = std::stod(text, &used);
    return used == text.size();
  } catch (...) {
    return false;
  }
}

bool ParseOnOff(const std::string &text, bool &on) {
  if (text == "on" || text == "1") {
    on = true;
    return true;
  }
  if (text == "off" || text == "0") {
    on = false;
    return true;
  }
  return false;
}

} // namespace

const char *SimControl::HelpText() {
  return "  state              one line: model, mode, group, output, alarm, run position\n"
         "  output on|off      switch the output as at the front panel\n"
         "  alarm CODE         raise an alarm (1..65535; 900 emergency stop, 200 input\n"
         "                     fault; those two are cleared only here); the output stops\n"
         "  clear              clear the alarm, whatever its code\n"
         "  dc on|off          GS: switch the DC output\n"
         "  silent N           lose the next N frames: not acted on, not answered\n"
         "  corrupt N          send the next N replies with a wrong checksum\n"
         "  delay MS           hold every reply MS ms before sending it (0: off)\n"
         "  drop               close every connection now (the serial line is hung up\n"
         "                     and a new pseudo-terminal is opened)\n"
         "  load OHMS          load impedance per phase (0: nothing connected)\n"
         "  pf X               load power factor, -1..1\n"
         "  help               this list\n"
         "  quit               stop powersim\n";
}

std::string SimControl::Execute(const std::string &line) {
  const std::vector<std::string> w = Words(line);
  if (w.empty() || w[0][0] == '#')
    return "";
  const std::string &cmd = w[0];
  const size_t args = w.size() - 1;
  long n = 0;
  double x = 0;
  bool on = false;
  if (cmd == "help")
    return std::string("ok commands:\n") + HelpText();
  if (cmd == "state" && args == 0)
    return "ok " + device_.Describe();
  if (cmd == "output" && args == 1 && ParseOnOff(w[1], on)) {
    device_.SwitchOutput(on);
    if (on && !device_.OutputOn())
      return "error the output cannot start during alarm " + std::to_string(device_.AlarmCode());
    return std::string("ok output ") + (device_.OutputOn() ? "on" : "off");
  }
  if (cmd == "alarm" && args == 1 && ParseInt(w[1], 1, 65535, n)) {
    device_.RaiseAlarm(static_cast<int32_t>(n));
    return "ok alarm " + std::to_string(n);
  }
  if (cmd == "clear" && args == 0) {
    device_.ClearAlarm();
    return "ok alarm cleared";
  }
  if (cmd == "dc" && args == 1 && ParseOnOff(w[1], on)) {
    if (device_.ModelType() != kModelGS)
      return "error only GS has a DC output";
    device_.SwitchDC(on);
    return std::string("ok dc ") + (device_.DCOn() ? "on" : "off");
  }
  if ((cmd == "silent" || cmd == "corrupt") && args == 1 && ParseInt(w[1], 0, 1000000, n)) {
    (cmd == "silent" ? device_.Faults().SilentFrames : device_.Faults().CorruptReplies) =
        static_cast<int>(n);
    return "ok " + cmd + " " + std::to_string(n);
  }
  if (cmd == "delay" && args == 1 && ParseInt(w[1], 0, 600000, n)) {
    device_.Faults().DelayMs = static_cast<int>(n);
    return "ok delay " + std::to_string(n);
  }
  if (cmd == "drop" && args == 0) {
    if (OnDrop)
      OnDrop();
    return "ok dropped";
  }
  if (cmd == "load" && args == 1 && ParseDouble(w[1], x) && x >= 0) {
    SimLoad load = device_.Load();
    load.Ohms = x;
    device_.SetLoad(load);
    return "ok load " + w[1];
  }
  if (cmd == "pf" && args == 1 && ParseDouble(w[1], x) && x >= -1 && x <= 1) {
    SimLoad load = device_.Load();
    load.PowerFactor = x;
    device_.SetLoad(load);
    return "ok pf " + w[1];
  }
  if (cmd == "quit" && args == 0) {
    if (OnQuit)
      OnQuit();
    return "ok bye";
  }
  return "error unknown or malformed command: " + line + " (try help)";
}
