// The command line of powersim.
#pragma once

#include "tools/powersim/PowerDevice.h"

#include <QString>
#include <QStringList>

struct SimEndpoint {
  bool Enabled = false;
  QString Host = "127.0.0.1";
  quint16 Port = 0; // 0: a free port, printed at start
};

struct SimOptions {
  PowerDeviceOptions Device;
  SimFaults Faults;
  int32_t Alarm = 0;     // raised at start
  int DropAfter = 0;     // close every connection after that many frames (0: never)
  SimEndpoint Lan{true}; // on unless --no-lan
  SimEndpoint Gpib;      // the endpoint of the stand-in GPIB library
  SimEndpoint Control;   // line-oriented control over TCP
  bool Serial = false;   // a pseudo-terminal
  int LineRate = 0;      // Bd: the pseudo-terminal takes a cable's time (0: no time)
  QString SerialLink;    // a symbolic link kept pointing at the pseudo-terminal
  bool Stdin = true;     // control lines on standard input
  QString LogFile;
  bool Help = false;
};

// Parses the arguments after the program name. false with a message in
// *error for anything it does not understand.
bool ParseSimOptions(const QStringList &args, SimOptions &options, QString *error);

// The usage text of --help, the control commands included.
QString SimUsage();
