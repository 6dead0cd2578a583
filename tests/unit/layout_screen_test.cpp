// Default positions on the work area, and the list window's item and row
// heights from the screen's DPI.
#include <gtest/gtest.h>

#include "ui/layout.h"

namespace quillomi::ui {
namespace {

TEST(LayoutScreen, MainWindowDefaultsAreFlooredInFloatingPoint) {
  struct Case {
    Size work_area;
    Size outer;
    int bottom;
    int left;
  };
  const Case cases[] = {
      {{1920, 1040}, {1006, 199}, 619, 457},
      {{1920, 1040}, {1006, 200}, 620, 457},
      {{1920, 1040}, {1006, 201}, 620, 457},
      {{1920, 1040}, {1007, 199}, 619, 456},  // 960 − 503.5
      {{1921, 1041}, {1006, 199}, 620, 457},  // 520.5 + 99.5; 960.5 − 503
      // Larger than the work area: the floor, not the truncation, of a
      // negative half pixel.
      {{801, 600}, {1006, 199}, 399, -103},
      {{0, 0}, {0, 0}, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultBottom(c.work_area, c.outer), c.bottom)
        << c.work_area.width << "x" << c.work_area.height << " " << c.outer.height;
    EXPECT_EQ(DefaultLeft(c.work_area, c.outer), c.left)
        << c.work_area.width << " " << c.outer.width;
  }
  // The window hangs from its bottom edge.
  EXPECT_EQ(DefaultBottom({1920, 1040}, {1006, 199}) - 199, 420);
  EXPECT_EQ(DefaultBottom({1920, 1040}, {1006, 201}) - 201, 419);
}

TEST(LayoutScreen, ListWindowDefaultsSitFiftyPixelsBelowAndRightOfCentre) {
  struct Case {
    Size work_area;
    Size outer;
    Point position;
  };
  const Case cases[] = {
      {{1920, 1040}, {372, 359}, {824, 390}},
      {{1920, 1040}, {373, 360}, {823, 390}},  // 960 − 186.5
      {{300, 200}, {373, 359}, {13, -30}},     // −36.5 and −79.5 floor to −37 and −80
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ListWindowDefaultPosition(c.work_area, c.outer), c.position)
        << c.outer.width << "x" << c.outer.height;
  }
}

TEST(LayoutScreen, ItemHeightRoundsUpThePercentOfSixteen) {
  struct Case {
    int dpi;
    int item_height;
    int row_height;
  };
  const Case cases[] = {
      {96, 16, 20},                                               // rows keep room for the icon
      {110, 19, 20},                                              // 114 % → 18.24
      {120, 20, 20}, {144, 24, 24}, {192, 32, 32}, {97, 17, 20},  // 101 % → 16.16
      {72, 12, 20},  {191, 32, 32},                               // 198 % → 31.68
      {125, 21, 21},                                              // 130 % → 20.8
  };
  for (const auto& c : cases) {
    const int item = ListItemHeight(c.dpi);
    EXPECT_EQ(item, c.item_height) << c.dpi << " dpi";
    EXPECT_EQ(ListRowHeight(item), c.row_height) << c.dpi << " dpi";
  }
}

}  // namespace
}  // namespace quillomi::ui
