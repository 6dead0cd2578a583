#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

void Clock::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace quillomi::win32
