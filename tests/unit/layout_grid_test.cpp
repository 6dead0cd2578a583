// The phrase panel's grid as FormResize places it, the labels under it and the
// free-text box's top.
#include <gtest/gtest.h>

#include "ui/layout.h"

namespace quillomi::ui {
namespace {

int LastRowTop(const GridLayout& layout) {
  return layout.buttons.back().top;
}

TEST(LayoutGrid, ColumnCountFollowsThePitch) {
  struct Case {
    int client_width;
    int columns;
  };
  const Case cases[] = {
      {990, 20}, {151, 3}, {150, 2}, {53, 1}, {52, 0}, {4, 0}, {0, 0}, {1000, 20}, {1033, 21},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GridColumns(c.client_width), c.columns) << "width " << c.client_width;
  }
  // Exactly k columns at 4 + 49k, one fewer a pixel narrower.
  for (int k = 1; k <= 70; ++k) {
    EXPECT_EQ(GridColumns(4 + 49 * k), k) << k;
    EXPECT_EQ(GridColumns(4 + 49 * k - 1), k - 1) << k;
  }
}

TEST(LayoutGrid, WideWindowGivesThreeRowsOfTwenty) {
  const GridLayout layout = LayOutGrid(990);
  constexpr std::array kRowTops = {3, 29, 55};
  for (int k = 0; k < iBtnCount; ++k) {
    const Point at = layout.buttons[static_cast<std::size_t>(k)];
    EXPECT_EQ(at.left, 4 + 49 * (k % 20)) << "Btn" << k;
    EXPECT_EQ(at.top, kRowTops[static_cast<std::size_t>(k / 20)]) << "Btn" << k;
  }
  EXPECT_EQ(layout.label_tops, (std::array{95, 111, 127, 143}));
}

// Whenever there is a whole column, button k stands at the k-th place of a
// row-major grid of that many columns.
TEST(LayoutGrid, ButtonsFillRowsLeftToRight) {
  struct Case {
    int client_width;
    int columns;
    int rows;
  };
  const Case cases[] = {
      {151, 3, 20},  {150, 2, 30},   {53, 1, 60}, {102, 2, 30}, {249, 5, 12},
      {2945, 60, 1}, {5000, 101, 1}, {445, 9, 7}, {444, 8, 8},
  };
  for (const auto& c : cases) {
    const GridLayout layout = LayOutGrid(c.client_width);
    for (int k = 0; k < iBtnCount; ++k) {
      const Point at = layout.buttons[static_cast<std::size_t>(k)];
      ASSERT_EQ(at, (Point{4 + 49 * (k % c.columns), 3 + 26 * (k / c.columns)}))
          << "width " << c.client_width << " Btn" << k;
    }
    EXPECT_EQ(LastRowTop(layout), 3 + 26 * (c.rows - 1)) << c.client_width;
    EXPECT_EQ(layout.label_tops[0], LastRowTop(layout) + 40) << c.client_width;
  }
}

TEST(LayoutGrid, OneColumnTopsRunFromThreeTo1537) {
  const GridLayout layout = LayOutGrid(53);
  EXPECT_EQ(layout.buttons.front(), (Point{4, 3}));
  EXPECT_EQ(layout.buttons.back(), (Point{4, 1537}));
  EXPECT_EQ(layout.label_tops, (std::array{1577, 1593, 1609, 1625}));
}

// Without a whole column the wrap test holds before every button, the first
// one included, so the top row stays empty.
TEST(LayoutGrid, NoWholeColumnStartsOneRowDown) {
  for (int width : {52, 30, 4, 3, 0}) {
    const GridLayout layout = LayOutGrid(width);
    for (int k = 0; k < iBtnCount; ++k) {
      ASSERT_EQ(layout.buttons[static_cast<std::size_t>(k)], (Point{4, 29 + 26 * k}))
          << "width " << width << " Btn" << k;
    }
    EXPECT_EQ(LastRowTop(layout), 1563);
    EXPECT_EQ(layout.label_tops, (std::array{1603, 1619, 1635, 1651})) << width;
  }
}

TEST(LayoutFreeTextBox, TopTakesTheFontSizeAsPixelsAndLabelsMoveBeside) {
  EXPECT_EQ(LabelLeft(false), 4);
  EXPECT_EQ(LabelLeft(true), 152);

  struct Case {
    int client_height;
    int font_size;
    int top;
  };
  const Case cases[] = {
      {160, 10, 131},  // the defaults
      {160, 20, 121},
      {30, 20, -9},  // applied as it is, above the client area
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EdtTxtTop(c.client_height, c.font_size), c.top)
        << c.client_height << " " << c.font_size;
  }
}

}  // namespace
}  // namespace quillomi::ui
