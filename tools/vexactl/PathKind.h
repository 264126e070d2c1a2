// What stands at a path the user named, told in the words of a message, so
// that a folder, a FIFO or a device is called what it is and is never
// replaced by a file.
#pragma once

#include <QString>

// Empty when path is a regular file (or a link to one); else "no such
// file", "is a folder", "is a FIFO", "is a device", "is a socket".
QString NotAFileReason(const QString &path);

// Empty when an output may be written at path: nothing is there, or a
// regular file; else why it is refused.
QString OutputRefusal(const QString &path);
