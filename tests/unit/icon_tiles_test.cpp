// The icon tiles keep their colour on average and are shaded the stated way.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/icon_tiles.h"

namespace quillomi::ui {
namespace {

constexpr int kLast = kIconTileSize - 1;

// r + g + b of the pixel at x, y.
int Lightness(const IconTile& tile, int x, int y) {
  const Rgb& pixel = tile[static_cast<std::size_t>(y * kIconTileSize + x)];
  return pixel.r + pixel.g + pixel.b;
}

TEST(IconTiles, AverageIsTheTableColourToWithinAUnit) {
  for (int index = 0; index < kIconTileCount; ++index) {
    double sum[3] = {0, 0, 0};
    for (const Rgb& pixel : MakeIconTile(index)) {
      sum[0] += pixel.r;
      sum[1] += pixel.g;
      sum[2] += pixel.b;
    }
    const Rgb want = kIconColours[static_cast<std::size_t>(index)];
    const int wanted[3] = {want.r, want.g, want.b};
    for (int channel = 0; channel < 3; ++channel)
      EXPECT_NEAR(sum[channel] / (kIconTileSize * kIconTileSize), wanted[channel], 1.0)
          << "icon " << index << " channel " << channel;
  }
}

// White (0) is never shown and has no room for shading.
TEST(IconTiles, DarkerTowardsTheLowerLeftWithLighterCorners) {
  for (int index = 1; index < kIconTileCount; ++index) {
    SCOPED_TRACE(index);
    const IconTile tile = MakeIconTile(index);
    // Along the anti-diagonal, away from the corners, each step up and to the
    // right is no darker, and the whole run is clearly lighter at its end.
    for (int step = 1; step + 1 < kLast; ++step)
      EXPECT_LE(Lightness(tile, step, kLast - step), Lightness(tile, step + 1, kLast - step - 1))
          << "step " << step;
    EXPECT_GT(Lightness(tile, kLast - 1, 1), Lightness(tile, 1, kLast - 1) + 30);
    // The other diagonal runs across the gradient: flat but for rounding.
    EXPECT_LE(std::abs(Lightness(tile, 1, 1) - Lightness(tile, kLast - 1, kLast - 1)), 3);
    // Each corner pixel is lighter than its inner neighbour.
    for (int x : {0, kLast})
      for (int y : {0, kLast})
        EXPECT_GT(Lightness(tile, x, y), Lightness(tile, x ? x - 1 : 1, y ? y - 1 : 1))
            << "corner " << x << "," << y;
  }
}

}  // namespace
}  // namespace quillomi::ui
