#include "MeasureTestUtil.h"

#include "records/PowerModel.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <array>
#include <optional>

namespace {

class DatabaseTest : public TempDbTest {
protected:
  void TearDown() override { DatabaseClose(Info); }

  void Open() { ASSERT_EQ(DatabaseOpenMeasureRecordByName(Path(), Info), 0); }

  // Saves a row whose U voltage is value (0.1 V units: value 10 reads 1.0).
  void SaveVoltage(const DateTime &at, int32_t value) {
    MeasureOutput m{};
    m.At(kMeasVoltage, 0) = value;
    ASSERT_EQ(DatabaseMeasureSaveNewRecord("FPA-3300", kModelFPA, 0, Info, at, m), 0);
  }

  DatabaseInfo Info;
};

// Every stored quantity of every phase in the column of its name, one row per
// family and output mode. Phase V holds twice and W three times the U value.
TEST_F(DatabaseTest, StoresTheFamilysQuantitiesAndPhases) {
  const struct {
    int32_t Model, OutMode;
    std::array<bool, 3> Phases; // which phases carry values
  } cases[] = {
      {kModelFCT, 0, {true, true, true}},    {kModelFCT, 3, {false, true, false}},
      {kModelFCT, 1, {false, false, false}}, {kModelFCS, 0, {true, false, false}},
      {kModelFPB, 1, {true, true, true}},    {kModelGS, 5, {true, false, false}},
  };
  Open();
  const int32_t stored[8] = {2301, 152, 5000, 1234, 2345, 987, 1414, 213};
  const double shown[8] = {230.1, 15.2, 50.0, 1.234, 2.345, 0.987, 1.414, 21.3};
  const double shownFC[8] = {230.1, 15.2, 500.0, 1.234, 0, 0, 0, 0}; // FC: 0.1 Hz, four only
  const char *names[8] = {"U", "I", "F", "kPower", "kVA", "PF", "CF", "Ipk"};
  MeasureOutput m{};
  for (int q = 0; q < 8; ++q)
    for (int p = 0; p < 3; ++p)
      m.At(q, p) = stored[q] * (p + 1);
  RawDb raw(Path());
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto &c = cases[i];
    const DateTime at = AddSeconds(MakeTime(2030, 1, 2, 3, 4, 5), static_cast<int64_t>(i));
    ASSERT_EQ(DatabaseMeasureSaveNewRecord("MODEL", c.Model, c.OutMode, Info, at, m), 0);
    const bool fc = c.Model == kModelFCT || c.Model == kModelFCS;
    EXPECT_EQ(raw.Column("SELECT OutMode FROM MeasureRecord ORDER BY rowid")[i].toInt(), c.OutMode);
    for (int q = 0; q < 8; ++q) {
      for (size_t p = 0; p < 3; ++p) {
        const double want = c.Phases[p] ? (fc ? shownFC[q] : shown[q]) * double(p + 1) : 0.0;
        const QString column = QString(names[q]) + QChar("abc"[p]);
        EXPECT_NEAR(
            raw.Column("SELECT " + column + " FROM MeasureRecord ORDER BY rowid")[i].toDouble(),
            want, 1e-9)
            << c.Model << " " << column.toStdString();
      }
    }
  }
}

TEST_F(DatabaseTest, CallsOnAClosedDatabaseFail) {
  const DateTime at = MakeTime(2024, 1, 1, 0, 0, 0);
  MeasureOutput m{};
  const int32_t items[kExportItemCount] = {1, 1, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(DatabaseMeasureSaveNewRecord("FPA", kModelFPA, 0, Info, at, m), -1);
  EXPECT_EQ(DatabaseRecordWriteToFileCvs(File("out.csv"), items, Info, at, 10, 1, 0), -1);
  EXPECT_FALSE(QFileInfo::exists(File("out.csv")));
  Open();
  ASSERT_EQ(DatabaseClose(Info), 0);
  EXPECT_EQ(DatabaseClose(Info), -1);
  EXPECT_EQ(DatabaseMeasureSaveNewRecord("FPA", kModelFPA, 0, Info, at, m), -1);
}

// A folder at the path is no database: nothing is stored, the user is told
// why, and the folder stays as it was.
TEST_F(DatabaseTest, AFolderAtThePathIsRefusedWithAMessage) {
  ASSERT_TRUE(QDir().mkpath(Path()));
  EXPECT_EQ(DatabaseOpenMeasureRecordByName(Path(), Info), -1);
  EXPECT_EQ(Info.Connected, 0);
  EXPECT_TRUE(QFileInfo(Path()).isDir());
  EXPECT_TRUE(DatabaseCannotOpenMessage(Path(), 0).contains("cannot be written"));
}

// The program's database is a global: left open, it must not crash the exit
// (Qt's connection registry may already be gone by then).
TEST_F(DatabaseTest, AnOpenGlobalDatabaseSurvivesTheExit) {
  const QString path = Path();
  EXPECT_EXIT(
      {
        DatabaseOpenMeasureRecordByName(path, gDatabaseInfo);
        static DatabaseInfo other;
        DatabaseOpenMeasureRecordByName(path + "2", other);
        std::exit(gDatabaseInfo.Connected && other.Connected ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
}

// --- what lies at the path before an open or a create ------------------------

const QByteArray kAccessLike =
    QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\x5a');

enum class Before { AccessFile, OtherTable, RenamedColumn, EmptyFile, StaleJournal, Locked };

struct FileCase {
  const char *Name;
  Before What;
  bool Create; // else open
  int Result;
  bool SetAside;
};

const FileCase kFileCases[] = {
    {"old_file_on_open", Before::AccessFile, false, 0, true},
    {"other_table_on_create", Before::OtherTable, true, 0, true},
    {"first_column_renamed_on_open", Before::RenamedColumn, false, 0, true},
    {"empty_file_on_open", Before::EmptyFile, false, 0, false},
    {"stale_journal_on_open", Before::StaleJournal, false, 0, false},
    {"locked_on_open", Before::Locked, false, -1, false},
    {"locked_on_create", Before::Locked, true, -1, false},
};

class DatabaseFile : public DatabaseTest, public testing::WithParamInterface<FileCase> {
protected:
  void Lay(Before what) {
    QFile::remove(Path());
    RawDb raw(Path());
    if (what == Before::OtherTable) {
      raw.Column("CREATE TABLE MeasureRecord(Stamp int, Value double)");
      raw.Column("INSERT INTO MeasureRecord VALUES (1, 2.5)");
    } else if (what == Before::RenamedColumn) {
      QString columns = "Model varchar(20),ModelTypeVar int,OutMode int,TimeVar int,TimeStr text";
      for (const char *q : {"U", "I", "F", "kPower", "kVA", "PF", "CF", "Ipk"})
        for (const char *p : {"a", "b", "c"})
          columns += QString(",%1%2 double").arg(q, p);
      raw.Column("CREATE TABLE MeasureRecord(" + columns + ")");
    }
  }
};

// An unreadable file is renamed aside byte for byte (a second one within the
// same second too) and a new database made; an empty file or a journal left
// beside a missing database is taken over in place; a database another
// program holds locked is not unreadable: it stays, with its rows.
TEST_P(DatabaseFile, IsSetAsideTakenOverOrLeftAlone) {
  const FileCase &c = GetParam();
  const DateTime at = MakeTime(2024, 1, 1, 0, 0, 0);
  QStringList asides;
  for (int round = 0; round < (c.SetAside ? 2 : 1); ++round) {
    if (c.What == Before::AccessFile)
      WriteAll(Path(), kAccessLike + QByteArray::number(round));
    else if (c.What == Before::EmptyFile)
      WriteAll(Path(), QByteArray());
    else if (c.What == Before::StaleJournal)
      WriteAll(Path() + "-journal", QByteArray(4096, '\x01'));
    else if (c.What == Before::Locked) {
      Open();
      SaveVoltage(at, 10);
      ASSERT_EQ(DatabaseClose(Info), 0);
    } else
      Lay(c.What);
    const QByteArray before = ReadAll(Path());
    std::optional<RawDb> holder;
    if (c.What == Before::Locked) {
      holder.emplace(Path());
      holder->Column("PRAGMA locking_mode=EXCLUSIVE");
      holder->Column("BEGIN EXCLUSIVE");
      holder->Column("SELECT count(*) FROM MeasureRecord");
    }
    QString aside = "untouched";
    EXPECT_EQ(c.Create ? DatabaseCreatMeasureRecordByName(Path(), Info, &aside)
                       : DatabaseOpenMeasureRecordByName(Path(), Info, &aside),
              c.Result);
    EXPECT_EQ(Info.Connected, c.Result == 0 ? 1 : 0);
    holder.reset();
    if (c.SetAside) {
      const QRegularExpression name("^Measure\\.mdb\\.unreadable-\\d{8}-\\d{6}(-2)?$");
      EXPECT_TRUE(name.match(QFileInfo(aside).fileName()).hasMatch()) << aside.toStdString();
      EXPECT_EQ(QFileInfo(aside).absolutePath(), QFileInfo(Path()).absolutePath());
      EXPECT_EQ(ReadAll(aside), before);
      EXPECT_FALSE(asides.contains(aside));
      asides << aside;
      EXPECT_TRUE(DatabaseSetAsideMessage(aside, 1).contains(QFileInfo(aside).fileName()));
      EXPECT_FALSE(DatabaseSetAsideMessage(aside, 0).isEmpty());
    } else {
      EXPECT_TRUE(aside.isEmpty());
      EXPECT_EQ(Dir.Files(), QStringList{kMeasureDatabaseFile});
    }
    // The database works (unlocked, the held one opens with its row).
    if (c.Result != 0)
      Open();
    SaveVoltage(at, 10);
    RawDb raw(Path());
    EXPECT_EQ(raw.Column("SELECT count(*) FROM MeasureRecord")[0].toInt(),
              c.What == Before::Locked ? 2 : 1);
    ASSERT_EQ(DatabaseClose(Info), 0);
  }
  EXPECT_EQ(asides.size(), c.SetAside ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Files, DatabaseFile, testing::ValuesIn(kFileCases),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
