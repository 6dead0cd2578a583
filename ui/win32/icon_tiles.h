// ImageList1: the ten icon tiles as an image list, drawn once at start.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/unique_handle.h"

namespace quillomi::ui::win32 {

using quillomi::win32::UniqueImageList;

// Icons 0 to 9, at their indices.
UniqueImageList MakeIconTiles();

}  // namespace quillomi::ui::win32
