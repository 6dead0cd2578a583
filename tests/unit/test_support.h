// Helpers shared by the unit tests.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::test {

// Bytes from a string literal that may hold any byte values.
platform::Bytes B(std::string_view bytes);
// A literal's bytes, embedded NULs included.
template <std::size_t N>
platform::Bytes B(const char (&bytes)[N]) {
  return B(std::string_view(bytes, N - 1));
}
std::string Utf8(std::u16string_view text);

}  // namespace quillomi::test

