// One tool tip control for a window: a tool per control and one for the bare
// background, every text asked for when shown, with the window's delays.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/window.h"

namespace quillomi::ui::win32 {

// The control itself is made by Start, once the window is up: a tip shows
// only after its delay, and its tools are not worth a slower start.
class HintTips {
 public:
  // text_of answers which hint a control (or the window itself) shows.
  void Attach(HWND window, std::function<std::u16string(HWND)> text_of);
  void Add(HWND target);
  void SetDelay(int initial_ms);
  void Start();
  // The window's WM_NOTIFY; true when it was the tip asking for its text.
  bool OnNotify(LPARAM lparam);

 private:
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;  // destroyed with the window that owns it
  std::function<std::u16string(HWND)> text_of_;
  std::vector<HWND> targets_;
  int initial_ms_ = 0;
  std::u16string shown_;
};

}  // namespace quillomi::ui::win32
