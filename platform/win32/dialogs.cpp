#include <vector>

#include "platform/win32/win32_platform.h"
#include "res/identities.h"

namespace quillomi::win32 {

namespace {

// While a box is open every other window of the program is disabled, so no
// click, key or close starts anything under it; the box's owner is left to
// MessageBoxW, which disables it itself. Only the windows disabled here are
// enabled again: one that was disabled before stays so.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
    ::EnumThreadWindows(::GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_)
      if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM parameter) noexcept {
    auto& self = *reinterpret_cast<OtherWindowsDisabled*>(parameter);
    if (window == self.owner_ || !::IsWindowEnabled(window)) return TRUE;
    try {
      self.disabled_.push_back(window);
    } catch (...) {
      return FALSE;  // one that could not be remembered is left enabled
    }
    ::EnableWindow(window, FALSE);
    return TRUE;
  }

  HWND owner_;
  std::vector<HWND> disabled_;
};

void Show(WindowHandle owner, std::u16string_view text, UINT type) {
  const OtherWindowsDisabled modal(Hwnd(owner));
  ::MessageBoxW(Hwnd(owner), Terminated(text).get(), W(ids::kApplicationTitle.data()), type);
}

}  // namespace

void Dialogs::ShowMessage(std::u16string_view text) {
  Show(owner, text, MB_OK);
}

void Dialogs::ShowError(std::u16string_view text) {
  Show(owner, text, MB_OK | MB_ICONERROR);
}

}  // namespace quillomi::win32
