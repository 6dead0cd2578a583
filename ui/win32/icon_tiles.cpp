#include "ui/win32/icon_tiles.h"

#include <cstdint>

#include "ui/icon_tiles.h"
#include "ui/win32/window.h"

namespace quillomi::ui::win32 {

UniqueImageList MakeIconTiles() {
  UniqueImageList list(
      ImageList_Create(kIconTileSize, kIconTileSize, ILC_COLOR24, kIconTileCount, 0));
  if (!list) return list;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kIconTileSize;
  info.bmiHeader.biHeight = -kIconTileSize;  // top row first, as the tile is
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  for (int index = 0; index < kIconTileCount; ++index) {
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // A missing tile would shift the ones after it: no icons rather than wrong ones.
    if (!bitmap || !bits) return UniqueImageList();
    auto* pixel = static_cast<std::uint8_t*>(bits);
    for (const Rgb& colour : MakeIconTile(index)) {
      *pixel++ = colour.b;
      *pixel++ = colour.g;
      *pixel++ = colour.r;
      *pixel++ = 0;
    }
    ImageList_Add(list.get(), static_cast<HBITMAP>(bitmap.get()), nullptr);
  }
  return list;
}

}  // namespace quillomi::ui::win32
