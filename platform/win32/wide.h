// Where the core's UTF-16 strings and window handles meet the Windows calls.
// wchar_t is 16 bits on Windows, so the same code units are handed over as they
// are; only the pointer type changes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* W(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* W(char16_t* text) {
  return reinterpret_cast<wchar_t*>(text);
}
inline const wchar_t* W(const std::u16string& text) {
  return W(text.c_str());
}

inline const char16_t* U(const wchar_t* text) {
  return reinterpret_cast<const char16_t*>(text);
}

// ReadFile, WriteFile and CharUpperBuffW count in DWORDs; larger data goes in pieces.
inline constexpr std::size_t kChunk = std::size_t{1} << 30;

inline HWND Hwnd(platform::WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline platform::WindowHandle Handle(HWND window) {
  return reinterpret_cast<platform::WindowHandle>(window);
}

// A string_view carries no terminator; the W calls need one.
class Terminated {
 public:
  explicit Terminated(std::u16string_view text) : text_(text) {}
  const wchar_t* get() const { return W(text_); }

 private:
  std::u16string text_;
};

}  // namespace quillomi::win32
