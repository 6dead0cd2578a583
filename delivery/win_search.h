// Unit WinSearch: the visible unowned top-level windows and their titles, for
// the search for the EC client.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace quillomi::delivery {

// A fixed block of 64-bit slots: the count, then the handles in the order they
// were collected. It lives on the caller's stack for one search.
struct TWindowList {
  static constexpr std::size_t kCapacity = 501;
  std::int64_t count = 0;
  std::array<platform::WindowHandle, kCapacity> handles{};
};

// Fills list with the visible top-level windows that have no owner, in the
// platform's order, and returns how many it holds. Every top-level window is
// visited, but once the list is full further windows are not collected: the
// list never grows past its capacity.
std::int32_t GetTopWindows(platform::Windows& windows, TWindowList& list);

// The window's title, at most 259 units; empty when it has none or the call fails.
std::u16string GetWindowTitleText(platform::Windows& windows, platform::WindowHandle window);

}  // namespace quillomi::delivery
