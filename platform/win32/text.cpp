#include <algorithm>
#include <limits>

#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

std::u16string Text::DecodeAnsi(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  // A split could cut a double-byte character in two; nothing this large is ever decoded.
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Failure(ERROR_ARITHMETIC_OVERFLOW);
  const auto* in = reinterpret_cast<const char*>(data);
  const int length = static_cast<int>(size);
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, in, length, nullptr, 0);
  if (needed <= 0) throw LastErrorFailure();
  std::u16string text(static_cast<std::size_t>(needed), u'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, in, length, W(text.data()), needed) <= 0)
    throw LastErrorFailure();
  return text;
}

Bytes Text::EncodeAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Failure(ERROR_ARITHMETIC_OVERFLOW);
  const int length = static_cast<int>(text.size());
  const int needed =
      ::WideCharToMultiByte(CP_ACP, 0, W(text.data()), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) throw LastErrorFailure();
  Bytes bytes(static_cast<std::size_t>(needed));
  if (::WideCharToMultiByte(CP_ACP, 0, W(text.data()), length,
                            reinterpret_cast<char*>(bytes.data()), needed, nullptr, nullptr) <= 0)
    throw LastErrorFailure();
  return bytes;
}

void Text::UpperCaseInPlace(std::u16string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const auto count = static_cast<DWORD>(std::min(text.size() - done, kChunk));
    ::CharUpperBuffW(W(text.data() + done), count);
    done += count;
  }
}

}  // namespace quillomi::win32
