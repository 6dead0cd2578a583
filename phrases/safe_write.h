// Whole-file saves that never leave a half-written file behind.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::phrases {

// The file that a save writes before it takes the target's place: beside the
// target, so that the final rename stays on one volume.
std::u16string TemporaryPathFor(std::u16string_view target);

// Writes bytes to the temporary file, then renames it over target in one step.
// Until that rename the target keeps its old content, whatever fails; a failure
// removes the temporary file and throws the user error
// "ファイル "%s" を作成できません。%s" naming target.
void SaveFileSafely(platform::Files& files, std::u16string_view target,
                    const platform::Bytes& bytes);

}  // namespace quillomi::phrases
