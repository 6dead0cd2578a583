#include <gtest/gtest.h>

#include <stdexcept>

#include "phrases/phrase_list.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kPath = u"C:\\Games\\Quillomi\\QLMO_一覧_ユーザー設定.txt";

// Records every call; the entries are what the list shows.
class RecordingList : public PhraseListSink {
 public:
  void Clear() override {
    calls.push_back("clear");
    texts.clear();
    icons.clear();
  }
  void Reserve(std::size_t items, std::size_t units) override {
    calls.push_back("reserve " + std::to_string(items) + " " + std::to_string(units));
  }
  void BeginUpdate() override { calls.push_back("begin"); }
  void EndUpdate() override { calls.push_back("end"); }
  void Add(std::u16string_view text, int icon) override {
    if (texts.size() == fail_at_add) throw std::bad_alloc();
    texts.emplace_back(text);
    icons.push_back(icon);
    if (record_adds) calls.push_back("add " + test::Utf8(text) + " " + std::to_string(icon));
  }

  std::vector<std::string> calls;
  std::vector<std::u16string> texts;
  std::vector<int> icons;
  std::size_t fail_at_add = static_cast<std::size_t>(-1);
  bool record_adds = true;
};

std::string Joined(const std::vector<std::string>& lines, std::string_view brk) {
  std::string out;
  for (const auto& line : lines) out += line + std::string(brk);
  return out;
}

TEST(LoadList, IconNumbersFollowTheHeadings) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::vector<int> icons;
  };
  std::vector<std::string> ten_headings, nineteen_headings;
  for (int i = 0; i < 19; ++i) {
    (i < 10 ? ten_headings : nineteen_headings).push_back("◆" + std::to_string(i));
  }
  nineteen_headings.insert(nineteen_headings.begin(), ten_headings.begin(), ten_headings.end());
  const Case cases[] = {
      {"ordinary lines first", {"x", "◆A", "y", "◆B", "z"}, {1, 2, 2, 3, 3}},
      {"a heading first", {"◆A", "y", "◆B", "z"}, {1, 1, 2, 2}},
      {"ten headings", ten_headings, {1, 2, 3, 4, 5, 6, 7, 8, 9, 1}},
      {"nineteen headings",
       nineteen_headings,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1}},
      {"no heading at all", {"a", "b", "c"}, {1, 1, 1}},
      {"a mark in the middle of a line", {"a", "[x]◆見出し", "b"}, {1, 2, 2}},
      {"two marks in one line count once", {"◆◆", "◆"}, {1, 2}},
      {"an empty line belongs to the group above", {"◆A", "a", "", "◆B", ""}, {1, 1, 1, 2, 2}},
      {"a lookalike is no heading", {"◇A", "◈B", "♦C"}, {1, 1, 1}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, Joined(c.lines, "\r\n"));
    RecordingList list;
    LoadList(fake, kPath, list);
    EXPECT_EQ(list.icons, c.icons) << c.name;
    ASSERT_EQ(list.texts.size(), c.lines.size()) << c.name;
    for (std::size_t i = 0; i < c.lines.size(); ++i)
      EXPECT_EQ(test::Utf8(list.texts[i]), c.lines[i]) << c.name;
  }
}

TEST(LoadList, EveryLineIsAnEntryInOneBatch) {
  fake::FakePlatform fake;
  fake.PutFile(kPath, "\xEF\xBB\xBF◆挨拶\r\n[朝]おはよう\n\r[夜]こんばんは\r");
  RecordingList list;
  LoadList(fake, kPath, list);
  EXPECT_EQ(list.calls, (std::vector<std::string>{
                            "clear",
                            "reserve 4 18",
                            "begin",
                            "add ◆挨拶 1",  // the mark is not part of the first line
                            "add [朝]おはよう 1",
                            "add  1",
                            "add [夜]こんばんは 1",
                            "end",
                        }));
}

TEST(LoadList, LineBreaksAndTheEndOfTheText) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::u16string> texts;
  };
  const Case cases[] = {
      {"an empty file", "", {}},
      {"only a mark", "\xEF\xBB\xBF", {}},
      {"one line break", "\r\n", {u""}},
      {"a NUL ends the text", std::string("a\nb\0c\nd", 7), {u"a", u"b"}},
      {"ASCII in any encoding", "[hi]hello\r\n", {u"[hi]hello"}},
      {"a mark only counts at the start",
       "a\n\xEF\xBB\xBF"
       "b",
       {u"a", u"\uFEFFb"}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.content);
    RecordingList list;
    LoadList(fake, kPath, list);
    EXPECT_EQ(list.texts, c.texts) << c.name;
    EXPECT_EQ(list.calls.back(), "end") << c.name;
  }
}

TEST(LoadList, AFailedReadLeavesTheListEmpty) {
  struct Case {
    const char* name;
    std::string content;
    std::u16string read_fault;
    std::u16string text;
  };
  const Case cases[] = {
      {"Shift-JIS Japanese", "\x81\x9F\x88\xA5\x8E\x41\r\n", u"",
       std::u16string(messages::kMappingError)},
      {"UTF-16 with its mark",
       std::string("\xFF\xFE"
                   "a\0",
                   4),
       u"", std::u16string(messages::kMappingError)},
      {"invalid UTF-8 after many good lines", "a\r\nb\r\n\xE3\x81\r\n", u"",
       std::u16string(messages::kMappingError)},
      {"locked file", "a\r\n",
       u"別のプロセスが使用中のため、プロセスはファイルにアクセスできません。",
       u"ファイル C:\\Games\\Quillomi\\QLMO_一覧_ユーザー設定.txt は開けません。 "
       u"別のプロセスが使用中のため、プロセスはファイルにアクセスできません。 "},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(u"C:\\good.txt", "◆A\r\nb\r\n");
    fake.PutFile(kPath, c.content);
    if (!c.read_fault.empty()) fake.read_faults[kPath] = c.read_fault;
    RecordingList list;
    LoadList(fake, u"C:\\good.txt", list);  // a reload after a good load
    list.calls.clear();
    try {
      LoadList(fake, kPath, list);
      ADD_FAILURE() << "no error: " << c.name;
    } catch (const UserError& e) {
      EXPECT_EQ(e.text(), c.text) << c.name;
    }
    EXPECT_EQ(list.calls, std::vector<std::string>{"clear"}) << c.name;
    EXPECT_TRUE(list.texts.empty()) << c.name;
  }
}

TEST(LoadList, UpdatesResumeWhenAnAddFails) {
  fake::FakePlatform fake;
  fake.PutFile(kPath, "a\r\nb\r\nc\r\n");
  RecordingList list;
  list.fail_at_add = 1;
  EXPECT_THROW(LoadList(fake, kPath, list), std::bad_alloc);
  EXPECT_EQ(list.calls,
            (std::vector<std::string>{"clear", "reserve 3 3", "begin", "add a 1", "end"}));
}

TEST(LoadList, IconsAreWorkedOutAfreshOnEveryLoad) {
  fake::FakePlatform fake;
  RecordingList list;
  fake.PutFile(kPath, "◆A\r\na\r\n◆B\r\nb\r\n");
  LoadList(fake, kPath, list);
  EXPECT_EQ(list.icons, (std::vector<int>{1, 1, 2, 2}));
  fake.PutFile(kPath, "x\r\n◆B\r\nb\r\n◆A\r\na\r\n");
  LoadList(fake, kPath, list);
  EXPECT_EQ(list.texts, (std::vector<std::u16string>{u"x", u"◆B", u"b", u"◆A", u"a"}));
  EXPECT_EQ(list.icons, (std::vector<int>{1, 2, 2, 3, 3}));
}

TEST(LoadList, AMillionLinesLoadInOneBatch) {
  std::string content;
  content.reserve(40'000'000);
  const std::string body = "[挨拶]こんにちは、今日もよろしくお願いします";
  for (int i = 0; i < 1'000'000; ++i) {
    if (i % 1000 == 0) content += "◆";
    content += body;
    content += "\r\n";
  }
  fake::FakePlatform fake;
  fake.PutFile(kPath, content);
  RecordingList list;
  list.record_adds = false;
  LoadList(fake, kPath, list);
  ASSERT_EQ(list.texts.size(), 1'000'000u);
  EXPECT_EQ(list.calls.size(), 4u);  // clear, reserve, begin, end
  EXPECT_EQ(list.icons[999], 1);
  EXPECT_EQ(list.icons[1000], 2);
  EXPECT_EQ(list.icons[9000], 1);   // the tenth group
  EXPECT_EQ(list.icons.back(), 1);  // the 1000th group: 999 = 9 × 111 groups later than the first
}

}  // namespace
}  // namespace quillomi::phrases
