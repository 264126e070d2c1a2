#include "tools/vexactl/PathKind.h"

#include <QFile>

#include <sys/stat.h>

QString NotAFileReason(const QString &path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0)
    return "no such file";
  if (S_ISREG(info.st_mode))
    return {};
  if (S_ISDIR(info.st_mode))
    return "is a folder";
  if (S_ISFIFO(info.st_mode))
    return "is a FIFO";
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
    return "is a device";
  if (S_ISSOCK(info.st_mode))
    return "is a socket";
  return "is not a regular file";
}

QString OutputRefusal(const QString &path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
    return {};
  return NotAFileReason(path) + ", not replaced by a file";
}
