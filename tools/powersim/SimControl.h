// The control interface of the simulated source: one command per line, one
// answer line each ("ok ..." or "error ..."). It drives the device's front
// panel and the faults; dropping the connections and quitting belong to the
// server, which installs the two callbacks.
#pragma once

#include "tools/powersim/PowerDevice.h"

#include <functional>
#include <string>

class SimControl {
public:
  explicit SimControl(PowerDevice &device) : device_(device) {}

  std::function<void()> OnDrop; // close every connection now
  std::function<void()> OnQuit;

  // Executes one line; an empty line or a comment (#) answers "".
  std::string Execute(const std::string &line);

  // The command list, as "powersim --help" and "help" show it.
  static const char *HelpText();

private:
  PowerDevice &device_;
};
