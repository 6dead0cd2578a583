// How values of the settings file read as integers. Decisions beyond the
// documented examples are spelled out in the table's comments.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "phrases/settings.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(SettingsInteger, ParsesTheLenientSyntax) {
  struct Case {
    std::u16string_view text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {u"0", 0},
      {u"160", 160},
      {u"+5", 5},
      {u"-5", -5},
      {u"-0", 0},
      {u"007", 7},  // leading zeros are digits like any other
      {u" 5", 5},   // leading spaces are skipped...
      {u"  -5", -5},
      {u"5 ", std::nullopt},   // ...trailing ones are not
      {u"- 5", std::nullopt},  // nor a space after the sign
      {u"2147483647", kMax},
      {u"2147483648", std::nullopt},
      {u"-2147483648", kMin},
      {u"-2147483649", std::nullopt},
      {u"99999999999999999999", std::nullopt},
      {u"00000000000000000012", 12},  // the value counts, not the digits
      {u"0x0C", 12},
      {u"0X0c", 12},
      {u"$C", 12},
      {u"x0c", 12},
      {u"X0C", 12},
      {u"$FFFFFFFF", -1},
      {u"$7FFFFFFF", kMax},
      {u"$80000000", kMin},
      {u"$100000000", std::nullopt},  // nine digits
      {u"$000000001", std::nullopt},  // nine digits, even as leading zeros
      {u"-$FF", -255},                // the sign stands before the prefix
      {u"+$FF", 255},
      {u"-0x10", -16},        // not "0x" at the start, so read as its own prefix
      {u"-$80000000", kMin},  // negating the pattern wraps around
      {u"-$FFFFFFFF", 1},
      {u"$-5", std::nullopt},
      {u"$", std::nullopt},
      {u"x", std::nullopt},
      {u"0x", std::nullopt},  // too short to become "$", then a prefix without digits
      {u"0x0", 0},
      {u"0xG", std::nullopt},
      {u"$1G", std::nullopt},
      {u"", std::nullopt},
      {u"-", std::nullopt},
      {u"+", std::nullopt},
      {u"--5", std::nullopt},
      {u"12pt", std::nullopt},
      {u"false", std::nullopt},
      {u"1e3", std::nullopt},
      {u"1.0", std::nullopt},
      {u"１２", std::nullopt},  // full-width digits are not digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSettingsInteger(c.text), c.value) << test::Utf8(c.text);
  }
}

TEST(SettingsInteger, ReadsTheDefaultWheneverTheValueIsNoInteger) {
  struct Case {
    std::string_view entry;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"edtTxtFontSize=0x0C", 12},
      {"edtTxtFontSize=$C", 12},
      {"edtTxtFontSize=x0c", 12},
      {"edtTxtFontSize=12pt", 10},
      {"edtTxtFontSize=", 10},
      {"edtTxtFontSize", 10},         // a bare line matches no key
      {"edtTxtFontSize =  14 ", 14},  // blanks around "=" and at the end go at loading
      {"edtTxtFontSize=\t14\t", 14},
      {"EDTTXTFONTSIZE=9", 9},
      {"edtTxtFontSizeX=9", 10},
      {"edtTxtFontSize=2147483648", 10},
      {"edtTxtFontSize=-2147483648", kMin},
      {"edtTxtFontSize=$FFFFFFFF", -1},
      {"edtTxtFontSize=1=2", 10},  // the value is everything after the first "="
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(u"C:\\s.ini", "[System]\r\n" + std::string(c.entry) + "\r\n");
    const auto document = SettingsDocument::Open(fake, u"C:\\s.ini");
    EXPECT_EQ(document.ReadInteger(u"System", u"edtTxtFontSize", 10), c.expected) << c.entry;
  }
}

TEST(SettingsInteger, FlagsAreTrueUnlessZero) {
  // Read once with each default, which tells a parsed value from a default.
  struct Case {
    std::string_view entry;
    bool default_true, default_false;
  };
  const Case cases[] = {
      {"ShowTitleBar=0", false, false},  {"ShowTitleBar=1", true, true},
      {"ShowTitleBar=2", true, true},    {"ShowTitleBar=-1", true, true},
      {"ShowTitleBar=$0", false, false}, {"ShowTitleBar=false", true, false},
      {"ShowTitleBar=", true, false},    {"Other=0", true, false},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(u"C:\\s.ini", "[System]\n" + std::string(c.entry) + "\n");
    const auto document = SettingsDocument::Open(fake, u"C:\\s.ini");
    EXPECT_EQ(document.ReadFlag(u"System", u"ShowTitleBar", true), c.default_true) << c.entry;
    EXPECT_EQ(document.ReadFlag(u"System", u"ShowTitleBar", false), c.default_false) << c.entry;
  }
}

}  // namespace
}  // namespace quillomi::phrases
