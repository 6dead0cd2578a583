#include "delivery/message_sender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "res/identities.h"
#include "tests/unit/test_support.h"

namespace quillomi::delivery {
namespace {

using Lines = std::vector<std::string>;
using Radio = SpeechMode::Radio;

constexpr platform::WindowHandle kPanel = 0x100;
const std::u16string kListPath = u"D:\\作業\\QLMO_通常発言リスト.txt";
constexpr SpeechMode kBox{true, false, Radio::kNormal};

// The panel as ComSendMessage sees it: the log marks where a phrase that
// went out ends, where the panel empties its free-text box.
class ComSendMessageTest : public testing::Test {
 protected:
  ComSendMessageTest() {
    fake.current_directory = u"D:\\作業\\";
    fake.AddWindow({.handle = kPanel, .class_name = std::u16string(ids::kPanelClass), .title = u"Quillomi"});
    sender.SetPanel(kPanel, u"Quillomi");
  }

  void AddClassic() { fake.AddWindow({0x200, u"Ultima Online", u""}); }
  void Send(std::u16string_view phrase, const SpeechMode& mode) {
    if (sender.ComSendMessage(phrase, mode)) fake.Record("empty edtTxt");
  }

  fake::FakePlatform fake;
  MessageSender sender{fake.Get()};
};

// The keystrokes in between are the game delivery's own tests; the marker of
// each phrase decides its own second Enter.
TEST_F(ComSendMessageTest, ClipboardFirstTheBoxEmptiedLastAndTheMarkerPerPhrase) {
  AddClassic();
  Send(u"[label] text [Enter無し]", kBox);
  EXPECT_EQ(fake.LogWith({"clipboard", "find \"", "sleep", "raise 0x100", "empty"}),
            (Lines{"clipboard \"/ text \"", "find \"Ultima Online\" -> 0x200", "sleep 100",
                   "find \"TForm1\" -> 0x100", "raise 0x100", "empty edtTxt"}));

  fake.ClearLog();
  Send(u"[label] text", {});
  EXPECT_EQ(fake.LogWith({"sleep"}), (Lines{"sleep 100", "sleep 100"}));
}

TEST_F(ComSendMessageTest, AHeadingChangesNothingAtAll) {
  AddClassic();
  Send(u"[x] 前[Enter無し]", {});
  fake.ClearLog();
  Send(u"◆見出し", {true, true, Radio::kYell});
  EXPECT_EQ(fake.Log(), Lines{});
  EXPECT_EQ(fake.clipboard_text, u"前");
}

TEST_F(ComSendMessageTest, NoClientLeavesThePreparedTextOnTheClipboard) {
  Send(u"[a] 手で貼って", {false, true, Radio::kWisper});
  EXPECT_EQ(fake.clipboard_text, u"; 手で貼って");
  EXPECT_EQ(fake.LogWith({"clipboard", "key", "message", "empty"}),
            (Lines{"clipboard \"; 手で貼って\"", "message " + fake::Quote(kNotFoundMessage),
                   "empty edtTxt"}));
}

TEST_F(ComSendMessageTest, ABusyClipboardEndsTheDeliveryAfterTheMarkerIsTaken) {
  AddClassic();
  fake.clipboard_text = u"前の内容";
  fake.clipboard_busy = u"アクセスが拒否されました。";
  for (auto [phrase, no_enter] : {std::pair{u"[a] x [Enter無し]", true}, std::pair{u"x", false}}) {
    fake.ClearLog();
    EXPECT_EQ(test::ErrorOf([&] { Send(phrase, kBox); }),
              u"クリップボード アクセスが拒否されました。 を開けません");
    EXPECT_EQ(fake.Log(), Lines{"clipboard busy"});
    EXPECT_EQ(fake.clipboard_text, u"前の内容");
  }
}

TEST_F(ComSendMessageTest, TheCaptionNoteIsBuiltFromTheOriginalTitleAndNeverDoubles) {
  fake.AddWindow({.handle = 0x300, .class_name = u"", .title = u"UOSA client"});
  Send(u"一回目", {});
  Send(u"二回目", {});
  const std::u16string caption =
      u"Quillomi\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
  EXPECT_EQ(fake.TextOf(kPanel), caption);
  EXPECT_EQ(fake.LogWith({"settext"}), Lines(2, "settext 0x100 " + fake::Quote(caption)));
}

TEST_F(ComSendMessageTest, TheNormalSpeechListOfTheWorkingDirectoryExemptsItsEntriesAsRead) {
  fake.PutFile(kListPath, "\xEF\xBB\xBF bank \r\nBANK\r\n\r\n");
  fake.PutFile(u"C:\\Games\\Quillomi\\QLMO_通常発言リスト.txt", "other\r\n");
  sender.LoadNormalSpeechList();
  struct Case {
    std::u16string_view phrase, sent;
  };
  const Case cases[] = {{u"[銀行]  bank ", u" bank "},
                        {u"BANK", u"BANK"},
                        {u"[7]\u3000", u""},
                        {u"other", u"/ other"}};
  for (const auto& c : cases) {
    Send(std::u16string(c.phrase), kBox);
    EXPECT_EQ(fake.clipboard_text, c.sent) << test::Utf8(c.phrase);
  }
}

TEST_F(ComSendMessageTest, AFailedListLoadLeavesTheListEmptyAndNamesTheFullPath) {
  fake.PutFile(kListPath, "bank\r\n");
  sender.LoadNormalSpeechList();
  Send(u"bank", kBox);
  ASSERT_EQ(fake.clipboard_text, u"bank");

  fake.read_faults[kListPath] = u"プロセスはファイルにアクセスできません。";
  EXPECT_EQ(test::ErrorOf([&] { sender.LoadNormalSpeechList(); }),
            u"ファイル D:\\作業\\QLMO_通常発言リスト.txt は開けません。 "
            u"プロセスはファイルにアクセスできません。 ");
  Send(u"bank", kBox);
  EXPECT_EQ(fake.clipboard_text, u"/ bank");

  // A missing list is an empty one, and no error.
  fake.read_faults.clear();
  sender.LoadNormalSpeechList();
  fake.files.erase(kListPath);
  sender.LoadNormalSpeechList();
  Send(u"bank", kBox);
  EXPECT_EQ(fake.clipboard_text, u"/ bank");
}

}  // namespace
}  // namespace quillomi::delivery
