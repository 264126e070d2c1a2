// vexactl: one function per verb. Each gets the words after the verb and the
// options given before it; it returns the process exit code (0 success,
// 1 a file that could not be read or a request the source did not carry
// out, 2 a usage error, 3 a link that could not be opened or was lost,
// 128 + N ended by signal N).
#pragma once

#include <QString>
#include <QStringList>

struct GlobalOptions {
  QString Model; // --model, empty when not given
  // The connection of the device verbs, as given (checked by the verbs).
  QString Lan;       // --lan HOST:PORT
  QString Serial;    // --serial DEVICE
  QString Baud;      // --baud 9600|19200|38400
  QString Gpib;      // --gpib ADDRESS
  QString Address;   // --address N
  bool Fast = false; // --fast: replies taken as soon as they have come
};

int VerbCheck(const GlobalOptions &global, const QStringList &args);
int VerbDefaults(const GlobalOptions &global, const QStringList &args);
int VerbExport(const GlobalOptions &global, const QStringList &args);
int VerbTrend(const GlobalOptions &global, const QStringList &args);
int VerbDemoHistory(const GlobalOptions &global, const QStringList &args);

// Device verbs: they open the link the connection options name.
int VerbIdentify(const GlobalOptions &global, const QStringList &args);
int VerbDump(const GlobalOptions &global, const QStringList &args);
int VerbLoad(const GlobalOptions &global, const QStringList &args);
int VerbOutput(const GlobalOptions &global, const QStringList &args);
int VerbWatch(const GlobalOptions &global, const QStringList &args);

// An offline verb ended by a signal removes the file at path (set it before
// writing a file that would be useless when cut short).
void RemoveOnSignal(const QString &path);

// Prints "vexactl: <message>" on standard error and returns 2.
int UsageError(const QString &message);
// The same, returning 1 (a file that could not be read or written).
int Failure(const QString &message);
