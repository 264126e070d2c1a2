// What the fuzz targets share: a Qt application object (the database and
// file code expect one), the seed corpus written by the program's own
// encoders, and the checks that end a run with a report.
//
// A target run with VEXA_FUZZ_SEEDS=DIR writes its seeds into DIR and ends;
// scripts/fuzz does that before every run.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using Bytes = std::vector<uint8_t>;
using SeedWriter = std::function<void(const QString &name, const QByteArray &content)>;

// A property that must hold: a report and an abort (a finding) when not.
#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);       \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

inline QByteArray ToBytes(const Bytes &bytes) {
  return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

// Creates the application object; with VEXA_FUZZ_SEEDS set, writes the seeds
// through makeSeeds and ends the process.
inline void FuzzInitialize(int *argc, char ***argv,
                           const std::function<void(const SeedWriter &)> &makeSeeds) {
  static QCoreApplication app(*argc, *argv);
  const QByteArray folder = qgetenv("VEXA_FUZZ_SEEDS");
  if (folder.isEmpty())
    return;
  QDir().mkpath(QString::fromLocal8Bit(folder));
  int count = 0;
  makeSeeds([&](const QString &name, const QByteArray &content) {
    QFile file(QDir(QString::fromLocal8Bit(folder)).filePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
      ++count;
  });
  std::printf("%d seeds in %s\n", count, folder.constData());
  std::exit(count > 0 ? 0 : 1);
}
