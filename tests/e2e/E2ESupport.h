// vexactl against the simulated source: powersim runs as its own process,
// vexactl as another, in real time.
#pragma once

#include "records/Globals.h"

#include "Powersim.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct ToolRun {
  int ExitCode = -1;
  QString Out;
  QString Err;
};

// Starts vexactl. "{lan}" and "{serial}" in the arguments stand for
// powersim's endpoints, and the stand-in GPIB driver is set to reach its
// "gpib" endpoint.
inline void StartVexactl(QProcess &process, QStringList args, const Powersim *sim = nullptr) {
  E2EApp();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (sim != nullptr) {
    for (QString &arg : args)
      for (const char *name : {"lan", "serial"})
        arg.replace(QString("{%1}").arg(name), sim->Endpoint(name));
    environment.insert("VEXA_GPIB_LIBRARY", VEXA_GPIB_STUB);
    environment.insert("VEXA_GPIB_SIM", sim->Endpoint("gpib"));
  }
  process.setProcessEnvironment(environment);
  process.start(VEXACTL_EXE, args);
}

// Waits for a started vexactl to end.
inline ToolRun FinishVexactl(QProcess &process, int timeoutMs = 120000) {
  ToolRun run;
  if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    process.waitForFinished(1000);
  } else {
    run.ExitCode = process.exitCode();
  }
  run.Out = QString::fromUtf8(process.readAllStandardOutput());
  run.Err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// Runs vexactl to its end (in real time: its own 50 ms timer).
inline ToolRun Vexactl(const QStringList &args, const Powersim *sim = nullptr) {
  QProcess process;
  StartVexactl(process, args, sim);
  return FinishVexactl(process);
}
