#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

void Clock::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

// Only sent messages are answered: PM_QS_SENDMESSAGE leaves posted messages
// and input in the queue, where they wait for the message loop.
void Clock::SleepAnsweringSent(std::uint32_t milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE,
                                  MWMO_INPUTAVAILABLE);
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace quillomi::win32
