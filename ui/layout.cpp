#include "ui/layout.h"

#include <algorithm>
#include <cmath>

namespace quillomi::ui {

namespace {

constexpr int kGridMargin = 4;
constexpr int kGridTop = 3;
// One pixel less than a button is wide: neighbours in a row overlap by a pixel.
constexpr int kColumnPitch = 49;
constexpr int kRowPitch = 26;
constexpr std::array<int, 4> kLabelOffsets = {40, 56, 72, 88};

constexpr int kItemHeightAt96Dpi = 16;
constexpr int kIconHeight = 16;
constexpr int kListWindowOffset = 50;

int Floor(double value) {
  return static_cast<int>(std::floor(value));
}

bool WindowInReach(const platform::Rect& window, const std::vector<platform::Rect>& work_areas) {
  constexpr int kReachWidth = 100;
  constexpr int kReachHeight = 30;
  const int width = std::min(kReachWidth, window.Width());
  const int height = std::min(kReachHeight, window.Height());
  return std::any_of(work_areas.begin(), work_areas.end(), [&](const platform::Rect& area) {
    if (window.top < area.top || window.top >= area.bottom) return false;
    const int shown_width = std::min(window.right, area.right) - std::max(window.left, area.left);
    const int shown_height = std::min(window.bottom, area.bottom) - window.top;
    return shown_width >= width && shown_height >= height;
  });
}

}  // namespace

int GridColumns(int client_width) {
  return static_cast<int>((client_width - kGridMargin) / static_cast<double>(kColumnPitch));
}

GridLayout LayOutGrid(int client_width) {
  const int columns = GridColumns(client_width);
  GridLayout layout{};
  int x = kGridMargin;
  int y = kGridTop;
  int n = 0;
  // The wrap test comes before each button, so with no whole column even the
  // first button wraps and the top row stays empty.
  for (auto& button : layout.buttons) {
    if (n >= columns) {
      x = kGridMargin;
      y += kRowPitch;
      n = 0;
    }
    button = {x, y};
    x += kColumnPitch;
    ++n;
  }
  for (std::size_t i = 0; i < kLabelOffsets.size(); ++i) {
    layout.label_tops[i] = y + kLabelOffsets[i];
  }
  return layout;
}

int LabelLeft(bool edtTxtVisible) {
  return edtTxtVisible ? kEdtTxtLeft : kGridMargin;
}

int EdtTxtTop(int client_height, int edtTxtFontSize) {
  return client_height - edtTxtFontSize - 19;
}

int DefaultBottom(Size work_area, Size outer) {
  return Floor(work_area.height / 2.0 + outer.height / 2.0);
}

int DefaultLeft(Size work_area, Size outer) {
  return Floor(work_area.width / 2.0 - outer.width / 2.0);
}

Point ListWindowDefaultPosition(Size work_area, Size outer) {
  return {Floor(work_area.width / 2.0 - outer.width / 2.0) + kListWindowOffset,
          Floor(work_area.height / 2.0 - outer.height / 2.0) + kListWindowOffset};
}

Point PlaceInReach(const platform::Rect& window, const std::vector<platform::Rect>& work_areas) {
  Point best{window.left, window.top};
  if (WindowInReach(window, work_areas)) return best;
  long long least = -1;
  for (const auto& area : work_areas) {
    const Point moved{std::max(area.left, std::min(window.left, area.right - window.Width())),
                      std::max(area.top, std::min(window.top, area.bottom - window.Height()))};
    const long long dx = moved.left - window.left;
    const long long dy = moved.top - window.top;
    if (least < 0 || dx * dx + dy * dy < least) {
      least = dx * dx + dy * dy;
      best = moved;
    }
  }
  return best;
}

bool InsideAWorkArea(const platform::Rect& box, const std::vector<platform::Rect>& work_areas) {
  return std::any_of(work_areas.begin(), work_areas.end(), [&](const platform::Rect& area) {
    return box.left >= area.left && box.top >= area.top && box.right <= area.right &&
           box.bottom <= area.bottom;
  });
}

int ListItemHeight(int dpi) {
  const int percent = dpi * 100 / 96;
  return static_cast<int>(std::ceil(percent * kItemHeightAt96Dpi / 100.0));
}

int ListRowHeight(int item_height) {
  return std::max(item_height, kIconHeight + 4);
}

}  // namespace quillomi::ui
