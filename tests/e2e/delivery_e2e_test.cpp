// Phrases pressed on the real panel into a stand-in game client, with real
// clipboard, focus and synthesised keys under Wine.
#include <gtest/gtest.h>

#include <utility>

#include "tests/e2e/e2e_support.h"
#include "ui/panel_caption.h"

namespace quillomi::e2e {
namespace {

const std::wstring kNotFound =
    L"起動中のＵＯが見つからなくて発言できなかったよ！\n\r\n\r"
    L"選択した文字はクリップボードに記憶したから、\n\r"
    L"ＵＯに[Ctrl]+[V]キーで貼り付けて[Enter]にて発言してね！";
const std::wstring kEcNote = L"\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
const std::wstring kTitle(reinterpret_cast<const wchar_t*>(ui::kForm1Caption.data()),
                          ui::kForm1Caption.size());

class DeliveryEndToEnd : public testing::Test, protected Session {
 protected:
  void SetUp() override { StageProgram(program_); }

  // The panel with these phrases on its first buttons, the free-text box shown
  // if asked.
  void Start(const std::vector<std::wstring>& phrases, bool free_text = false) {
    std::string buttons = "\xEF\xBB\xBF";
    for (const auto& phrase : phrases) buttons += Utf8(phrase) + "\r\n";
    WriteFileBytes(program_.File(L"QLMO_ボタン_ユーザー設定.txt"), buttons);
    WriteFileBytes(program_.Settings(), std::string("\xEF\xBB\xBF[System]\r\nedtTxtVisible=") +
                                            (free_text ? "1" : "0") + "\r\n");
    ASSERT_NE(panel_ = StartPanel(program_, app_), nullptr) << "the panel did not open";
  }

  // Pressed and released without the mouse, whose input would reach the hook.
  void Press(int number) {
    HWND button = GetDlgItem(panel_, ids::kPanelButton + number);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
};

// Into each client its own keys, which the client's windows see, its clipboard
// and the caption left behind.
TEST_F(DeliveryEndToEnd, EachClientGetsItsOwnKeys) {
  struct Row {
    std::vector<std::wstring> client;
    std::wstring phrase;
    bool party;
    std::vector<std::string> hooked;
    std::vector<std::pair<std::string, std::vector<std::string>>> events;  // by prefix
    std::wstring clipboard, caption;
  };
  const Row rows[] = {
      // The classic client: focus, paste and two Enters; its caption left alone.
      {{L"classic"},
       L"[挨拶]\u3000こんにちは",
       true,
       kClassicKeys,
       {{"inner posted", {"inner posted WM_SETFOCUS"}},
        {"inner paste", {"inner paste \"/ こんにちは\""}}},
       L"/ こんにちは",
       kTitle},
      {{L"classic", L"--no-inner"}, L"[a] text", false, kClassicKeys, {}, L"text", kTitle},
      // The EC client: one Enter into "UOWIN", and the caption gets its note.
      {{L"ec"},
       L"[挨拶]\u3000こんばんは",
       false,
       {"hook down vk=0x0d scan=0x00", "hook up vk=0x0d scan=0x00"},
       {{"uowin", {"uowin down vk=0x0d scan=0x00", "uowin up vk=0x0d scan=0x00"}}},
       L"こんばんは",
       kTitle + kEcNote},
  };
  std::vector<std::wstring> phrases;
  for (const Row& row : rows) phrases.push_back(row.phrase);
  ASSERT_NO_FATAL_FAILURE(Start(phrases));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(Utf8(row.client.back() + L" " + row.phrase));
    client_ = Process();
    DeleteFileW(log_.c_str());
    ASSERT_TRUE(StartClient(row.client)) << "client did not start";
    ASSERT_TRUE(SetCheck(GetDlgItem(panel_, ids::kPartyBox), row.party));
    Press(static_cast<int>(i) + 1);
    EXPECT_EQ(WaitForEvents(log_, "hook", row.hooked.size()), row.hooked);
    for (const auto& [prefix, events] : row.events) EXPECT_EQ(Events(log_, prefix), events);
    EXPECT_EQ(ClipboardText(), row.clipboard);
    EXPECT_EQ(WindowText(panel_), row.caption);
  }
  EXPECT_EQ(Close(), 0);
}

// Without a client the not-found box tells to paste by hand; with the
// clipboard held by another program its box says so and nothing is typed.
TEST_F(DeliveryEndToEnd, WithoutClientOrClipboardTheBoxSaysWhy) {
  ASSERT_NO_FATAL_FAILURE(Start({L"[挨拶]\u3000手で貼ってね", L"[a] never typed"}));
  Press(1);
  EXPECT_EQ(AnswerBox(20s), kNotFound);
  EXPECT_EQ(ClipboardText(), L"手で貼ってね");

  ASSERT_TRUE(StartClient());
  SetClipboardText(L"before");
  ASSERT_TRUE(OpenClipboard(nullptr)) << "held as another program would";
  Press(2);
  const std::wstring text = AnswerBox(20s);
  CloseClipboard();
  EXPECT_TRUE(text.starts_with(L"クリップボード ")) << Utf8(text);
  EXPECT_TRUE(text.ends_with(L" を開けません.")) << Utf8(text);
  EXPECT_TRUE(WaitForEvents(log_, "hook", 0).empty());
  EXPECT_EQ(ClipboardText(), L"before");
  EXPECT_EQ(Close(), 0);
}

// Deliveries one after the other each send the whole sequence: none loses a
// key to the one before it. How long they take is the bench's Delivery row.
TEST_F(DeliveryEndToEnd, RepeatedDeliveriesEachSendTheWholeSequence) {
  ASSERT_TRUE(StartClient());
  constexpr int kRuns = 20;
  std::vector<std::wstring> phrases;
  for (int i = 0; i < kRuns; ++i) phrases.push_back(L"[n] phrase " + std::to_wstring(i));
  ASSERT_NO_FATAL_FAILURE(Start(phrases));
  for (int i = 1; i <= kRuns; ++i) Press(i);
  std::vector<std::string> expected;
  for (int i = 0; i < kRuns; ++i)
    expected.insert(expected.end(), kClassicKeys.begin(), kClassicKeys.end());
  WaitUntil([&] { return Events(log_, "hook").size() >= expected.size(); }, 60s);
  EXPECT_EQ(WaitForEvents(log_, "hook", expected.size()), expected);
  EXPECT_EQ(Close(), 0);
}

// ClassicUO: each speech mode in its box as if typed by hand, a phrase over 100
// characters in two parts, the no-Enter marker's phrase left unsent in its box,
// and a classic client running as well is the one served.
TEST_F(DeliveryEndToEnd, ClassicUOSpeaksEachPhraseInItsModeWholeAndOnce) {
  ASSERT_TRUE(StartClient({L"classicuo"}));
  const std::wstring a60(60, L'あ'), i60(60, L'い');
  struct Row {
    bool free_text;
    int radio;  // past ids::kSpeechRadio (rbNormal, rbParty, rbWisper, rbEmote, rbChat, rbYell)
    bool party;
    std::wstring phrase;
    std::vector<std::string> said;
    std::string box;
  };
  // The panel ticks its party box with the party radio button. The box keeps
  // the no-Enter phrase: it comes last.
  const Row rows[] = {
      {true, 1, true, L"[a] x", {"say party \" x\""}, "box party \" x\""},
      {true, 2, false, L"[a] x", {"say whisper \"x\""}, "box whisper \"x\""},
      {true, 4, false, L"[a] x", {"say chat \" x\""}, "box chat \" x\""},
      {false, 0, false, L"[a] やあ", {"say default \"やあ\""}, "box default \"やあ\""},
      {false,
       0,
       false,
       L"[a] " + a60 + L" " + i60,
       {"say default \"" + Utf8(a60) + "\"", "say default \"" + Utf8(i60) + "\""},
       "box default \"" + Utf8(a60 + L" " + i60) + "\""},
      {false, 0, false, L"[a] /stuck[Enter無し]", {}, "box party \"stuck\""},
  };
  std::vector<std::wstring> phrases;
  for (const Row& row : rows) phrases.push_back(row.phrase);
  phrases.push_back(L"[a] classic");
  const auto last_box = [&] {
    const std::vector<std::string> boxes = Events(log_, "box");
    return boxes.empty() ? std::string() : boxes.back();
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(Utf8(row.phrase));
    if (i == 0 || row.free_text != rows[i - 1].free_text) {
      EXPECT_EQ(panel_ ? Close() : 0, 0);
      ASSERT_NO_FATAL_FAILURE(Start(phrases, row.free_text));
    }
    ASSERT_TRUE(SetCheck(GetDlgItem(panel_, ids::kSpeechRadio + row.radio), true));
    ASSERT_TRUE(SetCheck(GetDlgItem(panel_, ids::kPartyBox), row.party));
    const auto before = Events(log_, "say").size();
    Press(static_cast<int>(i) + 1);
    EXPECT_TRUE(WaitUntil([&] { return last_box() == row.box; }, 10s)) << last_box();
    const auto said = WaitForEvents(log_, "say", before + row.said.size());
    EXPECT_EQ(
        std::vector<std::string>(said.begin() + static_cast<std::ptrdiff_t>(before), said.end()),
        row.said);
  }
  EXPECT_EQ(ClipboardText(), L"/stuck");

  const std::wstring classic_log = program_.dir.Path() + L"classic.log";
  const Process classic = e2e::StartClient(classic_log);
  ASSERT_TRUE(classic.Running());
  const auto boxes = Events(log_, "box").size();
  Press(static_cast<int>(std::size(rows)) + 1);
  EXPECT_TRUE(WaitUntil([&] { return !Events(classic_log, "inner paste").empty(); }, 5s));
  EXPECT_EQ(Events(log_, "box").size(), boxes);
  EXPECT_EQ(Close(), 0);
}

}  // namespace
}  // namespace quillomi::e2e
