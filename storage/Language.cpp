#include "storage/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <cstring>
#include <memory>

#include "storage/IniFile.h"

char gStrLanguage[kLanguageItemMax + 1] = {};
int gInifileHandleState = 0;

namespace {

std::unique_ptr<IniFile> gInifileHandle;
QString gLanguageFolder;

// Length of text cut to at most limit bytes without splitting a UTF-8
// sequence.
qsizetype CutAtCharacter(const QByteArray &text, qsizetype limit) {
  if (text.size() <= limit)
    return text.size();
  qsizetype end = limit;
  // Step back over continuation bytes (10xxxxxx) to the start of a character.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return end;
}

} // namespace

void SetLanguageFolder(const QString &folder) { gLanguageFolder = folder; }

QString LanguageFolder() {
  if (!gLanguageFolder.isEmpty())
    return gLanguageFolder;
  return DataFolderFor(QCoreApplication::applicationDirPath());
}

QString DataFolderFor(const QString &programFolder) {
  const QDir folder(programFolder);
  if (folder.exists(QStringLiteral("data")))
    return folder.filePath(QStringLiteral("data"));
  return QDir::cleanPath(folder.filePath(QStringLiteral(VEXA_DATA_FROM_BIN)));
}

QString LanguageFileName(int language) {
  return language == 1 ? QStringLiteral("English.dat") : QStringLiteral("Chinese.dat");
}

int OpenLanguage(int language) {
  CloseLanguage();
  gInifileHandle = std::make_unique<IniFile>();
  gInifileHandleState = 1;
  return gInifileHandle->LoadFile(QDir(LanguageFolder()).filePath(LanguageFileName(language)));
}

void CloseLanguage() {
  if (gInifileHandleState == 0)
    return;
  gInifileHandle.reset();
  gInifileHandleState = 0;
}

void ReadItem(int n, char *buffer) {
  if (gInifileHandleState == 0 || !gInifileHandle)
    return;
  const QByteArray key = QByteArray::number(n).rightJustified(4, '0');
  const QByteArray text = gInifileHandle->GetString("Item", key).value_or(QByteArray());
  const qsizetype length = CutAtCharacter(text, kLanguageItemMax);
  std::memcpy(buffer, text.constData(), size_t(length));
  buffer[length] = '\0';
}
