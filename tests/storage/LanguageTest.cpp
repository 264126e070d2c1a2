// Language documents: four-digit keys of section Item, empty texts for
// what is missing, texts cut to 254 bytes without splitting a character.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "storage/Language.h"

namespace {

class LanguageTest : public ::testing::Test {
protected:
  void SetUp() override { SetLanguageFolder(Folder.path()); }
  void TearDown() override {
    CloseLanguage();
    SetLanguageFolder(QString());
  }
  void Write(const char *name, const QByteArray &text) {
    QFile file(QDir(Folder.path()).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  std::string Read(int n) {
    char buffer[kLanguageItemMax + 1];
    std::strcpy(buffer, "untouched");
    ReadItem(n, buffer);
    return buffer;
  }
  QTemporaryDir Folder;
};

// Language 1 reads "English.dat", any other value "Chinese.dat"; a text is
// cut to 254 bytes, or fewer so as not to split a character.
TEST_F(LanguageTest, TextsAreFoundUnderFourDigitKeysAndCutAtACharacter) {
  Write("English.dat", "[Item]\r\n0023 = Step program\r\n24 = List program\r\n"
                       "0348 = \"  quoted  \"\r\n\r\n");
  // 100 three-byte characters: 300 bytes, cut to 252 (84 characters), not 254.
  QByteArray longText;
  for (int i = 0; i < 100; ++i)
    longText += "报";
  QByteArray file = "[Item]\r\n0023 = 中文\r\n";
  for (int piece = 0; piece * 78 < longText.size(); ++piece)
    file += "0300 Line" + QByteArray::number(piece + 1).rightJustified(4, '0') + " = " +
            longText.mid(piece * 78, 78) + "\r\n";
  file += "0301 = " + QByteArray(300, 'a') + "\r\n\r\n";
  Write("Chinese.dat", file);
  ASSERT_EQ(OpenLanguage(1), 0);
  EXPECT_EQ(gInifileHandleState, 1);
  EXPECT_EQ(Read(23), "Step program");
  EXPECT_EQ(Read(24), "");
  EXPECT_EQ(Read(348), "  quoted  ");
  EXPECT_EQ(Read(999), "");
  for (const int language : {2, -1, 0}) {
    OpenLanguage(language);
    EXPECT_EQ(Read(23), "中文") << language;
  }
  const std::string cut = Read(300);
  EXPECT_EQ(cut.size(), 252u);
  EXPECT_EQ(QString::fromStdString(cut), QString::fromUtf8(longText.left(252)));
  EXPECT_EQ(Read(301), std::string(254, 'a'));
}

} // namespace
