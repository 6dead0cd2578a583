// The phrase panel's placement at creation, the compact display and the close,
// on a simulated frame whose real thickness may differ from the system
// metrics that the compact display uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "ui/layout.h"
#include "ui/main_placement.h"

namespace quillomi::ui {
namespace {

// A window as the toolkit keeps it: an outer rectangle, and a client area
// inset by the frame when the border is sizeable.
class SimulatedForm final : public MainFormFrame {
 public:
  SimulatedForm(int frame, int caption) : frame_(frame), caption_(caption) {}

  int left = 0;
  int top = 0;
  int outer_width = 0;
  int outer_height = 0;
  bool sizeable = true;
  std::vector<std::string> log;

  int InsetLeft() const { return sizeable ? frame_ : 0; }
  int InsetTop() const { return sizeable ? caption_ + frame_ : 0; }
  int ExtraWidth() const { return sizeable ? 2 * frame_ : 0; }
  int ExtraHeight() const { return sizeable ? caption_ + 2 * frame_ : 0; }
  // Where the buttons are on the screen.
  int ClientScreenLeft() const { return left + InsetLeft(); }
  int ClientScreenTop() const { return top + InsetTop(); }

  void SetSizeable(bool value) override {
    log.push_back(value ? "sizeable" : "borderless");
    sizeable = value;
  }
  int Top() const override { return top; }
  int Left() const override { return left; }
  int OuterWidth() const override { return outer_width; }
  int OuterHeight() const override { return outer_height; }
  int ClientWidth() const override { return outer_width - ExtraWidth(); }
  int ClientHeight() const override { return outer_height - ExtraHeight(); }
  void SetTop(int value) override { top = Logged("top", value); }
  void SetLeft(int value) override { left = Logged("left", value); }
  void SetOuterWidth(int value) override { outer_width = Logged("width", value); }
  void SetOuterHeight(int value) override { outer_height = Logged("height", value); }
  void SetClientWidth(int value) override {
    outer_width = Logged("client width", value) + ExtraWidth();
  }
  void SetClientHeight(int value) override {
    outer_height = Logged("client height", value) + ExtraHeight();
  }

 private:
  int Logged(const char* what, int value) {
    log.push_back(what + (" " + std::to_string(value)));
    return value;
  }

  int frame_;
  int caption_;
};

struct Geometry {
  int left, top, client_width, client_height;
  friend bool operator==(const Geometry&, const Geometry&) = default;
};

Geometry ClientOnScreen(const SimulatedForm& form) {
  return {form.ClientScreenLeft(), form.ClientScreenTop(), form.ClientWidth(), form.ClientHeight()};
}

class MainPlacement : public ::testing::Test {
 protected:
  MainPlacement() {
    // Frame 8 and caption 23 make the default 990 × 160 client area an outer
    // window of 1006 × 199; the system reports the same metrics.
    fake_.frame_height = 8;
    fake_.caption_height = 23;
    form_.outer_width = 990 + 16;
    form_.outer_height = 193 + 39;
  }

  std::u16string SettingsPath() const { return phrases::SettingsFilePath(fake_.executable_path); }
  void PutSettings(std::string_view lines) {
    fake_.PutFile(SettingsPath(), "[System]\r\n" + std::string(lines));
  }
  void Create() {
    const auto settings = phrases::SettingsDocument::OpenForExecutable(fake_);
    PlaceMainWindow(settings, fake_, form_);
    form_.log.clear();
  }
  std::int32_t Saved(std::u16string_view key) {
    return phrases::SettingsDocument::Open(fake_, SettingsPath())
        .ReadInteger(phrases::kSettingsSection, key, -999999);
  }

  fake::FakePlatform fake_;
  SimulatedForm form_{8, 23};
  CompactDisplay display_;
};

TEST_F(MainPlacement, FirstStartCentresTheFramedWindowOnTheWorkArea) {
  const auto settings = phrases::SettingsDocument::OpenForExecutable(fake_);
  PlaceMainWindow(settings, fake_, form_);
  EXPECT_EQ(form_.log, (std::vector<std::string>{"client height 160", "client width 990", "top 420",
                                                 "left 457"}));
  EXPECT_TRUE(form_.sizeable);
  EXPECT_EQ(form_.OuterWidth(), 1006);
  EXPECT_EQ(form_.OuterHeight(), 199);
}

// Outer size 1006 × 199 for the default client area with the frame of 8 and
// caption of 23; the window hangs from its bottom edge.
TEST_F(MainPlacement, PlacesFromTheSettingsOrTheWorkArea) {
  struct Case {
    platform::Rect work_area;
    bool sizeable;
    int outer_top;
    int outer_left;
    Size client;
    const char* settings;
  };
  constexpr platform::Rect kWork{0, 0, 1920, 1040};
  const Case cases[] = {
      {kWork, true, 420, 457, {990, 160}, ""},
      {{0, 40, 1920, 1080}, true, 420, 457, {990, 160}, ""},  // a task bar at the top
      {{0, 0, 1920, 1042}, true, 421, 457, {990, 160}, ""},   // 521 + 99.5 floors to 620
      {kWork, true, 700 - 199, 457, {990, 160}, "Bottom2=700\r\nClientHeight2=160\r\n"},
      {kWork, true, 700 - 299, 457, {990, 260}, "Bottom2=700\r\nClientHeight2=260\r\n"},
      {kWork,
       true,
       5000 - 79,
       -300,
       {151, 40},
       "Bottom2=5000\r\nLeft2=-300\r\nClientWidth2=151\r\nClientHeight2=40\r\n"},
      {kWork, false, 440, 465, {990, 160}, "ShowTitleBar=0\r\n"},
  };
  for (const auto& c : cases) {
    PutSettings(c.settings);
    fake_.work_area = c.work_area;
    SimulatedForm form(8, 23);
    form.outer_width = 1006;
    form.outer_height = 232;
    PlaceMainWindow(phrases::SettingsDocument::OpenForExecutable(fake_), fake_, form);
    EXPECT_EQ(form.sizeable, c.sizeable) << c.settings;
    EXPECT_EQ(form.top, c.outer_top) << c.settings;
    EXPECT_EQ(form.left, c.outer_left) << c.settings;
    EXPECT_EQ((Size{form.ClientWidth(), form.ClientHeight()}), c.client) << c.settings;
  }
  EXPECT_FALSE(display_.bSlim());
}

TEST_F(MainPlacement, CompactDisplayKeepsTheButtonsInPlace) {
  Create();
  const Geometry before = ClientOnScreen(form_);

  display_.FormDblClick(form_, fake_);
  EXPECT_TRUE(display_.bSlim());
  EXPECT_FALSE(form_.sizeable);
  EXPECT_EQ(form_.log, (std::vector<std::string>{"borderless", "width 990", "height 160", "top 451",
                                                 "left 465"}));
  EXPECT_EQ(ClientOnScreen(form_), before);

  form_.log.clear();
  display_.FormDblClick(form_, fake_);
  EXPECT_FALSE(display_.bSlim());
  EXPECT_TRUE(form_.sizeable);
  EXPECT_EQ(form_.log, (std::vector<std::string>{"sizeable", "top 420", "left 457",
                                                 "client width 990", "client height 160"}));
  EXPECT_EQ(ClientOnScreen(form_), before);
}

// The offsets are the metrics, not the frame: the content moves by the
// difference when the display switches, and back when it switches back.
TEST_F(MainPlacement, OffsetsComeFromTheMetricsAtEachEntry) {
  Create();
  const Geometry before = ClientOnScreen(form_);
  fake_.frame_height = 4;  // the real frame stays 8
  display_.FormDblClick(form_, fake_);
  EXPECT_EQ(ClientOnScreen(form_), (Geometry{before.left - 4, before.top - 4, 990, 160}));
  display_.FormDblClick(form_, fake_);
  EXPECT_EQ(ClientOnScreen(form_), before);

  // Taken anew at the next entry.
  fake_.frame_height = 8;
  fake_.caption_height = 30;
  display_.FormDblClick(form_, fake_);
  EXPECT_EQ(ClientOnScreen(form_), (Geometry{before.left, before.top + 7, 990, 160}));
}

TEST_F(MainPlacement, BorderlessStartMovesFirstThenShowsTheFrame) {
  PutSettings("ShowTitleBar=0\r\n");
  Create();
  const Geometry start = ClientOnScreen(form_);

  display_.FormDblClick(form_, fake_);  // into the compact display, from no frame
  EXPECT_TRUE(display_.bSlim());
  EXPECT_FALSE(form_.sizeable);
  EXPECT_EQ(ClientOnScreen(form_), (Geometry{start.left + 8, start.top + 31, 990, 160}));

  display_.FormDblClick(form_, fake_);  // the frame appears, the window moves back
  EXPECT_TRUE(form_.sizeable);
  EXPECT_EQ(form_.left, start.left);
  EXPECT_EQ(form_.top, start.top);
  EXPECT_EQ(form_.ClientWidth(), 990);
  EXPECT_EQ(form_.ClientHeight(), 160);

  const Geometry framed = ClientOnScreen(form_);
  display_.FormDblClick(form_, fake_);  // from now on as after a normal start
  EXPECT_EQ(ClientOnScreen(form_), framed);
  EXPECT_FALSE(form_.sizeable);
  display_.FormDblClick(form_, fake_);
  EXPECT_EQ(ClientOnScreen(form_), framed);
  EXPECT_TRUE(form_.sizeable);
}

TEST_F(MainPlacement, CloseWritesTheKeysInOrder) {
  Create();
  display_.FormClose(form_, fake_);
  EXPECT_TRUE(fake_.FileText(SettingsPath())
                  .starts_with("\xEF\xBB\xBF[System]\r\nBottom2=619\r\nLeft2=457\r\n"
                               "ClientWidth2=990\r\nClientHeight2=160\r\n"))
      << fake_.FileText(SettingsPath());
}

TEST_F(MainPlacement, CloseInTheCompactDisplayWritesTheFramedGeometry) {
  PutSettings("Bottom2=800\r\nLeft2=100\r\nClientWidth2=500\r\nClientHeight2=200\r\n");
  Create();
  display_.FormDblClick(form_, fake_);
  display_.FormClose(form_, fake_);
  EXPECT_TRUE(display_.bSlim());
  EXPECT_TRUE(form_.sizeable);
  EXPECT_EQ(Saved(u"Bottom2"), 800);
  EXPECT_EQ(Saved(u"Left2"), 100);
  EXPECT_EQ(Saved(u"ClientWidth2"), 500);
  EXPECT_EQ(Saved(u"ClientHeight2"), 200);

  // The next framed start stands where the framed window stood.
  SimulatedForm next(8, 23);
  const auto settings = phrases::SettingsDocument::OpenForExecutable(fake_);
  PlaceMainWindow(settings, fake_, next);
  EXPECT_EQ(ClientOnScreen(next), (Geometry{108, 800 - 200 - 8, 500, 200}));
}

TEST_F(MainPlacement, BorderlessStartSavesItsOwnHeightUntilTheFrameHasBeenShown) {
  PutSettings("ShowTitleBar=0\r\nBottom2=700\r\n");
  Create();
  display_.FormClose(form_, fake_);
  EXPECT_EQ(Saved(u"Bottom2"), 700);  // top + client height
  const int borderless_top = form_.top;

  display_.FormDblClick(form_, fake_);
  display_.FormClose(form_, fake_);
  EXPECT_EQ(Saved(u"Bottom2"), 700 + 39);  // the frame included

  SimulatedForm next(8, 23);
  const auto settings = phrases::SettingsDocument::OpenForExecutable(fake_);
  PlaceMainWindow(settings, fake_, next);
  EXPECT_EQ(next.top, borderless_top + 39);  // lower by the frame and title bar
}

TEST_F(MainPlacement, FailedCloseLeavesTheFrameAndMovesAgainOnTheNextSwitch) {
  PutSettings("");
  Create();
  const Geometry framed = ClientOnScreen(form_);
  const int framed_top = form_.top;
  display_.FormDblClick(form_, fake_);
  fake_.read_faults[SettingsPath()] = u"アクセスが拒否されました";

  EXPECT_THROW(display_.FormClose(form_, fake_), UserError);
  EXPECT_TRUE(display_.bSlim());
  EXPECT_TRUE(form_.sizeable);
  EXPECT_EQ(ClientOnScreen(form_), framed);

  display_.FormDblClick(form_, fake_);  // leaves once more
  EXPECT_FALSE(display_.bSlim());
  EXPECT_EQ(form_.top, framed_top - 31);
  EXPECT_EQ(form_.left, 457 - 8);
}

}  // namespace
}  // namespace quillomi::ui
