// The layout arithmetic of both windows, and the panel's caption.
#include <gtest/gtest.h>

#include <string>

#include "ui/layout.h"
#include "ui/panel_caption.h"

namespace quillomi::ui {
namespace {

// 445 leaves a part-filled last row. Without a whole column (52, 0) the wrap
// test holds before every button, the first one included, so the top row
// stays empty.
TEST(LayoutGrid, ButtonsFillRowsLeftToRightAndTheLabelsFollow) {
  struct Case {
    int client_width, columns;
    int last_top, label_top;  // Btn59's; lbl01's, the others 16 pixels apart
  };
  const Case cases[] = {{990, 20, 55, 95},   {151, 3, 497, 537}, {150, 2, 757, 797},
                        {445, 9, 159, 199},  {2945, 60, 3, 43},  {53, 1, 1537, 1577},
                        {52, 0, 1563, 1603}, {0, 0, 1563, 1603}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.client_width);
    EXPECT_EQ(GridColumns(c.client_width), c.columns);
    const GridLayout layout = LayOutGrid(c.client_width);
    for (int k = 0; k < iBtnCount; ++k) {
      const Point want = c.columns > 0 ? Point{4 + 49 * (k % c.columns), 3 + 26 * (k / c.columns)}
                                       : Point{4, 29 + 26 * k};
      ASSERT_EQ(layout.buttons[static_cast<std::size_t>(k)], want) << "Btn" << k;
    }
    EXPECT_EQ(layout.buttons.back().top, c.last_top);
    const int l = c.label_top;
    EXPECT_EQ(layout.label_tops, (std::array{l, l + 16, l + 32, l + 48}));
  }
}

TEST(LayoutFreeTextBox, TopTakesTheFontSizeAsPixelsAndLabelsMoveBeside) {
  EXPECT_EQ(LabelLeft(false), 4);
  EXPECT_EQ(LabelLeft(true), 152);
  EXPECT_EQ(EdtTxtTop(160, 10), 131);  // the defaults
  EXPECT_EQ(EdtTxtTop(30, 20), -9);  // applied as it is, above the client area
}

TEST(LayoutScreen, MainWindowDefaultsAreFlooredInFloatingPoint) {
  struct Case {
    Size work_area, outer;
    int bottom, left;
  };
  // The window hangs from its bottom edge: outer heights 199, 200 and 201 on
  // 1040 give tops 420, 420 and 419.
  const Case cases[] = {
      {{1920, 1040}, {1006, 199}, 619, 457}, {{1920, 1040}, {1006, 200}, 620, 457},
      {{1920, 1040}, {1006, 201}, 620, 457}, {{1920, 1040}, {1007, 199}, 619, 456},  // 960 − 503.5
      {{1921, 1041}, {1006, 199}, 620, 457},  // 520.5 + 99.5; 960.5 − 503
      {{801, 600}, {1006, 199}, 399, -103},   // the floor, not the truncation, of −103.5
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.work_area.width << " " << c.outer.width << " " << c.bottom);
    EXPECT_EQ(DefaultBottom(c.work_area, c.outer), c.bottom);
    EXPECT_EQ(DefaultLeft(c.work_area, c.outer), c.left);
  }
}

TEST(LayoutScreen, ListWindowDefaultsSitFiftyPixelsBelowAndRightOfCentre) {
  EXPECT_EQ(ListWindowDefaultPosition({1920, 1040}, {372, 359}), (Point{824, 390}));
  EXPECT_EQ(ListWindowDefaultPosition({1920, 1040}, {373, 360}), (Point{823, 390}));  // 960 − 186.5
  // −36.5 and −79.5 floor to −37 and −80.
  EXPECT_EQ(ListWindowDefaultPosition({300, 200}, {373, 359}), (Point{13, -30}));
}

// 101 % of 16 is 16.16, 130 % 20.8 and 198 % 31.68; rows keep room for the
// 16-pixel icon.
TEST(LayoutScreen, ItemHeightRoundsUpThePercentOfSixteen) {
  struct Case {
    int dpi, item_height, row_height;
  };
  const Case cases[] = {{96, 16, 20},  {97, 17, 20},  {120, 20, 20},
                        {125, 21, 21}, {144, 24, 24}, {191, 32, 32}};
  for (const auto& c : cases) {
    const int item = ListItemHeight(c.dpi);
    EXPECT_EQ(item, c.item_height) << c.dpi << " dpi";
    EXPECT_EQ(ListRowHeight(item), c.row_height) << c.dpi << " dpi";
  }
}

// Made from project()'s version, so that a new version shows in the caption
// and the rest of it stays as it always was.
TEST(PanelCaption, ShowsTheProjectVersionAsMajorDotMinor) {
  const std::string version = std::to_string(QUILLOMI_PROJECT_VERSION_MAJOR) + "." +
                              std::to_string(QUILLOMI_PROJECT_VERSION_MINOR);
  const std::u16string want = u"Quillomi\u3000ver." +
                              std::u16string(version.begin(), version.end()) +
                              u"\u3000\u3000※[一覧]以外のボタンは右クリックで編集可能";
  EXPECT_EQ(kForm1Caption, want);
}

}  // namespace
}  // namespace quillomi::ui
