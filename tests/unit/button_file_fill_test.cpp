#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "phrases/button_file.h"
#include "phrases/safe_write.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kPath = u"C:\\Games\\Quillomi\\QLMO_ボタン_ユーザー設定.txt";

template <std::size_t N>
std::string S(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

using ButtonCall = std::tuple<int, std::u16string, std::u16string>;  // number, caption, hint

// The button file on disk and what the panel shows of it.
struct Panel : ButtonView {
  explicit Panel(std::string_view content) { fake.PutFile(kPath, content); }
  void SetButton(int number, std::u16string caption, std::u16string hint) override {
    calls.emplace_back(number, std::move(caption), std::move(hint));
  }
  void Fill() { FillButtonFile(fake.Get(), kPath, list_box1, *this); }
  void Load() { LoadButton(fake.Get(), kPath, list_box1, *this); }
  fake::FakePlatform fake;
  std::vector<std::u16string> list_box1;
  std::vector<ButtonCall> calls;
};

enum Form { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// The lines "[n]" U+3000 CR LF of buttons `from` to 59, spelled out per form
// (U+3000 is 81 40 in code page 932).
std::string Placeholders(int from, Form form) {
  const std::string tail[] = {"\x81\x40\r\n", "\xE3\x80\x80\r\n", S("\0\x30\r\0\n\0"),
                              S("\x30\0\0\r\0\n")};
  std::string out;
  for (int n = from; n <= 59; ++n) {
    for (char c : "[" + std::to_string(n) + "]") {
      if (form == kUtf16Be) out += '\0';
      out += c;
      if (form == kUtf16Le) out += '\0';
    }
    out += tail[form];
  }
  return out;
}

std::string Lines(int count) {
  std::string out;
  for (int n = 1; n <= count; ++n) out += "[L" + std::to_string(n) + "]text\r\n";
  return out;
}

TEST(FillButtonFile, FillsUpOnceInTheEncodingItReadKeepingWhatTheReadingSkips) {
  struct Case {
    const char* name;
    std::string original, expected;  // expected empty: left as it is
    std::u16string_view first;       // line read back; empty: the fake's code page, unchecked
    std::size_t lines = 59;          // in ListBox1
  };
  // こ and y, joined by a lone CR or LF, with no break at the end.
  const Case cases[] = {
      {"empty", "", Placeholders(1, kAnsi), u"[1]\u3000"},
      {"ANSI", S("\x82\xB1\ry"), S("\x82\xB1\r\ny\r\n") + Placeholders(3, kAnsi), u"こ"},
      {"UTF-8 mark", S("\xEF\xBB\xBF\xE3\x81\x93\ny"),
       S("\xEF\xBB\xBF\xE3\x81\x93\r\ny\r\n") + Placeholders(3, kUtf8), u"こ"},
      {"UTF-8, no mark", S("\xE3\x81\x93\ny"), S("\xE3\x81\x93\r\ny\r\n") + Placeholders(3, kUtf8),
       u"こ"},
      {"UTF-16 LE", S("\xFF\xFE\x53\x30\n\0y\0"),
       S("\xFF\xFE\x53\x30\r\0\n\0y\0\r\0\n\0") + Placeholders(3, kUtf16Le), u"こ"},
      {"UTF-16 BE", S("\xFE\xFF\x30\x53\0\r\0y"),
       S("\xFE\xFF\x30\x53\0\r\0\n\0y\0\r\0\n") + Placeholders(3, kUtf16Be), u"こ"},
      {"UTF-8 mark alone", S("\xEF\xBB\xBF"), S("\xEF\xBB\xBF") + Placeholders(1, kUtf8),
       u"[1]\u3000"},
      {"UTF-16 mark alone", S("\xFF\xFE"), S("\xFF\xFE") + Placeholders(1, kUtf16Le), u"[1]\u3000"},
      // Not UTF-8 without a mark: the code page, leniently, bytes kept as they were.
      {"code page, then UTF-8", S("\x82\xB1\xE3\x81\x93"),
       S("\x82\xB1\xE3\x81\x93\r\n") + Placeholders(2, kAnsi), u""},
      {"unmapped bytes", S("\x81\x7F\x82\xA0\n"),
       S("\x81\x7F\x82\xA0\r\n") + Placeholders(2, kAnsi), u""},
      {"half-width katakana that look like UTF-8", S("[\xC3\xBD]\xC3\xBD"),
       S("[\xC3\xBD]\xC3\xBD\r\n") + Placeholders(2, kAnsi), u"[ﾃｽ]ﾃｽ"},
      {"every break", "a\nb\rc\r\nd\n\re", "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n" + Placeholders(7, kAnsi),
       u"a"},
      {"empty last line, lone CR", "a\r\n\r", "a\r\n\r\n" + Placeholders(3, kAnsi), u"a"},
      {"58 lines", Lines(58), Lines(58) + Placeholders(59, kAnsi), u"[L1]text"},
      {"59 lines, LF not normalised", "a\n" + Lines(58), "", u"a"},
      {"70 lines", Lines(70), "", u"[L1]text", 70},
      // The placeholders go in where the text stops; what follows is kept.
      {"NUL, UTF-8 after it", S("a\r\nb\0tail\r\n\xE3\x81\x93"),
       "a\r\nb\r\n" + Placeholders(3, kUtf8) + S("\0tail\r\n\xE3\x81\x93"), u"a"},
      {"NUL first", S("\0tail"), Placeholders(1, kAnsi) + S("\0tail"), u"[1]\u3000"},
      {"NUL in UTF-16", S("\xFF\xFEz\0\0\0q\0"),
       S("\xFF\xFEz\0\r\0\n\0") + Placeholders(2, kUtf16Le) + S("\0\0q\0"), u"z"},
      {"odd byte, UTF-16 LE", S("\xFF\xFEz\0\n\0Q"),
       S("\xFF\xFEz\0\r\0\n\0") + Placeholders(2, kUtf16Le) + "Q", u"z"},
      {"odd byte, UTF-16 BE", S("\xFE\xFF\0z\0\nQ"),
       S("\xFE\xFF\0z\0\r\0\n") + Placeholders(2, kUtf16Be) + "Q", u"z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Panel panel(c.original);
    panel.Fill();
    const bool written = !c.expected.empty();
    const std::string& expected = written ? c.expected : c.original;
    EXPECT_EQ(panel.fake.FileText(kPath), expected);
    const std::string path = fake::Quote(kPath), temporary = fake::Quote(TemporaryPathFor(kPath)),
                      backup = fake::Quote(TemporaryPathFor(kPath, 1));
    // Read once; read again only what was written.
    std::vector<std::string> log{"read " + path};
    if (written) {
      log.insert(log.end(),
                 {"remove " + temporary,
                  "write " + temporary + " " + std::to_string(expected.size()) + " bytes",
                  "remove " + backup, "replace " + temporary + " -> " + path + " backup " + backup,
                  "remove " + backup, "read " + path});
    }
    EXPECT_EQ(panel.fake.Log(), log);
    ASSERT_EQ(panel.list_box1.size(), c.lines);
    if (!c.first.empty()) {
      EXPECT_EQ(panel.list_box1[0], c.first);
    }
    EXPECT_EQ(panel.calls.size(), 59u);  // lines past 59 change no button

    // The next start reads 59 lines and leaves the file alone.
    panel.fake.ClearLog();
    panel.Fill();
    EXPECT_TRUE(panel.fake.LogWith({"write"}).empty());
    EXPECT_EQ(panel.fake.FileText(kPath), expected);
  }
}

TEST(FillButtonFile, AFailedReadStopsBeforeAnyButtonChanges) {
  const std::string invalid = S("\xEF\xBB\xBF[a]b\r\n\x82\xB1\r\n");  // not UTF-8 after the mark
  for (bool reload : {false, true}) {
    SCOPED_TRACE(reload ? "reload" : "fill");
    Panel panel(invalid);
    panel.list_box1 = {u"from the last load"};
    EXPECT_EQ(test::ErrorOf([&] { reload ? panel.Load() : panel.Fill(); }),
              messages::kMappingError);
    EXPECT_TRUE(panel.list_box1.empty());
    EXPECT_TRUE(panel.calls.empty());
    EXPECT_EQ(panel.fake.FileText(kPath), invalid);
    EXPECT_TRUE(panel.fake.LogWith({"write"}).empty());
  }
}

TEST(FillButtonFile, AWriteFailingAtAnyByteLeavesTheFileAsItWas) {
  const std::string original = S("\xEF\xBB\xBF[a]b\n[c]d");
  const std::size_t size = original.size() + 3 + Placeholders(3, kUtf8).size();
  for (std::size_t offset = 0; offset <= size; ++offset) {
    SCOPED_TRACE(offset);
    Panel panel(original);
    panel.fake.write_faults[TemporaryPathFor(kPath)] = {offset, u"ディスクがいっぱいです"};
    EXPECT_EQ(test::ErrorOf([&] { panel.Fill(); }),
              u"ファイル \"C:\\Games\\Quillomi\\QLMO_ボタン_ユーザー設定.txt\" を作成できません。"
              u"ディスクがいっぱいです");
    EXPECT_EQ(panel.fake.FileText(kPath), original);
    EXPECT_FALSE(panel.fake.files.contains(TemporaryPathFor(kPath)));
    EXPECT_TRUE(panel.calls.empty());  // LoadButton did not run
  }
}

// Without a mark, UTF-8 needs a sequence of three bytes or more, as every kana
// and kanji is in it; code page 932 text whose half-width katakana pair up as
// valid two-byte UTF-8 stays code page 932.
TEST(DecodeButtonFile, WithoutAMarkUtf8NeedsASequenceOfThreeBytesOrMore) {
  struct Case {
    const char* name;
    std::string bytes;
    Encoding encoding;
    std::u16string text;
  };
  const Case cases[] = {
      {"ASCII", "[a]b\r\n", Encoding::kAnsi, u"[a]b\r\n"},
      {"UTF-8 kana", "[\xE6\x8C\xA8]\xE3\x81\x93", Encoding::kUtf8, u"[挨]こ"},
      {"UTF-8 four bytes", "\xF0\x9F\x98\x80", Encoding::kUtf8, u"\U0001F600"},
      {"UTF-8 kana and Latin", "caf\xC3\xA9 \xE3\x81\x93", Encoding::kUtf8, u"café こ"},
      {"ﾃｽ, C3 BD", "[\xC3\xBD]\xC3\xBD", Encoding::kAnsi, u"[ﾃｽ]ﾃｽ"},
      {"ﾃｽﾄ。, C3 BD C4 81 42", "\xC3\xBD\xC4\x81\x42", Encoding::kAnsi, u"ﾃｽﾄ。"},
      {"ｱﾘｶﾞﾄ, not UTF-8", "\xB1\xD8\xB6\xDE\xC4", Encoding::kAnsi, u"ｱﾘｶﾞﾄ"},
      {"こ in code page 932", "\x82\xB1", Encoding::kAnsi, u"こ"},
      // The price: two-byte UTF-8 alone reads in the code page (a mark makes it UTF-8).
      {"UTF-8 Latin alone", "caf\xC3\xA9", Encoding::kAnsi, u"cafﾃｩ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform fake;
    const auto decoded = DecodeButtonFile(fake, test::B(c.bytes));
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.mark_length, 0u);
    EXPECT_EQ(decoded.text, c.text) << test::Utf8(decoded.text);
  }
}

// A lead byte right before CR or LF: whether the code page reads the two as one
// character (Wine's decoder does) or not (iconv does), the byte walk that
// places the placeholders breaks lines where the reading did.
TEST(FillButtonFile, ALeadByteBeforeABreakNeverPutsThePlaceholdersOneLineLate) {
  for (bool takes_next : {false, true}) {
    for (const auto& c : test::LeadByteCases()) {
      fake::FakePlatform fake;
      fake.lead_byte_takes_next = takes_next;
      fake.files[kPath] = c.File();
      EXPECT_EQ(test::FillUpProblems(fake.Get(), kPath, c.File()), "")
          << c.Name() << (takes_next ? ", lead byte takes the next" : ", iconv");
    }
  }
}

TEST(LoadButton, AReloadChangesOnlyTheButtonsThatHaveALine) {
  Panel panel(Lines(59));
  panel.Load();
  EXPECT_EQ(panel.calls.size(), 59u);
  panel.fake.PutFile(kPath, "[x]1\r\n[y]2\r\n[z]3");
  panel.fake.ClearLog();
  panel.calls.clear();
  panel.Load();
  EXPECT_EQ(panel.calls,
            (std::vector<ButtonCall>{{1, u"x", u"1"}, {2, u"y", u"2"}, {3, u"z", u"3"}}));
  EXPECT_EQ(panel.list_box1.size(), 3u);
  EXPECT_EQ(panel.fake.Log(), std::vector<std::string>{"read " + fake::Quote(kPath)});
}

}  // namespace
}  // namespace quillomi::phrases
