#include "ui/win32/window.h"

#include <memory>
#include <utility>

#include "platform/errors.h"
#include "platform/win32/system_error.h"
#include "ui/font_face.h"

namespace quillomi::ui::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

void ReportCurrentException(platform::Dialogs& dialogs) noexcept {
  try {
    dialogs.ShowError(StandardErrorText(DescribeCurrentException()));
  } catch (...) {
    // Nothing is left to tell the user with.
  }
}

Window::~Window() {
  // Only a window that is still alive and still ours is destroyed here, and
  // no handler of the dying object runs meanwhile.
  if (hwnd_ && IsWindow(hwnd_) &&
      GetWindowLongPtrW(hwnd_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
    HWND window = std::exchange(hwnd_, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

void Window::RegisterWindowClass(std::u16string_view class_name, UINT style, HCURSOR cursor,
                                 HBRUSH background, HICON icon, HICON small_icon) {
  const quillomi::win32::Terminated name(class_name);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name.get(), &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = small_icon;
  wc.lpszClassName = name.get();
  if (!RegisterClassExW(&wc)) throw quillomi::win32::LastErrorFailure();
}

void Window::CreateWindowOfClass(std::u16string_view class_name, const std::u16string& caption,
                                 DWORD style, DWORD ex_style, int left, int top, int width,
                                 int height, HWND owner) {
  const quillomi::win32::Terminated name(class_name);
  if (!CreateWindowExW(ex_style, name.get(), W(caption), style, left, top, width, height, owner,
                       nullptr, GetModuleHandleW(nullptr), this)) {
    const auto failure = quillomi::win32::LastErrorFailure();
    hwnd_ = nullptr;
    throw failure;
  }
}

LRESULT Window::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

UniqueGdiObject Window::MakeFont(int pixel_height, bool bold) const {
  static const ui::FontFace face = ui::ChooseFontFace(platform_.screen);
  const std::u16string name(face.name);
  const auto create = [&](int width) {
    return UniqueGdiObject(CreateFontW(-pixel_height, width, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                                       W(name)));
  };
  UniqueGdiObject font = create(0);
  if (face.width_percent == 100 || !font) return font;
  // lfWidth is an average character width: the face's own, scaled.
  TEXTMETRICW metrics{};
  {
    const WindowDc screen(nullptr);
    const SelectedObject selected(screen.get(), font.get());
    GetTextMetricsW(screen.get(), &metrics);
  }
  const int width = MulDiv(metrics.tmAveCharWidth, face.width_percent, 100);
  return width > 0 ? create(width) : std::move(font);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam) noexcept {
  // Bound at WM_NCCREATE: messages before WM_CREATE would miss a later binding.
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // The last message: the object lets go of the handle for good.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  try {
    if (message == WM_ACTIVATE && self->TrackFocus(wparam)) return 0;
    return self->OnMessage(message, wparam, lparam);
  } catch (...) {
    ReportCurrentException(self->platform_.dialogs);
    return 0;
  }
}

HWND Window::AddControl(const wchar_t* class_name, const std::u16string& text, DWORD style,
                        DWORD ex_style, int left, int top, int width, int height, int id) {
  return CreateWindowExW(ex_style, class_name, W(text), style | WS_CHILD, left, top, width, height,
                         hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

namespace {

// Owned by the subclassed control: made with the subclass, gone with the control.
struct Subclassed {
  Window* owner;
  Window::ControlHandler handler;
};

}  // namespace

void Window::Subclass(HWND control, ControlHandler handler) {
  auto entry = std::make_unique<Subclassed>(Subclassed{this, std::move(handler)});
  if (SetWindowSubclass(control, ControlProcedure, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(entry.get())))
    entry.release();
}

LRESULT CALLBACK Window::ControlProcedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR data) noexcept {
  auto* entry = reinterpret_cast<Subclassed*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, ControlProcedure, kSubclassId);
    delete entry;
    return DefSubclassProc(control, message, wparam, lparam);
  }
  Window& owner = *entry->owner;
  if (owner.hwnd_) {
    try {
      if (auto handled = entry->handler(control, message, wparam, lparam)) return *handled;
    } catch (...) {
      ReportCurrentException(owner.platform_.dialogs);
      return 0;
    }
  }
  return DefSubclassProc(control, message, wparam, lparam);
}

bool Window::TrackFocus(WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    FocusCameFrom(GetFocus());
    return false;
  }
  // Minimized, the window takes no focus; shown again, it is activated anew.
  if (HIWORD(wparam) != 0) return false;
  HWND target = FocusToRestore();
  if (!target) return false;
  SetFocus(target);
  return true;
}

HWND Window::FocusToRestore() const {
  const bool usable =
      focus_ && IsChild(hwnd_, focus_) && IsWindowVisible(focus_) && IsWindowEnabled(focus_);
  return usable ? focus_ : FirstFocus();
}

void Window::FocusCameFrom(HWND from) {
  if (from && IsChild(hwnd_, from) && KeepsFocus(from)) focus_ = from;
}

std::u16string TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, W(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

}  // namespace quillomi::ui::win32
