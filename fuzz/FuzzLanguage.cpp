// The language file reader: the file as the program's data folder holds it
// (kept in memory where the system offers it), read into the panels' buffer:
// the first texts, the last, the numbers just outside them and two numbers
// the first input bytes choose.
#include "FuzzSupport.h"

#include "storage/IniFile.h"
#include "storage/Language.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>

namespace {

constexpr int kItemCount = 348;

QTemporaryDir &Folder() {
  static QTemporaryDir folder(QFileInfo::exists("/dev/shm")
                                  ? "/dev/shm/vexa-fuzz-XXXXXX"
                                  : QDir::tempPath() + "/vexa-fuzz-XXXXXX");
  return folder;
}

void CheckItem(int n) {
  char buffer[kLanguageItemMax + 1];
  std::memset(buffer, 0x55, sizeof buffer);
  ReadItem(n, buffer);
  FUZZ_CHECK(std::memchr(buffer, '\0', sizeof buffer) != nullptr);
}

void MakeSeeds(const SeedWriter &write) {
  const QDir data(VEXA_SOURCE_DIR "/data");
  for (const QString name : {"English.dat", "Chinese.dat"}) {
    QFile file(data.filePath(name));
    if (file.open(QIODevice::ReadOnly))
      write(name, file.readAll());
  }
  IniFile small;
  small.SetString("Item", "0001", QByteArray(300, 'x'));
  small.SetString("Item", "0002", "\xe4\xb8\xad\xe6\x96\x87");
  write("small", small.ToText());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  FuzzInitialize(argc, argv, MakeSeeds);
  SetLanguageFolder(Folder().path());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  QFile file(QDir(Folder().path()).filePath(LanguageFileName(1)));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return 0;
  file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
  file.close();
  OpenLanguage(1);
  for (const int n : {0, 1, 2, 3, kItemCount, kItemCount + 1})
    CheckItem(n);
  for (size_t i = 0; i < 2 && i < size; ++i)
    CheckItem(data[i] * (kItemCount + 2) / 256);
  CloseLanguage();
  return 0;
}
