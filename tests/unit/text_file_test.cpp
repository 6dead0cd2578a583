#include "phrases/text_file.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "platform/utf.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

using test::B;

constexpr char16_t kFlag = u'\u25C6';

std::optional<std::u16string> Strict(std::string_view bytes) {
  const auto b = B(bytes);
  return DecodeUtf8Strict(b.data(), b.size());
}

std::u16string_view Line(const PackedLines& lines, std::size_t k) {
  return std::u16string_view(lines.text)
      .substr(lines.starts[k], lines.starts[k + 1] - lines.starts[k]);
}

TEST(Utf8Strict, AcceptsEveryWellFormedLength) {
  struct Case {
    std::string_view bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xC2\x80", u"\u0080"},
      {"\xDF\xBF", u"\u07FF"},
      {"\xE0\xA0\x80", u"\u0800"},
      {"\xE3\x81\x93\xE3\x82\x93", u"こん"},
      {"\xED\x9F\xBF", u"\uD7FF"},
      {"\xEE\x80\x80", u"\uE000"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x90\x80\x80", u"\U00010000"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {std::string_view("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    auto decoded = Strict(c.bytes);
    ASSERT_TRUE(decoded.has_value()) << test::Utf8(c.expected);
    EXPECT_EQ(*decoded, c.expected);
  }
}

TEST(Utf8Strict, RejectsEveryClassOfMalformedSequence) {
  const std::string_view cases[] = {
      "\x80",                      // stray continuation
      "a\xBF",                     // stray continuation after ASCII
      "\xC0\x80",                  // overlong NUL
      "\xC1\xBF",                  // overlong ASCII
      "\xE0\x80\x80",              // overlong three-byte
      "\xE0\x9F\xBF",              // overlong just below U+0800
      "\xF0\x8F\xBF\xBF",          // overlong four-byte
      "\xED\xA0\x80",              // high surrogate
      "\xED\xBF\xBF",              // low surrogate
      "\xED\xA0\xBD\xED\xB8\x80",  // surrogate pair encoded as CESU-8
      "\xF4\x90\x80\x80",          // above U+10FFFF
      "\xF5\x80\x80\x80",          // invalid lead
      "\xFF",                      // invalid byte
      "\xE3\x81",                  // truncated at the end
      "\xE3\x81"
      "x",                 // truncated by ASCII
      "\xF0\x9F\x98",      // truncated four-byte
      "\xC2",              // lone lead at the end
      "\x82\xB1\x82\xF1",  // Shift-JIS "こん"
      "\xFF\xFE"
      "x\x00",  // UTF-16 LE with its mark
  };
  for (auto bytes : cases) {
    EXPECT_FALSE(Strict(bytes).has_value()) << testing::PrintToString(bytes);
    // The line reader takes the same bytes, and bytes after a U+0000 too.
    for (const std::string& text :
         {std::string(bytes), std::string("a\r\n\0", 4) + std::string(bytes)}) {
      EXPECT_THROW(DecodeUtf8FileLines(B(text), kFlag), UserError) << testing::PrintToString(text);
    }
  }
}

TEST(LineSplitting, FollowsTheSharedRule) {
  struct Case {
    std::u16string_view text;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\n", {u"a"}},
      {u"a\r", {u"a"}},
      {u"a\r\n\r\n", {u"a", u""}},
      {u"a\n\n", {u"a", u""}},
      {u"\r\n", {u""}},
      {u"\n\r", {u"", u""}},  // LF then a lone CR: two breaks
      {u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
      {u"a\r\rb", {u"a", u"", u"b"}},
      {u"\n\na", {u"", u"", u"a"}},
      {std::u16string_view(u"a\nb\0c\nd", 7), {u"a", u"b"}},
      {std::u16string_view(u"ab\r\0\nc", 6), {u"ab"}},
      {std::u16string_view(u"\0abc", 4), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << test::Utf8(c.text);
}

TEST(LineSplitting, OnePassDecodeFlagsEveryFormOfTheFlag) {
  // The flag reached through each decoding path, and next to its neighbours.
  struct Case {
    std::string_view bytes;
    char16_t flag;
    std::vector<std::uint8_t> flagged;
  };
  const Case cases[] = {
      {"\xE2\x97\x86"
       "a\nb\n[x]\xE2\x97\x86",
       u'\u25C6',
       {1, 0, 1}},
      {"\xE2\x97\x87\n\xE2\x97\x85", u'\u25C6', {0, 0}},
      {"\xC3\xA9\r\n\xC3\xA8", u'\u00E9', {1, 0}},
      {"\xEF\xBC\xA1\n\xED\x9F\xBF", u'\uD7FF', {0, 1}},
      {"\xF0\x9F\x98\x80\n\xE3\x81\x82", u'\u3042', {0, 1}},
      {"ab\nc\n[a]", u'a', {1, 0, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeUtf8FileLines(B(c.bytes), c.flag).flagged, c.flagged)
        << testing::PrintToString(c.bytes);
  }
}

TEST(LineSplitting, LongMixedTextsDecodeAsTheTwoStepsDo) {
  // Long enough for the eight-byte path, with every kind of character, break
  // and fault among them; an undersized buffer shows in the sanitizer build.
  const std::string_view pieces[] = {"a",
                                     "The quick brown fox jumps ",
                                     "\r",
                                     "\n",
                                     "\r\n",
                                     "\xC3\xA9",
                                     "\xE3\x81\x82",
                                     "\xE2\x97\x86",
                                     "\xF0\x9F\x98\x80",
                                     "\x7F\x0E\x0D\x0C"};
  const std::string_view faults[] = {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xE3\x81", "\xF8"};
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t length = random() % 4000;
    while (text.size() < length) {
      // A NUL now and then, as files rarely have one.
      text += random() % 100 == 0 ? std::string(1, '\0')
                                  : std::string(pieces[random() % std::size(pieces)]);
    }
    // A fault in every fourth text, anywhere, even after a NUL.
    if (round % 4 == 0)
      text.insert(random() % (text.size() + 1), faults[random() % std::size(faults)]);
    SCOPED_TRACE("round " + std::to_string(round));
    const auto b = B(text);
    const auto whole = DecodeUtf8Strict(b.data(), b.size());
    if (!whole) {
      EXPECT_THROW(DecodeUtf8FileLines(b, kFlag), UserError);
      continue;
    }
    const auto packed = DecodeUtf8FileLines(b, kFlag);
    EXPECT_EQ(ToUtf8(*whole), text);
    const auto lines = SplitLines(*whole);
    ASSERT_EQ(packed.flagged.size(), lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
      EXPECT_EQ(Line(packed, k), lines[k]);
      EXPECT_EQ(packed.flagged[k], lines[k].find(kFlag) != std::u16string::npos);
    }
  }
}

TEST(ByteOrderMarks, AreDetectedAndMeasured) {
  struct Case {
    std::string_view bytes;
    Encoding encoding;
    std::size_t length;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF"
       "x",
       Encoding::kUtf8, 3},
      {"\xFF\xFE"
       "x\x00",
       Encoding::kUtf16Le, 2},
      {"\xFE\xFF\x00"
       "x",
       Encoding::kUtf16Be, 2},
      {"\xEF\xBB", Encoding::kAnsi, 0},
      {"\xFF", Encoding::kAnsi, 0},
      {"abc", Encoding::kAnsi, 0},
      {"", Encoding::kAnsi, 0},
  };
  for (const auto& c : cases) {
    const auto b = B(c.bytes);
    const Mark mark = DetectMark(b.data(), b.size());
    EXPECT_EQ(mark.encoding, c.encoding) << testing::PrintToString(c.bytes);
    EXPECT_EQ(mark.length, c.length);
  }
}

TEST(Utf16, DecodesBothByteOrdersAndDropsAnOddByte) {
  const auto le =
      B("A\x00\x53\x30\x3D\xD8\x00\xDE"
        "z");  // A, こ, U+1F600, odd byte
  EXPECT_EQ(DecodeUtf16(le.data(), le.size(), false), u"Aこ\U0001F600");
  const auto be = B("\x00\x41\x30\x53");
  EXPECT_EQ(DecodeUtf16(be.data(), be.size(), true), u"Aこ");
  EXPECT_EQ(EncodeUtf16(u"Aこ", true), be);
}

TEST(StandardErrorBox, AppendsAFullStopAfterCharactersAboveIt) {
  struct Case {
    std::u16string_view text, shown;
  };
  const Case cases[] = {
      {u"abc", u"abc."},  {u"abc.", u"abc."},  {u"abc-", u"abc-"},  // '-' is below '.'
      {u"abc ", u"abc "}, {u"abc/", u"abc/."}, {u"開けません", u"開けません."},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(StandardErrorText(c.text), c.shown) << test::Utf8(c.text);
}

}  // namespace
}  // namespace quillomi::phrases
