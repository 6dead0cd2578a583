#include <gtest/gtest.h>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kPath = u"C:\\Tools\\Q.exe_ユーザー設定.ini";

SettingsDocument Load(fake::FakePlatform& fake, std::string_view content) {
  fake.PutFile(kPath, content);
  return SettingsDocument::Open(fake, kPath);
}

std::string Saved(fake::FakePlatform& fake) {
  const std::string bytes = fake.FileText(kPath);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  return bytes.substr(3);
}

TEST(SettingsFile, IsNamedAfterTheExecutableAndEmptyWhileMissing) {
  fake::FakePlatform fake;
  fake.executable_path = u"D:\\UO\\Quillomi.exe";
  const auto missing = SettingsDocument::OpenForExecutable(fake);
  EXPECT_TRUE(missing.sections().empty());
  EXPECT_TRUE(fake.Log().empty());

  fake.PutFile(u"D:\\UO\\Quillomi.exe_ユーザー設定.ini", "[System]\r\nLeft2=7\r\n");
  const auto document = SettingsDocument::OpenForExecutable(fake);
  EXPECT_EQ(document.path(), u"D:\\UO\\Quillomi.exe_ユーザー設定.ini");
  EXPECT_EQ(document.ReadInteger(u"System", u"Left2", 0), 7);
}

TEST(SettingsFile, LoadingKeepsSectionsAndEntriesByTheLineRules) {
  struct Case {
    const char* name;
    std::string_view content;
    std::vector<SettingsSection> sections;
  };
  const Case cases[] = {
      {"comments, blanks, lines before the first section",
       "; note\r\n\r\n   \r\n\t; indented\r\nLeft2=5\r\nbare\r\n[System]\r\nLeft2=6\r\n",
       {{u"System", {u"Left2=6"}}}},
      {"trimmed entries and bare lines, the first = splits, comments dropped",
       "[System]\r\n  Left2 = 100 \t\r\n  just words  \r\n;Left2=1\r\n名前 = 値 = x\r\n",
       {{u"System", {u"Left2=100", u"just words", u"名前=値 = x"}}}},
      {"control characters are blanks",
       "\x01[System]\x1F\r\n\x0BLeft2\x7F=\x02 1\r\n",
       {{u"System", {u"Left2\x7F=1"}}}},
      {"trimmed and empty names; lone brackets are bare lines",
       "[ System ]\r\n[]\r\n[\r\n[S\r\n",
       {{u"System", {}}, {u"", {u"[", u"[S"}}}},
      {"duplicate sections are both kept",
       "[System]\r\na=1\r\n[Other]\r\nb=2\r\n[system]\r\nc=3\r\n",
       {{u"System", {u"a=1"}}, {u"Other", {u"b=2"}}, {u"system", {u"c=3"}}}},
      {"every kind of line break", "[A]\rx=1\ny=2\r\nz=3", {{u"A", {u"x=1", u"y=2", u"z=3"}}}},
      {"a mark before, a NUL ends the text",
       std::string_view("\xEF\xBB\xBF[System]\r\nLeft2=1\0\r\nTop=2\r\n", 30),
       {{u"System", {u"Left2=1"}}}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    EXPECT_EQ(Load(fake, c.content).sections(), c.sections) << c.name;
  }
}

TEST(SettingsFile, FileFailuresGiveTheUserTheirTexts) {
  struct Case {
    const char* name;
    std::string_view content;
    std::u16string read_fault, text;
  };
  const Case cases[] = {
      {"Shift-JIS text", "[System]\r\n\x96\xBC\x91\x4F=1\r\n", u"",
       std::u16string(messages::kMappingError)},
      {"overlong UTF-8 after the mark", "\xEF\xBB\xBF[System]\xC0\x80", u"",
       std::u16string(messages::kMappingError)},
      {"locked", "[System]\r\n", u"プロセスはファイルにアクセスできません。",
       u"ファイル C:\\Tools\\Q.exe_ユーザー設定.ini は開けません。 "
       u"プロセスはファイルにアクセスできません。 "},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.content);
    if (!c.read_fault.empty()) fake.read_faults[kPath] = c.read_fault;
    EXPECT_EQ(test::ErrorOf([&] { SettingsDocument::Open(fake, kPath); }), c.text) << c.name;
  }
}

TEST(SettingsFile, ReadsUseTheFirstSectionAndTheFirstEntryIgnoringCase) {
  fake::FakePlatform fake;
  const auto document = Load(fake,
                             "[Other]\r\nLeft2=1\r\n"
                             "[system]\r\nshowtitlebar=0\r\nLEFT2=2\r\nLeft2=3\r\n"
                             "[System]\r\nLeft2=4\r\nTop2=5\r\n");
  EXPECT_FALSE(document.ReadFlag(u"System", u"ShowTitleBar", true));
  EXPECT_EQ(document.ReadInteger(u"System", u"Left2", 0), 2);
  EXPECT_EQ(document.ReadInteger(u"System", u"Top2", 0), 0);  // only in the second [System]
  EXPECT_EQ(document.ReadInteger(u"OTHER", u"left2", 0), 1);
  EXPECT_EQ(document.ReadInteger(u"Missing", u"Left2", -7), -7);
}

TEST(SettingsFile, WritesReplaceTheFirstEntryOrAppendInTheProgramsLetterCase) {
  fake::FakePlatform fake;
  auto document = Load(fake,
                       "; hand-edited\r\nstray=1\r\n"
                       "[system]\r\nshowtitlebar=0\r\nleft2 = 100\r\nLeft2=200\r\n  some note  \r\n"
                       "[Window]\r\nColour=red\r\n"
                       "[System]\r\nBottom2=5\r\n");
  // The main window's close handler, keys in its order.
  document.WriteInteger(u"System", u"Bottom2", 600);
  document.WriteInteger(u"System", u"Left2", 465);
  document.WriteInteger(u"System", u"ClientWidth2", 990);
  document.WriteInteger(u"System", u"ClientHeight2", 160);
  document.WriteInteger(u"Fonts", u"Size", 3);  // a new section goes at the end
  document.WriteInteger(u"FONTS", u"size", -5);
  document.Save();
  EXPECT_EQ(Saved(fake),
            "[system]\r\nshowtitlebar=0\r\nLeft2=465\r\nLeft2=200\r\nsome note\r\n"
            "Bottom2=600\r\nClientWidth2=990\r\nClientHeight2=160\r\n\r\n"
            "[Window]\r\nColour=red\r\n\r\n"
            "[System]\r\nBottom2=5\r\n\r\n"
            "[Fonts]\r\nsize=-5\r\n\r\n");
}

TEST(SettingsFile, AFirstSaveWritesDecimalValuesThatReadBack) {
  const std::pair<std::int32_t, std::string_view> cases[] = {
      {0, "0"}, {-7, "-7"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};
  for (const auto& [value, text] : cases) {
    fake::FakePlatform fake;
    auto document = SettingsDocument::Open(fake, kPath);
    document.WriteInteger(u"System", u"Left2", value);
    document.Save();
    EXPECT_EQ(Saved(fake), "[System]\r\nLeft2=" + std::string(text) + "\r\n\r\n");
    EXPECT_EQ(SettingsDocument::Open(fake, kPath).ReadInteger(u"System", u"Left2", 1), value);
  }
}

}  // namespace
}  // namespace quillomi::phrases
