// Real phrases through the real Win32 delivery code into a stand-in game
// client, with real clipboard, focus and synthesised keys under Wine.
#include <gtest/gtest.h>

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

// The exact keystroke stream of the classic client, as the low-level hook sees it.
const std::vector<std::string> kClassicKeys = {
    "hook down vk=0x11 scan=0x1d", "hook down vk=0x56 scan=0x2f", "hook up vk=0x56 scan=0x2f",
    "hook up vk=0x11 scan=0x1d",   "hook down vk=0x0d scan=0x1c", "hook up vk=0x0d scan=0x1c",
    "hook down vk=0x0d scan=0x1c", "hook up vk=0x0d scan=0x1c",
};

class DeliveryEndToEnd : public testing::Test {
 protected:
  void StartClient(const std::vector<std::wstring>& args) {
    std::vector<std::wstring> all = args;
    all.insert(all.begin() + 1, log_);
    client_ = Process(BinDir() + L"standin_client.exe", all, dir_.Path());
    ASSERT_TRUE(WaitUntil([&] { return !Events(log_, "ready").empty(); }, 15s)) << "client did not start";
  }

  Process Deliver(std::vector<std::wstring> args) {
    args.insert(args.begin(), {L"--report", report_});
    return Process(BinDir() + L"quillomi_deliver.exe", args, dir_.Path());
  }

  // Waits for the client to have logged `count` hooked keys, then a little longer
  // so that a surplus key would show.
  std::vector<std::string> HookedKeys(std::size_t count) {
    WaitUntil([&] { return Events(log_, "hook").size() >= count; }, 10s);
    Sleep(300);
    return Events(log_, "hook");
  }

  std::string ReportLine(const std::string& key) {
    const std::string bytes = ReadFileBytes(report_);
    const auto at = bytes.find(key + " ");
    if (at == std::string::npos) return {};
    const auto end = bytes.find('\n', at);
    return bytes.substr(at + key.size() + 1, end - at - key.size() - 1);
  }

  TempDir dir_;
  std::wstring log_ = dir_.Path() + L"client.log";
  std::wstring report_ = dir_.Path() + L"report.txt";
  Process client_;
};

TEST_F(DeliveryEndToEnd, ClassicClientGetsFocusPasteAndTwoEnters) {
  StartClient({L"classic"});
  auto tool = Deliver({L"--party", L"[挨拶]\u3000こんにちは"});
  ASSERT_EQ(tool.WaitExit(20s), 0);
  EXPECT_EQ(HookedKeys(8), kClassicKeys);
  EXPECT_EQ(Events(log_, "inner posted"), std::vector<std::string>{"inner posted WM_SETFOCUS"});
  EXPECT_EQ(Events(log_, "inner paste"), std::vector<std::string>{"inner paste \"/ こんにちは\""});
  EXPECT_EQ(ClipboardText(), L"/ こんにちは");
  EXPECT_EQ(Wide(ReportLine("caption")), kTitle) << "the classic client leaves the caption alone";
}

TEST_F(DeliveryEndToEnd, NoEnterMarkerLeavesOutTheSecondEnter) {
  StartClient({L"classic"});
  auto tool = Deliver({L"[ラベル]\u3000/stuck[Enter無し]"});
  ASSERT_EQ(tool.WaitExit(20s), 0);
  const std::vector<std::string> expected(kClassicKeys.begin(), kClassicKeys.begin() + 6);
  EXPECT_EQ(HookedKeys(6), expected);
  EXPECT_EQ(Events(log_, "inner paste"), std::vector<std::string>{"inner paste \"/stuck\""});
}

TEST_F(DeliveryEndToEnd, ClassicClientWithoutInnerWindowStillGetsEveryKey) {
  StartClient({L"classic", L"--no-inner"});
  auto tool = Deliver({L"[a] text"});
  ASSERT_EQ(tool.WaitExit(20s), 0);
  EXPECT_EQ(HookedKeys(8), kClassicKeys);
  EXPECT_TRUE(Events(log_, "inner").empty());
}

TEST_F(DeliveryEndToEnd, EcClientGetsOneEnterInUowinAndTheCaptionItsNote) {
  StartClient({L"ec"});
  auto tool = Deliver({L"[挨拶]\u3000こんばんは"});
  ASSERT_EQ(tool.WaitExit(20s), 0);
  EXPECT_EQ(HookedKeys(2), (std::vector<std::string>{"hook down vk=0x0d scan=0x00", "hook up vk=0x0d scan=0x00"}));
  EXPECT_EQ(Events(log_, "uowin"), (std::vector<std::string>{"uowin down vk=0x0d scan=0x00", "uowin up vk=0x0d scan=0x00"}));
  EXPECT_EQ(ClipboardText(), L"こんばんは");
  EXPECT_EQ(Wide(ReportLine("caption")), kTitle + kEcNote);
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
  StartClient({L"classic"});
  SetClipboardText(L"before");
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Holding());
    auto tool = Deliver({L"[a] never typed"});
    HWND box = WaitForMessageBox(tool.Id(), 20s);
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_TRUE(text.starts_with(L"クリップボード ")) << Utf8(text);
    EXPECT_TRUE(text.ends_with(L" を開けません.")) << Utf8(text);
    PressOk(box);
    EXPECT_EQ(tool.WaitExit(20s), 0);
  }
  Sleep(300);
  EXPECT_TRUE(Events(log_, "hook").empty());
  EXPECT_EQ(ClipboardText(), L"before");
}

// Deliveries one after the other each send the whole sequence: none loses a
// key to the one before it. How long they take is the bench's Delivery row.
TEST_F(DeliveryEndToEnd, RepeatedDeliveriesEachSendTheWholeSequence) {
  StartClient({L"classic"});
  std::vector<std::wstring> args;
  constexpr int kRuns = 20;
  for (int i = 0; i < kRuns; ++i) args.push_back(L"[n] phrase " + std::to_wstring(i));
  auto tool = Deliver(args);
  ASSERT_EQ(tool.WaitExit(60s), 0);
  std::vector<std::string> expected;
  for (int i = 0; i < kRuns; ++i)
    expected.insert(expected.end(), kClassicKeys.begin(), kClassicKeys.end());
  EXPECT_EQ(HookedKeys(expected.size()), expected);
}

// ClassicUO: each speech mode in its box as if typed by hand, a phrase over 100
// characters in two parts, the no-Enter marker's phrase left unsent in its box,
// and a classic client running as well is the one served.
TEST_F(DeliveryEndToEnd, ClassicUOSpeaksEachPhraseInItsModeWholeAndOnce) {
  StartClient({L"classicuo"});
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
    WaitUntil([&] { return Events(log_, "say").size() >= before + row.said.size(); }, 5s);
    Sleep(300);
    const auto said = Events(log_, "say");
    EXPECT_EQ(
        std::vector<std::string>(said.begin() + static_cast<std::ptrdiff_t>(before), said.end()),
        row.said)
        << Utf8(row.args.back());
    EXPECT_EQ(Events(log_, "box").back(), row.box);
  }
  EXPECT_EQ(ClipboardText(), L"/stuck");

  const std::wstring classic_log = dir_.Path() + L"classic.log";
  Process classic(BinDir() + L"standin_client.exe", {L"classic", classic_log}, dir_.Path());
  ASSERT_TRUE(WaitUntil([&] { return !Events(classic_log, "ready").empty(); }, 15s));
  const auto boxes = Events(log_, "box").size();
  ASSERT_EQ(Deliver({L"[a] classic"}).WaitExit(20s), 0);
  EXPECT_TRUE(WaitUntil([&] { return !Events(classic_log, "inner paste").empty(); }, 5s));
  EXPECT_EQ(Events(log_, "box").size(), boxes);
}

}  // namespace
}  // namespace quillomi::e2e
