// vexactl: one function per verb. Each gets the words after the verb and the
// options given before it; it returns the process exit code (0 success,
// 1 a file that could not be read, 2 a usage error, 3 a link that failed).
#pragma once

#include <QString>
#include <QStringList>

struct GlobalOptions {
  QString Model; // --model, empty when not given
};

int VerbCheck(const GlobalOptions &global, const QStringList &args);
int VerbDefaults(const GlobalOptions &global, const QStringList &args);
int VerbExport(const GlobalOptions &global, const QStringList &args);

// Prints "vexactl: <message>" on standard error and returns 2.
int UsageError(const QString &message);
