// Quillomi's entry: one instance per session, the application object, the
// panel, then the hidden list window, then the event loop.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/application.h"
#include "app/startup.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/panel_window.h"
#include "ui/win32/list_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Nothing beside the executable is ever loaded as code, not even the
  // ".dll"-named templates: they are text.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

  quillomi::win32::Win32Platform win32;
  auto& platform = win32.Get();
  if (quillomi::app::ClaimInstance(platform) == quillomi::app::InstanceRole::kSecond) return 0;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  quillomi::app::Application application(platform);
  if (!application.Create()) return 0;

  std::unique_ptr<quillomi::ui::win32::ListWindow> form3;
  quillomi::ui::win32::PanelHooks panel_hooks;
  panel_hooks.application_window = application.hwnd();
  panel_hooks.minimize_application = [&] { application.Minimize(); };
  panel_hooks.application_minimized = [&] { return application.Minimized(); };
  panel_hooks.restore_application = [&] { application.Restore(); };
  panel_hooks.show_list_window = [&] {
    if (form3) form3->ShowFromPanel();
  };
  panel_hooks.window_created = [&](HWND window) {
    const auto handle = reinterpret_cast<quillomi::platform::WindowHandle>(window);
    win32.SetDialogOwner(handle);
    win32.SetClipboardOwner(handle);
  };
  quillomi::ui::win32::PanelWindow form1(platform, panel_hooks);
  if (!form1.Create()) return 0;
  application.ShowEntry();

  quillomi::ui::win32::ListWindowHooks list_hooks;
  list_hooks.application_window = application.hwnd();
  list_hooks.send = [&](std::u16string text) { form1.ComSendMessage(std::move(text)); };
  list_hooks.sListText1 = form1.sListText1();
  form3 = std::make_unique<quillomi::ui::win32::ListWindow>(platform, std::move(list_hooks));
  // Without its list window the panel still delivers.
  if (!form3->Create()) form3.reset();

  application.AddForm(form1.hwnd());
  if (form3) application.AddForm(form3->hwnd());
  return application.Run();
}
