// The filter list: letter case, the shown-row → entry map, loads under a filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phrases/phrase_list.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "ui/filter.h"

namespace quillomi::ui {
namespace {

using test::Utf8;

// Counts the calls of the upper-case mapping; no code page is asked for.
class CountingText final : public platform::Text {
 public:
  std::u16string DecodeAnsi(const std::uint8_t*, std::size_t) override { return {}; }
  platform::Bytes EncodeAnsi(std::u16string_view) override { return {}; }
  void UpperCaseInPlace(std::u16string& text) override {
    ++calls;
    fake::UpperCaseForTests(text);
  }
  int calls = 0;
};

// A whole list as a load gives it; icons count up from 1.
void Load(FilterList& list, const std::vector<std::u16string>& entries) {
  list.Assign(test::EntriesOf(entries));
}

std::vector<std::string> ShownRows(const FilterList& list) {
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    rows.push_back(Utf8(list.EntryText(list.EntryIndexOfRow(row))));
  }
  return rows;
}

class FilterListTest : public ::testing::Test {
 protected:
  fake::FakePlatform fake_;
  FilterList list_{fake_};
};

TEST_F(FilterListTest, ShowsTheEntriesThatContainTheFilterText) {
  const std::vector<std::string> all = {
      "[挨拶]こんにちは", "xABCx",  "",       "a b",    "ab", "xabcx",
      "ＡＢＣ",           "ａｂｃ", "あいう", "アイウ", "ｱｲｳ"};
  Load(list_, {u"[挨拶]こんにちは", u"xABCx", u"", u"a b", u"ab", u"xabcx", u"ＡＢＣ", u"ａｂｃ",
               u"あいう", u"アイウ", u"ｱｲｳ"});
  struct Case {
    std::u16string filter;
    std::vector<std::string> rows;
  };
  const std::vector<Case> cases = {
      {u"abc", {"xABCx", "xabcx"}},
      {u"aBc", {"xABCx", "xabcx"}},
      {u"a b", {"a b"}},
      {u"ａｂｃ", {"ＡＢＣ", "ａｂｃ"}},  // full-width letters have case too...
      {u"あいう", {"あいう"}},            // ...kana has none, and forms stay distinct
      {u"アイウ", {"アイウ"}},
      {u"ｱｲｳ", {"ｱｲｳ"}},
      {u"*", all},
      {u"\"ab\"", {"xABCx", "ab", "xabcx"}},
      {u"[挨拶]", {"[挨拶]こんにちは"}},
      {u"zzz", {}},
      {u"", all},  // emptied: every entry in list order
  };
  for (const auto& c : cases) {
    list_.SetFilter(c.filter);
    EXPECT_EQ(ShownRows(list_), c.rows) << Utf8(c.filter);
  }
}

TEST_F(FilterListTest, RowsStandForTheirEntriesInTheFullList) {
  Load(list_, {u"◆挨拶", u"[朝]おはよう", u"[昼]こんにちは", u"◆戦闘", u"[援護]heal me",
               u"[夜]こんばんは"});
  list_.SetFilter(u"こん");
  ASSERT_EQ(list_.RowCount(), 2u);
  EXPECT_EQ(list_.EntryIndexOfRow(0), 2u);
  EXPECT_EQ(list_.EntryIndexOfRow(1), 5u);
  EXPECT_EQ(list_.IconOf(list_.EntryIndexOfRow(1)), 6);
  EXPECT_EQ(list_.EntryCount(), 6u);
}

TEST_F(FilterListTest, ReloadAppliesTheFilterInForceToTheNewEntries) {
  Load(list_, {u"alpha", u"beta", u"gamma"});
  list_.SetFilter(u"ta");
  EXPECT_EQ(ShownRows(list_), std::vector<std::string>{"beta"});

  Load(list_, {u"delta", u"beta", u"zeta", u"eta"});
  EXPECT_EQ(ShownRows(list_), (std::vector<std::string>{"delta", "beta", "zeta", "eta"}));
  EXPECT_EQ(list_.EntryIndexOfRow(1), 1u);

  Load(list_, {u"one"});
  EXPECT_EQ(list_.RowCount(), 0u);
}

TEST(FilterListMapping, UpperCasesEachLoadOnceWhenFirstFiltered) {
  CountingText text;
  FilterList list(text);
  std::vector<std::u16string> entries;
  for (int i = 0; i < 1000; ++i) {
    entries.push_back(u"entry " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
  }
  Load(list, entries);
  EXPECT_EQ(text.calls, 0);  // a list shown unfiltered needs no copy

  // "entry z" is every 26th entry, from the 26th on.
  list.SetFilter(u"y z");
  EXPECT_EQ(list.RowCount(), 38u);
  EXPECT_EQ(list.EntryIndexOfRow(37), 987u);
  EXPECT_EQ(text.calls, 2);  // the entries once, and the filter text
  list.SetFilter(u"RY  Z");
  EXPECT_EQ(list.RowCount(), 0u);
  EXPECT_EQ(text.calls, 3);

  // A reload under a filter maps the new entries at once, and only them.
  entries.assign(3, u"entry y z");
  Load(list, entries);
  list.SetFilter(u"y z");
  EXPECT_EQ(list.RowCount(), 3u);
  EXPECT_EQ(text.calls, 5);
}

}  // namespace
}  // namespace quillomi::ui
