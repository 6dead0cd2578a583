// Game client delivery and the window search it runs for the EC client.
#include "delivery/game_delivery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "delivery/win_search.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "res/identities.h"
#include "tests/unit/test_support.h"

namespace quillomi::delivery {
namespace {

using platform::WindowHandle;
using Lines = std::vector<std::string>;

constexpr WindowHandle kPanel = 0x100, kClassic = 0x200, kInner = 0x201, kEc = 0x300,
                       kUowin = 0x301;
constexpr std::u16string_view kTitle = u"Quillomi";
const std::u16string kEcCaption =
    u"Quillomi\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
const std::string kMessageLine =
    "message " + fake::Quote(u"起動中のＵＯが見つからなくて発言できなかったよ！\n\r\n\r"
                             u"選択した文字はクリップボードに記憶したから、\n\r"
                             u"ＵＯに[Ctrl]+[V]キーで貼り付けて[Enter]にて発言してね！");

// A visible window without owner; top-level without a parent.
fake::FakeWindow Win(WindowHandle handle, std::u16string class_name, std::u16string title = {},
                     WindowHandle parent = 0) {
  return {handle, std::move(class_name), std::move(title), parent};
}

// --- WinSearch ---------------------------------------------------------------

// Hidden and owned windows in between must not use up room, and the block
// after the list must stay untouched however many windows there are.
TEST(GetTopWindows, CollectsVisibleUnownedWindowsInOrderUpToTheListsRoom) {
  struct Guarded {
    TWindowList list;
    std::array<std::uint64_t, 64> after;
  };
  constexpr std::uint64_t kCanary = 0xC0FFEE0DDBA11ULL;
  for (int windows : {0, 1, 9, 500, 501, 502, 10000}) {
    SCOPED_TRACE(windows);
    fake::FakePlatform fake;
    std::vector<WindowHandle> qualifying;
    for (int i = 0; i < windows; ++i) {
      const bool hidden = i % 7 == 3, owned = i % 11 == 5;
      const auto handle = fake.AddWindow(
          {.class_name = u"", .title = u"w", .owner = owned ? kPanel : 0, .visible = !hidden});
      if (!hidden && !owned) qualifying.push_back(handle);
    }
    auto guarded = std::make_unique<Guarded>();
    guarded->list.count = 99;
    guarded->after.fill(kCanary);

    qualifying.resize(std::min<std::size_t>(qualifying.size(), TWindowList::kCapacity));
    EXPECT_EQ(GetTopWindows(fake, guarded->list), static_cast<std::int32_t>(qualifying.size()));
    EXPECT_EQ(std::vector<WindowHandle>(guarded->list.handles.begin(),
                                        guarded->list.handles.begin() + guarded->list.count),
              qualifying);
    for (auto slot : guarded->after) ASSERT_EQ(slot, kCanary);
  }
}

TEST(GetWindowTitleText, TakesTheTitleUpToItsFirstNulAndAtMost259Units) {
  std::u16string long_title;
  for (int i = 0; i < 260; ++i) long_title += static_cast<char16_t>(u'ア' + i % 40);
  struct Case {
    std::u16string title, expected;
    bool gone = false;
  };
  const Case cases[] = {
      {u"Ultima Online", u"Ultima Online"},
      {u"", u""},
      {u"UOSA client", u"", true},
      {std::u16string(u"ab\0UOSA c", 9), u"ab"},
      {long_title.substr(0, 259), long_title.substr(0, 259)},
      {long_title.substr(0, 260), long_title.substr(0, 259)},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    const auto window = fake.AddWindow(Win(0, u"", c.title));
    if (c.gone) fake.RemoveWindow(window);
    EXPECT_EQ(GetWindowTitleText(fake, window), c.expected) << test::Utf8(c.title);
  }
}

// --- delivery --------------------------------------------------------------

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Ctrl+V, a pause, Enter, and unless no_enter another pause and Enter, all with
// the layout's scan codes; the frame is raised first and the panel last.
Lines ClassicLog(bool inner, bool no_enter) {
  const Lines enter{"key 0x0d scan 0x1c down", "key 0x0d scan 0x1c up"};
  return Join({{"find \"Ultima Online\" -> 0x200",
                inner ? "findchild 0x200 \"Ultima Online\" -> 0x201"
                      : "findchild 0x200 \"Ultima Online\" -> none",
                "raise 0x200"},
               inner ? Lines{"post WM_SETFOCUS 0x201"} : Lines{},
               {"key 0x11 scan 0x1d down", "key 0x56 scan 0x2f down", "key 0x56 scan 0x2f up",
                "key 0x11 scan 0x1d up", "sleep 100"},
               enter,
               no_enter ? Lines{} : Join({{"sleep 100"}, enter}),
               {"find \"TForm1\" -> 0x100", "raise 0x100"}});
}

// No classic client; the titles of the collected windows are read up to the
// first one with "UOSA ".
Lines SearchLog(Lines titles) {
  return Join({{"find \"Ultima Online\" -> none", "findchild none \"Ultima Online\" -> none",
                "enum", "title 0x100"},
               titles});
}

// The caption note, then, if there is a key target, one Enter without scan code.
Lines EcLog(bool key_target) {
  return Join({SearchLog({"title 0x300", "settext 0x100 " + fake::Quote(kEcCaption)}),
               key_target ? Lines{"find \"UOWIN\" -> 0x301", "raise 0x301", "sleep 300",
                                  "key 0x0d scan 0x00 down", "key 0x0d scan 0x00 up"}
                          : Lines{"find \"UOWIN\" -> none"}});
}

enum Parts { kAbsent, kFrame, kFull };  // a client's windows: none, the frame, both

struct Case {
  const char* name;
  Parts classic, ec;
  bool no_enter;
  GameClient client;
  Lines log;
  std::string vanish_at = {};  // after this log line the game's windows are gone
};

class GameDelivery : public testing::TestWithParam<Case> {};

TEST_P(GameDelivery, CallsInOrder) {
  const Case& c = GetParam();
  fake::FakePlatform fake;
  fake.AddWindow(Win(kPanel, std::u16string(ids::kPanelClass), std::u16string(kTitle)));
  if (c.ec != kAbsent) fake.AddWindow(Win(kEc, u"EcFrame", u"UOSA - Enhanced Client"));
  if (c.ec == kFull) fake.AddWindow(Win(kUowin, u"UOWIN"));
  if (c.classic != kAbsent) fake.AddWindow(Win(kClassic, u"Ultima Online"));
  if (c.classic == kFull) fake.AddWindow(Win(kInner, u"Ultima Online", u"", kClassic));
  fake.on_record = [&](const std::string& line) {
    if (line != c.vanish_at) return;
    for (auto window : {kInner, kClassic, kUowin, kEc}) fake.RemoveWindow(window);
  };

  EXPECT_EQ(FindUOandPase(fake.Get(), {c.no_enter, kTitle, kPanel}), c.client);
  EXPECT_EQ(fake.Log(), c.log);
  EXPECT_EQ(fake.TextOf(kPanel), c.client == GameClient::kEc ? kEcCaption : kTitle);
}

INSTANTIATE_TEST_SUITE_P(
    Clients, GameDelivery,
    testing::Values(
        Case{"Classic", kFull, kAbsent, false, GameClient::kClassic, ClassicLog(true, false)},
        Case{"ClassicNoEnter", kFull, kAbsent, true, GameClient::kClassic, ClassicLog(true, true)},
        Case{"ClassicWithoutInner", kFrame, kAbsent, false, GameClient::kClassic,
             ClassicLog(false, false)},
        Case{"BothOnlyClassic", kFull, kFull, false, GameClient::kClassic, ClassicLog(true, false)},
        Case{"Ec", kAbsent, kFull, false, GameClient::kEc, EcLog(true)},
        Case{"EcIgnoresNoEnter", kAbsent, kFull, true, GameClient::kEc, EcLog(true)},
        Case{"EcWithoutKeyTarget", kAbsent, kFrame, false, GameClient::kEc, EcLog(false)},
        Case{"NoClient", kAbsent, kAbsent, false, GameClient::kNone, SearchLog({kMessageLine})},
        // The handles are looked up once: windows that go away midway change nothing.
        Case{"ClassicGoneAfterRaise", kFull, kAbsent, false, GameClient::kClassic,
             ClassicLog(true, false), "raise 0x200"},
        Case{"EcKeyTargetGone", kAbsent, kFull, false, GameClient::kEc, EcLog(true),
             "find \"UOWIN\" -> 0x301"},
        Case{"EcGoneBeforeItsTitle", kAbsent, kFull, false, GameClient::kNone,
             SearchLog({"title 0x300", "title 0x301", kMessageLine}), "title 0x300"}),
    [](const testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

// ClassicUO: "V" stands for Ctrl+V, "E" for Enter, "w" for a frame's pause,
// and a quoted text for the clipboard set to it.
struct CuoRow {
  std::u16string text;
  std::vector<std::string> steps;
  bool no_enter = false;
};

TEST(GameDeliveryClassicUO, PastesThePrefixAloneAndSendsEachPart) {
  const std::u16string x100(100, u'x');
  const CuoRow rows[] = {
      {u"こんにちは", {"V", "w", "E", "w"}},
      {u"/ こんにちは",
       {"\"/\"", "V", "w", "\" こんにちは\"", "V", "w", "E", "w", "\"/ こんにちは\""}},
      {u"/1 hi", {"\"/\"", "V", "w", "\"1 hi\"", "V", "w", "E", "w", "\"/1 hi\""}},
      {u"; hi", {"\"; \"", "V", "w", "\"hi\"", "V", "w", "E", "w", "\"; hi\""}},
      {u"\\g", {"\"\\\\\"", "V", "w", "\"g\"", "V", "w", "E", "w", "\"\\\\g\""}},
      {u":x", {"V", "w", "E", "w"}},
      {u"/stuck", {"\"/\"", "V", "w", "\"stuck\"", "V", "w", "\"/stuck\""}, true},
      {u"! ", {"\"! \"", "V", "w", "\"! \""}},
      {x100 + u" " + x100 + u"\u3000 y", {"V", "w", "E", "w", "E", "w", "E", "w"}},
      {x100 + u"x   ", {"V", "w", "E", "w", "E", "w"}},
      {x100.substr(1) + u"\r\n", {"V", "w", "E", "w"}},
      {x100.substr(3) + u"\ty", {"V", "w", "E", "w", "E", "w"}},
      {std::u16string(600, u'x'), {"V", "w", "E", "w", "E", "w", "E", "w", "E", "w", "E", "w"}},
      {u"-" + x100 + x100,
       {"\"-\"", "V", "w", "\"" + std::string(200, 'x') + "\"", "V", "w", "E", "w",
        "\"-" + std::string(200, 'x') + "\""}},
  };
  const Lines ctrl_v{"key 0x11 scan 0x1d down", "key 0x56 scan 0x2f down", "key 0x56 scan 0x2f up",
                     "key 0x11 scan 0x1d up"};
  for (const auto& r : rows) {
    SCOPED_TRACE(test::Utf8(r.text));
    fake::FakePlatform fake;
    fake.AddWindow(Win(kPanel, std::u16string(ids::kPanelClass), std::u16string(kTitle)));
    fake.AddWindow(Win(0x400, u"SDL_app", u"Mika - ClassicUO - 1.1.0"));
    fake.clipboard_text = r.text;  // as the sender left it
    Lines log{"find \"Ultima Online\" -> none",
              "findchild none \"Ultima Online\" -> none",
              "enum",
              "title 0x100",
              "title 0x400",
              "class 0x400 -> \"SDL_app\"",
              "raise 0x400",
              "foreground 0x400"};
    for (const auto& step : r.steps) {
      if (step == "V") log.insert(log.end(), ctrl_v.begin(), ctrl_v.end());
      if (step == "E") log.insert(log.end(), {"key 0x0d scan 0x1c down", "key 0x0d scan 0x1c up"});
      if (step == "w") log.push_back("sleep 100 answering");
      if (step.starts_with('"')) log.push_back("clipboard " + step);
    }
    log.insert(log.end(), {"find \"TForm1\" -> 0x100", "raise 0x100"});
    EXPECT_EQ(FindUOandPase(fake.Get(), {r.no_enter, kTitle, kPanel}, r.text),
              GameClient::kClassicUO);
    EXPECT_EQ(fake.Log(), log);
    EXPECT_EQ(fake.clipboard_text, r.text);
  }
}

// The first visible unowned "SDL_app" titled "ClassicUO", and only where
// neither the classic nor an EC client is found.
TEST(GameDeliveryClassicUO, IsTheFirstSdlWindowTitledClassicUOAndComesLast) {
  struct Row {
    std::vector<fake::FakeWindow> windows;
    GameClient client;
    std::string raised = {};
  };
  const auto cuo = [](WindowHandle h, std::u16string c, bool visible = true,
                      WindowHandle owner = 0) {
    return fake::FakeWindow{h, std::move(c), u"ClassicUO - 1.1.0", 0, owner, visible};
  };
  const Row rows[] = {
      {{Win(0x401, u"SDL_app", u"Game"), cuo(0x402, u"Other"), cuo(0x403, u"SDL_app"),
        cuo(0x404, u"SDL_app")},
       GameClient::kClassicUO,
       "raise 0x403"},
      {{cuo(0x401, u"SDL_app", false), cuo(0x402, u"SDL_app", true, kPanel)}, GameClient::kNone},
      {{cuo(0x401, u"SDL_app"), Win(kEc, u"", u"UOSA - Enhanced Client")}, GameClient::kEc},
      {{cuo(0x401, u"SDL_app"), Win(kClassic, u"Ultima Online")}, GameClient::kClassic},
  };
  for (const auto& r : rows) {
    fake::FakePlatform fake;
    for (const auto& w : r.windows) fake.AddWindow(w);
    EXPECT_EQ(FindUOandPase(fake.Get(), {false, kTitle, kPanel}), r.client);
    if (!r.raised.empty()) {
      EXPECT_EQ(fake.LogWith({"raise"}).front(), r.raised);
    }
  }
}

TEST(GameDeliveryDetail, ScanCodesAreTheLowByteOfTheLayoutsCodes) {
  fake::FakePlatform fake;
  fake.AddWindow(Win(kClassic, u"Ultima Online"));
  fake.scan_codes = {{0x11, 0xE11D}, {0x56, 0x12F}};  // no code for Enter
  FindUOandPase(fake.Get(), {true, kTitle, kPanel});
  EXPECT_EQ(fake.LogWith({"key"}),
            (Lines{"key 0x11 scan 0x1d down", "key 0x56 scan 0x2f down", "key 0x56 scan 0x2f up",
                   "key 0x11 scan 0x1d up", "key 0x0d scan 0x00 down", "key 0x0d scan 0x00 up"}));
}

// Hidden and owned windows are left out by the window search (above).
TEST(GameDeliveryDetail, OnlyATitleHoldingUosaAndASpaceIsAnEcClient) {
  const std::pair<std::u16string, bool> rows[] = {
      {u"UOSA - Enhanced Client", true},
      {u"Ultima Online UOSA ", true},
      {u"Game UOSA", false},
      {u"uosa client", false},
      {u"UOSA\u3000client", false},
      {std::u16string(250, u'x') + u"UOSA x", true},
      {std::u16string(255, u'x') + u"UOSA x", false},  // beyond the 259 units read
  };
  for (const auto& [title, ec] : rows) {
    SCOPED_TRACE(test::Utf8(title));
    fake::FakePlatform fake;
    fake.AddWindow(Win(kEc, u"", title));
    EXPECT_EQ(FindUOandPase(fake.Get(), {false, kTitle, kPanel}),
              ec ? GameClient::kEc : GameClient::kNone);
  }
}

TEST(GameDeliveryDetail, AFailureInsideTheWindowSearchIsNotLost) {
  fake::FakePlatform fake;
  fake.owner_faults.insert(fake.AddWindow(Win(kEc, u"", u"UOSA client")));
  EXPECT_THROW(FindUOandPase(fake.Get(), {false, kTitle, kPanel}), OsFailure);
  EXPECT_EQ(fake.LogWith({"settext", "message", "key"}), Lines{});
}

}  // namespace
}  // namespace quillomi::delivery
