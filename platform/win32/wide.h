// The one place where the core's UTF-16 strings meet the Windows W calls.
// wchar_t is 16 bits on Windows, so the same code units are handed over as they
// are; only the pointer type changes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

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

// A string_view carries no terminator; the W calls need one.
class Terminated {
 public:
  explicit Terminated(std::u16string_view text) : text_(text) {}
  const wchar_t* get() const { return W(text_); }

 private:
  std::u16string text_;
};

}  // namespace quillomi::win32
