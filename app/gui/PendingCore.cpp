#include "app/gui/PendingCore.h"

#include "app/Globals.h"

void CommSetNewCmdGroup(int) {}
void CommSetNewCmdSingleGroup(int, int, int) {}
void CommConnectDeal(int) {}
void CommConnectAtStartUp() {}
void MainTimerTick() {}
void DisplayPanelWait(int) {}
int FileReadNormalFCAll(const QString &) { return 0; }
int FileWriteNormalFCAll(const QString &) { return 1; }
int FileReadNormalFCOne(const QString &, int) { return 0; }
int FileWriteNormalFCOne(const QString &, int) { return 1; }
int FileReadNormalFPAll(const QString &) { return 0; }
int FileWriteNormalFPAll(const QString &) { return 1; }
int FileReadNormalFPOne(const QString &, int) { return 0; }
int FileWriteNormalFPOne(const QString &, int) { return 1; }
int FileReadSoftSet(const QString &) { return 0; }
int FileWriteSoftSet(const QString &) { return 1; }
void AutoSaveSetting() {}
void AutoSaveFCT() {}
void AutoSaveFCS() {}
void AutoSaveFSA() {}
void AutoSaveFSB() {}
void AutoSaveFPA() {}
void AutoSaveFPB() {}
void AutoSaveGS() {}
void AutoSaveFL() {}
void AutoLoadSetting(int) { gCurrentNormalGroup = 0; }
int DatabaseOpenMeasureRecordByName(const QString &, QString *) { return 0; }
int DatabaseCloseMeasure() { return 0; }
QString DatabaseSetAsideMessage(const QString &, int) { return {}; }
void UpdataOCPMax(int, int) {}

// Language files, read line by line until the INI document arrives.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <cstring>

#include "storage/Language.h"

char gStrLanguage[kLanguageItemMax + 1] = {};
int gInifileHandleState = 0;

namespace {
QHash<QByteArray, QByteArray> gItems;
QString gFolder;
} // namespace

void SetLanguageFolder(const QString &folder) { gFolder = folder; }
QString LanguageFolder() {
  return gFolder.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath("data")
                           : gFolder;
}
QString LanguageFileName(int language) { return language == 1 ? "English.dat" : "Chinese.dat"; }
int OpenLanguage(int language) {
  gItems.clear();
  gInifileHandleState = 1;
  QFile file(QDir(LanguageFolder()).filePath(LanguageFileName(language)));
  if (!file.open(QIODevice::ReadOnly))
    return -1;
  for (const QByteArray &line : file.readAll().split('\n')) {
    const qsizetype eq = line.indexOf('=');
    if (eq > 0 && !line.trimmed().startsWith(';'))
      gItems.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
  }
  return 0;
}
void CloseLanguage() {
  gItems.clear();
  gInifileHandleState = 0;
}
void ReadItem(int n, char *buffer) {
  if (gInifileHandleState == 0)
    return;
  const QByteArray text = gItems.value(QByteArray::number(n).rightJustified(4, '0')).left(254);
  std::memcpy(buffer, text.constData(), size_t(text.size()));
  buffer[text.size()] = '\0';
}
int32_t gStepSetDisMode = 1, gListSetDisMode = 1, gRampSetDisMode = 1, gCrossSetDisMode = 1;
int32_t gRefreshProWaveDelay = 0;
