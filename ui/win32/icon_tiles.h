// ImageList1: the ten icon tiles as an image list, drawn once at start.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/unique_handle.h"

namespace quillomi::ui::win32 {

struct ImageListTraits {
  using pointer = HIMAGELIST;
  static pointer Invalid() noexcept { return nullptr; }
  static void Close(pointer list) noexcept { ImageList_Destroy(list); }
};
using UniqueImageList = quillomi::win32::UniqueHandle<ImageListTraits>;

// Icons 0 to 9, at their indices.
UniqueImageList MakeIconTiles();

}  // namespace quillomi::ui::win32
