#include "delivery/game_delivery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delivery/win_search.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win_search_spy.h"

namespace quillomi::delivery {
namespace {

using platform::WindowHandle;
using Lines = std::vector<std::string>;

constexpr WindowHandle kPanel = 0x100;
constexpr WindowHandle kClassic = 0x200;
constexpr WindowHandle kInner = 0x201;
constexpr WindowHandle kEc = 0x300;
constexpr WindowHandle kUowin = 0x301;
constexpr std::u16string_view kTitle = u"Quillomi";

const std::u16string kEcCaption =
    u"Quillomi\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
const std::u16string kNotFound =
    u"起動中のＵＯが見つからなくて発言できなかったよ！\u000A\u000D\u000A\u000D"
    u"選択した文字はクリップボードに記憶したから、\u000A\u000D"
    u"ＵＯに[Ctrl]+[V]キーで貼り付けて[Enter]にて発言してね！";

const Lines kClassicFull = {
    "find \"Ultima Online\" -> 0x200",
    "findchild 0x200 \"Ultima Online\" -> 0x201",
    "raise 0x200",
    "post WM_SETFOCUS 0x201",
    "key 0x11 scan 0x1d down",
    "key 0x56 scan 0x2f down",
    "key 0x56 scan 0x2f up",
    "key 0x11 scan 0x1d up",
    "sleep 100",
    "key 0x0d scan 0x1c down",
    "key 0x0d scan 0x1c up",
    "sleep 100",
    "key 0x0d scan 0x1c down",
    "key 0x0d scan 0x1c up",
    "find \"TForm1\" -> 0x100",
    "raise 0x100",
};

class GameDelivery : public testing::Test {
 protected:
  GameDelivery() {
    fake.AddWindow(test::Window().Handle(kPanel).Class(u"TForm1").Title(std::u16string(kTitle)));
  }

  void AddClassic(bool with_inner = true) {
    fake.AddWindow(test::Window().Handle(kClassic).Class(u"Ultima Online").Title(u"Ultima Online"));
    if (with_inner)
      fake.AddWindow(test::Window().Handle(kInner).Class(u"Ultima Online").Parent(kClassic));
  }
  void AddEc(bool with_key_target = true) {
    fake.AddWindow(test::Window().Handle(kEc).Class(u"EcFrame").Title(u"UOSA - Enhanced Client"));
    if (with_key_target) fake.AddWindow(test::Window().Handle(kUowin).Class(u"UOWIN"));
  }

  GameClient Deliver(bool no_enter = false) {
    return FindUOandPase(spy.Get(), {no_enter, kTitle, kPanel});
  }

  static std::string SetCaptionLine() { return "settext 0x100 " + fake::Quote(kEcCaption); }
  static std::string MessageLine() { return "message " + fake::Quote(kNotFound); }

  fake::FakePlatform fake;
  test::SpyWindows spy{fake};
};

TEST_F(GameDelivery, ClassicClientGetsPasteAndTwoEnters) {
  AddClassic();
  EXPECT_EQ(Deliver(false), GameClient::kClassic);
  EXPECT_EQ(fake.Log(), kClassicFull);
  EXPECT_EQ(fake.slept_ms, 200u);
}

TEST_F(GameDelivery, NoEnterMarkerLeavesOutTheSecondEnter) {
  AddClassic();
  EXPECT_EQ(Deliver(true), GameClient::kClassic);
  Lines expected = kClassicFull;
  expected.erase(expected.begin() + 11, expected.begin() + 14);  // pause, Enter down, Enter up
  EXPECT_EQ(fake.Log(), expected);
}

TEST_F(GameDelivery, ClassicClientWithoutInnerWindowStillGetsEveryKey) {
  AddClassic(false);
  EXPECT_EQ(Deliver(false), GameClient::kClassic);
  Lines expected = kClassicFull;
  expected[1] = "findchild 0x200 \"Ultima Online\" -> none";
  expected.erase(expected.begin() + 3);  // nothing to focus
  EXPECT_EQ(fake.Log(), expected);
}

TEST_F(GameDelivery, ScanCodesAreTheLowByteOfTheLayoutsCodes) {
  AddClassic();
  fake.scan_codes = {{0x11, 0xE11D}, {0x56, 0x12F}};  // no code for Enter
  Deliver(true);
  EXPECT_EQ(fake.LogWith({"key"}), (Lines{
                                       "key 0x11 scan 0x1d down",
                                       "key 0x56 scan 0x2f down",
                                       "key 0x56 scan 0x2f up",
                                       "key 0x11 scan 0x1d up",
                                       "key 0x0d scan 0x00 down",
                                       "key 0x0d scan 0x00 up",
                                   }));
}

TEST_F(GameDelivery, BothClientsRunningServesOnlyTheClassicOne) {
  AddEc();
  AddClassic();
  EXPECT_EQ(Deliver(false), GameClient::kClassic);
  EXPECT_EQ(fake.Log(), kClassicFull);
  EXPECT_EQ(fake.TextOf(kPanel), kTitle);
}

TEST_F(GameDelivery, EcClientGetsOneEnterWithoutScanCodeWhateverTheMarker) {
  for (bool no_enter : {false, true}) {
    SCOPED_TRACE(no_enter);
    fake.ClearLog();
    AddEc();
    EXPECT_EQ(Deliver(no_enter), GameClient::kEc);
    EXPECT_EQ(fake.Log(), (Lines{
                              "find \"Ultima Online\" -> none",
                              "findchild none \"Ultima Online\" -> none",
                              "enum",
                              "title 0x100",
                              "title 0x300",
                              SetCaptionLine(),
                              "find \"UOWIN\" -> 0x301",
                              "raise 0x301",
                              "sleep 300",
                              "key 0x0d scan 0x00 down",
                              "key 0x0d scan 0x00 up",
                          }));
    EXPECT_EQ(fake.TextOf(kPanel), kEcCaption);
    fake.RemoveWindow(kEc);
    fake.RemoveWindow(kUowin);
  }
}

TEST_F(GameDelivery, EcClientWithoutKeyTargetOnlyGetsTheCaption) {
  AddEc(false);
  EXPECT_EQ(Deliver(), GameClient::kEc);
  EXPECT_EQ(fake.Log(), (Lines{
                            "find \"Ultima Online\" -> none",
                            "findchild none \"Ultima Online\" -> none",
                            "enum",
                            "title 0x100",
                            "title 0x300",
                            SetCaptionLine(),
                            "find \"UOWIN\" -> none",
                        }));
}

TEST_F(GameDelivery, NoClientShowsTheMessageAndTypesNothing) {
  std::u16string shown;
  fake.on_message = [&](std::u16string_view text) { shown = text; };
  EXPECT_EQ(Deliver(), GameClient::kNone);
  EXPECT_EQ(shown, kNotFound);
  EXPECT_EQ(fake.Log(), (Lines{
                            "find \"Ultima Online\" -> none",
                            "findchild none \"Ultima Online\" -> none",
                            "enum",
                            "title 0x100",
                            MessageLine(),
                        }));
}

TEST_F(GameDelivery, OnlyATitleHoldingUosaAndASpaceIsAnEcClient) {
  struct Case {
    std::u16string title;
    bool ec;
  };
  const Case cases[] = {
      {u"UOSA - Enhanced Client", true},
      {u"Ultima Online UOSA ", true},
      {u"xUOSA y", true},
      {u"Game UOSA", false},
      {u"uosa client", false},
      {u"Uosa client", false},
      {u"UOSA\u3000client", false},
      {u"UOSA\tclient", false},
      {u"UOS A client", false},
      {u"ＵＯＳＡ client", false},
      {std::u16string(250, u'x') + u"UOSA x", true},
      {std::u16string(255, u'x') + u"UOSA x", false},  // beyond the 259 units read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::Utf8(c.title));
    fake::FakePlatform other;
    test::SpyWindows other_spy(other);
    other.AddWindow(test::Window().Handle(kEc).Title(c.title));
    other.AddWindow(test::Window().Handle(kUowin).Class(u"UOWIN"));
    EXPECT_EQ(FindUOandPase(other_spy.Get(), {false, kTitle, kPanel}),
              c.ec ? GameClient::kEc : GameClient::kNone);
    EXPECT_EQ(other.LogWith({"message"}).size(), c.ec ? 0u : 1u);
    EXPECT_EQ(other.LogWith({"key"}).size(), c.ec ? 2u : 0u);
  }
}

TEST_F(GameDelivery, HiddenAndOwnedWindowsAreNotConsidered) {
  fake.AddWindow(test::Window().Handle(0x400).Title(u"UOSA hidden").Hidden());
  fake.AddWindow(test::Window().Handle(0x401).Title(u"UOSA owned").Owner(kPanel));
  fake.AddWindow(test::Window().Handle(kUowin).Class(u"UOWIN"));
  EXPECT_EQ(Deliver(), GameClient::kNone);
  EXPECT_EQ(fake.LogWith({"title", "message"}),
            (Lines{"title 0x100", "title 0x301", MessageLine()}));
}

TEST_F(GameDelivery, OfTwoEcWindowsTheSecondIsNotExamined) {
  AddEc();
  fake.AddWindow(test::Window().Handle(0x302).Title(u"UOSA second"));
  EXPECT_EQ(Deliver(), GameClient::kEc);
  EXPECT_EQ(fake.LogWith({"title", "find \"UOWIN\"", "raise"}),
            (Lines{"title 0x100", "title 0x300", "find \"UOWIN\" -> 0x301", "raise 0x301"}));
}

TEST_F(GameDelivery, TheEcCaptionIsBuiltFromTheOriginalTitleEachTime) {
  AddEc();
  Deliver();
  Deliver();
  EXPECT_EQ(fake.LogWith({"settext"}), (Lines{SetCaptionLine(), SetCaptionLine()}));
  EXPECT_EQ(fake.TextOf(kPanel), kEcCaption);

  // Later deliveries to a classic client leave the note where it is.
  AddClassic();
  fake.ClearLog();
  Deliver();
  EXPECT_EQ(fake.Log(), kClassicFull);
  EXPECT_EQ(fake.TextOf(kPanel), kEcCaption);
}

TEST_F(GameDelivery, AGameWindowThatGoesAwayMidwayChangesNothing) {
  AddClassic();
  fake.on_record = [&](const std::string& line) {
    if (line == "raise 0x200") {
      fake.RemoveWindow(kInner);
      fake.RemoveWindow(kClassic);
    }
  };
  EXPECT_EQ(Deliver(), GameClient::kClassic);
  EXPECT_EQ(fake.Log(), kClassicFull);
}

TEST_F(GameDelivery, AnEcKeyTargetThatGoesAwayStillGetsItsEnter) {
  AddEc();
  fake.on_record = [&](const std::string& line) {
    if (line == "find \"UOWIN\" -> 0x301") fake.RemoveWindow(kUowin);
  };
  EXPECT_EQ(Deliver(), GameClient::kEc);
  EXPECT_EQ(fake.LogWith({"raise", "sleep", "key"}), (Lines{
                                                         "raise 0x301",
                                                         "sleep 300",
                                                         "key 0x0d scan 0x00 down",
                                                         "key 0x0d scan 0x00 up",
                                                     }));
}

TEST_F(GameDelivery, AnEcWindowGoneBeforeItsTitleIsReadIsNoClient) {
  AddEc();
  fake.on_record = [&](const std::string& line) {
    if (line == "title 0x300") fake.RemoveWindow(kEc);
  };
  EXPECT_EQ(Deliver(), GameClient::kNone);
  EXPECT_EQ(fake.LogWith({"settext", "message"}), (Lines{MessageLine()}));
}

TEST_F(GameDelivery, AFailureInsideTheWindowSearchIsNotLost) {
  AddEc();
  spy.owner_query_fails_for = kEc;
  EXPECT_THROW(Deliver(), OsFailure);
  EXPECT_EQ(fake.LogWith({"settext", "message", "key"}), Lines{});
}

// The window list has room for 501 windows; further ones are not collected.
TEST_F(GameDelivery, AnEcWindowBeyondTheListsRoomIsNotSeen) {
  // The panel is the first of them.
  for (std::size_t i = 2; i < TWindowList::kCapacity; ++i)
    fake.AddWindow(test::Window().Title(u"w"));
  const auto last_seen = fake.AddWindow(test::Window().Title(u"UOSA last seen"));
  fake.AddWindow(test::Window().Title(u"UOSA never seen"));
  EXPECT_EQ(Deliver(), GameClient::kEc);
  const auto titles = fake.LogWith({"title"});
  EXPECT_EQ(titles.size(), TWindowList::kCapacity);
  EXPECT_EQ(titles.back(), "title " + fake::Hex(last_seen));

  fake.SetText(last_seen, u"w");
  fake.ClearLog();
  EXPECT_EQ(Deliver(), GameClient::kNone);
  EXPECT_EQ(fake.LogWith({"title"}).size(), TWindowList::kCapacity);
}

}  // namespace
}  // namespace quillomi::delivery
