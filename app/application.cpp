#include "app/application.h"

#include "res/identities.h"

namespace quillomi::app {

bool Application::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(ids::kApplicationIcon));
  return Reported([&] {
    RegisterWindowClass(ids::kApplicationClass, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr, icon,
                        icon);
    // Of no size, out of sight; shown later, when the panel is up.
    CreateWindowOfClass(ids::kApplicationClass, std::u16string(ids::kApplicationTitle),
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS, 0,
                        -32000, -32000, 0, 0, nullptr);
  });
}

void Application::ShowEntry() {
  // A task-bar entry needs a visible window. Showing it costs a native window
  // under Wine, which the panel need not wait for.
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void Application::Minimize() {
  hidden_by_minimize_.clear();
  for (HWND form : forms_)
    if (IsWindowVisible(form)) {
      hidden_by_minimize_.push_back(form);
      ShowWindow(form, SW_HIDE);
    }
  ShowWindow(hwnd_, SW_MINIMIZE);
}

void Application::Restore() {
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  for (HWND form : hidden_by_minimize_) ShowWindow(form, SW_SHOWNA);
  hidden_by_minimize_.clear();
  if (!forms_.empty()) SetForegroundWindow(forms_.front());
}

void Application::Defer(std::function<void()> work) {
  deferred_.push_back(std::move(work));
  PostMessageW(hwnd_, ids::kRunDeferred, 0, 0);
}

int Application::Run() {
  MSG message;
  // Ends with the main window, even when a modal loop took the quit message.
  while (!forms_.empty() && IsWindow(forms_.front()) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

LRESULT Application::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_RESTORE) {
        Restore();
        return 0;
      }
      if ((wparam & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // The entry itself never keeps the activation: the panel takes it.
      if (LOWORD(wparam) != WA_INACTIVE && !IsIconic(hwnd_) && !forms_.empty() &&
          IsWindowVisible(forms_.front()))
        SetActiveWindow(forms_.front());
      return 0;
    case WM_CLOSE:
      // A close posted while a message box is open would end the panel under it.
      if (!forms_.empty() && IsWindowEnabled(hwnd_)) PostMessageW(forms_.front(), WM_CLOSE, 0, 0);
      return 0;
    case ids::kRunDeferred:
      if (!deferred_.empty()) {
        auto work = std::move(deferred_.front());
        deferred_.erase(deferred_.begin());
        work();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace quillomi::app
