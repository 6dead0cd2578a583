#include "delivery/game_delivery.h"

#include <string>

#include "delivery/win_search.h"

namespace quillomi::delivery {

namespace {

constexpr std::uint32_t kPastePauseMs = 100;
constexpr std::uint32_t kEnterPauseMs = 100;
constexpr std::uint32_t kEcRaisePauseMs = 300;

// The classic client reads scan codes as well, so they come from the current
// keyboard layout.
void ClassicKey(platform::Windows& windows, std::uint8_t vk, bool key_up) {
  const auto scan = static_cast<std::uint8_t>(windows.MapVirtualKeyToScan(vk) & 0xFFu);
  windows.KeyEvent(vk, scan, key_up);
}

void ServeClassic(platform::Platform& platform, platform::WindowHandle game,
                  platform::WindowHandle inner, bool no_enter) {
  auto& windows = platform.windows;
  windows.BringToTop(game);
  // Posting to no window would land in our own thread's queue.
  if (inner != 0) windows.PostSetFocus(inner);

  ClassicKey(windows, platform::kVkControl, false);
  ClassicKey(windows, platform::kVkV, false);
  ClassicKey(windows, platform::kVkV, true);
  ClassicKey(windows, platform::kVkControl, true);
  platform.clock.Sleep(kPastePauseMs);
  ClassicKey(windows, platform::kVkReturn, false);
  ClassicKey(windows, platform::kVkReturn, true);
  if (!no_enter) {
    platform.clock.Sleep(kEnterPauseMs);
    ClassicKey(windows, platform::kVkReturn, false);
    ClassicKey(windows, platform::kVkReturn, true);
  }

  windows.BringToTop(windows.FindTopWindow(kPanelClass));
}

// The EC client pastes only by hand; the caption tells the user so, and one
// Enter opens its chat line.
void ServeEc(platform::Platform& platform, const PanelState& panel) {
  auto& windows = platform.windows;
  std::u16string caption(panel.sTitle);
  caption += kEcNote;
  windows.SetText(panel.main_window, caption);

  const auto target = windows.FindTopWindow(kEcKeyTargetClass);
  if (target == 0) return;
  windows.BringToTop(target);
  platform.clock.Sleep(kEcRaisePauseMs);
  windows.KeyEvent(platform::kVkReturn, 0, false);
  windows.KeyEvent(platform::kVkReturn, 0, true);
}

}  // namespace

GameClient FindUOandPase(platform::Platform& platform, const PanelState& panel) {
  auto& windows = platform.windows;

  const auto game = windows.FindTopWindow(kClassicClientClass);
  const auto inner = windows.FindChildWindow(game, kClassicClientClass);
  if (game != 0 || inner != 0) {
    ServeClassic(platform, game, inner, panel.bNoEnter);
    return GameClient::kClassic;
  }

  TWindowList list;
  const std::int32_t count = GetTopWindows(windows, list);
  for (std::int32_t i = 0; i < count; ++i) {
    const auto title = GetWindowTitleText(windows, list.handles[static_cast<std::size_t>(i)]);
    if (title.find(kEcTitleMarker) != std::u16string::npos) {
      ServeEc(platform, panel);
      return GameClient::kEc;
    }
  }

  platform.dialogs.ShowMessage(kNotFoundMessage);
  return GameClient::kNone;
}

}  // namespace quillomi::delivery
