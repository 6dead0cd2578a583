// The panel's handlers on the recording fake and a simulated window, in one log.
#include "ui/panel_handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::ui {
namespace {

using test::SimulatedPanel;
using test::Utf8;
using Lines = std::vector<std::string>;

const std::u16string kDir = u"C:\\Games\\Quillomi\\";
const std::u16string kSettings = kDir + u"Quillomi.exe_ユーザー設定.ini";
const std::u16string kButtons = kDir + u"QLMO_ボタン_ユーザー設定.txt";

struct Rig {
  explicit Rig(std::string_view settings = {}) {
    for (const auto* name : {u"Quillomi_Lst.dll", u"QLMO_一覧_ユーザー設定.txt"})
      fake.PutFile(kDir + name, "x\r\n");
    fake.PutFile(kDir + u"Quillomi_Btn.dll", "[t]\r\n");
    fake.PutFile(kButtons, "こんにちは\r\n[x]\r\n");
    if (!settings.empty()) fake.PutFile(kSettings, settings);
  }
  // The log from the first line that starts with `from`, paths shortened.
  Lines LogFrom(std::string_view from = {}) const {
    Lines lines;
    for (auto line : fake.Log()) {
      if (lines.empty() && !line.starts_with(from)) continue;
      for (const auto& [path, name] : {std::pair{kSettings, "<settings>"}, {kButtons, "<buttons>"}})
        for (std::size_t at; (at = line.find(fake::Quote(path))) != std::string::npos;)
          line.replace(at, fake::Quote(path).size(), name);
      lines.push_back(line);
    }
    return lines;
  }
  fake::FakePlatform fake;
  SimulatedPanel view{fake};
  PanelHandlers handlers{fake.Get(), view};
};

TEST(Panel, CreationRunsItsStepsInOrder) {
  Rig r("[System]\r\nedtTxtVisible=1\r\nedtTxtFontSize=12\r\nLeft2=10\r\nBottom2=300\r\n");
  ASSERT_TRUE(r.handlers.FormCreate());
  // Placement, then the free-text box, then the buttons, then the last touches.
  const std::vector<std::string_view> order = {
      "hint delay 300",       "left 10",    "edtTxt font 12", "show free text", "free text gap",
      "caption 1 こんにちは", "caption 59", "empty edtTxt",   "hint delay 200", "raise edtTxt"};
  std::size_t found = 0;
  for (const auto& line : r.LogFrom("hint delay"))
    if (found < order.size() && line.starts_with(order[found])) ++found;
  EXPECT_EQ(found, order.size()) << "missing or out of order: " << order[found];
  EXPECT_EQ(r.handlers.HintFor({PanelControl::Kind::kButton, 1}), u"こんにちは");
}

TEST(Panel, CreationEndsWithoutAButtonTemplate) {
  Rig r;
  r.fake.files.erase(kDir + u"Quillomi_Btn.dll");
  EXPECT_FALSE(r.handlers.FormCreate());
  EXPECT_EQ(r.LogFrom("message").size(), 1u) << "the message alone, nothing placed";
}

TEST(Panel, PressOnAPhraseButton) {
  const std::string kInstructions = "message " + fake::Quote(kEditInstructions);
  const std::string kNotepad = "notepad 0x40 <buttons> \"C:\\\\Games\\\\Quillomi\\\\\"";
  const Lines kSent = {"clipboard \"こんにちは\"", "message " + fake::Quote(delivery::kNotFoundMessage)};
  struct Case {
    const char* name;
    PressedButton button;
    std::set<std::uint8_t> held;
    int number;
    Lines log;
  };
  using enum PressedButton;
  const std::uint8_t shift = platform::kVkShift, alt = platform::kVkMenu, ctrl = 0x11;
  const Case cases[] = {
      {"left sends", kLeft, {}, 1, kSent},
      {"Ctrl+left sends all the same", kLeft, {ctrl}, 1, kSent},
      {"Shift+left", kLeft, {shift}, 1, {}},
      {"Alt+left", kLeft, {alt}, 1, {}},
      {"middle", kMiddle, {}, 1, {}},
      {"right edits", kRight, {}, 1, {kInstructions, kNotepad}},
      {"Alt+right edits too", kRight, {alt}, 2, {kInstructions, kNotepad}},
      {"Shift+right reloads", kRight, {shift}, 1,
       {"read <buttons>", "caption 1 こんにちは", "caption 59 59",
        "message \"ボタン内容を再読込しました\""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r;
    ASSERT_TRUE(r.handlers.FormCreate());
    r.fake.ClearLog();
    r.fake.held_keys = c.held;
    r.handlers.Btn01MouseDown(c.number, c.button);
    Lines shown;
    for (const auto& line : r.LogFrom())
      if (line.starts_with("clipboard") || line.starts_with("message") ||
          line.starts_with("notepad") || line.starts_with("caption") || line.starts_with("read <b"))
        shown.push_back(line);
    EXPECT_EQ(shown, c.log);
  }
}

// A close whose save fails keeps the window once, then lets it go with the
// error shown; the rule is the list window's too, whose tests hold it whole.
TEST(Panel, CloseSavesOrKeepsTheWindowOnce) {
  Rig r;
  ASSERT_TRUE(r.handlers.FormCreate());
  r.fake.directories.insert(kSettings);
  EXPECT_THROW(r.handlers.FormClose(), UserError);
  r.fake.ClearLog();
  EXPECT_TRUE(r.handlers.FormClose());
  EXPECT_EQ(r.fake.LogWith({"error"}).size(), 1u);
  EXPECT_FALSE(r.fake.files.contains(kSettings));
}

TEST(Panel, EachControlShowsItsHintOrTheWindowsBeforeTheBar) {
  Rig r;
  r.fake.PutFile(kButtons, "a|b|c\r\n[empty hint]\r\n|\r\n");
  using enum PanelControl::Kind;
  EXPECT_EQ(r.handlers.HintFor({kPartyBox}), u"") << "before the creation handler";
  ASSERT_TRUE(r.handlers.FormCreate());
  const std::u16string form(kFormHint);
  struct Case {
    PanelControl control;
    std::u16string hint;
  };
  const Case cases[] = {
      // A hint of its own that is empty before the bar shows nothing.
      {{kButton, 1}, u"a"},  {{kButton, 2}, form},  {{kButton, 3}, u""},
      {{kButton, 0}, form},  {{kBackground}, form}, {{kRadio, 4}, u"チャット内に発言"},
      {{kPartyBox}, std::u16string(kPartyBoxHint)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(r.handlers.HintFor(c.control), c.hint)
        << static_cast<int>(c.control.kind) << " " << c.control.index;
}

TEST(Panel, EnterInTheFreeTextBoxSendsWithTheChosenMode) {
  Rig r;
  ASSERT_TRUE(r.handlers.FormCreate());
  r.handlers.ControlClicked(SpeechControl::cbPT);
  r.view.edtTxt = u"やあ";
  r.fake.ClearLog();
  EXPECT_FALSE(r.handlers.edtTxtKeyPress(u'a'));
  EXPECT_TRUE(r.handlers.edtTxtKeyPress(u'\r'));
  EXPECT_EQ(r.fake.LogWith({"clipboard"}), Lines{"clipboard \"/ やあ\""});
  EXPECT_TRUE(r.view.edtTxt.empty());
}

}  // namespace
}  // namespace quillomi::ui
