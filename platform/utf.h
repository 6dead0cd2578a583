// UTF-16 to UTF-8, for the files written and for program-internal use (logs,
// test output). Lenient: a lone surrogate becomes U+FFFD. The strict decoder
// that data files need lives in phrases/text_file.h.
#pragma once

#include <string>
#include <string_view>

namespace quillomi {

std::string ToUtf8(std::u16string_view text);
// The number in decimal digits, with a minus sign when negative.
std::u16string Decimal(long long value);

}  // namespace quillomi
