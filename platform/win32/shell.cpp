// Other programs: the notepad opened for the player, and the instance that a
// later start of this one finds.
#include "platform/win32/win32_platform.h"

// After windows.h, which it builds on.
#include <shellapi.h>

namespace quillomi::win32 {

void Shell::OpenNotepad(WindowHandle owner, std::u16string_view parameters,
                        std::u16string_view directory) {
  ::ShellExecuteW(Hwnd(owner), L"OPEN", L"notepad", Terminated(parameters).get(),
                  Terminated(directory).get(), SW_SHOWNORMAL);
}

platform::InstanceMutex Session::CreateInstanceMutex(std::u16string_view name) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Terminated(name).get());
  const bool already_exists = mutex != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
  instance_mutex_ = UniqueKernelHandle(mutex);
  return {mutex != nullptr, already_exists};
}

}  // namespace quillomi::win32
