#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

void Clock::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

// Only sent messages are answered: PM_QS_SENDMESSAGE leaves posted messages
// and input in the queue, where they wait for the message loop. Under Wine a
// wait's timeout ends up to two milliseconds late, so the wait stops one
// short and the rest is polled: the pause ends on time.
void Clock::SleepAnsweringSent(std::uint32_t milliseconds) {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  const LONGLONG per_ms = frequency.QuadPart / 1000;
  const LONGLONG end = now.QuadPart + per_ms * milliseconds;
  for (;;) {
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    ::QueryPerformanceCounter(&now);
    if (now.QuadPart >= end) return;
    const LONGLONG left_ms = (end - now.QuadPart) / per_ms;
    if (left_ms >= 2) {
      ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left_ms - 1), QS_SENDMESSAGE,
                                    MWMO_INPUTAVAILABLE);
    } else {
      ::Sleep(0);
    }
  }
}

}  // namespace quillomi::win32
