#include "tests/unit/test_support.h"

#include "platform/utf.h"

namespace quillomi::test {

platform::Bytes B(std::string_view bytes) { return platform::Bytes(bytes.begin(), bytes.end()); }
std::string Utf8(std::u16string_view text) { return ToUtf8(text); }

}  // namespace quillomi::test

