// Carries the single task-bar entry "Quillomi" and owns both forms, so a
// minimized panel takes the whole application down into it.
#pragma once

#include <functional>
#include <vector>

#include "ui/win32/window.h"

namespace quillomi::app {

class Application final : public ui::win32::Window {
 public:
  explicit Application(platform::Platform& platform) : Window(platform) {}

  // False when the window could not be made (the user was told).
  bool Create();
  void ShowEntry();
  // The forms that minimize and come back with the application; the first is
  // the main window, which takes the activation.
  void AddForm(HWND form) { forms_.push_back(form); }

  void Minimize();
  void Restore();

  // Runs the work once the event loop is going and the queue has nothing
  // sent or posted before it.
  void Defer(std::function<void()> work);

  // The event loop, until the main window is closed.
  int Run();

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::vector<HWND> forms_;
  std::vector<std::function<void()>> deferred_;
  std::vector<HWND> hidden_by_minimize_;
};

}  // namespace quillomi::app
