// The shipped language files: both hold the same text numbers, every one with
// a text, in the layout the reader takes, and the generic alarm text has the
// places of the code's three digits.
#include <QDir>
#include <QFile>
#include <set>

#include "GuiTestSupport.h"
#include "storage/Language.h"

namespace {

// The text numbers of a shipped file, checking its layout line by line.
std::set<int> TextNumbers(int language) {
  QFile file(QDir(BuiltDataFolder()).filePath(LanguageFileName(language)));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_EQ(QString::fromUtf8(text).toUtf8(), text);
  std::set<int> numbers;
  for (const QByteArray &line : text.split('\n')) {
    if (line.isEmpty())
      continue;
    EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('['))
      continue;
    bool isNumber = false;
    numbers.insert(trimmed.left(4).toInt(&isNumber));
    EXPECT_TRUE(isNumber && trimmed.indexOf(" = ") == 4) << trimmed.toStdString();
  }
  return numbers;
}

// The alarm texts as the output areas show them, from the shipped file.
std::string ShippedItem(int language, int item) {
  OpenLanguage(language);
  ReadItem(item, gStrLanguage);
  std::string text = gStrLanguage;
  CloseLanguage();
  return text;
}

TEST(LanguageFileTest, BothFilesHoldTheSameTextsInTheReadersLayout) {
  const std::set<int> english = TextNumbers(1);
  EXPECT_GE(english.size(), 200u);
  EXPECT_EQ(TextNumbers(0), english);
  SetLanguageFolder(BuiltDataFolder());
  for (const int language : {0, 1}) {
    for (const int n : english)
      EXPECT_FALSE(QString::fromStdString(ShippedItem(language, n)).trimmed().isEmpty())
          << language << " text " << n;
    // The generic alarm text: one character, then the three digits' places.
    EXPECT_EQ(QString::fromStdString(ShippedItem(language, 328)).mid(1, 3), "***");
  }
  SetLanguageFolder(QString());
}

} // namespace
