// Quillomi's entry: one instance per session, the application object, the
// panel, then the event loop, which makes the hidden list window first.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/application.h"
#include "app/single_instance.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/list_window.h"
#include "ui/win32/panel_window.h"
#include "ui/win32/window.h"

namespace {

int Run(quillomi::win32::Win32Platform& win32) {
  auto& platform = win32.Get();
  if (quillomi::app::ClaimInstance(platform) == quillomi::app::InstanceRole::kSecond) return 0;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  quillomi::app::Application application(platform);
  if (!application.Create()) return 0;

  std::unique_ptr<quillomi::ui::win32::ListWindow> form3;
  quillomi::ui::win32::PanelWindow* panel = nullptr;
  // Made once the panel answers, or at once by an earlier list button press;
  // one that could not be made is tried again at the next press.
  const auto make_list_window = [&] {
    if (form3 || !panel) return;
    auto window = std::make_unique<quillomi::ui::win32::ListWindow>(platform, application.hwnd(),
                                                                    panel->Handlers());
    // Without its list window the panel still delivers.
    if (!window->Create()) return;
    form3 = std::move(window);
    application.AddForm(form3->hwnd());
  };

  quillomi::ui::win32::PanelHooks panel_hooks;
  panel_hooks.application_window = application.hwnd();
  panel_hooks.show_list_window = [&] {
    make_list_window();
    if (form3) form3->ShowFromPanel();
  };
  panel_hooks.window_created = [&](HWND window) {
    win32.SetDialogOwner(quillomi::ui::win32::Handle(window));
    win32.SetClipboardOwner(quillomi::ui::win32::Handle(window));
  };
  quillomi::ui::win32::PanelWindow form1(platform, panel_hooks);
  if (!form1.Create()) return 0;
  panel = &form1;
  application.ShowEntry();
  application.AddForm(form1.hwnd());
  application.Defer(make_list_window);
  return application.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Nothing beside the executable is ever loaded as code, not even the
  // ".dll"-named templates: they are text.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

  quillomi::win32::Win32Platform win32;
  try {
    return Run(win32);
  } catch (...) {
    // What escapes the start (an allocation that fails) is told, not dropped.
    quillomi::ui::win32::ReportCurrentException(win32.Get().dialogs);
    return 1;
  }
}
