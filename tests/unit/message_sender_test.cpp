#include "delivery/message_sender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delivery/normal_speech.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win_search_spy.h"

namespace quillomi::delivery {
namespace {

using Lines = std::vector<std::string>;
using Radio = SpeechMode::Radio;

constexpr platform::WindowHandle kPanel = 0x100;
const std::u16string kListPath = u"D:\\作業\\QLMO_通常発言リスト.txt";

// The panel as ComSendMessage sees it: the fake records the emptying of the
// free-text box in its log, so that its place in the sequence shows.
class ComSendMessageTest : public testing::Test {
 protected:
  ComSendMessageTest() {
    fake.current_directory = u"D:\\作業\\";
    fake.AddWindow(test::Window().Handle(kPanel).Class(u"TForm1").Title(u"Quillomi"));
  }

  void AddClassic() {
    fake.AddWindow(test::Window().Handle(0x200).Class(u"Ultima Online"));
    fake.AddWindow(test::Window().Handle(0x201).Class(u"Ultima Online").Parent(0x200));
  }

  fake::FakePlatform fake;
  MessageSender sender{fake.Get(), kPanel, u"Quillomi", [this] { fake.Record("empty edtTxt"); }};
};

// The keystrokes in between are the game delivery's own tests.
TEST_F(ComSendMessageTest, ClipboardFirstAndTheBoxEmptiedLast) {
  AddClassic();
  sender.ComSendMessage(u"[挨拶]\u3000こんにちは", {true, false, Radio::kNormal});
  EXPECT_FALSE(sender.bNoEnter());
  const auto& log = fake.Log();
  ASSERT_EQ(log.size(), 18u);
  EXPECT_EQ(log.front(), "clipboard \"/ こんにちは\"");
  EXPECT_EQ(log[1], "find \"Ultima Online\" -> 0x200");
  EXPECT_EQ(log[log.size() - 2], "raise 0x100");
  EXPECT_EQ(log.back(), "empty edtTxt");
}

TEST_F(ComSendMessageTest, MarkerReachesTheKeystrokesAndIsSetForEveryPhrase) {
  AddClassic();
  sender.ComSendMessage(u"[label] text [Enter無し]", {});
  EXPECT_TRUE(sender.bNoEnter());
  EXPECT_EQ(fake.LogWith({"clipboard", "sleep", "empty"}),
            (Lines{"clipboard \"text \"", "sleep 100", "empty edtTxt"}));

  fake.ClearLog();
  sender.ComSendMessage(u"[label] text", {});
  EXPECT_FALSE(sender.bNoEnter());
  EXPECT_EQ(fake.LogWith({"sleep"}), (Lines{"sleep 100", "sleep 100"}));
}

TEST_F(ComSendMessageTest, HeadingChangesNothingAtAll) {
  AddClassic();
  sender.ComSendMessage(u"[x] 前[Enter無し]", {});
  ASSERT_TRUE(sender.bNoEnter());
  fake.ClearLog();

  for (auto heading : {u"◆見出し", u"◆見出し[Enter無し]", u"◆"}) {
    sender.ComSendMessage(heading, {true, true, Radio::kYell});
    EXPECT_EQ(fake.Log(), Lines{});
    EXPECT_EQ(fake.clipboard_text, u"前");
    EXPECT_TRUE(sender.bNoEnter());
  }
  sender.ComSendMessage(u"◆", {});
  EXPECT_TRUE(sender.bNoEnter());

  sender.ComSendMessage(u"[見出し]◆本文", {});
  EXPECT_EQ(fake.clipboard_text, u"◆本文");
}

TEST_F(ComSendMessageTest, NoClientLeavesThePreparedTextOnTheClipboard) {
  sender.ComSendMessage(u"[a] 手で貼って", {false, true, Radio::kWisper});
  EXPECT_EQ(fake.clipboard_text, u"; 手で貼って");
  EXPECT_EQ(fake.LogWith({"clipboard", "key", "message", "empty"}),
            (Lines{"clipboard \"; 手で貼って\"", "message " + fake::Quote(kNotFoundMessage),
                   "empty edtTxt"}));
}

TEST_F(ComSendMessageTest, BusyClipboardEndsTheDelivery) {
  AddClassic();
  fake.clipboard_text = u"前の内容";
  fake.clipboard_busy = u"アクセスが拒否されました。";
  for (auto [phrase, no_enter] :
       {std::pair{u"[a] x [Enter無し]", true}, std::pair{u"[a] x", false}}) {
    fake.ClearLog();
    try {
      sender.ComSendMessage(phrase, {true, false, Radio::kNormal});
      ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
      EXPECT_EQ(e.text(), u"クリップボード アクセスが拒否されました。 を開けません");
    }
    EXPECT_EQ(fake.Log(), Lines{"clipboard busy"});
    EXPECT_EQ(sender.bNoEnter(), no_enter);
    EXPECT_EQ(fake.clipboard_text, u"前の内容");
  }
}

TEST_F(ComSendMessageTest, TheCaptionNoteNeverDoubles) {
  fake.AddWindow(test::Window().Handle(0x300).Title(u"UOSA client"));
  fake.AddWindow(test::Window().Handle(0x301).Class(u"UOWIN"));
  sender.ComSendMessage(u"一回目", {});
  sender.ComSendMessage(u"二回目", {});
  const std::u16string caption =
      u"Quillomi\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
  EXPECT_EQ(fake.TextOf(kPanel), caption);
  EXPECT_EQ(sender.sTitle(), u"Quillomi");
  EXPECT_EQ(fake.LogWith({"settext"}), Lines(2, "settext 0x100 " + fake::Quote(caption)));
}

TEST_F(ComSendMessageTest, NormalSpeechListFromTheWorkingDirectoryExemptsItsEntries) {
  fake.PutFile(kListPath, "bank\r\nall follow me\r\n\r\n");
  fake.PutFile(u"C:\\Games\\Quillomi\\QLMO_通常発言リスト.txt", "other\r\n");
  sender.LoadNormalSpeechList();
  const SpeechMode party{true, true, Radio::kParty};

  struct Case {
    std::u16string_view phrase, sent;
  };
  const Case cases[] = {
      {u"[銀行] bank", u"bank"}, {u"all follow me", u"all follow me"},
      {u"[7]\u3000", u""},  // the blank line before the last break is an entry
      {u"bank ", u"/ bank "},    {u"Bank", u"/ Bank"},
      {u"other", u"/ other"},
  };
  for (const auto& c : cases) {
    sender.ComSendMessage(std::u16string(c.phrase), party);
    EXPECT_EQ(fake.clipboard_text, c.sent) << test::Utf8(c.phrase);
  }
}

TEST_F(ComSendMessageTest, AFailedListLoadLeavesTheListEmpty) {
  fake.PutFile(kListPath, "bank\r\n");
  sender.LoadNormalSpeechList();
  ASSERT_EQ(sender.NormalSpeechList(), std::vector<std::u16string>{u"bank"});

  fake.PutFile(kListPath, "\x82\xB1\x82\xF1\r\n");
  EXPECT_THROW(sender.LoadNormalSpeechList(), UserError);
  EXPECT_TRUE(sender.NormalSpeechList().empty());
  sender.ComSendMessage(u"bank", {true, false, Radio::kNormal});
  EXPECT_EQ(fake.clipboard_text, u"/ bank");
}

// --- reading the list ------------------------------------------------------

TEST(NormalSpeechList, IsLookedForInTheWorkingDirectory) {
  fake::FakePlatform fake;
  fake.current_directory = u"E:\\別の場所\\";
  EXPECT_EQ(NormalSpeechListPath(fake), u"E:\\別の場所\\QLMO_通常発言リスト.txt");
  fake.PutFile(u"C:\\Games\\Quillomi\\QLMO_通常発言リスト.txt", "beside the program\r\n");
  EXPECT_TRUE(ReadNormalSpeechList(fake).empty());
  EXPECT_EQ(fake.Log(), Lines{});

  fake.PutFile(u"E:\\別の場所\\QLMO_通常発言リスト.txt", "here\r\n");
  EXPECT_EQ(ReadNormalSpeechList(fake), std::vector<std::u16string>{u"here"});
}

TEST(NormalSpeechList, EntriesStayExactlyAsRead) {
  struct Case {
    std::string_view bytes;
    std::vector<std::u16string> entries;
  };
  const Case cases[] = {
      {"", {}},
      {"\xEF\xBB\xBF", {}},
      {"bank\r\n", {u"bank"}},
      {"\xEF\xBB\xBF"
       "bank\r\n",
       {u"bank"}},
      {" bank \r\nBANK\r\n\xEF\xBD\x82\r\n", {u" bank ", u"BANK", u"ｂ"}},
      {"a\n\nb\rc", {u"a", u"", u"b", u"c"}},
      {"a\r\n\r\n", {u"a", u""}},
      {"[x] a\r\n", {u"[x] a"}},
      {std::string_view("a\r\nb\0c\r\nd", 9), {u"a", u"b"}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(NormalSpeechListPath(fake), std::string(c.bytes));
    EXPECT_EQ(ReadNormalSpeechList(fake), c.entries) << testing::PrintToString(c.bytes);
  }
}

TEST(NormalSpeechList, FailuresNameTheFullPath) {
  const std::u16string path = u"C:\\Games\\Quillomi\\QLMO_通常発言リスト.txt";
  struct Case {
    std::string_view bytes;
    std::u16string read_fault;
    std::u16string text;
  };
  const Case cases[] = {
      {"bank\r\n", u"プロセスはファイルにアクセスできません。",
       u"ファイル C:\\Games\\Quillomi\\QLMO_通常発言リスト.txt は開けません。 "
       u"プロセスはファイルにアクセスできません。 "},
      {"\x82\xB1\x82\xF1\r\n", u"", std::u16string(messages::kMappingError)},
      {"ok\r\n\xC0\x80\r\n", u"", std::u16string(messages::kMappingError)},
      {"\xFF\xFE"
       "b\x00",
       u"", std::u16string(messages::kMappingError)},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(path, std::string(c.bytes));
    if (!c.read_fault.empty()) fake.read_faults[path] = c.read_fault;
    try {
      ReadNormalSpeechList(fake);
      ADD_FAILURE() << "no error for " << testing::PrintToString(c.bytes);
    } catch (const UserError& e) {
      EXPECT_EQ(e.text(), c.text);
    }
  }
}

}  // namespace
}  // namespace quillomi::delivery
