#include <gtest/gtest.h>

#include "phrases/button_file.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

TEST(ButtonStrings, LabelCaptionAndHintFollowTheBracketRules) {
  struct Case {
    std::u16string_view line, label, caption, hint;
  };
  const Case cases[] = {
      {u"[挨拶]こんにちは", u"挨拶", u"挨拶", u"こんにちは"},
      {u"こんにちは", u"こんにちは", u"こんにちは", u"こんにちは"},
      {u"[ラベルが長い名前]本文", u"ラベルが長い名前", u"ラベルが長", u"本文"},
      {u"[a]x[b]y", u"b", u"b", u"y"},
      {u"[Enter無し][label]text", u"label", u"label", u"text"},
      {u"[label]text[Enter無し]", u"Enter無し", u"Enter", u""},
      {u"[p]q]r", u"p", u"p", u"r"},
      {u"x]y[z", u"z", u"z", u"x]y[z"},
      {u"abc]def", u"abc", u"abc", u"abc]def"},
      {u"[abc", u"abc", u"abc", u"[abc"},
      {u"[]x", u"", u"", u"x"},
      {u"［全角］本文", u"［全角］本文", u"［全角］本", u"［全角］本文"},
      {u"[7]\u3000", u"7", u"7", u"\u3000"},
      {u"", u"", u"", u""},
      // Beyond the documented examples:
      {u"[", u"", u"", u"["},
      {u"]", u"", u"", u"]"},
      {u"[]", u"", u"", u""},
      {u"][", u"", u"", u"]["},
      {u"a[b]c]d", u"b", u"b", u"d"},
      {u"[12345]x", u"12345", u"12345", u"x"},
      {u"[123456]x", u"123456", u"12345", u"x"},
      {u"[LABEL]Text", u"LABEL", u"LABEL", u"Text"},  // case plays no part
  };
  for (const auto& c : cases) {
    const auto label = ButtonLabel(c.line);
    EXPECT_EQ(label, c.label) << test::Utf8(c.line);
    EXPECT_EQ(ButtonCaption(label), c.caption) << test::Utf8(c.line);
    EXPECT_EQ(ButtonHint(c.line), c.hint) << test::Utf8(c.line);
  }
}

TEST(ButtonStrings, TheCaptionCountsUtf16CodeUnits) {
  // 𠮷 (U+20BB7) is two units. At the fifth unit the pair is whole; at the
  // fourth and fifth its high half is all the caption keeps.
  struct Case {
    std::u16string_view label, caption;
  };
  const Case cases[] = {
      {u"あいう𠮷え", u"あいう𠮷"},
      {u"あいうえ𠮷", u"あいうえ\xD842"},
      {u"𠮷𠮷𠮷", u"𠮷𠮷\xD842"},
      {u"𠮷", u"𠮷"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ButtonCaption(c.label), c.caption) << test::Utf8(c.label);
    EXPECT_EQ(ButtonCaption(c.label).size(), std::min<std::size_t>(c.label.size(), 5));
  }
}

TEST(ButtonStrings, PlaceholdersCarryTheButtonNumberAndAnIdeographicSpace) {
  EXPECT_EQ(PlaceholderLine(1), u"[1]\u3000");
  EXPECT_EQ(PlaceholderLine(7), u"[7]　");
  EXPECT_EQ(PlaceholderLine(59), u"[59]\u3000");
}

}  // namespace
}  // namespace quillomi::phrases
