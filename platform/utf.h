// UTF-16 <-> UTF-8 for program-internal use (logs, test output, file names in
// messages). Lenient: a lone surrogate or invalid byte becomes U+FFFD. The strict
// decoder that data files need lives in phrases/text_file.h.
#pragma once

#include <string>
#include <string_view>

namespace quillomi {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Appends the UTF-16 form of one code point (no check beyond the range).
void AppendCodePoint(std::u16string& out, char32_t code_point);

}  // namespace quillomi
