// The normal-speech list: phrases that are always spoken as normal speech,
// whatever the speech-mode controls say. Looked for in the current working
// directory, not beside the executable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quillomi::delivery {

inline constexpr std::u16string_view kNormalSpeechFileName = u"QLMO_通常発言リスト.txt";

// The entries exactly as read, one per line; empty when there is no such file.
// Throws UserError when the file cannot be read or is not valid UTF-8; the
// error texts carry the full path.
std::vector<std::u16string> ReadNormalSpeechList(platform::Files& files);

}  // namespace quillomi::delivery
