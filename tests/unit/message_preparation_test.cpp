#include "delivery/message_preparation.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"

namespace quillomi::delivery {
namespace {

using Radio = SpeechMode::Radio;

// The label patterns' "\s", written out as the list it is.
std::set<char16_t> LabelSpaces() {
  std::set<char16_t> set{u'\u0009', u'\u000A', u'\u000C', u'\u000D', u'\u0020',
                         u'\u0085', u'\u00A0', u'\u1680', u'\u180E', u'\u2028',
                         u'\u2029', u'\u202F', u'\u205F', u'\u3000'};
  for (char16_t c = u'\u2000'; c <= u'\u200A'; ++c) set.insert(c);
  return set;
}

TEST(LabelSpace, IsExactlyTheListedSet) {
  const auto expected = LabelSpaces();
  for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
    const auto c = static_cast<char16_t>(code);
    EXPECT_EQ(IsLabelSpace(c), expected.contains(c)) << "U+" << std::hex << code;
  }
}

TEST(LabelSpace, LeavesOutTheLookAlikes) {
  for (char16_t c : {u'\u000B', u'\u001C', u'\u001D', u'\u001E', u'\u001F', u'\u200B', u'\uFEFF'}) {
    EXPECT_FALSE(IsLabelSpace(c)) << "U+" << std::hex << static_cast<int>(c);
    EXPECT_EQ(RemoveSpacedLabels(u"[a]" + std::u16string(1, c) + u"b"),
              u"[a]" + std::u16string(1, c) + u"b");
  }
}

TEST(LabelRemoval, WorkedExamples) {
  struct Case {
    std::u16string_view phrase, after_first_pass, prepared;
  };
  const Case cases[] = {
      {u"[挨拶]\u3000こんにちは", u"こんにちは", u"こんにちは"},
      {u"[挨拶]こんにちは", u"[挨拶]こんにちは", u"こんにちは"},
      {u"[挨拶]  こんにちは", u" こんにちは", u" こんにちは"},
      {u"[a] text [b] more", u"more", u"more"},
      {u"[a]x[b]y", u"[a]x[b]y", u"y"},
      {u"text [note]", u"text [note]", u"text "},
      {u"[a] x [b]y", u"x [b]y", u"x y"},
      {u"[abc", u"[abc", u"[abc"},
      {u"［全角］本文", u"［全角］本文", u"［全角］本文"},
      {u"[7]\u3000", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::Utf8(c.phrase));
    EXPECT_EQ(RemoveSpacedLabels(c.phrase), c.after_first_pass);
    EXPECT_EQ(RemoveLabels(c.after_first_pass), c.prepared);
    const auto prepared = PrepareMessage(c.phrase, {}, {});
    ASSERT_TRUE(prepared.has_value());
    EXPECT_EQ(prepared->text, c.prepared);
    EXPECT_FALSE(prepared->no_enter);
  }
}

TEST(LabelRemoval, StringRules) {
  struct Case {
    std::u16string_view text, first_pass, second_pass;
  };
  const Case cases[] = {
      {u"", u"", u""},
      {u"[]", u"[]", u""},
      {u"[] x", u"x", u"x"},
      {u"[a]\tb", u"b", u"b"},
      {u"[a]\u00A0b", u"b", u"b"},
      {u"[a]\u2000\u200Ab", u"\u200Ab", u"\u200Ab"},
      {u"[a] ", u"", u""},
      {u"[a]", u"[a]", u""},
      // a "]" before the first "[" is ordinary text
      {u"a] [b", u"a] [b", u"a] [b"},
      {u"x] [y] z", u"x] z", u"x] z"},
      {u"[[a] b]", u"b]", u"b]"},
      {u"[a] b]", u"b]", u"b]"},
      {u"p[a]q[b]r", u"p[a]q[b]r", u"pr"},
      {u"p [a] q [b]", u"p q [b]", u"p q "},
      {u"[a] [b]c", u"[b]c", u"c"},
      // surrogate pairs stay whole
      {u"[\U0001F600] \U0001F600", u"\U0001F600", u"\U0001F600"},
      {u"\U0001F600[a]\U0001F600", u"\U0001F600[a]\U0001F600", u"\U0001F600\U0001F600"},
      // a match cannot run across CR or LF, but its space may be one
      {u"[a]\r\nb", u"\nb", u"\nb"},
      {u"[a]\n", u"", u""},
      {u"[a\r] b", u"[a\r] b", u"[a\r] b"},
      {u"[a\nb]", u"[a\nb]", u"[a\nb]"},
      {u"[a] x\r[b] y", u"x\ry", u"x\ry"},
      {u"[a]x\n[b]y", u"[a]x\n[b]y", u"x\ny"},
      {u"[a] [b]\n c", u" c", u" c"},
      {u"[a]\r\r[b] c", u"\rc", u"\rc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::Utf8(c.text));
    EXPECT_EQ(RemoveSpacedLabels(c.text), c.first_pass);
    EXPECT_EQ(RemoveLabels(c.first_pass), c.second_pass);
  }
}

// --- cross-check against a plain backtracking matcher ----------------------

enum class Atom { kOpen, kClose, kAnyRun, kSpace };

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Length of the character at i: a surrogate pair is one character.
std::size_t CharLength(std::u16string_view t, std::size_t i) {
  return IsHigh(t[i]) && i + 1 < t.size() && IsLow(t[i + 1]) ? 2 : 1;
}

std::optional<std::size_t> MatchAt(std::u16string_view t, const std::vector<Atom>& pattern,
                                   std::size_t atom, std::size_t at) {
  if (atom == pattern.size()) return at;
  switch (pattern[atom]) {
    case Atom::kOpen:
    case Atom::kClose: {
      const char16_t want = pattern[atom] == Atom::kOpen ? u'[' : u']';
      if (at < t.size() && t[at] == want) return MatchAt(t, pattern, atom + 1, at + 1);
      return std::nullopt;
    }
    case Atom::kSpace:
      if (at < t.size() && LabelSpaces().contains(t[at]))
        return MatchAt(t, pattern, atom + 1, at + 1);
      return std::nullopt;
    case Atom::kAnyRun: {
      std::vector<std::size_t> ends{at};
      for (std::size_t i = at; i < t.size() && t[i] != u'\r' && t[i] != u'\n';) {
        i += CharLength(t, i);
        ends.push_back(i);
      }
      for (auto end = ends.rbegin(); end != ends.rend(); ++end)
        if (auto m = MatchAt(t, pattern, atom + 1, *end)) return m;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::u16string ReplaceAllMatches(std::u16string_view t, const std::vector<Atom>& pattern) {
  std::u16string out;
  std::size_t kept_from = 0;
  std::size_t start = 0;
  while (start <= t.size()) {
    if (auto end = MatchAt(t, pattern, 0, start)) {
      out.append(t.substr(kept_from, start - kept_from));
      kept_from = start = *end;
      continue;
    }
    if (start == t.size()) break;
    start += CharLength(t, start);
  }
  out.append(t.substr(kept_from));
  return out;
}

void ExpectSameAsMatcher(std::u16string_view t) {
  static const std::vector<Atom> kFirst{Atom::kOpen, Atom::kAnyRun, Atom::kClose, Atom::kSpace};
  static const std::vector<Atom> kSecond{Atom::kOpen, Atom::kAnyRun, Atom::kClose};
  ASSERT_EQ(RemoveSpacedLabels(t), ReplaceAllMatches(t, kFirst)) << test::Utf8(t);
  ASSERT_EQ(RemoveLabels(t), ReplaceAllMatches(t, kSecond)) << test::Utf8(t);
}

TEST(LabelRemoval, AgreesWithABacktrackingMatcherOnEveryShortText) {
  const std::u16string_view alphabet[] = {u"[", u"]", u" ", u"a", u"\r", u"\n"};
  constexpr std::size_t kMaxLength = 6;
  std::vector<std::size_t> digits;
  for (std::size_t length = 0; length <= kMaxLength; ++length) {
    digits.assign(length, 0);
    while (true) {
      std::u16string t;
      for (auto d : digits) t += alphabet[d];
      ExpectSameAsMatcher(t);
      if (HasFatalFailure()) return;
      std::size_t k = 0;
      while (k < length && ++digits[k] == std::size(alphabet)) digits[k++] = 0;
      if (k == length) break;
    }
  }
}

TEST(LabelRemoval, AgreesWithABacktrackingMatcherOnRandomTexts) {
  // Brackets weigh more so that labels are common; lone surrogates too.
  const std::u16string alphabet[] = {u"[",
                                     u"[",
                                     u"]",
                                     u"]",
                                     u" ",
                                     u"\u3000",
                                     u"a",
                                     u"\r",
                                     u"\n",
                                     u"\t",
                                     u"\u200B",
                                     u"\U0001F600",
                                     u"［",
                                     std::u16string(1, char16_t{0xD83D}),
                                     std::u16string(1, char16_t{0xDE00})};
  std::mt19937 random(20240601);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
  std::uniform_int_distribution<int> length(0, 16);
  for (int round = 0; round < 20000; ++round) {
    std::u16string t;
    for (int n = length(random); n > 0; --n) t += alphabet[pick(random)];
    ExpectSameAsMatcher(t);
    if (HasFatalFailure()) return;
  }
}

// --- the whole preparation --------------------------------------------------

TEST(PrepareMessage, HeadingOnlyAtTheVeryStart) {
  EXPECT_FALSE(PrepareMessage(u"◆見出し", {}, {}).has_value());
  EXPECT_FALSE(PrepareMessage(u"◆", {true, true, Radio::kYell}, {}).has_value());
  EXPECT_FALSE(PrepareMessage(u"◆[Enter無し]", {}, {}).has_value());

  struct Case {
    std::u16string_view phrase, prepared;
  };
  const Case sent[] = {
      {u"[見出し]◆本文", u"◆本文"},
      {u" ◆", u" ◆"},
      {u"◇本文", u"◇本文"},
      {u"", u""},
  };
  for (const auto& c : sent) {
    const auto prepared = PrepareMessage(c.phrase, {}, {});
    ASSERT_TRUE(prepared.has_value()) << test::Utf8(c.phrase);
    EXPECT_EQ(prepared->text, c.prepared);
  }
}

TEST(PrepareMessage, NoEnterMarker) {
  struct Case {
    std::u16string_view phrase, prepared;
    bool no_enter;
  };
  const Case cases[] = {
      {u"[label] text [Enter無し]", u"text ", true},
      {u"[Enter無し][label]text", u"text", true},
      {u"[Enter無し]a[Enter無し]b", u"ab", true},
      {u"[Enter無し]", u"", true},
      {u"a[Enter無し] b", u"a b", true},
      // a marker that only comes together through a deletion stays and is a label
      {u"[Enter[Enter無し]無し] x", u"x", true},
      {u"[enter無し] a", u"a", false},
      {u"[ENTER無し]", u"", false},
      {u"［Enter無し］こんにちは", u"［Enter無し］こんにちは", false},
      {u"[Enter無し ]", u"", false},
      {u"Enter無し", u"Enter無し", false},
  };
  for (const auto& c : cases) {
    const auto prepared = PrepareMessage(c.phrase, {}, {});
    ASSERT_TRUE(prepared.has_value()) << test::Utf8(c.phrase);
    EXPECT_EQ(prepared->text, c.prepared) << test::Utf8(c.phrase);
    EXPECT_EQ(prepared->no_enter, c.no_enter) << test::Utf8(c.phrase);
  }
}

TEST(PrepareMessage, SpeechModePrefixes) {
  struct Case {
    std::u16string_view phrase;
    SpeechMode mode;
    std::u16string_view prepared;
  };
  const Case cases[] = {
      {u"[a] こんにちは", {false, false, Radio::kNormal}, u"こんにちは"},
      // the party box, whether or not the free-text box is shown
      {u"[a] こんにちは", {true, false, Radio::kNormal}, u"/ こんにちは"},
      {u"[a] こんにちは", {true, true, Radio::kParty}, u"/ こんにちは"},
      {u"[a] / こんにちは", {true, false, Radio::kNormal}, u"/ こんにちは"},
      {u"/こんにちは", {true, false, Radio::kNormal}, u"/ /こんにちは"},
      {u"/", {true, false, Radio::kNormal}, u"/ /"},
      {u"[7]\u3000", {true, false, Radio::kNormal}, u"/ "},
      {u"", {true, false, Radio::kNormal}, u"/ "},
      // radio buttons count only while the free-text box is shown
      {u"x", {false, false, Radio::kParty}, u"x"},
      {u"x", {false, false, Radio::kWisper}, u"x"},
      {u"x", {false, false, Radio::kEmote}, u"x"},
      {u"x", {false, false, Radio::kYell}, u"x"},
      {u"x", {false, false, Radio::kChat}, u"x"},
      {u"x", {true, false, Radio::kWisper}, u"/ x"},
      {u"x", {false, true, Radio::kNormal}, u"x"},
      {u"x", {false, true, Radio::kParty}, u"/ x"},
      {u"x", {false, true, Radio::kWisper}, u"; x"},
      {u"x", {false, true, Radio::kEmote}, u": x"},
      {u"x", {false, true, Radio::kYell}, u"! x"},
      {u"x", {false, true, Radio::kChat}, u", x"},
      {u"[a] ; x", {false, true, Radio::kWisper}, u"; x"},
      {u";x", {false, true, Radio::kWisper}, u"; ;x"},
      {u"", {false, true, Radio::kChat}, u", "},
      {u"!", {false, true, Radio::kYell}, u"! !"},
      {u"/ x", {false, true, Radio::kYell}, u"! / x"},
      // box and radio button out of step: one rule after the other
      {u"x", {true, true, Radio::kWisper}, u"; / x"},
      {u"; x", {true, true, Radio::kWisper}, u"; / ; x"},
  };
  for (const auto& c : cases) {
    const auto prepared = PrepareMessage(c.phrase, c.mode, {});
    ASSERT_TRUE(prepared.has_value());
    EXPECT_EQ(prepared->text, c.prepared)
        << test::Utf8(c.phrase) << " box " << c.mode.party_box << " shown "
        << c.mode.free_text_shown << " radio " << static_cast<int>(c.mode.radio);
  }
}

TEST(PrepareMessage, NormalSpeechIsExemptInEveryMode) {
  const std::vector<std::u16string> list{u"bank", u"[x] guards", u""};
  const SpeechMode modes[] = {
      {true, false, Radio::kNormal}, {true, true, Radio::kParty}, {false, true, Radio::kWisper},
      {false, true, Radio::kEmote},  {false, true, Radio::kYell}, {true, true, Radio::kChat},
  };
  for (const auto& mode : modes) {
    EXPECT_EQ(PrepareMessage(u"[cmd] bank", mode, list)->text, u"bank");
    EXPECT_EQ(PrepareMessage(u"bank", mode, list)->text, u"bank");
    EXPECT_EQ(PrepareMessage(u"[7]\u3000", mode, list)->text, u"");
    // entries are compared with the text after label removal
    EXPECT_NE(PrepareMessage(u"[x] guards", mode, list)->text, u"guards");
  }
}

TEST(PrepareMessage, NormalSpeechComparesCodeUnitsExactly) {
  const SpeechMode yell{false, true, Radio::kYell};
  struct Case {
    std::u16string entry;
    std::u16string_view phrase, prepared;
  };
  const Case cases[] = {
      {u"bank", u"bank", u"bank"},
      {u"bank ", u"bank", u"! bank"},
      {u"Bank", u"bank", u"! bank"},
      {u"ｂａｎｋ", u"bank", u"! bank"},
      {u" bank", u"bank", u"! bank"},
      {u"bank", u"[a]bank ", u"! bank "},
      {u"", u"x", u"! x"},
      {u"x", u"", u"! "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PrepareMessage(c.phrase, yell, {c.entry})->text, c.prepared)
        << test::Utf8(c.entry) << " / " << test::Utf8(c.phrase);
}

}  // namespace
}  // namespace quillomi::delivery
