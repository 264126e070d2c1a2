// The language files hold every text the panels and alarms use, and the
// alarm texts are built from them by the code rules.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <set>

#include "GuiTestSupport.h"
#include "app/OutputState.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Shell.h"
#include "records/Globals.h"
#include "storage/Language.h"

namespace {

// Every text number a panel or an alarm uses.
std::set<int> RequiredTexts() {
  std::set<int> numbers;
  auto add = [&numbers](int first, int last) {
    for (int n = first; n <= last; ++n)
      numbers.insert(n);
  };
  // main panel
  for (int n :
       {1, 2, 13, 21, 27, 29, 31, 175, 28, 22, 33, 34, 35, 37, 38, 56, 57, 176, 177, 195, 348})
    numbers.insert(n);
  add(5, 12);
  add(14, 20);
  add(23, 26);
  add(30, 32);
  add(189, 192);
  add(46, 53);
  add(109, 119);
  // program panels
  add(2, 5);
  add(120, 130);
  add(205, 217);
  add(193, 194);
  for (int n : {136, 152, 156, 180, 185, 186, 187, 188, 203})
    numbers.insert(n);
  add(142, 151);
  // group, history, communication, about and wait panels
  add(60, 72);
  numbers.erase(61);
  numbers.insert(77);
  add(157, 174);
  numbers.insert(204);
  add(196, 202);
  add(178, 179);
  add(181, 184);
  // alarms
  add(300, 306);
  add(313, 347);
  return numbers;
}

class LanguageFileTest : public ::testing::TestWithParam<int> {
protected:
  void SetUp() override { SetLanguageFolder(BuiltDataFolder()); }
  void TearDown() override {
    CloseLanguage();
    SetLanguageFolder(QString());
  }
};

TEST_P(LanguageFileTest, HoldsEveryTextNumberWithAText) {
  ASSERT_EQ(OpenLanguage(GetParam()), 0);
  for (int n : RequiredTexts())
    EXPECT_FALSE(LanguageItem(n).trimmed().isEmpty()) << "text " << n;
}

TEST_P(LanguageFileTest, GenericAlarmTextHasOneCharacterAndThreePlaceholders) {
  ASSERT_EQ(OpenLanguage(GetParam()), 0);
  const QString generic = LanguageItem(328);
  ASSERT_GE(generic.size(), 5);
  EXPECT_EQ(generic.mid(1, 3), "***");
}

TEST_P(LanguageFileTest, IsUtf8WithCrLfLinesAndFourDigitKeys) {
  QFile file(QDir(BuiltDataFolder()).filePath(LanguageFileName(GetParam())));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_EQ(QString::fromUtf8(text).toUtf8(), text);
  for (const QByteArray &line : text.split('\n')) {
    if (line.isEmpty())
      continue;
    EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('['))
      continue;
    const qsizetype eq = trimmed.indexOf(" = ");
    ASSERT_EQ(eq, 4) << trimmed.toStdString();
    bool isNumber = false;
    trimmed.left(4).toInt(&isNumber);
    EXPECT_TRUE(isNumber) << trimmed.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageFileTest, ::testing::Values(1, 0),
                         [](const auto &info) {
                           return std::string(info.param == 1 ? "English" : "Chinese");
                         });

struct AlarmCase {
  int Code;
  const char *English;
};

// Codes with a prefix digit, the generic text with the code written in, and
// the ends of the module range (which codes take the generic text is pinned
// by the main-panel tests).
const AlarmCase kAlarms[] = {
    {1311, "1Phase U output over-voltage"},
    {999, "E999: alarm of the power source; see the source's manual for this code"},
    {2999, "2E999: alarm of the power source; see the source's manual for this code"},
    {610, "Power module 1 fault"},
    {618, "Power module 9 fault"},
    {200, "Input power error, please switch off and check"},
    {472, "Phase W amplifier fault"},
    {12375, "2Phase W peak current too high"},
};

class AlarmTextTest : public ::testing::TestWithParam<AlarmCase> {
protected:
  void SetUp() override { SetLanguageFolder(BuiltDataFolder()); }
  void TearDown() override {
    CloseLanguage();
    SetLanguageFolder(QString());
  }
};

// The alarm texts as the output areas show them, from the shipped file.
std::string ShippedItem(int language, int item) {
  OpenLanguage(language);
  ReadItem(item, gStrLanguage);
  std::string text = gStrLanguage;
  CloseLanguage();
  return text;
}

TEST_P(AlarmTextTest, EnglishText) {
  EXPECT_EQ(StrAlarmLanguageSet(GetParam().Code, 1, ShippedItem), GetParam().English);
}

INSTANTIATE_TEST_SUITE_P(Codes, AlarmTextTest, ::testing::ValuesIn(kAlarms),
                         [](const auto &info) { return std::to_string(info.param.Code); });

TEST(AlarmTextChinese, GenericTextTakesTheDigitsAfterThePrefix) {
  SetLanguageFolder(BuiltDataFolder());
  EXPECT_EQ(StrAlarmLanguageSet(3401, 0, ShippedItem),
            "3E401：电源报警，请查阅电源说明书中的此代码");
  SetLanguageFolder(QString());
}

using MissingLanguageTest = ShellTest;

// Without its language file the panel keeps working with empty texts.
TEST_F(MissingLanguageTest, MissingFileBlanksTheTextsAndNothingElse) {
  QTemporaryDir onlyEnglish;
  QFile::copy(QDir(BuiltDataFolder()).filePath("English.dat"),
              QDir(onlyEnglish.path()).filePath("English.dat"));
  ASSERT_EQ(Start(), 0);
  SetLanguageFolder(onlyEnglish.path());
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
  EXPECT_EQ(gMainPanel->windowTitle(), "Vexa Power Control");
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_CHINESE);
  EXPECT_TRUE(gMainPanel->windowTitle().isEmpty());
  EXPECT_TRUE(gMainMenu->menu(MENU_FILE)->title().isEmpty());
  EXPECT_TRUE(gMainPanel->Connection->BtConnect->text().isEmpty());
  EXPECT_TRUE(Dialogs_.Messages.empty());
  // The controls still work.
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  EXPECT_EQ(gPowerInfo.ModelType, kModelGS);
  EXPECT_EQ(gInifileHandleState, 0);
}

} // namespace
