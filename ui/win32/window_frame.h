// FormGeometry over a real window, for any frame interface built on it.
#pragma once

#include "ui/form_geometry.h"
#include "ui/win32/window.h"

namespace quillomi::ui::win32 {

template <class Frame>
class WindowFrame : public Frame {
 public:
  int Top() const override { return WindowRect(FrameWindow()).top; }
  int Left() const override { return WindowRect(FrameWindow()).left; }
  int OuterWidth() const override {
    const RECT r = WindowRect(FrameWindow());
    return r.right - r.left;
  }
  int OuterHeight() const override {
    const RECT r = WindowRect(FrameWindow());
    return r.bottom - r.top;
  }
  int ClientWidth() const override { return ClientRect(FrameWindow()).right; }
  int ClientHeight() const override { return ClientRect(FrameWindow()).bottom; }
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
};

}  // namespace quillomi::ui::win32
