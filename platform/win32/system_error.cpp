#include "platform/win32/system_error.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace quillomi::win32 {

std::u16string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the
  // address of the text the system allocated.
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const UniqueLocal owned(buffer);
  if (length == 0 || buffer == nullptr) return {};
  std::u16string text(U(buffer), length);
  // The trailing run of spaces, control characters (the closing CR LF) and
  // full stops goes: the reason is spliced into sentences of the program's own.
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
  return text;
}

OsFailure Failure(DWORD code) {
  return OsFailure(SystemErrorText(code), code);
}

OsFailure LastErrorFailure() {
  return Failure(::GetLastError());
}

}  // namespace quillomi::win32
