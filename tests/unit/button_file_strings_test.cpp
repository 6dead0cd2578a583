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
      {u"[a]x[b]y", u"b", u"b", u"y"},  // the last "[" opens the label
      {u"[label]text[Enter無し]", u"Enter無し", u"Enter", u""},
      {u"[p]q]r", u"p", u"p", u"r"},     // the label ends at the first "]", the hint after the last
      {u"x]y[z", u"z", u"z", u"x]y[z"},  // no "[" before the last "]": no hint cut
      {u"abc]def", u"abc", u"abc", u"abc]def"},
      {u"[abc", u"abc", u"abc", u"[abc"},
      {u"[]x", u"", u"", u"x"},
      {u"", u"", u"", u""},
      {u"［全角］本文", u"［全角］本文", u"［全角］本", u"［全角］本文"},  // not brackets
      {u"[12345]x", u"12345", u"12345", u"x"},
      {u"[123456]x", u"123456", u"12345", u"x"},
      // Five UTF-16 units: a pair cut at the fifth keeps its high surrogate alone.
      {u"[あいう𠮷え]x", u"あいう𠮷え", u"あいう𠮷", u"x"},
      {u"[あいうえ𠮷]x", u"あいうえ𠮷", u"あいうえ\xD842", u"x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::Utf8(c.line));
    const auto label = ButtonLabel(c.line);
    EXPECT_EQ(label, c.label);
    EXPECT_EQ(ButtonCaption(label), c.caption);
    EXPECT_EQ(ButtonHint(c.line), c.hint);
  }
}

}  // namespace
}  // namespace quillomi::phrases
