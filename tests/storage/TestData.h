// The golden files of the storage tests lie next to them.
#pragma once

#include <QDir>
#include <QString>

inline QString StorageTestData(const QString &name) {
  return QDir::cleanPath(QStringLiteral(VEXA_TEST_DATA "/../storage/data/") + name);
}
