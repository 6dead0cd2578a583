#include "ui/icon_tiles.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quillomi::ui {

namespace {

constexpr int kLast = kIconTileSize - 1;
constexpr double kGradient = 26.0;  // from the lower-left to the upper-right pixel: ±
constexpr double kCornerLift = 40.0;

// The shading before the shift that brings the average back, in channel units.
double Shading(int x, int y) {
  const double diagonal = static_cast<double>(x - y) / kLast;  // -1 lower left, +1 upper right
  const bool corner = (x == 0 || x == kLast) && (y == 0 || y == kLast);
  return kGradient * diagonal + (corner ? kCornerLift : 0.0);
}

double Clamped(double value) {
  return std::clamp(value, 0.0, 255.0);
}

// One channel: the shading around `average`, shifted so that the clamped
// values keep that average (the clamping at 0 and 255 would move it).
void ShadeChannel(IconTile& tile, std::uint8_t Rgb::*channel, std::uint8_t average) {
  const auto mean_at = [&](double shift) {
    double sum = 0;
    for (int y = 0; y < kIconTileSize; ++y)
      for (int x = 0; x < kIconTileSize; ++x) sum += Clamped(average + Shading(x, y) + shift);
    return sum / (kIconTileSize * kIconTileSize);
  };
  // The mean grows with the shift, so halving the interval finds it.
  double low = -255.0;
  double high = 255.0;
  for (int step = 0; step < 40; ++step) {
    const double middle = (low + high) / 2;
    (mean_at(middle) < average ? low : high) = middle;
  }
  const double shift = (low + high) / 2;
  for (int y = 0; y < kIconTileSize; ++y)
    for (int x = 0; x < kIconTileSize; ++x)
      tile[static_cast<std::size_t>(y * kIconTileSize + x)].*channel =
          static_cast<std::uint8_t>(std::lround(Clamped(average + Shading(x, y) + shift)));
}

}  // namespace

IconTile MakeIconTile(int index) {
  const Rgb average = kIconColours[static_cast<std::size_t>(index)];
  IconTile tile{};
  ShadeChannel(tile, &Rgb::r, average.r);
  ShadeChannel(tile, &Rgb::g, average.g);
  ShadeChannel(tile, &Rgb::b, average.b);
  return tile;
}

}  // namespace quillomi::ui
