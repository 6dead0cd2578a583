#include <gtest/gtest.h>

#include "phrases/phrase_list.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kPath = u"C:\\Games\\Quillomi\\QLMO_一覧_ユーザー設定.txt";

std::string Joined(const std::vector<std::string>& lines, std::string_view brk) {
  std::string out;
  for (const auto& line : lines) out += line + std::string(brk);
  return out;
}

TEST(ReadPhraseList, IconNumbersFollowTheHeadings) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::vector<int> icons;
  };
  std::vector<std::string> ten_headings;
  for (int i = 0; i < 10; ++i) ten_headings.push_back("◆" + std::to_string(i));
  const Case cases[] = {
      {"ordinary lines first", {"x", "◆A", "y", "◆B", "z"}, {1, 2, 2, 3, 3}},
      {"a heading first", {"◆A", "y", "◆B", "z"}, {1, 1, 2, 2}},
      {"ten headings", ten_headings, {1, 2, 3, 4, 5, 6, 7, 8, 9, 1}},
      {"no heading at all", {"a", "b", "c"}, {1, 1, 1}},
      {"a mark in the middle of a line", {"a", "[x]◆見出し", "b"}, {1, 2, 2}},
      {"two marks in one line count once", {"◆◆", "◆"}, {1, 2}},
      {"an empty line belongs to the group above", {"◆A", "a", "", "◆B", ""}, {1, 1, 1, 2, 2}},
      {"a lookalike is no heading", {"◇A", "◈B", "♦C"}, {1, 1, 1}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, Joined(c.lines, "\r\n"));
    const auto list = test::ReadListEntries(fake, kPath);
    EXPECT_EQ(list.icons, c.icons) << c.name;
    ASSERT_EQ(list.texts.size(), c.lines.size()) << c.name;
    for (std::size_t i = 0; i < c.lines.size(); ++i)
      EXPECT_EQ(test::Utf8(list.texts[i]), c.lines[i]) << c.name;
  }
}

// The line rule itself is the text reader's, tested there.
TEST(ReadPhraseList, TheMarkAndTheLineBreaks) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::u16string> texts;
  };
  const Case cases[] = {
      {"only a mark", "\xEF\xBB\xBF", {}},
      {"every break, after a mark",
       "\xEF\xBB\xBF◆挨拶\r\n[朝]おはよう\n\r[夜]こんばんは\r",
       {u"◆挨拶", u"[朝]おはよう", u"", u"[夜]こんばんは"}},
      {"a mark only counts at the start",
       "a\n\xEF\xBB\xBF"
       "b",
       {u"a", u"\uFEFFb"}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.content);
    EXPECT_EQ(test::ReadListEntries(fake, kPath).texts, c.texts) << c.name;
  }
}

TEST(ReadPhraseList, AFailedReadThrowsItsReason) {
  struct Case {
    const char* name;
    std::string content;
    std::u16string read_fault;
    std::u16string text;
  };
  const Case cases[] = {
      {"Shift-JIS Japanese", "\x81\x9F\x88\xA5\x8E\x41\r\n", u"",
       std::u16string(messages::kMappingError)},
      {"invalid UTF-8 after many good lines", "a\r\nb\r\n\xE3\x81\r\n", u"",
       std::u16string(messages::kMappingError)},
      {"locked file", "a\r\n",
       u"別のプロセスが使用中のため、プロセスはファイルにアクセスできません。",
       u"ファイル C:\\Games\\Quillomi\\QLMO_一覧_ユーザー設定.txt は開けません。 "
       u"別のプロセスが使用中のため、プロセスはファイルにアクセスできません。 "},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.content);
    if (!c.read_fault.empty()) fake.read_faults[kPath] = c.read_fault;
    EXPECT_EQ(test::ErrorOf([&] { ReadPhraseList(fake, kPath); }), c.text) << c.name;
  }
}

}  // namespace
}  // namespace quillomi::phrases
