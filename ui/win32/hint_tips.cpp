#include "ui/win32/hint_tips.h"

#include <utility>

namespace quillomi::ui::win32 {

void HintTips::Attach(HWND window, std::function<std::u16string(HWND)> text_of) {
  window_ = window;
  text_of_ = std::move(text_of);
  targets_.assign(1, window);
}

void HintTips::Add(HWND target) {
  if (!tooltip_) {
    targets_.push_back(target);
    return;
  }
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = window_;
  info.uId = reinterpret_cast<UINT_PTR>(target);
  info.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void HintTips::Start() {
  if (tooltip_ || !window_) return;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
  for (HWND target : std::exchange(targets_, {})) Add(target);
  SetDelay(initial_ms_);
}

void HintTips::SetDelay(int initial_ms) {
  initial_ms_ = initial_ms;
  if (!tooltip_) return;
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initial_ms, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(10000, 0));
}

bool HintTips::OnNotify(LPARAM lparam) {
  auto* header = reinterpret_cast<NMHDR*>(lparam);
  if (!tooltip_ || header->hwndFrom != tooltip_ || header->code != TTN_GETDISPINFOW) return false;
  shown_ = text_of_(reinterpret_cast<HWND>(header->idFrom));
  reinterpret_cast<NMTTDISPINFOW*>(lparam)->lpszText = W(shown_.data());
  return true;
}

}  // namespace quillomi::ui::win32
