// The list window's ten icons: opaque 16 × 16 tiles of one colour each, shaded
// as a soft diagonal gradient with lighter corner pixels. Drawn once at start.
#pragma once

#include <array>
#include <cstdint>

namespace quillomi::ui {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kIconTileSize = 16;
inline constexpr int kIconTileCount = 10;

// Each tile's average colour; index 0 (white) is never shown.
inline constexpr std::array<Rgb, kIconTileCount> kIconColours = {{
    {255, 255, 255},  // white
    {50, 210, 54},    // green
    {2, 124, 207},    // blue
    {255, 194, 32},   // yellow
    {179, 82, 196},   // purple
    {215, 52, 70},    // red
    {164, 164, 164},  // grey
    {51, 162, 167},   // teal
    {255, 121, 19},   // orange
    {56, 56, 56},     // charcoal
}};

// Row by row from the top, each row from the left.
using IconTile = std::array<Rgb, kIconTileSize * kIconTileSize>;

// Icon 0 to 9: darker to the lower left, lighter to the upper right, its
// average the table's colour to within a unit where the channel allows.
IconTile MakeIconTile(int index);

}  // namespace quillomi::ui
