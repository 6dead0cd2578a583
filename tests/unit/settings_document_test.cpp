#include <gtest/gtest.h>

#include "phrases/safe_write.h"
#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kPath = u"C:\\Tools\\Q.exe_ユーザー設定.ini";

using Sections = std::vector<SettingsSection>;

SettingsDocument Load(fake::FakePlatform& fake, std::string_view content) {
  fake.PutFile(kPath, content);
  return SettingsDocument::Open(fake, kPath);
}

std::string Saved(fake::FakePlatform& fake) {
  const std::string bytes = fake.FileText(kPath);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  return bytes.substr(3);
}

// The main window's close handler, keys in its order.
void CloseMainWindow(SettingsDocument& document) {
  document.WriteInteger(u"System", u"Bottom2", 600);
  document.WriteInteger(u"System", u"Left2", 465);
  document.WriteInteger(u"System", u"ClientWidth2", 990);
  document.WriteInteger(u"System", u"ClientHeight2", 160);
}

// The list window's close handler.
void CloseListWindow(SettingsDocument& document) {
  document.WriteInteger(u"System", u"Form3Top", 410);
  document.WriteInteger(u"System", u"Form3Left", 824);
  document.WriteInteger(u"System", u"Form3ClientWidth", 372);
  document.WriteInteger(u"System", u"Form3ClientHeight", 320);
}

std::u16string OpenError(fake::FakePlatform& fake) {
  try {
    SettingsDocument::Open(fake, kPath);
  } catch (const UserError& e) {
    return e.text();
  }
  return u"(no error)";
}

TEST(SettingsFile, IsNamedAfterTheExecutablesFullPath) {
  EXPECT_EQ(SettingsFilePath(u"C:\\Tools\\Q.exe"), u"C:\\Tools\\Q.exe_ユーザー設定.ini");
  fake::FakePlatform fake;
  fake.executable_path = u"D:\\UO\\Quillomi.exe";
  fake.PutFile(u"D:\\UO\\Quillomi.exe_ユーザー設定.ini", "[System]\r\nLeft2=7\r\n");
  const auto document = SettingsDocument::OpenForExecutable(fake);
  EXPECT_EQ(document.path(), u"D:\\UO\\Quillomi.exe_ユーザー設定.ini");
  EXPECT_EQ(document.ReadInteger(u"System", u"Left2", 0), 7);
}

TEST(SettingsFile, LoadingKeepsSectionsAndEntriesByTheLineRules) {
  struct Case {
    const char* name;
    std::string_view content;
    Sections sections;
  };
  const Case cases[] = {
      {"nothing", "", {}},
      {"comments and blanks only", "; note\r\n\r\n   \r\n\t; indented note\r\n", {}},
      {"lines before the first section",
       "Left2=5\r\nbare\r\n[System]\r\nLeft2=6\r\n",
       {{u"System", {u"Left2=6"}}}},
      {"blanks around = and at the ends",
       "[System]\r\n  Left2 = 100 \t\r\n",
       {{u"System", {u"Left2=100"}}}},
      {"control characters count as blanks",
       "\x01[System]\x1F\r\n\x0BLeft2\x7F=\x02 1\r\n",
       {{u"System", {u"Left2\x7F=1"}}}},
      {"bare lines stay as they are, trimmed",
       "[System]\r\n  just words  \r\n",
       {{u"System", {u"just words"}}}},
      {"the first = splits", "[S]\r\na = b = c\r\n", {{u"S", {u"a=b = c"}}}},
      {"the name between the brackets is trimmed",
       "[ System ]\r\n[]\r\n",
       {{u"System", {}}, {u"", {}}}},
      {"a lone bracket is no section", "[\r\n[System\r\n", {}},
      {"duplicate sections are both kept",
       "[System]\r\na=1\r\n[Other]\r\nb=2\r\n[system]\r\nc=3\r\n",
       {{u"System", {u"a=1"}}, {u"Other", {u"b=2"}}, {u"system", {u"c=3"}}}},
      {"comments inside a section",
       "[System]\r\n;Left2=1\r\nLeft2=2\r\n",
       {{u"System", {u"Left2=2"}}}},
      {"every kind of line break", "[A]\rx=1\ny=2\r\nz=3", {{u"A", {u"x=1", u"y=2", u"z=3"}}}},
      {"the mark is not part of the first line",
       "\xEF\xBB\xBF[System]\r\nLeft2=1\r\n",
       {{u"System", {u"Left2=1"}}}},
      {"the text ends at its first NUL",
       std::string_view("[System]\r\nLeft2=1\0\r\nTop=2\r\n", 27),
       {{u"System", {u"Left2=1"}}}},
      {"Japanese text", "[System]\r\n名前=値\r\n", {{u"System", {u"名前=値"}}}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    EXPECT_EQ(Load(fake, c.content).sections(), c.sections) << c.name;
  }
}

TEST(SettingsFile, AMissingFileIsAnEmptyDocumentAndNotRead) {
  fake::FakePlatform fake;
  const auto document = SettingsDocument::Open(fake, kPath);
  EXPECT_TRUE(document.sections().empty());
  EXPECT_TRUE(fake.Log().empty());
  EXPECT_EQ(document.ReadInteger(u"System", u"ClientWidth2", 990), 990);
  EXPECT_TRUE(document.ReadFlag(u"System", u"ShowTitleBar", true));
}

TEST(SettingsFile, FileFailuresGiveTheUserTheirTexts) {
  struct Case {
    const char* name;
    std::string_view content;
    std::u16string read_fault;
    std::u16string text;
  };
  const Case cases[] = {
      {"UTF-16 with its mark", std::string_view("\xFF\xFE[\0S\0]\0", 8), u"",
       std::u16string(messages::kMappingError)},
      {"Shift-JIS text", "[System]\r\n\x96\xBC\x91\x4F=1\r\n", u"",
       std::u16string(messages::kMappingError)},
      {"invalid UTF-8 after the mark", "\xEF\xBB\xBF[System]\xC0\x80", u"",
       std::u16string(messages::kMappingError)},
      {"locked by another program", "[System]\r\n", u"プロセスはファイルにアクセスできません。",
       u"ファイル C:\\Tools\\Q.exe_ユーザー設定.ini は開けません。 "
       u"プロセスはファイルにアクセスできません。 "},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.content);
    if (!c.read_fault.empty()) fake.read_faults[kPath] = c.read_fault;
    EXPECT_EQ(OpenError(fake), c.text) << c.name;
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

TEST(SettingsFile, TheFirstSaveLaysOutTheFileExactly) {
  struct Case {
    const char* name;
    std::vector<void (*)(SettingsDocument&)> closes;
    std::string expected;
  };
  const Case cases[] = {
      {"main window first",
       {CloseMainWindow},
       "[System]\r\nBottom2=600\r\nLeft2=465\r\nClientWidth2=990\r\nClientHeight2=160\r\n\r\n"},
      {"list window first",
       {CloseListWindow, CloseMainWindow},
       "[System]\r\nForm3Top=410\r\nForm3Left=824\r\nForm3ClientWidth=372\r\nForm3ClientHeight="
       "320\r\n"
       "Bottom2=600\r\nLeft2=465\r\nClientWidth2=990\r\nClientHeight2=160\r\n\r\n"},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    // Every handler opens the file afresh.
    for (auto close : c.closes) {
      auto document = SettingsDocument::Open(fake, kPath);
      close(document);
      document.Save();
    }
    EXPECT_EQ(Saved(fake), c.expected) << c.name;
  }
}

TEST(SettingsFile, WritesReplaceTheFirstEntryInTheProgramsLetterCase) {
  fake::FakePlatform fake;
  auto document = Load(fake,
                       "; hand-edited\r\n"
                       "stray=1\r\n"
                       "[system]\r\n"
                       "showtitlebar=0\r\n"
                       "left2 = 100\r\n"
                       "Left2=200\r\n"
                       "  some note  \r\n"
                       "[Window]\r\n"
                       "Colour=red\r\n"
                       "[System]\r\n"
                       "Bottom2=5\r\n");
  EXPECT_EQ(document.ReadInteger(u"System", u"Left2", 0), 100);
  CloseMainWindow(document);
  document.Save();
  EXPECT_EQ(Saved(fake),
            "[system]\r\n"
            "showtitlebar=0\r\n"
            "Left2=465\r\n"
            "Left2=200\r\n"
            "some note\r\n"
            "Bottom2=600\r\n"
            "ClientWidth2=990\r\n"
            "ClientHeight2=160\r\n"
            "\r\n"
            "[Window]\r\n"
            "Colour=red\r\n"
            "\r\n"
            "[System]\r\n"
            "Bottom2=5\r\n"
            "\r\n");
}

TEST(SettingsFile, ANewSectionTakesExactlyTheGivenNameAtTheEnd) {
  fake::FakePlatform fake;
  auto document = Load(fake, "[Other]\r\nx=1\r\n");
  document.WriteInteger(u"System", u"Left2", -2147483647 - 1);
  document.WriteInteger(u"system", u"left2", -5);  // found again, ignoring case
  document.WriteInteger(u"System", u"Top", 0);
  document.Save();
  EXPECT_EQ(Saved(fake), "[Other]\r\nx=1\r\n\r\n[System]\r\nleft2=-5\r\nTop=0\r\n\r\n");
}

TEST(SettingsFile, WrittenValuesAreDecimalWithoutPlusOrLeadingZeros) {
  const std::pair<std::int32_t, std::string_view> cases[] = {
      {0, "0"},
      {7, "7"},
      {-7, "-7"},
      {1040, "1040"},
      {2147483647, "2147483647"},
      {-2147483647 - 1, "-2147483648"},
  };
  for (const auto& [value, text] : cases) {
    fake::FakePlatform fake;
    auto document = SettingsDocument::Open(fake, kPath);
    document.WriteInteger(u"System", u"Left2", value);
    document.Save();
    EXPECT_EQ(Saved(fake), "[System]\r\nLeft2=" + std::string(text) + "\r\n\r\n");
    EXPECT_EQ(SettingsDocument::Open(fake, kPath).ReadInteger(u"System", u"Left2", 1), value);
  }
}

TEST(SettingsFile, LoadSaveLoadIsStable) {
  fake::FakePlatform fake;
  auto first = Load(fake,
                    "\xEF\xBB\xBF junk before\n[System]\nLeft2 = 3\n bare \n;c\n"
                    "[Fonts]\nName=Meiryo UI\n[System]\nTop=1\n[]\n=empty name\n");
  first.Save();
  const std::string once = fake.FileText(kPath);
  const auto second = SettingsDocument::Open(fake, kPath);
  EXPECT_EQ(second.sections(), first.sections());
  second.Save();
  EXPECT_EQ(fake.FileText(kPath), once);
}

TEST(SettingsFile, ASaveFailingAtAnyByteLeavesTheFileAsItWas) {
  const std::string original = "[System]\r\nLeft2=1\r\nShowTitleBar=0\r\n";
  fake::FakePlatform probe;
  auto reference = Load(probe, original);
  CloseMainWindow(reference);
  const std::size_t size = reference.Serialize().size();

  for (std::size_t offset = 0; offset <= size; ++offset) {
    fake::FakePlatform fake;
    auto document = Load(fake, original);
    CloseMainWindow(document);
    fake.write_faults[TemporaryPathFor(kPath)] = {offset, u"アクセスが拒否されました。"};
    try {
      document.Save();
      ADD_FAILURE() << "no error at offset " << offset;
    } catch (const UserError& e) {
      EXPECT_EQ(e.text(),
                u"ファイル \"C:\\Tools\\Q.exe_ユーザー設定.ini\" "
                u"を作成できません。アクセスが拒否されました。");
    }
    EXPECT_EQ(fake.FileText(kPath), original) << "offset " << offset;
  }
}

}  // namespace
}  // namespace quillomi::phrases
