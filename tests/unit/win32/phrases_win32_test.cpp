// The data files on a real file system through the real Windows calls: code
// page 932 on the way in and out, files that another program holds open, and
// a save that cannot take the old file's place.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "phrases/button_file.h"
#include "phrases/phrase_list.h"
#include "phrases/safe_write.h"
#include "phrases/settings.h"
#include "phrases/text_file.h"
#include "platform/errors.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win32/win32_test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::B;
using quillomi::test::Utf8;
using test::Exists;
using test::FileBytes;
using test::PutFile;
using test::TempDirectory;

class Win32Phrases : public ::testing::Test {
 protected:
  Win32Platform platform_;
  platform::Files& files_ = platform_.Get().files;
  TempDirectory dir_;
};

class RecordingButtons : public phrases::ButtonView {
 public:
  void SetButton(int, std::u16string caption, std::u16string hint) override {
    captions.push_back(std::move(caption));
    hints.push_back(std::move(hint));
  }
  std::vector<std::u16string> captions, hints;
};

// Four lines in Shift-JIS, spelled out byte by byte; ー is 81 5B and ソ 83 5C,
// whose second bytes are "[" and "\" in ASCII.
const std::string kShiftJisLines[] = {
    // [挨拶]こんにちは
    "[\x88\xA5\x8E"
    "A]\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD",
    // [お礼]ありがとう～
    "[\x82\xA8\x97\xE7]\x82\xA0\x82\xE8\x82\xAA\x82\xC6\x82\xA4\x81`",
    // [ｱﾘｶﾞﾄ]ｱﾘｶﾞﾄｳ (half-width katakana, one byte each)
    "[\xB1\xD8\xB6\xDE\xC4]\xB1\xD8\xB6\xDE\xC4\xB3",
    // [ヒール]ソードにヒール
    "[\x83q\x81[\x83\x8B]\x83\x5C\x81[\x83h\x82\xC9\x83q\x81[\x83\x8B",
};

// The first `count` of those lines filled up to a line per button, as the
// filling-up writes them.
std::string FilledShiftJis(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += kShiftJisLines[i] + "\r\n";
  for (int n = count + 1; n <= 59; ++n)
    text += "[" + std::to_string(n) + "]\x81\x40\r\n";  // U+3000
  return text;
}

TEST_F(Win32Phrases, FillingUpKeepsShiftJisBytesAndAddsShiftJisPlaceholders) {
  ASSERT_EQ(::GetACP(), 932U) << "the ANSI code page must be 932 (LANG=ja_JP.UTF-8 under Wine)";
  const auto path = dir_ / u"QLMO_ボタン_ユーザー設定.txt";
  // CR LF, a lone LF, a lone CR, and no break after the last line.
  PutFile(path, B(kShiftJisLines[0] + "\r\n" + kShiftJisLines[1] + "\n" + kShiftJisLines[2] + "\r" +
                  kShiftJisLines[3]));

  std::vector<std::u16string> list_box1;
  RecordingButtons buttons;
  phrases::FillButtonFile(platform_.Get(), path, list_box1, buttons);

  EXPECT_EQ(FileBytes(path), B(FilledShiftJis(4)));
  EXPECT_FALSE(Exists(phrases::TemporaryPathFor(path)));

  ASSERT_EQ(list_box1.size(), 59U);
  ASSERT_EQ(buttons.captions.size(), 59U);
  const std::u16string captions[] = {u"挨拶", u"お礼", u"ｱﾘｶﾞﾄ", u"ヒール", u"5"};
  const std::u16string hints[] = {u"こんにちは", u"ありがとう\uFF5E", u"ｱﾘｶﾞﾄｳ", u"ソードにヒール",
                                  u"\u3000"};
  for (std::size_t i = 0; i < std::size(captions); ++i) {
    EXPECT_EQ(buttons.captions[i], captions[i]) << i;
    EXPECT_EQ(buttons.hints[i], hints[i]) << i;
  }
}

// A lead byte right before CR or LF, which Wine's decoder reads with it as one
// unknown character: the placeholders still start right after the last line
// read and end on line 59.
TEST_F(Win32Phrases, ALeadByteBeforeABreakNeverPutsThePlaceholdersOneLineLate) {
  ASSERT_EQ(::GetACP(), 932U);
  const auto path = dir_ / u"QLMO_ボタン_ユーザー設定.txt";
  for (const auto& c : quillomi::test::LeadByteCases()) {
    PutFile(path, c.File());
    EXPECT_EQ(quillomi::test::FillUpProblems(platform_.Get(), path, c.File()), "") << c.Name();
  }
}

// Without a mark, half-width katakana that happen to be valid two-byte UTF-8
// (ﾃｽ is C3 BD) are code page 932; Notepad's UTF-8 with kana is UTF-8.
TEST_F(Win32Phrases, AFileWithoutAMarkIsUtf8OnlyWithASequenceOfThreeBytes) {
  ASSERT_EQ(::GetACP(), 932U);
  const auto path = dir_ / u"QLMO_ボタン_ユーザー設定.txt";
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string first;
    std::string placeholder;  // line 2 as the filling-up writes it: U+3000 in its encoding
  };
  const Case cases[] = {
      {"ﾃｽ", "[\xC3\xBD]\xC3\xBD", u"[ﾃｽ]ﾃｽ", "[2]\x81\x40\r\n"},
      {"ﾃｽﾄ。", "[x]\xC3\xBD\xC4\x81\x42", u"[x]ﾃｽﾄ。", "[2]\x81\x40\r\n"},
      {"UTF-8 kana", "[\xE6\x8C\xA8]\xE3\x81\x93", u"[挨]こ", "[2]\xE3\x80\x80\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutFile(path, B(c.bytes));
    std::vector<std::u16string> list_box1;
    RecordingButtons buttons;
    phrases::FillButtonFile(platform_.Get(), path, list_box1, buttons);
    ASSERT_EQ(list_box1.size(), 59U);
    EXPECT_EQ(list_box1[0], c.first) << Utf8(list_box1[0]);
    EXPECT_EQ(list_box1[58], u"[59]\u3000");
    const auto written = FileBytes(path);
    const std::string start = c.bytes + "\r\n" + c.placeholder;
    EXPECT_EQ(std::string(written.begin(), written.end()).substr(0, start.size()), start);
  }
}

// A player's folder with spaces, brackets, Japanese, or characters outside code
// page 932 that an ANSI call would lose: every data file is made, read and
// saved there as in a plain folder.
TEST_F(Win32Phrases, DataFilesWorkInFoldersOfAnyName) {
  const std::string list = "\xEF\xBB\xBF◆挨拶\r\n[挨拶]こんにちは\r\n◆お礼\r\n[お礼]どうも";
  const std::vector<std::u16string> texts = {u"◆挨拶", u"[挨拶]こんにちは", u"◆お礼",
                                             u"[お礼]どうも"};
  for (const std::u16string folder :
       {u"プレイヤー の フォルダ (2)", u"Program Files (x86)\\ユーザー 設定",
        u"Bjørn ✓ \U0001F3AE"}) {
    SCOPED_TRACE(Utf8(folder));
    const std::u16string exe = dir_ / folder + u"\\Quillomi.exe";
    std::filesystem::create_directories(std::filesystem::path(dir_ / folder));
    const auto paths = phrases::ResolveDataFilePaths(exe);
    PutFile(paths.sListText0, B(list));
    PutFile(paths.sBtnText0, B(kShiftJisLines[0] + "\r\n" + kShiftJisLines[1]));
    // A template that seems missing would wait for a click on its message.
    ASSERT_TRUE(files_.IsRegularFile(paths.sListText0) && files_.IsRegularFile(paths.sBtnText0));
    ASSERT_EQ(phrases::PrepareDataFiles(platform_.Get(), paths), phrases::Preparation::kReady);
    EXPECT_EQ(FileBytes(paths.sListText1), B(list));

    std::vector<std::u16string> list_box1;
    RecordingButtons buttons;
    phrases::FillButtonFile(platform_.Get(), paths.sBtnText1, list_box1, buttons);
    EXPECT_EQ(FileBytes(paths.sBtnText1), B(FilledShiftJis(2)));
    EXPECT_EQ(list_box1.size(), 59U);

    const auto list_window = quillomi::test::ReadListEntries(files_, paths.sListText1);
    EXPECT_EQ(list_window.texts, texts);
    EXPECT_EQ(list_window.icons, (std::vector<int>{1, 1, 2, 2}));

    auto settings = phrases::SettingsDocument::Open(files_, phrases::SettingsFilePath(exe));
    settings.WriteInteger(phrases::kSettingsSection, u"Left2", -250);
    settings.Save();
    EXPECT_EQ(FileBytes(exe + u"_ユーザー設定.ini"),
              B("\xEF\xBB\xBF[System]\r\nLeft2=-250\r\n\r\n"));
    EXPECT_EQ(phrases::SettingsDocument::Open(files_, settings.path())
                  .ReadInteger(phrases::kSettingsSection, u"Left2", 0),
              -250);
  }
}

// Each data file, while another program holds it open for writing: the read
// fails with the file's path and the system's reason.
TEST_F(Win32Phrases, AFileHeldOpenForWritingCannotBeRead) {
  RecordingButtons buttons;
  std::vector<std::u16string> list_box1;
  struct Case {
    const char* name;
    std::u16string file;
    std::function<void(const std::u16string&)> read;
  };
  const Case cases[] = {
      {"button file", u"QLMO_ボタン_ユーザー設定.txt",
       [&](const std::u16string& path) {
         phrases::LoadButton(platform_.Get(), path, list_box1, buttons);
       }},
      {"phrase list", u"QLMO_一覧_ユーザー設定.txt",
       [&](const std::u16string& path) { phrases::ReadPhraseList(files_, path); }},
      {"settings file", u"Quillomi.exe_ユーザー設定.ini",
       [&](const std::u16string& path) { phrases::SettingsDocument::Open(files_, path); }},
      {"normal-speech list", u"QLMO_通常発言リスト.txt",
       [&](const std::u16string& path) { phrases::ReadUtf8Lines(files_, path); }},
  };
  const std::u16string reason = SystemErrorText(ERROR_SHARING_VIOLATION);
  ASSERT_FALSE(reason.empty());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir_ / c.file;
    PutFile(path, B("\xEF\xBB\xBF[System]\r\n[挨拶]こんにちは\r\n"));
    const UniqueFile editor(::CreateFileW(W(path), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(editor);
    try {
      c.read(path);
      ADD_FAILURE() << "the read went through";
    } catch (const UserError& error) {
      EXPECT_EQ(error.text(), u"ファイル " + path + u" は開けません。 " + reason + u" ")
          << Utf8(error.text());
    }
  }
  EXPECT_TRUE(list_box1.empty());
  EXPECT_TRUE(buttons.captions.empty());
}

// A save killed before its last step left its temporary file, which may since
// have become read-only, or a folder carries its name: the next save goes
// through all the same, and leaves no temporary file of its own.
TEST_F(Win32Phrases, ALeftoverTemporaryFileNeverBlocksASave) {
  const auto path = dir_ / u"Quillomi.exe_ユーザー設定.ini";
  const auto leftover = phrases::TemporaryPathFor(path);
  struct Case {
    const char* name;
    std::function<void()> leave;
    bool folder;
  };
  const auto file = [&](DWORD attributes) {
    return [&, attributes] {
      PutFile(leftover, B("\xEF\xBB\xBF[System]\r\nLeft2=1\r\n[cut sh"));
      ASSERT_TRUE(::SetFileAttributesW(W(leftover), attributes));
    };
  };
  const Case cases[] = {
      {"a file", file(FILE_ATTRIBUTE_NORMAL), false},
      {"a read-only file", file(FILE_ATTRIBUTE_READONLY), false},
      {"a hidden read-only file", file(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), false},
      {"a folder", [&] { ASSERT_TRUE(::CreateDirectoryW(W(leftover), nullptr)); }, true},
  };
  for (bool existing : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (existing ? ", over a file" : ", a new file"));
      ::DeleteFileW(W(path));
      if (existing) PutFile(path, B("\xEF\xBB\xBF[System]\r\nLeft2=100\r\n\r\n"));
      c.leave();
      auto settings = phrases::SettingsDocument::Open(files_, path);
      settings.WriteInteger(phrases::kSettingsSection, u"Left2", 250);
      try {
        settings.Save();
      } catch (const UserError& error) {
        ADD_FAILURE() << Utf8(error.text());
      }
      EXPECT_EQ(FileBytes(path), B("\xEF\xBB\xBF[System]\r\nLeft2=250\r\n\r\n"));
      EXPECT_EQ(Exists(leftover), c.folder);
      for (int name = 1; name < phrases::kTemporaryNames; ++name)
        EXPECT_FALSE(Exists(phrases::TemporaryPathFor(path, name))) << name;
      ::RemoveDirectoryW(W(leftover));
    }
  }
}

// A read-only settings file, or one that another program keeps open without
// letting it be deleted (a virus scanner, a backup tool), is not replaced.
TEST_F(Win32Phrases, ASaveThatCannotReplaceTheFileLeavesItAsItWas) {
  const auto path = dir_ / u"Quillomi.exe_ユーザー設定.ini";
  const auto old = B("\xEF\xBB\xBF[System]\r\nLeft2=100\r\n\r\n");
  const std::u16string prefix = u"ファイル \"" + path + u"\" を作成できません。";
  const std::u16string denied = prefix + SystemErrorText(ERROR_ACCESS_DENIED);
  for (const bool read_only : {true, false}) {
    SCOPED_TRACE(read_only ? "read-only" : "held open");
    ::SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
    PutFile(path, old);
    if (read_only) {
      ASSERT_TRUE(::SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY));
    }
    auto settings = phrases::SettingsDocument::Open(files_, path);
    settings.WriteInteger(phrases::kSettingsSection, u"Left2", 250);
    const UniqueFile holder(
        read_only ? INVALID_HANDLE_VALUE
                  : ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(read_only || holder);
    try {
      settings.Save();
      ADD_FAILURE() << "the save went through";
    } catch (const UserError& error) {
      // Windows refuses a held file's rename itself; Wine says access denied.
      EXPECT_TRUE(error.text() == denied ||
                  (!read_only && error.text() == prefix + SystemErrorText(ERROR_SHARING_VIOLATION)))
          << Utf8(error.text());
    }
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ((::GetFileAttributesW(W(path)) & FILE_ATTRIBUTE_READONLY) != 0, read_only);
    EXPECT_FALSE(Exists(phrases::TemporaryPathFor(path)));
  }
}

}  // namespace
}  // namespace quillomi::win32
