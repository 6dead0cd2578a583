// A window whose handlers see it through a frame interface built on
// FormGeometry.
#pragma once

#include "ui/form_geometry.h"
#include "ui/win32/window.h"

namespace quillomi::ui::win32 {

template <class Frame>
class WindowFrame : public Window, protected Frame {
 public:
  using Window::Window;

 protected:
  // Minimized or maximized, a window's place is the one it is restored to:
  // that is what a close saves and the next start opens.
  platform::Rect Outer() const override {
    RECT rect = WindowRect(hwnd_);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (Restored() || !GetWindowPlacement(hwnd_, &placement)) return Of(rect);
    rect = placement.rcNormalPosition;
    // Workspace coordinates: they start where the work area of the monitor does.
    if (!(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
      MONITORINFO monitor{};
      monitor.cbSize = sizeof monitor;
      if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return Of(rect);
  }
  Size Client() const override {
    const RECT client = ClientRect(hwnd_);
    if (Restored()) return {client.right, client.bottom};
    const SIZE frame = OuterSizeForClient(hwnd_, 0, 0);
    const platform::Rect outer = Outer();
    return {outer.Width() - frame.cx, outer.Height() - frame.cy};
  }
  void MoveTo(Point place) override {
    SetWindowPos(hwnd_, nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetClientSize(Size client) override {
    const SIZE outer = OuterSizeForClient(hwnd_, client.width, client.height);
    Resize({outer.cx, outer.cy});
  }
  void Resize(Size outer) {
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.width, outer.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  bool Restored() const { return !IsIconic(hwnd_) && !IsZoomed(hwnd_); }
  // What the frame of the window's style adds to a client area.
  static SIZE OuterSizeForClient(HWND window, int client_width, int client_height) {
    RECT rect{0, 0, client_width, client_height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    return {rect.right - rect.left, rect.bottom - rect.top};
  }
  static platform::Rect Of(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
};

}  // namespace quillomi::ui::win32
