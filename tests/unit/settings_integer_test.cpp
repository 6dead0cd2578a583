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
      {u"160", 160},
      {u"+5", 5},
      {u"  -5", -5},           // leading spaces are skipped...
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
      {u"$FFFFFFFF", -1},  // eight digits are a 32-bit pattern
      {u"$80000000", kMin},
      {u"$100000000", std::nullopt},  // nine digits
      {u"$000000001", std::nullopt},  // nine digits, even as leading zeros
      {u"-$FF", -255},                // the sign stands before the prefix
      {u"-0x10", -16},
      {u"-$80000000", kMin},  // negating the pattern wraps around
      {u"$-5", std::nullopt},
      {u"$", std::nullopt},
      {u"$1G", std::nullopt},
      {u"", std::nullopt},
      {u"12pt", std::nullopt},
      {u"１２", std::nullopt},  // full-width digits are not digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSettingsInteger(c.text), c.value) << test::Utf8(c.text);
  }
}

TEST(SettingsInteger, ReadsIntegersAndFlagsWithTheDefaultWhenNoInteger) {
  // Flags read once with each default, which tells a parsed value from a default.
  struct Case {
    std::string_view entry;
    std::int32_t integer;
    bool flag_by_default_true, flag_by_default_false;
  };
  const Case cases[] = {
      {"Key=12pt", 10, true, false},     {"Key", 10, true, false},  // a bare line matches no key
      {"Key =  14 ", 14, true, true},  // blanks around "=" and at the end go at loading
      {"KEY=$FFFFFFFF", -1, true, true}, {"Key=0", 0, false, false}, {"KeyX=0", 10, true, false},
      {"Key=1=2", 10, true, false},  // the value is everything after the first "="
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(u"C:\\s.ini", "[System]\r\n" + std::string(c.entry) + "\r\n");
    const auto document = SettingsDocument::Open(fake, u"C:\\s.ini");
    EXPECT_EQ(document.ReadInteger(u"System", u"Key", 10), c.integer) << c.entry;
    EXPECT_EQ(document.ReadFlag(u"System", u"Key", true), c.flag_by_default_true) << c.entry;
    EXPECT_EQ(document.ReadFlag(u"System", u"Key", false), c.flag_by_default_false) << c.entry;
  }
}

}  // namespace
}  // namespace quillomi::phrases
