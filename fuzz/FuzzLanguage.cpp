// The language file reader: the file as the program's data folder holds it,
// every numbered text read into the panels' buffer.
#include "FuzzSupport.h"

#include "storage/IniFile.h"
#include "storage/Language.h"

#include <QTemporaryDir>

#include <cstring>

namespace {

constexpr int kItemCount = 348;

QTemporaryDir &Folder() {
  static QTemporaryDir folder;
  return folder;
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
  char buffer[kLanguageItemMax + 1];
  for (int n = 0; n <= kItemCount + 1; ++n) {
    std::memset(buffer, 0x55, sizeof buffer);
    ReadItem(n, buffer);
    FUZZ_CHECK(std::memchr(buffer, '\0', sizeof buffer) != nullptr);
  }
  CloseLanguage();
  return 0;
}
