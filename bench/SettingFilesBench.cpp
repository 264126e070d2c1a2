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

// A hand-edited file of many distinct sections (up to the 40 000 of a 1 MB
// file) and runs of joined items: the time must grow with the size, not with
// its square (the fitted complexity is printed as "BigO").
void BM_IniParseManySections(benchmark::State &state) {
  QByteArray text;
  for (int64_t i = 0; i < state.range(0); ++i)
    text += "[S" + QByteArray::number(i) + "]\nA = 1\nT Line0001 = x\nT Line0002 = y\n";
  for (auto _ : state) {
    IniFile document;
    document.LoadText(text);
    benchmark::DoNotOptimize(document.GetInt("S0", "A"));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_IniParseManySections)
    ->RangeMultiplier(4)
    ->Range(2500, 40000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

} // namespace
