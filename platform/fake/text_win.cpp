// In the Windows build the fake converts with the system's own tables for code
// page 932, so the same tests pin down what Windows itself does.
#include <windows.h>

#include "platform/fake/fake_platform.h"

namespace quillomi::fake {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::u16string DecodeCp932(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const auto* in = reinterpret_cast<const char*>(data);
  const int n = MultiByteToWideChar(932, 0, in, static_cast<int>(size), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(932, 0, in, static_cast<int>(size), reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

Bytes EncodeCp932(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* in = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(932, 0, in, length, nullptr, 0, nullptr, nullptr);
  Bytes out(static_cast<std::size_t>(n));
  WideCharToMultiByte(932, 0, in, length, reinterpret_cast<char*>(out.data()), n, nullptr, nullptr);
  return out;
}

void UpperCaseForTests(std::u16string& text) {
  if (!text.empty())
    CharUpperBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
}

}  // namespace quillomi::fake
