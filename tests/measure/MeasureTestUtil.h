// Helpers shared by the measurement tests: a temporary folder with a
// database path, and a second connection to look at the file directly.
#pragma once

#include "TestSupport.h"
#include "measure/Database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <string>
#include <vector>

inline DateTime MakeTime(int y, int mo, int d, int h, int mi, int s) {
  DateTime dt{y, mo, d, h, mi, s, 0};
  CalDateTimeFromTimeToVar(dt);
  return dt;
}

inline DateTime AddSeconds(DateTime dt, int64_t n) {
  DateTimeAddSecond(n, dt);
  return dt;
}

inline std::string ReadFile(const QString &path) { return ReadAll(path).toStdString(); }

// A separate connection on the file, closed when it goes.
class RawDb {
public:
  explicit RawDb(const QString &path) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", kName);
    db.setDatabaseName(path);
    db.open();
  }
  ~RawDb() {
    QSqlDatabase::database(kName, false).close();
    QSqlDatabase::removeDatabase(kName);
  }
  // The first column of every row of sql.
  std::vector<QVariant> Column(const QString &sql) {
    std::vector<QVariant> out;
    QSqlQuery q(QSqlDatabase::database(kName, false));
    if (!q.exec(sql))
      return {QVariant(QStringLiteral("<error>"))};
    while (q.next())
      out.push_back(q.value(0));
    return out;
  }

private:
  static constexpr const char *kName = "MeasureTestRaw";
};

// A temporary working folder with Path() = <folder>/Measure.mdb.
class TempDbTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Dir.IsValid()); }
  QString Path() const { return Dir.File(kMeasureDatabaseFile); }
  QString File(const char *name) const { return Dir.File(name); }

  TempWorkDir Dir;
};
