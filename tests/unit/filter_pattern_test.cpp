// The filter matcher on upper-cased texts, and against a backtracking oracle.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"
#include "ui/filter.h"

namespace quillomi::ui {
namespace {

using test::Utf8;

// The text with "h" and "l" for the high and low halves of U+1F600.
std::u16string Halves(std::u16string_view view) {
  std::u16string text(view);
  for (char16_t& c : text) c = c == u'h' ? char16_t{0xD83D} : c == u'l' ? char16_t{0xDE00} : c;
  return text;
}

TEST(FilterPattern, MatchesAsTable) {
  struct Case {
    std::u16string_view pattern;
    std::vector<std::u16string_view> matching, other;
  };
  const Case cases[] = {
      // Containment.
      {u"ABC", {u"XABCX", u"ABC"}, {u"AB", u"AXBC"}},
      // "?" is exactly one character, "*" any run, the empty one included.
      {u"A?C", {u"ABC"}, {u"AC"}},
      {u"?A", {u"XA"}, {u"A"}},
      {u"*", {u""}, {}},
      {u"A*C", {u"AC", u"AXXC"}, {u"CA"}},
      {u"A*", {u"BAB"}, {u"B"}},
      {u"A**B", {u"AB"}, {}},
      {u"?*?", {u"XY"}, {u"X"}},
      {u"A*?B", {u"AXB"}, {u"AB"}},
      {u"A*B*C", {u"ABC"}, {u"CBACBA"}},
      {u"A*A*A*A*B", {u"AAAAB"}, {u"AAAAAAAA"}},
      {u"AB*AB", {u"ABAB"}, {u"AB"}},  // the pieces may not overlap
      {u"AAB", {u"AAAAB"}, {}},        // the first candidate fails, a later one holds
      {u"A?A?B", {u"AAAXAXB"}, {}},
      // Quotes are dropped and split no pair; other characters stand for themselves.
      {u"A\"B", {u"AB"}, {u"A\"B"}},
      {u"\"", {u""}, {}},
      {u"A\"h\"l", {u"Ahl"}, {}},
      {u"<5>&|^", {u"A<5>&|^"}, {u"5", u"A<5"}},
      // A pair is one character; a lone half is one of its own, never half a pair.
      {u"?", {u"hl"}, {}},
      {u"??", {u"hhl"}, {u"hl"}},
      {u"???", {}, {u"hhl"}},
      {u"X?Y", {u"XhlY"}, {}},
      {u"X??Y", {}, {u"XhlY"}},
      {u"hl", {u"AhlB"}, {}},
      {u"?hl", {u"hlhl"}, {u"hl"}},
      {u"h", {u"hA"}, {u"hl"}},
      {u"l", {u"hll"}, {u"hl"}},
      {u"h?", {}, {u"hl"}},
      {u"?l", {u"hll"}, {u"hl"}},
  };
  for (const auto& c : cases) {
    const FilterPattern pattern(Halves(c.pattern));
    for (bool matches : {true, false}) {
      for (std::u16string_view entry : matches ? c.matching : c.other)
        EXPECT_EQ(pattern.Matches(Halves(entry)), matches)
            << "pattern \"" << Utf8(c.pattern) << "\" entry \"" << Utf8(entry) << "\"";
    }
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
std::vector<std::u16string> Characters(const std::u16string& text) {
  std::vector<std::u16string> characters;
  for (std::size_t i = 0; i < text.size(); i += characters.back().size()) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    characters.push_back(text.substr(i, pair ? 2 : 1));
  }
  return characters;
}

// Plain backtracking; at the pattern's end the rest of the entry is free.
bool ReferencePrefixMatch(const std::vector<std::u16string>& pattern, std::size_t p,
                          const std::vector<std::u16string>& entry, std::size_t e) {
  if (p == pattern.size()) return true;
  if (pattern[p] == u"*") {
    return ReferencePrefixMatch(pattern, p + 1, entry, e) ||
           (e < entry.size() && ReferencePrefixMatch(pattern, p, entry, e + 1));
  }
  return e < entry.size() && (pattern[p] == u"?" || pattern[p] == entry[e]) &&
         ReferencePrefixMatch(pattern, p + 1, entry, e + 1);
}

bool ReferenceMatches(std::u16string pattern, const std::u16string& entry) {
  std::erase(pattern, u'"');
  // A leading "*" lets the match start anywhere.
  return ReferencePrefixMatch(Characters(u"*" + pattern), 0, Characters(entry), 0);
}

TEST(FilterPattern, AgreesWithABacktrackingReference) {
  // Texts of a few random pieces, upper case already; "*", "?" and '"' are
  // plain characters in an entry.
  std::mt19937 random(20240611);
  const auto join = [&](const std::vector<std::u16string>& pieces, int longest) {
    std::u16string text;
    for (int n = std::uniform_int_distribution<int>(0, longest)(random); n > 0; --n)
      text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    return Halves(text);
  };
  const std::vector<std::u16string> kEntryPieces = {u"A", u"B", u"A", u"あ", u"hl",
                                                    u"h", u"l", u"*", u"?",  u"\""};
  int matched = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::u16string pattern =
        join({u"A", u"B", u"A", u"あ", u"hl", u"h", u"l", u"*", u"?", u"?", u"\"", u"AB"}, 6);
    for (int e = 0; e < 12; ++e) {
      const std::u16string entry = join(kEntryPieces, 10);
      const bool matches = ReferenceMatches(pattern, entry);
      ASSERT_EQ(FilterPattern(pattern).Matches(entry), matches)
          << "pattern \"" << Utf8(pattern) << "\" entry \"" << Utf8(entry) << "\"";
      matched += matches ? 1 : 0;
    }
  }
  // Both outcomes well represented, or the check proves little.
  EXPECT_GT(matched, 4000 * 12 / 5);
  EXPECT_LT(matched, 4000 * 12 * 4 / 5);
}

}  // namespace
}  // namespace quillomi::ui
