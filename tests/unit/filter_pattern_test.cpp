// The filter matcher on texts already upper-cased: containment, "*", "?",
// quotes, surrogate pairs, and a randomized check against a plain
// backtracking matcher over characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "ui/filter.h"

namespace quillomi::ui {
namespace {

using test::Utf8;

constexpr char16_t kHigh = 0xD83D;  // U+1F600 is D83D DE00
constexpr char16_t kLow = 0xDE00;
const std::u16string kPair = {kHigh, kLow};
const std::u16string kLoneHigh = {kHigh};
const std::u16string kLoneLow = {kLow};

TEST(FilterPattern, MatchesAsTable) {
  struct Case {
    std::u16string pattern;
    std::u16string entry;
    bool matches;
  };
  const Case cases[] = {
      // Containment: anywhere in the entry.
      {u"ABC", u"XABCX", true},
      {u"ABC", u"AB", false},
      {u"ABC", u"AXBC", false},
      {u"ABC", u"", false},
      {u"A B", u"[A B]", true},  // the space is a character like any other
      {u"A B", u"AB", false},
      {u"ZZZ", u"[挨拶]こんにちは", false},
      {u"こんにちは", u"[挨拶]こんにちは", true},
      // "?" is exactly one character.
      {u"?", u"X", true},
      {u"?", u"", false},
      {u"??", u"X", false},
      {u"A?C", u"ABC", true},
      {u"A?C", u"AC", false},
      {u"A??", u"XXA", false},  // too near the end
      {u"?A", u"A", false},
      // "*" is any run, the empty one included.
      {u"*", u"", true},
      {u"**", u"", true},
      {u"A*C", u"AC", true},
      {u"A*C", u"CA", false},
      {u"*A", u"XYZ", false},
      {u"A*", u"BAB", true},
      {u"A**B", u"AB", true},
      {u"*?", u"", false},
      {u"?*?", u"X", false},
      {u"A*?B", u"AB", false},
      {u"A*?B", u"AXB", true},
      {u"A*B*C", u"CBACBA", false},
      {u"A*A*A*A*B", u"AAAAAAAAAA", false},
      {u"A*A*A*A*B", u"AAAAB", true},
      {u"AB*AB", u"AB", false},  // the pieces may not overlap
      {u"AB*AB", u"ABAB", true},
      {u"AAB", u"AAAAB", true},  // the first candidate fails, a later one holds
      {u"A?B", u"AAAAB", true},
      {u"A?A?B", u"AAAXAXB", true},
      // Quotes are dropped; the text that remains is matched.
      {u"\"ABC\"", u"XABCX", true},
      {u"A\"B", u"AB", true},
      {u"A\"B", u"A\"B", false},
      {u"\"", u"", true},
      {u"?\"", u"", false},
      // Operator characters stand for themselves.
      {u"!A", u"B", false},
      {u"!A", u"X!AX", true},
      {u"<5", u"A<5", true},
      {u"A&B", u"AB", false},
      {u"A|B", u"A", false},
      {u"^A", u"A", false},
      // Widths and kana stay distinct.
      {u"Ａ", u"A", false},
      {u"A", u"Ａ", false},
      {u"ア", u"あ", false},
      {u"あ", u"ア", false},
      // A surrogate pair is one character.
      {u"?", kPair, true},
      {u"??", kPair, false},
      {u"X?Y", u"X" + kPair + u"Y", true},
      {u"X??Y", u"X" + kPair + u"Y", false},
      {u"?Y", kPair + u"Y", true},
      {kPair, u"A" + kPair + u"B", true},
      {u"?" + kPair, kPair + kPair, true},
      {u"?" + kPair, kPair, false},
      {u"A\"" + kLoneHigh + u"\"" + kLoneLow, u"A" + kPair, true},  // quotes split no pair
      // A lone half is a character of its own: it never matches half a pair.
      {kLoneHigh, kPair, false},
      {kLoneLow, kPair, false},
      {kLoneHigh, kLoneHigh + u"A", true},
      {kLoneLow, kPair + kLoneLow, true},
      {kLoneHigh + u"?", kPair, false},
      {u"?" + kLoneLow, kPair, false},
      {u"?" + kLoneLow, kPair + kLoneLow, true},
      {u"??", kLoneHigh + kLoneHigh + kLow, true},  // a lone high, then a pair
      {u"???", kLoneHigh + kLoneHigh + kLow, false},
      {u"?*?", kLoneHigh + kLoneHigh + kLow, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterPattern(c.pattern).Matches(c.entry), c.matches)
        << "pattern \"" << Utf8(c.pattern) << "\" entry \"" << Utf8(c.entry) << "\"";
  }
}

// A long entry that an exponential matcher would never finish.
TEST(FilterPattern, ManyStarsOverALongEntryAnswer) {
  const std::u16string entry(20000, u'A');
  EXPECT_FALSE(FilterPattern(u"*A*A*A*A*B").Matches(entry));
  EXPECT_FALSE(FilterPattern(u"A?A?A?A?A?B").Matches(entry));
  EXPECT_TRUE(FilterPattern(u"*A*A*A*A*A").Matches(entry));
  EXPECT_FALSE(FilterPattern(std::u16string(300, u'A') + u"B").Matches(entry));
}

// The characters of a text: a surrogate pair or any other single unit.
std::vector<std::u16string> Characters(std::u16string_view text) {
  std::vector<std::u16string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    characters.emplace_back(text.substr(i, pair ? 2 : 1));
    i += pair ? 2 : 1;
  }
  return characters;
}

bool ReferencePrefixMatch(const std::vector<std::u16string>& pattern, std::size_t p,
                          const std::vector<std::u16string>& entry, std::size_t e) {
  if (p == pattern.size()) return true;  // containment: the rest of the entry is free
  if (pattern[p] == u"*") {
    return ReferencePrefixMatch(pattern, p + 1, entry, e) ||
           (e < entry.size() && ReferencePrefixMatch(pattern, p, entry, e + 1));
  }
  if (e == entry.size()) return false;
  return (pattern[p] == u"?" || pattern[p] == entry[e]) &&
         ReferencePrefixMatch(pattern, p + 1, entry, e + 1);
}

bool ReferenceMatches(std::u16string_view pattern_text, std::u16string_view entry_text) {
  std::u16string unquoted;
  for (char16_t c : pattern_text) {
    if (c != u'"') unquoted += c;
  }
  const auto pattern = Characters(unquoted);
  const auto entry = Characters(entry_text);
  for (std::size_t start = 0; start <= entry.size(); ++start) {
    if (ReferencePrefixMatch(pattern, 0, entry, start)) return true;
  }
  return false;
}

class RandomTexts {
 public:
  std::u16string Pattern() { return Join(kPatternPieces, 0, 6); }
  std::u16string Entry() { return Join(kEntryPieces, 0, 10); }

 private:
  std::u16string Join(const std::vector<std::u16string>& pieces, int shortest, int longest) {
    std::u16string text;
    const int count = std::uniform_int_distribution<int>(shortest, longest)(random_);
    for (int i = 0; i < count; ++i) {
      text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random_)];
    }
    return text;
  }

  // Upper case already; "*", "?" and '"' are plain characters in an entry.
  const std::vector<std::u16string> kEntryPieces = {u"A",      u"B",     u"A", u"あ", kPair,
                                                    kLoneHigh, kLoneLow, u"*", u"?",  u"\""};
  const std::vector<std::u16string> kPatternPieces = {u"A",     u"B", u"A", u"あ", kPair, kLoneHigh,
                                                      kLoneLow, u"*", u"?", u"?",  u"\"", u"AB"};
  std::mt19937 random_{20240611};
};

TEST(FilterPattern, AgreesWithABacktrackingReference) {
  RandomTexts random;
  int matched = 0;
  int unmatched = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::u16string pattern = random.Pattern();
    const std::u16string entry = random.Entry();
    const bool expected = ReferenceMatches(pattern, entry);
    ASSERT_EQ(FilterPattern(pattern).Matches(entry), expected)
        << "pattern \"" << Utf8(pattern) << "\" entry \"" << Utf8(entry) << "\"";
    ++(expected ? matched : unmatched);
  }
  // Both outcomes well represented, or the check proves little.
  EXPECT_GT(matched, 4000);
  EXPECT_GT(unmatched, 4000);
}

// The list scans all its entries back to back for the pattern's anchor: a hit
// that runs into the next entry, or splits a pair at an entry's edge, must not
// count, and each entry is shown once.
TEST(FilterPattern, ListRowsAgreeWithTheReference) {
  fake::FakePlatform fake;
  FilterList list(fake);
  RandomTexts random;
  std::size_t shown = 0;
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::u16string> entries(12);
    for (auto& entry : entries) entry = random.Entry();
    list.Clear();
    list.BeginUpdate();
    for (const auto& entry : entries) list.Add(entry, 1);
    list.EndUpdate();

    const std::u16string pattern = random.Pattern();
    list.SetFilter(pattern);
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (pattern.empty() || ReferenceMatches(pattern, entries[i])) expected.push_back(i);
    }
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
      rows.push_back(list.EntryIndexOfRow(row));
    }
    ASSERT_EQ(rows, expected) << "pattern \"" << Utf8(pattern) << "\"";
    shown += rows.size();
  }
  EXPECT_GT(shown, 4000u);
  EXPECT_LT(shown, 20000u);
}

}  // namespace
}  // namespace quillomi::ui
