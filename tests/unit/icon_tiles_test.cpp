// The list window's icon tiles: each keeps its colour on average however the
// shading and the clamping at 0 and 255 pull, and is shaded the stated way.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/icon_tiles.h"

namespace quillomi::ui {
namespace {

constexpr int kLast = kIconTileSize - 1;

const Rgb& At(const IconTile& tile, int x, int y) {
  return tile[static_cast<std::size_t>(y * kIconTileSize + x)];
}

int Lightness(const Rgb& pixel) {
  return pixel.r + pixel.g + pixel.b;
}

TEST(IconTiles, AverageIsTheTableColourToWithinAUnit) {
  for (int index = 0; index < kIconTileCount; ++index) {
    const IconTile tile = MakeIconTile(index);
    long sum[3] = {0, 0, 0};
    for (const Rgb& pixel : tile) {
      sum[0] += pixel.r;
      sum[1] += pixel.g;
      sum[2] += pixel.b;
    }
    const Rgb want = kIconColours[static_cast<std::size_t>(index)];
    const int wanted[3] = {want.r, want.g, want.b};
    for (int channel = 0; channel < 3; ++channel) {
      const double average = static_cast<double>(sum[channel]) / static_cast<double>(tile.size());
      EXPECT_NEAR(average, wanted[channel], 1.0) << "icon " << index << " channel " << channel;
    }
  }
}

TEST(IconTiles, DarkerTowardsTheLowerLeftLighterTowardsTheUpperRight) {
  for (int index = 1; index < kIconTileCount; ++index) {
    const IconTile tile = MakeIconTile(index);
    // Along the anti-diagonal, away from the corners, each step up and to the
    // right is no darker, and the whole run is clearly lighter at its end.
    for (int step = 1; step + 1 < kLast; ++step)
      EXPECT_LE(Lightness(At(tile, step, kLast - step)),
                Lightness(At(tile, step + 1, kLast - step - 1)))
          << "icon " << index << " step " << step;
    EXPECT_GT(Lightness(At(tile, kLast - 1, 1)), Lightness(At(tile, 1, kLast - 1)) + 30)
        << "icon " << index;
    // The other diagonal runs across the gradient: flat but for rounding.
    EXPECT_LE(std::abs(Lightness(At(tile, 1, 1)) - Lightness(At(tile, kLast - 1, kLast - 1))), 3)
        << "icon " << index;
  }
}

TEST(IconTiles, CornerPixelsAreLighterThanTheirInnerNeighbours) {
  struct Corner {
    int x, y, inner_x, inner_y;
  };
  const Corner corners[] = {{0, 0, 1, 1},
                            {kLast, 0, kLast - 1, 1},
                            {0, kLast, 1, kLast - 1},
                            {kLast, kLast, kLast - 1, kLast - 1}};
  for (int index = 1; index < kIconTileCount; ++index) {
    const IconTile tile = MakeIconTile(index);
    for (const auto& c : corners)
      EXPECT_GT(Lightness(At(tile, c.x, c.y)), Lightness(At(tile, c.inner_x, c.inner_y)))
          << "icon " << index << " corner " << c.x << "," << c.y;
  }
}

TEST(IconTiles, TilesOfDifferentColoursDiffer) {
  for (int a = 0; a < kIconTileCount; ++a)
    for (int b = a + 1; b < kIconTileCount; ++b)
      EXPECT_NE(At(MakeIconTile(a), 8, 8), At(MakeIconTile(b), 8, 8)) << a << " vs " << b;
}

}  // namespace
}  // namespace quillomi::ui
