// One C++ object per window, bound at WM_NCCREATE, with a catch barrier per
// message: no exception unwinds through Windows frames; the error box tells it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace quillomi::ui::win32 {

using quillomi::win32::W;

using quillomi::win32::SelectedObject;
using quillomi::win32::UniqueGdiObject;
using quillomi::win32::UniqueIcon;
using quillomi::win32::UniqueImageList;
using quillomi::win32::WindowDc;

inline platform::WindowHandle Handle(HWND window) {
  return reinterpret_cast<platform::WindowHandle>(window);
}

// Shows whatever the running handler let escape in the standard error box.
void ReportCurrentException(platform::Dialogs& dialogs) noexcept;

class Window {
 public:
  explicit Window(platform::Platform& platform) : platform_(platform) {}
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Handles one control message; nullopt passes it to the control's own procedure.
  using ControlHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

 protected:
  // Once per process; throws OsFailure when the system refuses.
  static void RegisterWindowClass(std::u16string_view class_name, UINT style, HCURSOR cursor,
                                  HBRUSH background, HICON icon, HICON small_icon);
  // Throws OsFailure when the window cannot be made; hwnd_ is then null.
  void CreateWindowOfClass(std::u16string_view class_name, const std::u16string& caption,
                           DWORD style, DWORD ex_style, int left, int top, int width, int height,
                           HWND owner);

  // A creation step under its own barrier; false when it threw (the user was told).
  template <typename Step>
  bool Reported(Step&& step) {
    try {
      step();
      return true;
    } catch (...) {
      ReportCurrentException(platform_.dialogs);
      return false;
    }
  }

  // Messages of the window itself; unhandled ones go to DefWindowProcW.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // The program's one face (ui::ChooseFontFace) at a pixel height.
  UniqueGdiObject MakeFont(int pixel_height, bool bold = false) const;

  HWND AddControl(const wchar_t* class_name, const std::u16string& text, DWORD style,
                  DWORD ex_style, int left, int top, int width, int height, int id);
  // Sees the control's messages first, under the same barrier.
  void Subclass(HWND control, ControlHandler handler);

  // The first activation's focus; null for the window itself.
  virtual HWND FirstFocus() const { return nullptr; }
  // A control the focus is never given back to: it goes where it came from.
  virtual bool KeepsFocus(HWND) const { return true; }
  HWND FocusToRestore() const;
  // What a control of KeepsFocus() false takes the focus from.
  void FocusCameFrom(HWND from);

  platform::Platform& platform_;
  // Null from WM_NCDESTROY: never a dead or reused handle.
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR id, DWORD_PTR data) noexcept;
  // Remembers the focus on deactivation, gives it back on activation.
  bool TrackFocus(WPARAM wparam);

  HWND focus_ = nullptr;
};

// A window's text, as long as it is.
std::u16string TextOf(HWND window);

inline RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Moves a child within its parent, keeping its size and place in the z-order.
inline void MoveControl(HWND control, int left, int top) {
  SetWindowPos(control, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A child's top-left corner in its parent's client area.
inline POINT PlaceInParent(HWND child) {
  RECT rect = WindowRect(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top};
}

inline RECT ClientRect(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

}  // namespace quillomi::ui::win32
