#include "delivery/win_search.h"

#include <string_view>

namespace quillomi::delivery {

std::int32_t GetTopWindows(platform::Windows& windows, TWindowList& list) {
  list.count = 0;
  windows.EnumTopWindows([&](platform::WindowHandle window) {
    if (list.count >= static_cast<std::int64_t>(TWindowList::kCapacity)) return;
    if (windows.Owner(window) != 0 || !windows.IsVisible(window)) return;
    list.handles[static_cast<std::size_t>(list.count)] = window;
    ++list.count;
  });
  return static_cast<std::int32_t>(list.count);
}

std::u16string GetWindowTitleText(platform::Windows& windows, platform::WindowHandle window) {
  std::array<char16_t, 260> buffer{};
  if (windows.GetText(window, buffer.data(), static_cast<int>(buffer.size())) <= 0) return {};
  // The last unit is left for the terminator, whatever the call wrote.
  const std::u16string_view text(buffer.data(), buffer.size() - 1);
  return std::u16string(text.substr(0, text.find(u'\0')));
}

}  // namespace quillomi::delivery
