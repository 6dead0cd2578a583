// Real phrases through the real Win32 delivery code into a stand-in game
// client, with real clipboard, focus and synthesised keys under Wine.
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
const std::wstring kEcNote =
    L"\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
const std::wstring kTitle(reinterpret_cast<const wchar_t*>(ui::kForm1Caption.data()),
                          ui::kForm1Caption.size());

class DeliveryEndToEnd : public testing::Test {
 protected:
  Process Deliver(std::vector<std::wstring> args) {
    args.insert(args.begin(), {L"--report", report_});
    return Process(BinDir() + L"quillomi_deliver.exe", args, dir_.Path());
  }

  TempDir dir_;
  std::wstring log_ = dir_.Path() + L"client.log";
  std::wstring report_ = dir_.Path() + L"report.txt";
};

// Into each client its own keys, which the client's windows see, its clipboard
// and the caption left behind.
TEST_F(DeliveryEndToEnd, EachClientGetsItsOwnKeys) {
  struct Row {
    std::vector<std::wstring> client, deliver;
    std::vector<std::string> hooked;
    std::vector<std::pair<std::string, std::vector<std::string>>> events;  // by prefix
    std::wstring clipboard, caption;
  };
  const Row rows[] = {
      // The classic client: focus, paste and two Enters; its caption left alone.
      {{L"classic"},
       {L"--party", L"[挨拶]\u3000こんにちは"},
       kClassicKeys,
       {{"inner posted", {"inner posted WM_SETFOCUS"}},
        {"inner paste", {"inner paste \"/ こんにちは\""}}},
       L"/ こんにちは",
       kTitle},
      // The no-Enter marker leaves out the second Enter.
      {{L"classic"},
       {L"[ラベル]\u3000/stuck[Enter無し]"},
       {kClassicKeys.begin(), kClassicKeys.begin() + 6},
       {{"inner paste", {"inner paste \"/stuck\""}}},
       L"/stuck",
       kTitle},
      {{L"classic", L"--no-inner"}, {L"[a] text"}, kClassicKeys, {{"inner", {}}}, L"text", kTitle},
      // The EC client: one Enter into "UOWIN", and the caption gets its note.
      {{L"ec"},
       {L"[挨拶]\u3000こんばんは"},
       {"hook down vk=0x0d scan=0x00", "hook up vk=0x0d scan=0x00"},
       {{"uowin", {"uowin down vk=0x0d scan=0x00", "uowin up vk=0x0d scan=0x00"}}},
       L"こんばんは",
       kTitle + kEcNote},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Utf8(row.client.back() + L" " + row.deliver.back()));
    DeleteFileW(log_.c_str());
    const Process client = StartClient(log_, row.client);
    ASSERT_TRUE(client.Running()) << "client did not start";
    ASSERT_EQ(Deliver(row.deliver).WaitExit(20s), 0);
    EXPECT_EQ(WaitForEvents(log_, "hook", row.hooked.size()), row.hooked);
    for (const auto& [prefix, events] : row.events) EXPECT_EQ(Events(log_, prefix), events);
    EXPECT_EQ(ClipboardText(), row.clipboard);
    EXPECT_EQ(ReadFileBytes(report_), Utf8(row.caption));
  }
}

TEST_F(DeliveryEndToEnd, WithoutClientTheNotFoundBoxTellsToPasteByHand) {
  auto tool = Deliver({L"[挨拶]\u3000手で貼ってね"});
  HWND box = WaitForMessageBox(tool.Id(), 20s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), kNotFound);
  EXPECT_EQ(WindowText(box), L"Quillomi");
  EXPECT_EQ(ClipboardText(), L"手で貼ってね");
  PressOk(box);
  EXPECT_EQ(tool.WaitExit(20s), 0);
}

TEST_F(DeliveryEndToEnd, BusyClipboardShowsTheErrorAndTypesNothing) {
  const Process client = StartClient(log_);
  ASSERT_TRUE(client.Running());
  SetClipboardText(L"before");
  ASSERT_TRUE(OpenClipboard(nullptr)) << "held as another program would";
  auto tool = Deliver({L"[a] never typed"});
  HWND box = WaitForMessageBox(tool.Id(), 20s);
  const std::wstring text = box ? MessageBoxText(box) : L"no box";
  PressOk(box);
  const long exit_code = tool.WaitExit(20s);
  CloseClipboard();
  EXPECT_TRUE(text.starts_with(L"クリップボード ")) << Utf8(text);
  EXPECT_TRUE(text.ends_with(L" を開けません.")) << Utf8(text);
  EXPECT_EQ(exit_code, 0);
  EXPECT_TRUE(WaitForEvents(log_, "hook", 0).empty());
  EXPECT_EQ(ClipboardText(), L"before");
}

// Deliveries one after the other each send the whole sequence: none loses a
// key to the one before it. How long they take is the bench's Delivery row.
TEST_F(DeliveryEndToEnd, RepeatedDeliveriesEachSendTheWholeSequence) {
  const Process client = StartClient(log_);
  ASSERT_TRUE(client.Running());
  std::vector<std::wstring> args;
  constexpr int kRuns = 20;
  for (int i = 0; i < kRuns; ++i) args.push_back(L"[n] phrase " + std::to_wstring(i));
  auto tool = Deliver(args);
  ASSERT_EQ(tool.WaitExit(60s), 0);
  std::vector<std::string> expected;
  for (int i = 0; i < kRuns; ++i)
    expected.insert(expected.end(), kClassicKeys.begin(), kClassicKeys.end());
  EXPECT_EQ(WaitForEvents(log_, "hook", expected.size()), expected);
}

// ClassicUO: each speech mode in its box as if typed by hand, a phrase over 100
// characters in two parts, the no-Enter marker's phrase left unsent in its box,
// and a classic client running as well is the one served.
TEST_F(DeliveryEndToEnd, ClassicUOSpeaksEachPhraseInItsModeWholeAndOnce) {
  const Process client = StartClient(log_, {L"classicuo"});
  ASSERT_TRUE(client.Running());
  const std::wstring a60(60, L'あ'), i60(60, L'い');
  struct Row {
    std::vector<std::wstring> args;
    std::vector<std::string> said;
    std::string box;
  };
  const Row rows[] = {
      {{L"[a] こんにちは"}, {"say default \"こんにちは\""}, "box default \"こんにちは\""},
      {{L"--party", L"[a] x"}, {"say party \" x\""}, "box party \" x\""},
      {{L"--free-text", L"--radio", L"party", L"[a] x"}, {"say party \" x\""}, "box party \" x\""},
      {{L"--free-text", L"--radio", L"wisper", L"[a] x"},
       {"say whisper \"x\""},
       "box whisper \"x\""},
      {{L"--free-text", L"--radio", L"emote", L"[a] x"}, {"say emote \"x\""}, "box emote \"x\""},
      {{L"--free-text", L"--radio", L"yell", L"[a] x"}, {"say yell \"x\""}, "box yell \"x\""},
      {{L"--free-text", L"--radio", L"chat", L"[a] x"}, {"say chat \" x\""}, "box chat \" x\""},
      {{L"[a] " + a60 + L" " + i60},
       {"say default \"" + Utf8(a60) + "\"", "say default \"" + Utf8(i60) + "\""},
       "box default \"" + Utf8(a60 + L" " + i60) + "\""},
      {{L"[a] /stuck[Enter無し]"}, {}, "box party \"stuck\""},
  };
  for (const auto& row : rows) {
    const auto before = Events(log_, "say").size();
    ASSERT_EQ(Deliver(row.args).WaitExit(20s), 0);
    const auto said = WaitForEvents(log_, "say", before + row.said.size());
    EXPECT_EQ(
        std::vector<std::string>(said.begin() + static_cast<std::ptrdiff_t>(before), said.end()),
        row.said)
        << Utf8(row.args.back());
    EXPECT_EQ(Events(log_, "box").back(), row.box);
  }
  EXPECT_EQ(ClipboardText(), L"/stuck");

  const std::wstring classic_log = dir_.Path() + L"classic.log";
  const Process classic = StartClient(classic_log);
  ASSERT_TRUE(classic.Running());
  const auto boxes = Events(log_, "box").size();
  ASSERT_EQ(Deliver({L"[a] classic"}).WaitExit(20s), 0);
  EXPECT_TRUE(WaitUntil([&] { return !Events(classic_log, "inner paste").empty(); }, 5s));
  EXPECT_EQ(Events(log_, "box").size(), boxes);
}

}  // namespace
}  // namespace quillomi::e2e
