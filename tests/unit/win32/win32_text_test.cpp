// The system's code page as the program meets it: these run under Wine with
// LANG=ja_JP.UTF-8, where the ANSI code page is 932 as on a Japanese Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::B;
using quillomi::test::Utf8;

class Win32Text : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::GetACP(), 932U) << "the ANSI code page must be 932 (LANG=ja_JP.UTF-8 under Wine)";
  }
  std::u16string Decode(const platform::Bytes& bytes) {
    return text_.DecodeAnsi(bytes.data(), bytes.size());
  }
  Win32Platform platform_;
  platform::Text& text_ = platform_.Get().text;
};

TEST_F(Win32Text, ShiftJisRoundTripsByteForByte) {
  struct Case {
    std::string_view bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"", u""},
      {"abc 123", u"abc 123"},
      {"\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x90\xA2\x8A\x45", u"こんにちは世界"},
      {"\xB1\xB2\xB3", u"ｱｲｳ"},       // half-width katakana, one byte each
      {"\x83\x5C\x95\x5C", u"ソ表"},  // trail byte 0x5C is no backslash
      {"\x5C", u"\\"},                // nor is a lone 0x5C a yen sign
      {"\x81\x60", u"\uFF5E"},        // the wave dash is Windows' full-width tilde
      {"\x81\xCA", u"\uFFE2"},        // not sign
      {"\x87\x40", u"①"},             // NEC special characters
      {"[\x8E\x51\x89\xC1]\x81\x40/ ok", u"[参加]\u3000/ ok"},
      {std::string_view("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(B(c.bytes)), c.text) << Utf8(c.text);
    EXPECT_EQ(text_.EncodeAnsi(c.text), B(c.bytes)) << Utf8(c.text);
  }
}

TEST_F(Win32Text, WhatTheCodePageLacksBecomesItsDefaultCharacter) {
  struct Case {
    std::u16string text;
    std::string_view bytes;
  };
  const Case cases[] = {
      {u"a\u0E01b", "a?b"},            // Thai
      {u"\uD55C\uAE00", "??"},         // Hangul
      {u"\u3042\u0E01", "\x82\xA0?"},  // next to a double-byte character
  };
  for (const auto& c : cases) EXPECT_EQ(text_.EncodeAnsi(c.text), B(c.bytes)) << Utf8(c.text);
}

TEST_F(Win32Text, InvalidShiftJisDecodesLeniently) {
  struct Case {
    std::string_view bytes;
    std::u16string_view before;
    std::u16string_view after;
  };
  const Case cases[] = {
      {"A\x81\x20Z", u"A", u"Z"},  // lead byte with a trail byte out of range
      {"A\x85\x40Z", u"A", u"Z"},  // unassigned double-byte code
      {"A\xFFZ", u"A", u"Z"},      // byte that is no character at all
      {"A\x82", u"A", u""},        // lead byte cut off at the end
  };
  for (const auto& c : cases) {
    std::u16string decoded;
    ASSERT_NO_THROW(decoded = Decode(B(c.bytes))) << c.bytes;
    EXPECT_TRUE(decoded.starts_with(c.before)) << Utf8(decoded);
    EXPECT_TRUE(decoded.ends_with(c.after)) << Utf8(decoded);
    EXPECT_GT(decoded.size(), c.before.size() + c.after.size())
        << "the bad bytes stand for something: " << Utf8(decoded);
  }
}

TEST_F(Win32Text, UpperCaseCoversAsciiAndFullWidthLatinOnly) {
  struct Case {
    std::u16string text;
    std::u16string upper;
  };
  const Case cases[] = {
      {u"", u""},
      {u"abc xyz 09", u"ABC XYZ 09"},
      {u"ａｂｃｘｙｚ", u"ＡＢＣＸＹＺ"},
      {u"ひらがな カタカナ ｶﾀｶﾅ ぁゃ", u"ひらがな カタカナ ｶﾀｶﾅ ぁゃ"},
      {u"[pt]よろしくb", u"[PT]よろしくB"},
      {u"äöüé", u"ÄÖÜÉ"},
  };
  for (const auto& c : cases) {
    std::u16string text = c.text;
    text_.UpperCaseInPlace(text);
    EXPECT_EQ(text, c.upper) << Utf8(c.text);
  }
}

}  // namespace
}  // namespace quillomi::win32
