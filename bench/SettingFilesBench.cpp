// Reading and writing a List program file (100 steps, some 2,100 items).
#include "records/Globals.h"
#include "settings/ProgramSet.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct ListFile {
  ListFile() {
    ResetProgramState();
    gPowerInfo.ModelType = kModelFPA;
    DataFPInitListAll();
    FileWriteListAll(Path);
    QFile file(Path);
    if (file.open(QIODevice::ReadOnly))
      Text = file.readAll();
  }
  QTemporaryDir Dir;
  QString Path = Dir.filePath("Bench.ListAll");
  QByteArray Text;
};

void BM_FileWriteListAllNew(benchmark::State &state) {
  ListFile list;
  const QString path = list.Dir.filePath("New.ListAll");
  for (auto _ : state) {
    QFile::remove(path);
    benchmark::DoNotOptimize(FileWriteListAll(path));
  }
}
BENCHMARK(BM_FileWriteListAllNew)->Unit(benchmark::kMicrosecond);

void BM_FileWriteListAllOverExisting(benchmark::State &state) {
  ListFile list;
  for (auto _ : state)
    benchmark::DoNotOptimize(FileWriteListAll(list.Path));
}
BENCHMARK(BM_FileWriteListAllOverExisting)->Unit(benchmark::kMicrosecond);

void BM_FileReadListAll(benchmark::State &state) {
  ListFile list;
  for (auto _ : state)
    benchmark::DoNotOptimize(FileReadListAll(list.Path));
}
BENCHMARK(BM_FileReadListAll)->Unit(benchmark::kMicrosecond);

// The document alone, without the file system and the normalisation.
void BM_IniParseListAll(benchmark::State &state) {
  ListFile list;
  for (auto _ : state) {
    IniFile document;
    document.LoadText(list.Text);
    benchmark::DoNotOptimize(SettingReadDocument(SettingKind::ListAll, document, 0));
  }
}
BENCHMARK(BM_IniParseListAll)->Unit(benchmark::kMicrosecond);

void BM_IniFormatListAll(benchmark::State &state) {
  ListFile list;
  for (auto _ : state) {
    IniFile document;
    SettingWriteDocument(SettingKind::ListAll, document, 0);
    benchmark::DoNotOptimize(document.ToText());
  }
}
BENCHMARK(BM_IniFormatListAll)->Unit(benchmark::kMicrosecond);

} // namespace
