// The arithmetic behind both windows' geometry; the windows only apply it.
#pragma once

#include <array>
#include <vector>

#include "platform/platform.h"

namespace quillomi::ui {

// Btn00 (the list button) and the 59 phrase buttons.
inline constexpr int iBtnCount = 60;
inline constexpr int kButtonWidth = 50;
inline constexpr int kButtonHeight = 25;
// The free-text box's left edge; the labels move there when it is shown.
inline constexpr int kEdtTxtLeft = 152;

struct Point {
  int left = 0;
  int top = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

inline Size SizeOf(const platform::Rect& rect) {
  return {rect.Width(), rect.Height()};
}

// The client width over the 49-pixel pitch, truncated toward zero; 0 or less
// below a width of 53.
int GridColumns(int client_width);

struct GridLayout {
  std::array<Point, iBtnCount> buttons;  // Btn00 first
  std::array<int, 4> label_tops;         // lbl01..lbl04
};

// What FormResize places for a client width.
GridLayout LayOutGrid(int client_width);

// lbl01..lbl04 stand right of the radio buttons when the free-text box is shown.
int LabelLeft(bool edtTxtVisible);

// edtTxt's top at creation: the font size in points is taken as pixels.
int EdtTxtTop(int client_height, int edtTxtFontSize);

// The main window's placement defaults, from the work area's size alone and
// the window's outer size once its client size is set.
int DefaultBottom(Size work_area, Size outer);
int DefaultLeft(Size work_area, Size outer);

// The list window's default top-left corner, from its outer size at creation.
Point ListWindowDefaultPosition(Size work_area, Size outer);

// A stored place is kept only while the player can reach the window there:
// at least 100 x 30 pixels of it (all of a smaller one), its top edge
// included, lie in one monitor's work area. Else the window goes into the
// nearest work area by the least move, keeping the size; one larger than the
// work area goes to its top-left corner.
Point PlaceInReach(const platform::Rect& window, const std::vector<platform::Rect>& work_areas);
// The box lies whole in one monitor's work area.
bool InsideAWorkArea(const platform::Rect& box, const std::vector<platform::Rect>& work_areas);

// lb1's item height for the screen's horizontal DPI.
int ListItemHeight(int dpi);
// A row holds its 16-pixel icon with 4 pixels to spare, whatever the item height.
int ListRowHeight(int item_height);

}  // namespace quillomi::ui
