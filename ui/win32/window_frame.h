// FormGeometry over a real window, for any frame interface built on it.
#pragma once

#include "ui/form_geometry.h"
#include "ui/win32/window.h"

namespace quillomi::ui::win32 {

template <class Frame>
class WindowFrame : public Frame {
 public:
  int Top() const override { return Outer().top; }
  int Left() const override { return Outer().left; }
  int OuterWidth() const override {
    const RECT r = Outer();
    return r.right - r.left;
  }
  int OuterHeight() const override {
    const RECT r = Outer();
    return r.bottom - r.top;
  }
  int ClientWidth() const override { return Client().cx; }
  int ClientHeight() const override { return Client().cy; }
  void SetTop(int top) override { Move(Left(), top); }
  void SetLeft(int left) override { Move(left, Top()); }
  void SetClientWidth(int width) override {
    Resize(OuterSizeForClient(FrameWindow(), width, ClientHeight()).cx, OuterHeight());
  }
  void SetClientHeight(int height) override {
    Resize(OuterWidth(), OuterSizeForClient(FrameWindow(), ClientWidth(), height).cy);
  }

 protected:
  virtual HWND FrameWindow() const = 0;
  void Move(int left, int top) {
    SetWindowPos(FrameWindow(), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Resize(int width, int height) {
    SetWindowPos(FrameWindow(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  // Minimized or maximized, a window's place is the one it is restored to:
  // that is what a close saves and the next start opens.
  bool Restored() const { return !IsIconic(FrameWindow()) && !IsZoomed(FrameWindow()); }

  RECT Outer() const {
    HWND window = FrameWindow();
    if (Restored()) return WindowRect(window);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return WindowRect(window);
    RECT rect = placement.rcNormalPosition;
    // Workspace coordinates: they start where the work area of the monitor does.
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
      MONITORINFO monitor{};
      monitor.cbSize = sizeof monitor;
      if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return rect;
  }

  SIZE Client() const {
    HWND window = FrameWindow();
    if (Restored()) {
      const RECT client = ClientRect(window);
      return {client.right, client.bottom};
    }
    const RECT outer = Outer();
    const SIZE frame = OuterSizeForClient(window, 0, 0);
    return {outer.right - outer.left - frame.cx, outer.bottom - outer.top - frame.cy};
  }
};

}  // namespace quillomi::ui::win32
