// The list window's handlers on the recording fake and a simulated frame:
// the creation's steps in order, what the close writes, what a click on an
// entry does, the edit button, and where the anchored controls go.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "ui/filter.h"
#include "ui/list_window.h"

namespace quillomi::ui {
namespace {

using test::Utf8;
using Lines = std::vector<std::string>;

const std::u16string kProgramDir = u"C:\\Games\\Quillomi\\";
const std::u16string kListFile = kProgramDir + u"QLMO_一覧_ユーザー設定.txt";
const std::u16string kSettings = kProgramDir + u"Quillomi.exe_ユーザー設定.ini";

// A framed window as the toolkit keeps it; every change goes into the shared log.
class SimulatedListForm final : public ListFormFrame {
 public:
  SimulatedListForm(Lines& log, int frame, int caption)
      : log_(log), extra_width_(2 * frame), extra_height_(caption + 2 * frame) {}

  int left = 0;
  int top = 0;
  int outer_width = 0;
  int outer_height = 0;

  void CreateWithClient(int width, int height) {
    outer_width = width + extra_width_;
    outer_height = height + extra_height_;
  }

  int Top() const override { return top; }
  int Left() const override { return left; }
  int OuterWidth() const override { return outer_width; }
  int OuterHeight() const override { return outer_height; }
  int ClientWidth() const override { return outer_width - extra_width_; }
  int ClientHeight() const override { return outer_height - extra_height_; }
  void SetTop(int value) override { top = Logged("top", value); }
  void SetLeft(int value) override { left = Logged("left", value); }
  void SetClientWidth(int value) override {
    outer_width = Logged("client width", value) + extra_width_;
  }
  void SetClientHeight(int value) override {
    outer_height = Logged("client height", value) + extra_height_;
  }
  void SetItemHeight(int value) override { Logged("item height", value); }

 private:
  int Logged(const char* what, int value) {
    log_.push_back(std::string(what) + " " + std::to_string(value));
    return value;
  }

  Lines& log_;
  int extra_width_;
  int extra_height_;
};

class ListWindowTest : public ::testing::Test {
 protected:
  ListWindowTest() {
    // The platform's calls and the frame's changes in one sequence.
    fake_.on_record = [this](const std::string& line) { log_.push_back(line); };
    // Frame 8 and caption 23: the designed 356 x 320 is 372 x 359 outside.
    form_.CreateWithClient(kListWindowDesignClient.width, kListWindowDesignClient.height);
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < entries_.EntryCount(); ++i)
      texts.push_back(Utf8(entries_.EntryText(i)));
    return texts;
  }

  // Creation without letting an error escape; its text, or empty.
  std::string Create() {
    try {
      handlers_.FormCreate(kListFile);
    } catch (const UserError& error) {
      return Utf8(error.text());
    }
    return {};
  }

  Lines log_;
  fake::FakePlatform fake_;
  SimulatedListForm form_{log_, 8, 23};
  FilterList entries_{fake_};
  std::vector<std::string> sent_;
  ListWindowHandlers handlers_{fake_.Get(), form_, entries_, entries_,
                               [this](std::u16string text) { sent_.push_back(Utf8(text)); }};
};

TEST_F(ListWindowTest, CreationPlacesTheWindowThenLoadsTheList) {
  fake_.PutFile(kListFile, "[a]one\r\n\xE2\x97\x86head\r\n[b]two\r\n");
  EXPECT_EQ(Create(), "");
  // The worked example: work area 1920 x 1040, outer 372 x 359 at creation.
  EXPECT_EQ(log_, (Lines{"item height 16", "top 390", "left 824", "client width 372",
                         "client height 320", "read " + fake::Quote(kListFile)}));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[a]one", "◆head", "[b]two"}));
  EXPECT_EQ(Utf8(handlers_.sListFile()), Utf8(kListFile));
  EXPECT_FALSE(fake_.files.contains(kSettings)) << "creation writes no settings";
}

TEST_F(ListWindowTest, ItemHeightFollowsTheScreensDpi) {
  const std::pair<int, std::string> cases[] = {
      {96, "item height 16"}, {110, "item height 19"}, {144, "item height 24"}};
  for (const auto& [dpi, expected] : cases) {
    log_.clear();
    fake_.dpi_x = dpi;
    Create();
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_.front(), expected) << dpi;
  }
}

TEST_F(ListWindowTest, StoredPlaceAndSizeAreAppliedAsRead) {
  struct Case {
    const char* settings;
    Lines placement;
  };
  const Case cases[] = {
      {"[System]\r\nForm3Top=-5000\r\nForm3Left=99999\r\nForm3ClientWidth=10\r\n"
       "Form3ClientHeight=0\r\n",
       {"top -5000", "left 99999", "client width 10", "client height 0"}},
      // Unreadable values take their defaults; the defaults come from the
      // outer size at creation, not from the stored client size.
      {"[system]\r\nform3top=abc\r\nForm3ClientWidth=800\r\nForm3ClientHeight=$20\r\n",
       {"top 390", "left 824", "client width 800", "client height 32"}},
  };
  for (const auto& c : cases) {
    log_.clear();
    form_.CreateWithClient(kListWindowDesignClient.width, kListWindowDesignClient.height);
    fake_.PutFile(kSettings, c.settings);
    fake_.PutFile(kListFile, "x\r\n");
    Create();
    Lines placement;
    std::copy_if(log_.begin(), log_.end(), std::back_inserter(placement), [](const std::string& l) {
      return l.starts_with("top") || l.starts_with("left") || l.starts_with("client");
    });
    EXPECT_EQ(placement, c.placement) << c.settings;
  }
}

TEST_F(ListWindowTest, AListThatCannotBeReadLeavesTheWindowPlacedAndTheListEmpty) {
  struct Case {
    const char* name;
    std::string bytes;  // empty: no file
    std::string error;
  };
  const Case cases[] = {
      {"missing", "",
       Utf8(messages::CannotOpenFile(kListFile, u"指定されたファイルが見つかりません。"))},
      {"legacy code page", "[\x88\xa5\x8e\x41]\x82\xb1\x82\xf1\r\n", Utf8(messages::kMappingError)},
      {"UTF-16", std::string("\xFF\xFE[\0a\0]\0", 8), Utf8(messages::kMappingError)},
  };
  for (const auto& c : cases) {
    log_.clear();
    fake_.files.erase(kListFile);
    if (!c.bytes.empty()) fake_.PutFile(kListFile, c.bytes);
    EXPECT_EQ(Create(), c.error) << c.name;
    EXPECT_EQ(log_.size(), 6u) << c.name << ": placed, then the read";
    EXPECT_EQ(entries_.EntryCount(), 0u) << c.name;
  }
}

TEST_F(ListWindowTest, ASettingsFileThatCannotBeReadStopsBeforePlacementAndLoad) {
  fake_.PutFile(kSettings, "[System]\r\nForm3Top=\x82\xa0\r\n");
  fake_.PutFile(kListFile, "x\r\n");
  EXPECT_EQ(Create(), Utf8(messages::kMappingError));
  EXPECT_EQ(log_, (Lines{"item height 16", "read " + fake::Quote(kSettings)}));
  EXPECT_EQ(entries_.EntryCount(), 0u);
}

TEST_F(ListWindowTest, ReloadReplacesTheEntriesAndAFailedOneEmptiesThem) {
  fake_.PutFile(kListFile, "one\r\ntwo\r\n");
  Create();
  fake_.PutFile(kListFile, "\xE2\x97\x86new\r\nthree\r\n");
  handlers_.btn_RELOADClick();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"◆new", "three"}));
  EXPECT_EQ(entries_.IconOf(1), 1);

  fake_.read_faults[kListFile] = u"プロセスはファイルにアクセスできません。";
  EXPECT_THROW(handlers_.btn_RELOADClick(), UserError);
  EXPECT_EQ(entries_.EntryCount(), 0u);
}

TEST_F(ListWindowTest, AClickSendsTheRawLineButNeverAHeading) {
  fake_.PutFile(kListFile,
                "[a]\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF\r\n"  // こんにちは
                "\xE2\x97\x86head\r\n"
                "[x]\xE2\x97\x86mid\r\n"
                "\r\n"
                "plain [Enter\xE7\x84\xA1\xE3\x81\x97]\r\n");  // [Enter無し]
  Create();
  fake_.clipboard_text = u"before";
  struct Case {
    std::optional<std::size_t> selected;
    std::vector<std::string> sent;
    Lines platform;  // the calls the click makes
  };
  const Case cases[] = {
      {std::nullopt, {}, {}},
      {0, {"[a]こんにちは"}, {}},
      {1, {}, {"clipboard \"\""}},
      {2, {}, {"clipboard \"\""}},  // "◆" in the middle is a heading too
      {3, {""}, {}},
      {4, {"plain [Enter無し]"}, {}},
  };
  for (const auto& c : cases) {
    sent_.clear();
    log_.clear();
    handlers_.lb1ListClick(c.selected);
    EXPECT_EQ(sent_, c.sent) << (c.selected ? static_cast<long>(*c.selected) : -1);
    EXPECT_EQ(log_, c.platform) << (c.selected ? static_cast<long>(*c.selected) : -1);
  }
  EXPECT_EQ(fake_.clipboard_text, std::optional<std::u16string>(u""));
}

TEST_F(ListWindowTest, AHeadingClickOnABusyClipboardReportsItAndKeepsTheClipboard) {
  fake_.PutFile(kListFile, "\xE2\x97\x86head\r\n");
  Create();
  fake_.clipboard_text = u"before";
  fake_.clipboard_busy = u"アクセスが拒否されました。";
  try {
    handlers_.lb1ListClick(0);
    ADD_FAILURE() << "no error";
  } catch (const UserError& error) {
    EXPECT_EQ(Utf8(error.text()), "クリップボード アクセスが拒否されました。 を開けません");
  }
  EXPECT_EQ(fake_.clipboard_text, std::optional<std::u16string>(u"before"));
  EXPECT_TRUE(sent_.empty());
}

TEST_F(ListWindowTest, EditButtonShowsItsMessageThenStartsNotepadOnTheFile) {
  fake_.PutFile(kListFile, "x\r\n");
  Create();
  log_.clear();
  handlers_.btn_EDITClick(0x2a);
  ASSERT_EQ(log_.size(), 2u);
  EXPECT_TRUE(log_[0].starts_with("message \"リストの編集を行います。")) << log_[0];
  EXPECT_EQ(log_[1], "notepad 0x2a " + fake::Quote(kListFile) + " " + fake::Quote(kProgramDir));
  EXPECT_EQ(Entries(), std::vector<std::string>{"x"}) << "nothing is reloaded";
}

TEST(ListWindowMessage, EditMessageIs165UnitsWithLfCrBreaks) {
  EXPECT_EQ(kEditListMessage.size(), 165u);
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < kEditListMessage.size(); ++i) {
    if (kEditListMessage[i] == u'\n') {
      ASSERT_LT(i + 1, kEditListMessage.size());
      EXPECT_EQ(kEditListMessage[i + 1], u'\r') << "at " << i;
      ++breaks;
    } else if (kEditListMessage[i] == u'\r') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(kEditListMessage[i - 1], u'\n') << "at " << i;
    }
  }
  EXPECT_EQ(breaks, 9u);
}

TEST_F(ListWindowTest, CloseWritesTheFourKeysInOrderAndKeepsTheRest) {
  struct Case {
    std::string before;  // empty: no file
    std::string after;
  };
  const Case cases[] = {
      {"",
       "\xEF\xBB\xBF[System]\r\nForm3Top=100\r\nForm3Left=-20\r\nForm3ClientWidth=400\r\n"
       "Form3ClientHeight=300\r\n\r\n"},
      {"[System]\r\nBottom2=500\r\nForm3Left=1\r\n[Other]\r\nx=1\r\n",
       "\xEF\xBB\xBF[System]\r\nBottom2=500\r\nForm3Left=-20\r\nForm3Top=100\r\n"
       "Form3ClientWidth=400\r\nForm3ClientHeight=300\r\n\r\n[Other]\r\nx=1\r\n\r\n"},
  };
  for (const auto& c : cases) {
    fake_.files.erase(kSettings);
    if (!c.before.empty()) fake_.PutFile(kSettings, c.before);
    form_.top = 100;
    form_.left = -20;
    form_.CreateWithClient(400, 300);
    handlers_.FormClose();
    EXPECT_EQ(fake_.FileText(kSettings), c.after) << c.before;
  }
}

TEST_F(ListWindowTest, CloseThatCannotSaveReportsTheSettingsFile) {
  fake_.directories.insert(kSettings);
  try {
    handlers_.FormClose();
    ADD_FAILURE() << "no error";
  } catch (const UserError& error) {
    EXPECT_TRUE(
        Utf8(error.text()).starts_with("ファイル \"" + Utf8(kSettings) + "\" を作成できません。"))
        << Utf8(error.text());
  }
}

TEST(ListWindowLayout, ControlsKeepTheirDistancesToTheirAnchoredEdges) {
  struct Case {
    Size client;
    ListWindowLayout layout;
  };
  const Case cases[] = {
      {{356, 320}, {{0, 0, 356, 297}, {0, 298, 60, 22}, {60, 298, 72, 22}, {152, 298, 119, 17}}},
      {{372, 320}, {{0, 0, 372, 297}, {0, 298, 60, 22}, {60, 298, 72, 22}, {152, 298, 119, 17}}},
      {{600, 500}, {{0, 0, 600, 477}, {0, 478, 60, 22}, {60, 478, 72, 22}, {152, 478, 119, 17}}},
      {{100, 30}, {{0, 0, 100, 7}, {0, 8, 60, 22}, {60, 8, 72, 22}, {152, 8, 119, 17}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LayOutListWindow(c.client), c.layout) << c.client.width << " x " << c.client.height;
}

TEST(ListWindowLayout, WiderCaptionsWidenTheirControlsAndMoveTheRestAlong) {
  struct Case {
    CaptionWidths needed;
    ControlBox edit, reload, label;
  };
  const Case cases[] = {
      {{50, 70, 100}, {0, 298, 60, 22}, {60, 298, 72, 22}, {152, 298, 119, 17}},  // all fit
      {{70, 0, 0}, {0, 298, 70, 22}, {70, 298, 72, 22}, {162, 298, 119, 17}},
      {{0, 85, 0}, {0, 298, 60, 22}, {60, 298, 85, 22}, {165, 298, 119, 17}},
      {{0, 0, 140}, {0, 298, 60, 22}, {60, 298, 72, 22}, {152, 298, 140, 17}},
      {{70, 82, 130}, {0, 298, 70, 22}, {70, 298, 82, 22}, {172, 298, 130, 17}},
  };
  for (const auto& c : cases) {
    const ListWindowLayout layout = LayOutListWindow({372, 320}, c.needed);
    EXPECT_EQ(layout.btnEDIT, c.edit) << c.needed.btnEDIT;
    EXPECT_EQ(layout.btnRELOAD, c.reload) << c.needed.btnRELOAD;
    EXPECT_EQ(layout.Label1, c.label) << c.needed.Label1;
    EXPECT_EQ(layout.lb1, (ControlBox{0, 0, 372, 297}));
  }
}

}  // namespace
}  // namespace quillomi::ui
