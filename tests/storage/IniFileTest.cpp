#include "storage/IniFile.h"
#include "TestSupport.h"

TEST(IniFile, FindsTheValue) {
  const struct {
    const char *Name, *Text, *Section, *Key;
    std::optional<QByteArray> Expected;
  } cases[] = {
      // clang-format off
      {"Plain", "[Value]\r\nVolU = 2200\r\n", "Value", "VolU", "2200"},
      {"LfOnly", "[Value]\nVolU = 1\n", "Value", "VolU", "1"},
      {"BlanksAnywhere", "  [ Value ]  \r\n\t VolU\t=   22 \r\n", "Value", "VolU", "22"},
      {"ByteOrderMark", "\xEF\xBB\xBF[Value]\r\nVolU = 8\r\n", "Value", "VolU", "8"},
      {"KeyCase", "[Value]\r\nvolu = 4\r\n", "Value", "VOLU", "4"},
      {"Quoted", "[Item]\r\n0023 = \" Step \"\r\n", "Item", "0023", " Step "},
      {"OneQuoteKept", "[Item]\r\nA = \"x\r\n", "Item", "A", "\"x"},
      {"EqualsInValue", "[Item]\r\nA = b=c\r\n", "Item", "A", "b=c"},
      {"FirstOfTwo", "[Value]\r\nA = 1\r\nA = 2\r\n", "Value", "A", "1"},
      {"CommentIsNoItem", "[Value]\r\n;A = 1\r\n", "Value", "A", std::nullopt},
      {"RepeatedSectionJoined", "[A]\r\nx = 1\r\n[B]\r\ny = 2\r\n[a]\r\nz = 3\r\n", "A", "z", "3"},
      {"RunJoined", "[Item]\r\nT Line0001 = ab\r\nT Line0002 = cd\r\n", "Item", "T", "abcd"},
      {"RunMustStartAt1", "[Item]\r\nT Line0002 = ab\r\n", "Item", "T", std::nullopt},
      {"RunStopsAtGap", "[Item]\r\nT Line0001 = ab\r\nT Line0003 = cd\r\n", "Item", "T", "ab"},
      // clang-format on
  };
  for (const auto &c : cases) {
    IniFile ini;
    ini.LoadText(c.Text);
    EXPECT_EQ(ini.GetString(c.Section, c.Key), c.Expected) << c.Name;
  }
}

TEST(IniFile, ParseIntTakesOnlySigned32BitDecimals) {
  const std::pair<const char *, std::optional<int32_t>> cases[] = {
      {"-5", -5},
      {" 42 ", 42},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", {}},
      {"-2147483649", {}},
      {"12abc", {}},
      {"1.5", {}},
      {"", {}},
  };
  for (const auto &[text, expected] : cases)
    EXPECT_EQ(IniFile::ParseInt(text), expected) << text;
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

TEST(IniFile, SetRemovesFurtherItemsOfTheKeyInThatSectionOnly) {
  IniFile ini;
  ini.LoadText("[A]\r\nk = 1\r\nx = 0\r\nK = 2\r\n[B]\r\nk = 3\r\n");
  ini.SetInt("A", "K", 9);
  EXPECT_EQ(ini.Keys("A"), (QList<QByteArray>{"K", "x"}));
  EXPECT_EQ(ini.GetInt("A", "k"), 9);
  EXPECT_EQ(ini.GetInt("B", "k"), 3);
}
