#include "delivery/game_delivery.h"

#include <algorithm>
#include <string>

#include "delivery/win_search.h"
#include "platform/errors.h"

namespace quillomi::delivery {

namespace {

constexpr std::uint32_t kPastePauseMs = 100;
constexpr std::uint32_t kEnterPauseMs = 100;
constexpr std::uint32_t kEcRaisePauseMs = 300;
constexpr std::uint32_t kFramePauseMs = 100;

// The classic client reads scan codes as well, so they come from the current
// keyboard layout.
void ClassicKey(platform::Windows& windows, std::uint8_t vk, bool key_up) {
  const auto scan = static_cast<std::uint8_t>(windows.MapVirtualKeyToScan(vk) & 0xFFu);
  windows.KeyEvent(vk, scan, key_up);
}

void PressCtrlV(platform::Windows& windows) {
  ClassicKey(windows, platform::kVkControl, false);
  ClassicKey(windows, platform::kVkV, false);
  ClassicKey(windows, platform::kVkV, true);
  ClassicKey(windows, platform::kVkControl, true);
}

void PressEnter(platform::Windows& windows) {
  ClassicKey(windows, platform::kVkReturn, false);
  ClassicKey(windows, platform::kVkReturn, true);
}

void ServeClassic(platform::Platform& platform, platform::WindowHandle game,
                  platform::WindowHandle inner, bool no_enter) {
  auto& windows = platform.windows;
  windows.BringToTop(game);
  // Posting to no window would land in our own thread's queue.
  if (inner != 0) windows.PostSetFocus(inner);

  PressCtrlV(windows);
  platform.clock.Sleep(kPastePauseMs);
  PressEnter(windows);
  if (!no_enter) {
    platform.clock.Sleep(kEnterPauseMs);
    PressEnter(windows);
  }

  windows.BringToTop(windows.FindTopWindow(kPanelClass));
}

// The EC client pastes only by hand; the caption tells the user so, and one
// Enter opens its chat line.
void ServeEc(platform::Platform& platform, const PanelState& panel) {
  auto& windows = platform.windows;
  windows.SetText(panel.main_window, std::u16string(panel.sTitle) + std::u16string(kEcNote));

  const auto target = windows.FindTopWindow(kEcKeyTargetClass);
  if (target == 0) return;
  windows.BringToTop(target);
  platform.clock.Sleep(kEcRaisePauseMs);
  windows.KeyEvent(platform::kVkReturn, 0, false);
  windows.KeyEvent(platform::kVkReturn, 0, true);
}

// ClassicUO's chat box in its default mode: at its next frame a text that
// begins with one of these switches the mode and empties the box, so the
// prefix goes in alone, and the rest after it. "/1 " to "/10 " need no more:
// "/" switches to party, and "1 " then names the member. "-" is a client
// command, which is never cut.
struct ChatMode {
  std::u16string_view prefix;
  bool party = false;
  bool one_part = false;
};
constexpr ChatMode kChatModes[] = {{u"/", true},        {u"\\"}, {u"|"},  {u","},
                                   {u"-", false, true}, {u": "}, {u"; "}, {u"! "}};
constexpr ChatMode kDefaultMode{};
constexpr std::size_t kChatBoxLength = 500;
constexpr std::size_t kMessageLength = 100;

// The text as a paste puts it into the chat box.
std::u16string AsPasted(std::u16string_view text) {
  std::u16string pasted;
  for (char16_t c : text) {
    if (c == u'\t') {
      pasted += u"   ";
    } else if (c != u'\r') {
      pasted += c == u'\n' ? u' ' : c;
    }
  }
  return pasted;
}

// The white space that .NET's TrimStart takes away.
bool IsWhiteSpace(char16_t c) {
  return c == u' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// A party line whose first two characters read as a member's number, 1 to 10,
// keeps that number before each rest it leaves in the box.
std::u16string PartyMember(std::u16string_view box) {
  auto number = box.substr(0, 2);
  while (!number.empty() && IsWhiteSpace(number.back())) number.remove_suffix(1);
  while (!number.empty() && IsWhiteSpace(number.front())) number.remove_prefix(1);
  if (number.starts_with(u'+')) number.remove_prefix(1);
  int member = 0;
  for (char16_t c : number) member = c >= u'0' && c <= u'9' ? member * 10 + (c - u'0') : 99;
  if (member < 1 || member > 10) return {};
  return member == 10 ? u"10 " : std::u16string{static_cast<char16_t>(u'0' + member), u' '};
}

// The Enters that send the whole box: each sends at most 100 characters, cut
// at the last space within the first 101, and keeps the rest without its
// leading white space.
int Sends(std::u16string box, const ChatMode& mode) {
  int sends = 0;
  while (!box.empty()) {
    ++sends;
    if (mode.one_part || box.size() <= kMessageLength) break;
    auto cut = box.find_last_of(u' ', kMessageLength);
    if (cut == std::u16string::npos) cut = kMessageLength;
    const auto rest =
        std::find_if_not(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end(), IsWhiteSpace);
    auto kept = (mode.party ? PartyMember(box) : u"") + std::u16string(rest, box.end());
    // A member's number cut off alone would come back each time.
    if (kept.size() >= box.size()) break;
    box = std::move(kept);
  }
  return sends;
}

// ClassicUO takes its keys at its next frame and only while it is the
// foreground window: each key gets a frame's pause after it, the panel comes
// back only after the last, and no Enter meets an empty box. Under Wine the
// game's read of the clipboard waits on the panel, which owns it: the pauses
// answer it, so that each paste reads its own text.
void ServeClassicUO(platform::Platform& platform, platform::WindowHandle game,
                    std::u16string_view text, bool no_enter) {
  auto& windows = platform.windows;
  auto& clipboard = platform.clipboard;
  const auto pasted = AsPasted(text);
  const ChatMode* mode = &kDefaultMode;
  for (const auto& chat_mode : kChatModes)
    if (pasted.starts_with(chat_mode.prefix)) mode = &chat_mode;
  const auto frame = [&] { platform.clock.SleepAnsweringSent(kFramePauseMs); };

  windows.BringToTop(game);
  windows.SetForeground(game);
  std::u16string_view box = pasted;
  box.remove_prefix(mode->prefix.size());
  if (mode != &kDefaultMode) PutOnClipboard(clipboard, mode->prefix);
  PressCtrlV(windows);
  if (mode != &kDefaultMode && !box.empty()) {
    frame();
    PutOnClipboard(clipboard, box);
    PressCtrlV(windows);
  }
  const int enters = no_enter ? 0 : Sends(std::u16string(box.substr(0, kChatBoxLength)), *mode);
  for (int i = 0; i < enters; ++i) {
    frame();
    PressEnter(windows);
  }
  frame();
  if (mode != &kDefaultMode) PutOnClipboard(clipboard, text);
  windows.BringToTop(windows.FindTopWindow(kPanelClass));
}

}  // namespace

void PutOnClipboard(platform::Clipboard& clipboard, std::u16string_view text) {
  try {
    clipboard.SetUnicodeText(text);
  } catch (const OsFailure& failure) {
    throw UserError(messages::CannotOpenClipboard(failure.reason()));
  }
}

GameClient FindUOandPase(platform::Platform& platform, const PanelState& panel,
                         std::u16string_view text) {
  auto& windows = platform.windows;

  const auto game = windows.FindTopWindow(kClassicClientClass);
  const auto inner = windows.FindChildWindow(game, kClassicClientClass);
  if (game != 0 || inner != 0) {
    ServeClassic(platform, game, inner, panel.bNoEnter);
    return GameClient::kClassic;
  }

  TWindowList list;
  const std::int32_t count = GetTopWindows(windows, list);
  // The same pass finds the first ClassicUO, served only when no EC client is.
  platform::WindowHandle classicuo = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const auto window = list.handles[static_cast<std::size_t>(i)];
    const auto title = GetWindowTitleText(windows, window);
    if (title.find(kEcTitleMarker) != std::u16string::npos) {
      ServeEc(platform, panel);
      return GameClient::kEc;
    }
    if (classicuo == 0 && title.find(kClassicUOTitleMarker) != std::u16string::npos &&
        windows.ClassName(window) == kClassicUOClass)
      classicuo = window;
  }
  if (classicuo != 0) {
    ServeClassicUO(platform, classicuo, text, panel.bNoEnter);
    return GameClient::kClassicUO;
  }

  platform.dialogs.ShowMessage(kNotFoundMessage);
  return GameClient::kNone;
}

}  // namespace quillomi::delivery
