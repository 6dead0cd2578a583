#include <algorithm>
#include <exception>

#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

namespace {

struct Enumeration {
  const std::function<void(WindowHandle)>& visit;
  std::exception_ptr failure;
};

// Nothing may unwind through EnumWindows: a failure is kept and rethrown once it
// has returned, and no window after it is visited.
BOOL CALLBACK VisitTopWindow(HWND window, LPARAM parameter) noexcept {
  auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
  if (!enumeration.failure) {
    try {
      enumeration.visit(Handle(window));
    } catch (...) {
      enumeration.failure = std::current_exception();
    }
  }
  return TRUE;
}

}  // namespace

WindowHandle Windows::FindTopWindow(std::u16string_view class_name) {
  return Handle(::FindWindowW(Terminated(class_name).get(), nullptr));
}

WindowHandle Windows::FindChildWindow(WindowHandle parent, std::u16string_view class_name) {
  return Handle(::FindWindowExW(Hwnd(parent), nullptr, Terminated(class_name).get(), nullptr));
}

void Windows::BringToTop(WindowHandle window) {
  ::BringWindowToTop(Hwnd(window));
}

void Windows::SetForeground(WindowHandle window) {
  ::SetForegroundWindow(Hwnd(window));
}

void Windows::PostSetFocus(WindowHandle window) {
  ::PostMessageW(Hwnd(window), WM_SETFOCUS, 0, 0);
}

void Windows::SendRestore(WindowHandle window) {
  ::SendMessageW(Hwnd(window), WM_SYSCOMMAND, SC_RESTORE, 0);
}

void Windows::KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) {
  ::keybd_event(vk, scan, key_up ? KEYEVENTF_KEYUP : 0, 0);
}

std::uint32_t Windows::MapVirtualKeyToScan(std::uint32_t vk) {
  return ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
}

bool Windows::IsKeyDown(std::uint8_t vk) {
  return (static_cast<unsigned short>(::GetAsyncKeyState(vk)) & 0x8000U) != 0;
}

void Windows::EnumTopWindows(const std::function<void(WindowHandle)>& visit) {
  Enumeration enumeration{visit, nullptr};
  ::EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&enumeration));
  if (enumeration.failure) std::rethrow_exception(enumeration.failure);
}

WindowHandle Windows::Owner(WindowHandle window) {
  return Handle(::GetWindow(Hwnd(window), GW_OWNER));
}

bool Windows::IsVisible(WindowHandle window) {
  return ::IsWindowVisible(Hwnd(window)) != 0;
}

int Windows::GetText(WindowHandle window, char16_t* buffer, int capacity) {
  return ::GetWindowTextW(Hwnd(window), W(buffer), capacity);
}

void Windows::SetText(WindowHandle window, std::u16string_view text) {
  ::SetWindowTextW(Hwnd(window), Terminated(text).get());
}

std::u16string Windows::ClassName(WindowHandle window) {
  // Registered class names are at most 256 characters.
  wchar_t name[257] = {};
  const int length = ::GetClassNameW(Hwnd(window), name, 257);
  return std::u16string(U(name), static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace quillomi::win32
