#include <gtest/gtest.h>

#include <functional>

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

struct ButtonCall {
  int number;
  std::u16string caption, hint;
  friend bool operator==(const ButtonCall&, const ButtonCall&) = default;
  friend void PrintTo(const ButtonCall& c, std::ostream* os) {
    *os << c.number << " " << test::Utf8(c.caption) << " | " << test::Utf8(c.hint);
  }
};

class RecordingButtons : public ButtonView {
 public:
  void SetButton(int number, std::u16string caption, std::u16string hint) override {
    calls.push_back({number, std::move(caption), std::move(hint)});
  }
  std::vector<ButtonCall> calls;
};

enum class Form { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// The placeholder lines from button `from` to 59, each with CR LF, spelled out
// byte by byte: U+3000 is 81 40 in code page 932.
std::string Placeholders(int from, Form form) {
  std::string out;
  auto put16 = [&](char16_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    if (form == Form::kUtf16Be) {
      out += high;
      out += low;
    } else {
      out += low;
      out += high;
    }
  };
  for (int n = from; n <= 59; ++n) {
    const std::string ascii = "[" + std::to_string(n) + "]";
    if (form == Form::kAnsi || form == Form::kUtf8) {
      out += ascii + (form == Form::kAnsi ? "\x81\x40" : "\xE3\x80\x80") + "\r\n";
    } else {
      for (char c : ascii) put16(static_cast<char16_t>(c));
      for (char16_t unit : u"\u3000\r\n") {
        if (unit != 0) put16(unit);
      }
    }
  }
  return out;
}

std::vector<ButtonCall> PlaceholderCalls(int from) {
  std::vector<ButtonCall> calls;
  for (int n = from; n <= 59; ++n) {
    std::u16string number;
    for (char c : std::to_string(n)) number += static_cast<char16_t>(c);
    calls.push_back({n, number, u"\u3000"});
  }
  return calls;
}

std::vector<ButtonCall> Concat(std::vector<ButtonCall> head, const std::vector<ButtonCall>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::string Lines(int count) {
  std::string out;
  for (int n = 1; n <= count; ++n) out += "[L" + std::to_string(n) + "]text\r\n";
  return out;
}

std::u16string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const UserError& e) {
    return e.text();
  }
  return u"(no error)";
}

TEST(FillButtonFile, AnEmptyFileBecomesFiftyNinePlaceholders) {
  fake::FakePlatform fake;
  fake.PutFile(kPath, "");
  std::vector<std::u16string> list_box1;
  RecordingButtons buttons;
  FillButtonFile(fake.Get(), kPath, list_box1, buttons);

  EXPECT_EQ(fake.FileText(kPath), Placeholders(1, Form::kAnsi));
  EXPECT_EQ(list_box1.size(), 59u);
  EXPECT_EQ(list_box1.front(), u"[1]\u3000");
  EXPECT_EQ(list_box1.back(), u"[59]\u3000");
  EXPECT_EQ(buttons.calls, PlaceholderCalls(1));
  const std::string path = fake::Quote(kPath), temporary = fake::Quote(TemporaryPathFor(kPath));
  EXPECT_EQ(fake.Log(), (std::vector<std::string>{
                            "read " + path,
                            "write " + temporary + " " +
                                std::to_string(Placeholders(1, Form::kAnsi).size()) + " bytes",
                            "replace " + temporary + " -> " + path,
                            "read " + path,
                        }));
}

TEST(FillButtonFile, WritesBackInTheEncodingItRead) {
  struct Case {
    const char* name;
    std::string original, expected;
  };
  // Two lines, [挨拶]こ and [b]y, with an LF or a lone CR between them and no
  // break at the end.
  const Case cases[] = {
      {"ANSI code page", S("[\x88\xA5\x8E\x41]\x82\xB1\r[b]y"),
       S("[\x88\xA5\x8E\x41]\x82\xB1\r\n[b]y\r\n") + Placeholders(3, Form::kAnsi)},
      {"UTF-8 with its mark", S("\xEF\xBB\xBF[\xE6\x8C\xA8\xE6\x8B\xB6]\xE3\x81\x93\n[b]y"),
       S("\xEF\xBB\xBF[\xE6\x8C\xA8\xE6\x8B\xB6]\xE3\x81\x93\r\n[b]y\r\n") +
           Placeholders(3, Form::kUtf8)},
      {"UTF-8 without a mark, as Notepad saves it",
       S("[\xE6\x8C\xA8\xE6\x8B\xB6]\xE3\x81\x93\n[b]y"),
       S("[\xE6\x8C\xA8\xE6\x8B\xB6]\xE3\x81\x93\r\n[b]y\r\n") + Placeholders(3, Form::kUtf8)},
      {"UTF-16 little-endian", S("\xFF\xFE[\0\x28\x63\xF6\x62]\0\x53\x30\n\0[\0b\0]\0y\0"),
       S("\xFF\xFE[\0\x28\x63\xF6\x62]\0\x53\x30\r\0\n\0[\0b\0]\0y\0\r\0\n\0") +
           Placeholders(3, Form::kUtf16Le)},
      {"UTF-16 big-endian", S("\xFE\xFF\0[\x63\x28\x62\xF6\0]\x30\x53\0\r\0[\0b\0]\0y"),
       S("\xFE\xFF\0[\x63\x28\x62\xF6\0]\x30\x53\0\r\0\n\0[\0b\0]\0y\0\r\0\n") +
           Placeholders(3, Form::kUtf16Be)},
  };
  const auto expected_calls = Concat({{1, u"挨拶", u"こ"}, {2, u"b", u"y"}}, PlaceholderCalls(3));
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.original);
    std::vector<std::u16string> list_box1;
    RecordingButtons buttons;
    FillButtonFile(fake.Get(), kPath, list_box1, buttons);
    EXPECT_EQ(fake.FileText(kPath), c.expected) << c.name;
    EXPECT_EQ(buttons.calls, expected_calls) << c.name;
    ASSERT_EQ(list_box1.size(), 59u) << c.name;
    EXPECT_EQ(list_box1[0], u"[挨拶]こ") << c.name;
  }
}

TEST(FillButtonFile, OnlyAFileOfFewerThanFiftyNineLinesIsWritten) {
  struct Case {
    const char* name;
    std::string original, expected;  // expected empty: not written
    std::size_t lines;               // in ListBox1 afterwards
  };
  const Case cases[] = {
      {"one line, no break", "a", "a\r\n" + Placeholders(2, Form::kAnsi), 59},
      {"one line, one break", "a\r\n", "a\r\n" + Placeholders(2, Form::kAnsi), 59},
      {"two breaks make an empty last line", "a\r\n\r\n",
       "a\r\n\r\n" + Placeholders(3, Form::kAnsi), 59},
      {"a lone CR at the end", "a\r", "a\r\n" + Placeholders(2, Form::kAnsi), 59},
      {"a lone LF", "\n", "\r\n" + Placeholders(2, Form::kAnsi), 59},
      {"every kind of break", "a\nb\rc\r\nd\n\re",
       "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n" + Placeholders(7, Form::kAnsi), 59},
      {"58 lines", Lines(58), Lines(58) + Placeholders(59, Form::kAnsi), 59},
      {"59 lines", Lines(59), "", 59},
      {"59 lines with LF breaks are not normalised", "a\n" + Lines(58), "", 59},
      {"70 lines", Lines(70), "", 70},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.original);
    std::vector<std::u16string> list_box1;
    RecordingButtons buttons;
    FillButtonFile(fake.Get(), kPath, list_box1, buttons);
    const bool written = !c.expected.empty();
    EXPECT_EQ(fake.FileText(kPath), written ? c.expected : c.original) << c.name;
    EXPECT_EQ(fake.LogWith({"write", "replace"}).size(), written ? 2u : 0u) << c.name;
    EXPECT_EQ(list_box1.size(), c.lines) << c.name;
    ASSERT_EQ(buttons.calls.size(), 59u) << c.name;  // lines 60 and on change no button
    EXPECT_EQ(buttons.calls.back().number, 59) << c.name;
  }
}

TEST(FillButtonFile, KeepsWhatTheReadingSkipsAndIsNotRepeated) {
  struct Case {
    const char* name;
    std::string original, expected;
    std::vector<std::u16string> first_lines;
  };
  const Case cases[] = {
      // The placeholders go in where the text stops, so the next start reads 59 lines.
      {"text after a NUL",
       S("a\r\nb\0tail\r\nmore"),
       "a\r\nb\r\n" + Placeholders(3, Form::kAnsi) + S("\0tail\r\nmore"),
       {u"a", u"b"}},
      {"a NUL right at the start", S("\0tail"), Placeholders(1, Form::kAnsi) + S("\0tail"), {}},
      {"a NUL in UTF-16",
       S("\xFF\xFEz\0\0\0q\0"),
       S("\xFF\xFEz\0\r\0\n\0") + Placeholders(2, Form::kUtf16Le) + S("\0\0q\0"),
       {u"z"}},
      {"UTF-16 with an odd byte count",
       S("\xFF\xFEz\0\n\0Q"),
       S("\xFF\xFEz\0\r\0\n\0") + Placeholders(2, Form::kUtf16Le) + "Q",
       {u"z"}},
      {"bytes the code page does not map back",
       S("\x81\x7F\x82\xA0\n"),
       S("\x81\x7F\x82\xA0\r\n") + Placeholders(2, Form::kAnsi),
       {}},
      {"a mark and nothing else",
       S("\xEF\xBB\xBF"),
       S("\xEF\xBB\xBF") + Placeholders(1, Form::kUtf8),
       {}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, c.original);
    std::vector<std::u16string> list_box1;
    RecordingButtons buttons;
    FillButtonFile(fake.Get(), kPath, list_box1, buttons);
    EXPECT_EQ(fake.FileText(kPath), c.expected) << c.name;
    ASSERT_EQ(list_box1.size(), 59u) << c.name;
    for (std::size_t i = 0; i < c.first_lines.size(); ++i)
      EXPECT_EQ(list_box1[i], c.first_lines[i]) << c.name;

    fake.ClearLog();
    FillButtonFile(fake.Get(), kPath, list_box1, buttons);
    EXPECT_TRUE(fake.LogWith({"write"}).empty()) << c.name;
    EXPECT_EQ(fake.FileText(kPath), c.expected) << c.name;
  }
}

TEST(FillButtonFile, AFailedReadStopsBeforeAnyButtonChanges) {
  struct Case {
    const char* name;
    std::string content;
    std::u16string read_fault;
    std::u16string text;
  };
  const Case cases[] = {
      {"invalid UTF-8 after the mark", S("\xEF\xBB\xBF[a]b\r\n\x82\xB1\r\n"), u"",
       std::u16string(messages::kMappingError)},
      {"locked file", "[a]b\r\n",
       u"別のプロセスが使用中のため、プロセスはファイルにアクセスできません。",
       u"ファイル C:\\Games\\Quillomi\\QLMO_ボタン_ユーザー設定.txt は開けません。 "
       u"別のプロセスが使用中のため、プロセスはファイルにアクセスできません。 "},
  };
  for (const auto& c : cases) {
    for (bool reload : {false, true}) {
      fake::FakePlatform fake;
      fake.PutFile(kPath, c.content);
      if (!c.read_fault.empty()) fake.read_faults[kPath] = c.read_fault;
      std::vector<std::u16string> list_box1{u"from the last load"};
      RecordingButtons buttons;
      EXPECT_EQ(ErrorOf([&] {
                  reload ? LoadButton(fake.Get(), kPath, list_box1, buttons)
                         : FillButtonFile(fake.Get(), kPath, list_box1, buttons);
                }),
                c.text)
          << c.name;
      EXPECT_TRUE(list_box1.empty()) << c.name;
      EXPECT_TRUE(buttons.calls.empty()) << c.name;
      EXPECT_EQ(fake.FileText(kPath), c.content) << c.name;
      EXPECT_TRUE(fake.LogWith({"write"}).empty()) << c.name;
    }
  }
}

TEST(FillButtonFile, AWriteFailingAtAnyByteLeavesTheFileAsItWas) {
  const std::string original = S("\xEF\xBB\xBF[a]b\n[c]d");
  const std::size_t size = original.size() + 3 + Placeholders(3, Form::kUtf8).size();
  for (std::size_t offset = 0; offset <= size; ++offset) {
    fake::FakePlatform fake;
    fake.PutFile(kPath, original);
    fake.write_faults[TemporaryPathFor(kPath)] = {offset, u"ディスクに空き領域が不足しています"};
    std::vector<std::u16string> list_box1;
    RecordingButtons buttons;
    EXPECT_EQ(ErrorOf([&] { FillButtonFile(fake.Get(), kPath, list_box1, buttons); }),
              u"ファイル \"C:\\Games\\Quillomi\\QLMO_ボタン_ユーザー設定.txt\" を作成できません。"
              u"ディスクに空き領域が不足しています")
        << "offset " << offset;
    EXPECT_EQ(fake.FileText(kPath), original) << "offset " << offset;
    EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kPath))) << "offset " << offset;
    EXPECT_TRUE(buttons.calls.empty()) << "offset " << offset;  // LoadButton did not run
  }
}

TEST(LoadButton, AReloadChangesOnlyTheButtonsThatHaveALine) {
  fake::FakePlatform fake;
  fake.PutFile(kPath, Lines(59));
  std::vector<std::u16string> list_box1;
  RecordingButtons buttons;
  LoadButton(fake.Get(), kPath, list_box1, buttons);
  EXPECT_EQ(buttons.calls.size(), 59u);

  struct Case {
    const char* name;
    std::string content;
    std::vector<ButtonCall> calls;
  };
  const Case cases[] = {
      {"three lines left",
       "[x]1\r\n[y]2\r\n[z]3",
       {{1, u"x", u"1"}, {2, u"y", u"2"}, {3, u"z", u"3"}}},
      {"emptied file", "", {}},
      {"two breaks at the end: an empty last line",
       "[a]b\r\n\r\n",
       {{1, u"a", u"b"}, {2, u"", u""}}},
      {"a label cut inside a pair",
       "[あいうえ\xF0\xA0\xAE\xB7]x\r\n",
       {{1, u"あいうえ\xD842", u"x"}}},
  };
  for (const auto& c : cases) {
    fake.PutFile(kPath, c.content);
    fake.ClearLog();
    buttons.calls.clear();
    LoadButton(fake.Get(), kPath, list_box1, buttons);
    EXPECT_EQ(buttons.calls, c.calls) << c.name;
    EXPECT_EQ(list_box1.size(), c.calls.size()) << c.name;
    EXPECT_EQ(fake.Log(), std::vector<std::string>{"read " + fake::Quote(kPath)}) << c.name;
    EXPECT_EQ(fake.FileText(kPath), c.content) << c.name;
  }
}

TEST(ButtonFileDecoding, TheMarkDecidesAndUtf8WithoutOneIsRecognised) {
  struct Case {
    std::string bytes;
    Encoding encoding;
    std::size_t mark_length;
    std::u16string text;
  };
  const Case cases[] = {
      {"", Encoding::kAnsi, 0, u""},
      {"abc\r\n", Encoding::kAnsi, 0, u"abc\r\n"},
      {S("\x82\xB1\x82\xF1"), Encoding::kAnsi, 0, u"こん"},
      {S("\xE3\x81\x93\xE3\x82\x93"), Encoding::kUtf8NoBom, 0, u"こん"},
      {S("\xEF\xBB\xBF"), Encoding::kUtf8Bom, 3, u""},
      {S("\xEF\xBB\xBF\xE3\x81\x93"), Encoding::kUtf8Bom, 3, u"こ"},
      {S("\xFF\xFE"), Encoding::kUtf16LeBom, 2, u""},
      {S("\xFF\xFE\x53\x30"), Encoding::kUtf16LeBom, 2, u"こ"},
      {S("\xFF\xFE\x53\x30\x41"), Encoding::kUtf16LeBom, 2, u"こ"},
      {S("\xFE\xFF\x30\x53"), Encoding::kUtf16BeBom, 2, u"こ"},
      {S("\xFE\xFF\x30\x53\0"), Encoding::kUtf16BeBom, 2, u"こ"},
      {S("a\0\xE3\x81\x93"), Encoding::kUtf8NoBom, 0, std::u16string(u"a\0こ", 3)},
  };
  fake::FakePlatform fake;
  for (const auto& c : cases) {
    const ButtonFileText decoded = DecodeButtonFile(fake, test::B(c.bytes));
    EXPECT_EQ(decoded.encoding, c.encoding) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded.mark_length, c.mark_length) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << testing::PrintToString(c.bytes);
  }
  // Bytes that are not UTF-8 and have no mark go to the code page, leniently.
  for (std::string bytes : {S("\xE3\x81"), S("\xEF\xBB"), S("\x82\xB1\xE3\x81\x93")}) {
    const ButtonFileText decoded = DecodeButtonFile(fake, test::B(bytes));
    EXPECT_EQ(decoded.encoding, Encoding::kAnsi) << testing::PrintToString(bytes);
    EXPECT_FALSE(decoded.text.empty());
  }
}

}  // namespace
}  // namespace quillomi::phrases
