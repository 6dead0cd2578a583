#include "delivery/message_preparation.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <regex>
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

TEST(LabelRemoval, StringRules) {
  struct Case {
    std::u16string_view text, first_pass, second_pass;
  };
  const Case cases[] = {
      {u"[挨拶]\u3000こんにちは", u"こんにちは", u"こんにちは"},
      {u"[挨拶]こんにちは", u"[挨拶]こんにちは", u"こんにちは"},
      {u"[挨拶]  こんにちは", u" こんにちは", u" こんにちは"},
      {u"[a] text [b] more", u"more", u"more"},
      {u"text [note]", u"text [note]", u"text "},
      {u"[a] x [b]y", u"x [b]y", u"x y"},
      {u"［全角］本文", u"［全角］本文", u"［全角］本文"},
      {u"[a]\u2000\u200Ab", u"\u200Ab", u"\u200Ab"},
      {u"[a]\u200Bb", u"[a]\u200Bb", u"\u200Bb"},  // not a label space
      // a "]" before the first "[" is ordinary text
      {u"x] [y] z", u"x] z", u"x] z"},
      // surrogate pairs stay whole
      {u"[\U0001F600] \U0001F600", u"\U0001F600", u"\U0001F600"},
      // a match cannot run across CR or LF, but its space may be one
      {u"[a]\r\nb", u"\nb", u"\nb"},
      {u"[a\r] b", u"[a\r] b", u"[a\r] b"},
      {u"[a]x\n[b]y", u"[a]x\n[b]y", u"x\ny"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::Utf8(c.text));
    EXPECT_EQ(RemoveSpacedLabels(c.text), c.first_pass);
    EXPECT_EQ(RemoveLabels(c.first_pass), c.second_pass);
    EXPECT_EQ(PrepareMessage(c.text, {}, {})->text, c.second_pass);
  }
}

// --- cross-check against the standard library's backtracking regex ---------

// Code unit by code unit, so that lone surrogates pass through unchanged.
std::wstring Wide(std::u16string_view t) {
  return {t.begin(), t.end()};
}

void ExpectSameAsRegex(std::u16string_view t) {
  static const std::wregex kSecond(L"\\[[^\\r\\n]*\\]");
  static const std::wregex kFirst = [] {
    std::wstring spaces;
    for (char16_t c : LabelSpaces()) spaces += static_cast<wchar_t>(c);
    return std::wregex(L"\\[[^\\r\\n]*\\][" + spaces + L"]");
  }();
  ASSERT_EQ(Wide(RemoveSpacedLabels(t)), std::regex_replace(Wide(t), kFirst, L"")) << test::Utf8(t);
  ASSERT_EQ(Wide(RemoveLabels(t)), std::regex_replace(Wide(t), kSecond, L"")) << test::Utf8(t);
}

TEST(LabelRemoval, AgreesWithARegexOnEveryShortText) {
  const std::u16string_view alphabet[] = {u"[", u"]", u" ", u"a", u"\r", u"\n"};
  constexpr std::size_t kSize = std::size(alphabet);
  for (std::size_t length = 0, count = 1; length <= 6; ++length, count *= kSize) {
    for (std::size_t n = 0; n < count && !HasFatalFailure(); ++n) {
      std::u16string t;  // the digits of n in base kSize
      for (std::size_t rest = n, i = 0; i < length; ++i, rest /= kSize) t += alphabet[rest % kSize];
      ExpectSameAsRegex(t);
    }
  }
}

TEST(LabelRemoval, AgreesWithARegexOnRandomTexts) {
  // Brackets weigh more so that labels are common; lone surrogates too.
  const std::u16string alphabet[] = {u"[", u"[", u"]", u"]", u" ", u"\u3000", u"a", u"\r", u"\n",
                                     u"\t", u"\u200B", u"\U0001F600", u"［", u"\xD83D", u"\xDE00"};
  std::mt19937 random(20240601);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
  std::uniform_int_distribution<int> length(0, 16);
  for (int round = 0; round < 20000 && !HasFatalFailure(); ++round) {
    std::u16string t;
    for (int n = length(random); n > 0; --n) t += alphabet[pick(random)];
    ExpectSameAsRegex(t);
  }
}

// --- the whole preparation --------------------------------------------------

constexpr SpeechMode kPlain{};
constexpr SpeechMode kBox{true, false, Radio::kNormal};
constexpr SpeechMode Shown(Radio radio, bool box = false) { return {box, true, radio}; }
constexpr SpeechMode Hidden(Radio radio, bool box = false) { return {box, false, radio}; }

TEST(PrepareMessage, HeadingsMarkerPrefixesAndNormalSpeech) {
  const std::vector<std::u16string> list{u"bank", u"[x] guards", u""}, unlisted;
  struct Case {
    std::u16string_view phrase;
    SpeechMode mode;
    std::optional<std::u16string_view> prepared;  // nullopt: a heading, nothing is sent
    bool no_enter = false;
    bool listed = false;  // with the normal-speech list
  };
  const Case cases[] = {
      // a heading only with "◆" at the very start, whatever the mode or marker
      {u"◆見出し", kPlain, std::nullopt},
      {u"◆", Shown(Radio::kYell, true), std::nullopt},
      {u"◆[Enter無し]", kPlain, std::nullopt},
      {u"[見出し]◆本文", kPlain, u"◆本文"},
      {u" ◆", kPlain, u" ◆"},
      // the marker: every occurrence, case-sensitive, in one scan before the labels
      {u"[label] text [Enter無し]", kPlain, u"text ", true},
      {u"[Enter無し][label]text", kPlain, u"text", true},
      {u"[Enter無し]a[Enter無し]b", kPlain, u"ab", true},
      {u"a[Enter無し] b", kPlain, u"a b", true},
      {u"[Enter[Enter無し]無し] x", kPlain, u"x", true},
      {u"[enter無し] a", kPlain, u"a"},
      // the party box, whether or not the free-text box is shown
      {u"[a] こんにちは", Shown(Radio::kParty, true), u"/ こんにちは"},
      {u"[a] / こんにちは", kBox, u"/ こんにちは"},
      {u"/こんにちは", kBox, u"/ /こんにちは"},
      {u"/", kBox, u"/ /"},
      {u"[7]\u3000", kBox, u"/ "},
      // the radio buttons count only while the free-text box is shown
      {u"x", Hidden(Radio::kParty), u"x"},
      {u"x", Hidden(Radio::kWisper, true), u"/ x"},
      {u"x", Shown(Radio::kNormal), u"x"},
      {u"x", Shown(Radio::kParty), u"/ x"},
      {u"x", Shown(Radio::kWisper), u"; x"},
      {u"x", Shown(Radio::kEmote), u": x"},
      {u"x", Shown(Radio::kYell), u"! x"},
      {u"x", Shown(Radio::kChat), u", x"},
      {u"[a] ; x", Shown(Radio::kWisper), u"; x"},
      {u"/ x", Shown(Radio::kYell), u"! / x"},
      // box and radio out of step: one rule after the other
      {u"x", Shown(Radio::kWisper, true), u"; / x"},
      {u"; x", Shown(Radio::kWisper, true), u"; / ; x"},
      // normal speech: the text after label removal, compared unit by unit
      {u"[cmd] bank", Shown(Radio::kYell, true), u"bank", false, true},
      {u"bank", kBox, u"bank", false, true},
      {u"[7]\u3000", Shown(Radio::kParty, true), u"", false, true},
      {u"[x] guards", Shown(Radio::kYell), u"! guards", false, true},
      {u"Bank", Shown(Radio::kYell), u"! Bank", false, true},
      {u"[a]bank ", Shown(Radio::kYell), u"! bank ", false, true},
      {u"ban", kBox, u"/ ban", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << test::Utf8(c.phrase) << " mode " << c.mode.party_box
                                    << c.mode.free_text_shown << static_cast<int>(c.mode.radio));
    const auto prepared = PrepareMessage(c.phrase, c.mode, c.listed ? list : unlisted);
    ASSERT_EQ(prepared.has_value(), c.prepared.has_value());
    if (!prepared) continue;
    EXPECT_EQ(prepared->text, *c.prepared);
    EXPECT_EQ(prepared->no_enter, c.no_enter);
  }
}

}  // namespace
}  // namespace quillomi::delivery
