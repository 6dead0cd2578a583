// The panel's placement, compact display and close on a simulated frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "ui/layout.h"
#include "ui/main_placement.h"

namespace quillomi::ui {
namespace {

using Lines = std::vector<std::string>;

using SimulatedForm = test::SimulatedFrame<MainFormFrame>;

class MainPlacement : public ::testing::Test {
 protected:
  // The system reports the simulated frame's metrics unless a test says otherwise.
  MainPlacement() { fake_.frame_height = 8; }

  std::u16string SettingsPath() const { return phrases::SettingsFilePath(fake_.executable_path); }
  void PutSettings(std::string_view lines) {
    fake_.PutFile(SettingsPath(), "[System]\r\n" + std::string(lines));
  }
  void Create() {
    PlaceMainWindow(phrases::SettingsDocument::OpenForExecutable(fake_), fake_, form_);
    form_.log.clear();
  }

  fake::FakePlatform fake_;
  SimulatedForm form_;
  CompactDisplay display_;
};

TEST_F(MainPlacement, PlacesFromTheSettingsOrTheWorkArea) {
  struct Case {
    const char* settings;
    platform::Rect work_area;
    std::vector<platform::Rect> monitors;  // every monitor's work area; none: work_area's alone
    bool borderless;
    int client_height, client_width, top, left;  // top: the stored or default bottom − 199
  };
  constexpr platform::Rect kWork{0, 0, 1920, 1040};
  const std::vector<platform::Rect> kTwo{kWork, {1920, 0, 3840, 1040}};
  const Case cases[] = {
      {"", kWork, {}, false, 160, 990, 420, 457},
      {"", {0, 40, 1920, 1080}, {}, false, 160, 990, 420, 457},  // a task bar at the top
      {"Bottom2=700\r\nClientHeight2=260\r\n", kWork, {}, false, 260, 990, 401, 457},
      {"ShowTitleBar=0\r\n", kWork, {}, true, 160, 990, 440, 465},
      // Out of reach: moved just far enough onto the work area, at the stored size
      // (167 x 79 outer; 1006 x 739 with ClientHeight2=700).
      {"Bottom2=5000\r\nLeft2=-300\r\nClientWidth2=151\r\nClientHeight2=40\r\n", kWork, {}, false,
       40, 151, 961, 0},
      {"Left2=5000\r\nBottom2=5000\r\n", kWork, {}, false, 160, 990, 841, 914},
      {"Left2=5000\r\nBottom2=5000\r\n", kWork, kTwo, false, 160, 990, 841, 2834},
      {"Left2=-5000\r\nBottom2=-3000\r\n", kWork, {}, false, 160, 990, 0, 0},
      {"ClientHeight2=700\r\nBottom2=619\r\nLeft2=100\r\n", kWork, {}, false, 700, 990, 0, 100},
      // On a second monitor, or partly in reach: as stored.
      {"Left2=2500\r\nBottom2=700\r\n", kWork, kTwo, false, 160, 990, 501, 2500},
      {"Left2=-150\r\nBottom2=700\r\n", kWork, {}, false, 160, 990, 501, -150},
      // 30 pixels of the top edge's strip left on the work area, then 29.
      {"Bottom2=1209\r\n", kWork, {}, false, 160, 990, 1010, 457},
      {"Bottom2=1210\r\n", kWork, {}, false, 160, 990, 841, 457},
      // The top edge above the work area: the list button on it keeps the place.
      {"Bottom2=179\r\n", kWork, {}, false, 160, 990, -20, 457},
      {"Bottom2=159\r\n", kWork, {}, false, 160, 990, 0, 457},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    PutSettings(c.settings);
    fake_.work_area = c.work_area;
    if (c.monitors.empty()) fake_.monitor_work_areas.reset();
    else fake_.monitor_work_areas = c.monitors;
    SimulatedForm form;
    PlaceMainWindow(phrases::SettingsDocument::OpenForExecutable(fake_), fake_, form);
    Lines want = {"client width " + std::to_string(c.client_width),
                  "client height " + std::to_string(c.client_height),
                  "top " + std::to_string(c.top), "left " + std::to_string(c.left)};
    if (c.borderless) want.insert(want.begin(), "borderless");
    EXPECT_EQ(form.log, want);
  }
}

TEST_F(MainPlacement, CompactDisplayStepsInOrder) {
  Create();
  display_.FormDblClick(form_, fake_);
  EXPECT_EQ(form_.log, (Lines{"borderless", "width 990", "height 160", "top 451", "left 465"}));
  form_.log.clear();
  display_.FormDblClick(form_, fake_);
  EXPECT_EQ(form_.log,
            (Lines{"sizeable", "top 420", "left 457", "client width 990", "client height 160"}));
}

// The offsets are the metrics at each entry, not the frame: the buttons move
// by the difference when the display switches, and back when it switches back.
TEST_F(MainPlacement, CompactDisplayMovesTheButtonsByTheMetricsNotTheFrame) {
  struct Case {
    const char* settings;
    int frame, caption;     // the metrics at the first entry; the frame's own at the second
    Point entered, framed;  // where the buttons go, from where they started
  };
  const Case cases[] = {
      {"", 8, 23, {0, 0}, {0, 0}},
      {"", 4, 23, {-4, -4}, {0, 0}},
      {"", 8, 30, {0, 7}, {0, 0}},
      // Moves down by the metrics first, then the frame appears around it.
      {"ShowTitleBar=0\r\n", 8, 23, {8, 31}, {8, 31}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.settings << c.frame << " " << c.caption);
    PutSettings(c.settings);
    form_ = SimulatedForm();
    display_ = CompactDisplay();
    Create();
    const Point start = form_.ClientOnScreen();
    const Point shifts[] = {c.entered, c.framed, c.framed, c.framed};
    for (int click = 0; click < 4; ++click) {
      fake_.frame_height = click < 2 ? c.frame : 8;
      fake_.caption_height = click < 2 ? c.caption : 23;
      display_.FormDblClick(form_, fake_);
      const Point shift = shifts[click];
      EXPECT_EQ(form_.ClientOnScreen(), (Point{start.left + shift.left, start.top + shift.top}))
          << click;
      EXPECT_EQ(form_.Client(), (Size{990, 160})) << click;
      EXPECT_EQ(display_.bSlim(), click % 2 == 0) << click;
      EXPECT_EQ(form_.sizeable, click % 2 == 1) << click;
    }
  }
}

// The four keys as the close writes them.
std::string Keys(int bottom, int left, int client_width, int client_height) {
  return "Bottom2=" + std::to_string(bottom) + "\r\nLeft2=" + std::to_string(left) +
         "\r\nClientWidth2=" + std::to_string(client_width) +
         "\r\nClientHeight2=" + std::to_string(client_height) + "\r\n";
}

TEST_F(MainPlacement, CloseWritesTheFramedGeometry) {
  struct Case {
    const char* settings;
    int double_clicks;
    std::string written;        // the [System] section
    bool failed_first = false;  // a close whose save fails comes first
  };
  const Case cases[] = {
      {"", 0, Keys(619, 457, 990, 160)},
      // The compact display is left first, so the next start stands where
      // the framed window stood.
      {"Bottom2=800\r\nLeft2=100\r\nClientWidth2=500\r\nClientHeight2=200\r\n", 1,
       Keys(800, 100, 500, 200)},
      {"Bottom2=800\r\nLeft2=100\r\nClientWidth2=500\r\nClientHeight2=200\r\n", 1,
       Keys(800, 100, 500, 200), true},
      // A borderless start saves its own height until the frame has been shown.
      {"ShowTitleBar=0\r\nBottom2=700\r\n", 0, "ShowTitleBar=0\r\n" + Keys(700, 465, 990, 160)},
      {"ShowTitleBar=0\r\nBottom2=700\r\n", 1, "ShowTitleBar=0\r\n" + Keys(739, 465, 990, 160)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.settings << " clicks " << c.double_clicks);
    PutSettings(c.settings);
    form_ = SimulatedForm();
    display_ = CompactDisplay();
    Create();
    for (int i = 0; i < c.double_clicks; ++i) display_.FormDblClick(form_, fake_);
    if (c.failed_first) {
      fake_.read_only.insert(SettingsPath());
      EXPECT_THROW(display_.FormClose(form_, fake_), UserError);
      fake_.read_only.clear();
    }
    display_.FormClose(form_, fake_);
    EXPECT_EQ(fake_.FileText(SettingsPath()), "\xEF\xBB\xBF[System]\r\n" + c.written + "\r\n");
    EXPECT_EQ(display_.bSlim(), c.double_clicks == 1);
  }
}

TEST_F(MainPlacement, FailedCloseLeavesTheFrameAndMovesAgainOnTheNextSwitch) {
  PutSettings("");
  Create();
  const Point framed = form_.ClientOnScreen();
  display_.FormDblClick(form_, fake_);
  fake_.read_faults[SettingsPath()] = u"アクセスが拒否されました";

  EXPECT_THROW(display_.FormClose(form_, fake_), UserError);
  EXPECT_TRUE(display_.bSlim());
  EXPECT_TRUE(form_.sizeable);
  EXPECT_EQ(form_.ClientOnScreen(), framed);

  display_.FormDblClick(form_, fake_);  // leaves once more
  EXPECT_FALSE(display_.bSlim());
  EXPECT_EQ(form_.top, 420 - 31);
  EXPECT_EQ(form_.left, 457 - 8);
}

}  // namespace
}  // namespace quillomi::ui
