#include "storage/IniFile.h"
#include "TestSupport.h"

TEST(IniFile, NewDocumentHasTheExactLayout) {
  IniFile ini;
  ini.SetInt("FileInfo", "Type", 65);
  ini.SetInt("Value", "Vol", 2200);
  ini.SetInt("Value", "Neg", -5);
  EXPECT_EQ(ini.ToText(), QByteArray("[FileInfo]\r\nType = 65\r\n\r\n"
                                     "[Value]\r\nVol = 2200\r\nNeg = -5\r\n\r\n"));
}

struct LookupCase {
  const char *Name;
  const char *Text;
  const char *Section;
  const char *Key;
  std::optional<QByteArray> Expected;
};

class IniLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsTheValue) {
  const LookupCase &c = GetParam();
  IniFile ini;
  ini.LoadText(c.Text);
  EXPECT_EQ(ini.GetString(c.Section, c.Key), c.Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Reading, IniLookup,
    testing::Values(
        LookupCase{"Plain", "[Value]\r\nVolU = 2200\r\n", "Value", "VolU", "2200"},
        LookupCase{"LfOnly", "[Value]\nVolU = 1\n", "Value", "VolU", "1"},
        LookupCase{"NoFinalLineEnd", "[Value]\r\nVolU = 7", "Value", "VolU", "7"},
        LookupCase{"BlanksAnywhere", "  [ Value ]  \r\n\t VolU\t=   22 \r\n", "Value", "VolU", "22"},
        LookupCase{"ByteOrderMark", "\xEF\xBB\xBF[Value]\r\nVolU = 8\r\n", "Value", "VolU", "8"},
        LookupCase{"NoBlanks", "[Value]\r\nVolU=3\r\n", "Value", "VolU", "3"},
        LookupCase{"KeyCase", "[Value]\r\nvolu = 4\r\n", "Value", "VOLU", "4"},
        LookupCase{"SectionCase", "[value]\r\nVolU = 5\r\n", "VALUE", "VolU", "5"},
        LookupCase{"EmptyLinesIgnored", "\r\n\r\n[Value]\r\n\r\n\r\nVolU = 6\r\n\r\n", "Value", "VolU", "6"},
        LookupCase{"Quoted", "[Item]\r\n0023 = \" Step \"\r\n", "Item", "0023", " Step "},
        LookupCase{"OneQuoteKept", "[Item]\r\nA = \"x\r\n", "Item", "A", "\"x"},
        LookupCase{"EmptyValue", "[Value]\r\nVolU =\r\n", "Value", "VolU", ""},
        LookupCase{"EqualsInValue", "[Item]\r\nA = b=c\r\n", "Item", "A", "b=c"},
        LookupCase{"FirstOfTwo", "[Value]\r\nA = 1\r\nA = 2\r\n", "Value", "A", "1"},
        LookupCase{"CommentIsNoItem", "[Value]\r\n;A = 1\r\n", "Value", "A", std::nullopt},
        LookupCase{"OtherSection", "[G0Value]\r\nA = 1\r\n", "Value", "A", std::nullopt},
        LookupCase{"RepeatedSectionJoined", "[A]\r\nx = 1\r\n[B]\r\ny = 2\r\n[a]\r\nz = 3\r\n", "A", "z", "3"},
        LookupCase{"RunJoined", "[Item]\r\nT Line0001 = ab\r\nT Line0002 = cd\r\n", "Item", "T", "abcd"},
        LookupCase{"RunMustStartAt1", "[Item]\r\nT Line0002 = ab\r\n", "Item", "T", std::nullopt},
        LookupCase{"RunStopsAtGap", "[Item]\r\nT Line0001 = ab\r\nT Line0003 = cd\r\n", "Item", "T", "ab"},
        LookupCase{"RunQuotedPieces", "[Item]\r\nT Line0001 = \"a \"\r\nT Line0002 = b\r\n", "Item", "T", "a b"}),
    [](const testing::TestParamInfo<LookupCase> &info) { return std::string(info.param.Name); });
// clang-format on

TEST(IniFile, AcceptsLinesLongerThan255Characters) {
  const QByteArray value(1000, 'x');
  IniFile ini;
  ini.LoadText("[Item]\r\nA = " + value + "\r\n");
  EXPECT_EQ(ini.GetString("Item", "A"), value);
}

TEST(IniFile, ParseIntTakesOnlySigned32BitDecimals) {
  const std::pair<const char *, std::optional<int32_t>> cases[] = {
      {"0", 0},
      {"-5", -5},
      {"+3", 3},
      {" 42 ", 42},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", {}},
      {"-2147483649", {}},
      {"12abc", {}},
      {"1 2", {}},
      {"1.5", {}},
      {"0x10", {}},
      {"-", {}},
      {"", {}},
  };
  for (const auto &[text, expected] : cases)
    EXPECT_EQ(IniFile::ParseInt(text), expected) << text;
}

TEST(IniFile, UpdateKeepsCommentsUnknownItemsAndOrder) {
  IniFile ini;
  ini.LoadText("; made by hand\r\n"
               "[FileInfo]\r\n"
               "Type = 81\r\n"
               "\r\n"
               "[Value]\r\n"
               "  ; keep me\r\n"
               "volu   =   1\r\n"
               "Owner = \"lab 3\"\r\n"
               "VolU = 9\r\n"
               "garbage line\r\n"
               "\r\n"
               "[Extra]\r\n"
               "X=1\r\n");
  ini.SetInt("FileInfo", "Type", 82);
  ini.SetInt("Value", "VolU", 2200);
  ini.SetInt("Value", "VolV", 2300);
  ini.SetInt("G0Value", "VolU", 5);
  EXPECT_EQ(ini.ToText(), QByteArray("; made by hand\r\n"
                                     "\r\n"
                                     "[FileInfo]\r\n"
                                     "Type = 82\r\n"
                                     "\r\n"
                                     "[Value]\r\n"
                                     "  ; keep me\r\n"
                                     "VolU = 2200\r\n"
                                     "Owner = \"lab 3\"\r\n"
                                     "garbage line\r\n"
                                     "VolV = 2300\r\n"
                                     "\r\n"
                                     "[Extra]\r\n"
                                     "X=1\r\n"
                                     "\r\n"
                                     "[G0Value]\r\n"
                                     "VolU = 5\r\n"
                                     "\r\n"));
}

TEST(IniFile, LongValuesAreWrittenAsRunsAndReadBack) {
  QByteArray value;
  for (int i = 0; i < 170; ++i)
    value += char('a' + i % 26);
  value[79] = ' '; // a blank at the end of a piece must survive
  value[80] = ' '; // and at the start of the next
  IniFile ini;
  ini.SetString("Item", "0001", value);
  const QByteArray text = ini.ToText();
  EXPECT_EQ(text, "[Item]\r\n0001 Line0001 = \"" + value.left(80) + "\"\r\n0001 Line0002 = \"" +
                      value.mid(80, 80) + "\"\r\n0001 Line0003 = " + value.mid(160) + "\r\n\r\n");
  IniFile back;
  back.LoadText(text);
  EXPECT_EQ(back.GetString("Item", "0001"), value);
  EXPECT_EQ(back.Keys("Item"), QList<QByteArray>{"0001"});

  // A value of exactly 80 characters stays on one line.
  ini.SetString("Item", "0001", QByteArray(80, 'z'));
  EXPECT_EQ(ini.ToText(), "[Item]\r\n0001 = " + QByteArray(80, 'z') + "\r\n\r\n");
}

TEST(IniFile, ValuesThatNeedQuotesRoundTrip) {
  const QByteArray values[] = {" lead", "trail ", "\"quoted\"", "", "plain"};
  for (const QByteArray &value : values) {
    IniFile ini;
    ini.SetString("S", "K", value);
    IniFile back;
    back.LoadText(ini.ToText());
    EXPECT_EQ(back.GetString("S", "K"), value) << value.constData();
  }
}

TEST(IniFile, SetRemovesFurtherItemsOfTheKeyInThatSectionOnly) {
  IniFile ini;
  ini.LoadText("[A]\r\nk = 1\r\nx = 0\r\nK = 2\r\n[B]\r\nk = 3\r\n");
  ini.SetInt("A", "K", 9);
  EXPECT_EQ(ini.Keys("A"), (QList<QByteArray>{"K", "x"}));
  EXPECT_EQ(ini.GetInt("A", "k"), 9);
  EXPECT_EQ(ini.GetInt("B", "k"), 3);
  EXPECT_EQ(ini.RemoveItem("B", "K"), 1);
  EXPECT_FALSE(ini.HasItem("B", "k"));
  EXPECT_TRUE(ini.HasSection("b"));
  EXPECT_EQ(ini.Sections(), (QList<QByteArray>{"A", "B"}));
}

TEST(IniFile, SaveReplacesTheFileAndLeavesNoTemporaryFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("a.FPNorOne");
  WriteAll(path, "old");
  IniFile ini;
  ini.SetInt("FileInfo", "Type", 81);
  ASSERT_EQ(ini.SaveFile(path), 0);
  EXPECT_EQ(ReadAll(path), ini.ToText());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.FPNorOne"});
}

TEST(IniFile, FailedSaveLeavesWhatWasThere) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  IniFile ini;
  ini.SetInt("FileInfo", "Type", 81);
  // The target is a folder: nothing can replace it.
  ASSERT_TRUE(QDir(dir.path()).mkdir("target"));
  EXPECT_EQ(ini.SaveFile(dir.filePath("target")), -1);
  EXPECT_TRUE(QFileInfo(dir.filePath("target")).isDir());
  // A folder that does not exist.
  EXPECT_EQ(ini.SaveFile(dir.filePath("none/a.FPNorOne")), -1);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{"target"});
}

TEST(IniFile, LoadOfAMissingFileGivesAnEmptyDocument) {
  IniFile ini;
  ini.LoadText("[A]\r\nk = 1\r\n");
  EXPECT_EQ(ini.LoadFile("/nonexistent/folder/x.ini"), -1);
  EXPECT_TRUE(ini.Sections().isEmpty());
  EXPECT_EQ(ini.ToText(), QByteArray());
}
