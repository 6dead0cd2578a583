// Whole-file saves that never leave a half-written file behind.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::phrases {

// How many names a save tries for its temporary file, and for the backup.
inline constexpr int kTemporaryNames = 10;

// Beside the target, so that the final step stays on one volume:
// "<target>.quillomi-new", then with the number appended, for when something
// that cannot be removed is in the way, and for the backup.
std::u16string TemporaryPathFor(std::u16string_view target, int name = 0);

// Writes bytes to a temporary file, then puts it in place of target in one
// step: ReplaceFileW over an existing target (the old file to a backup name,
// removed afterwards), a rename where there is none. Whatever fails, the target
// holds its old content or the new, whole; a failure removes the temporary
// file and throws the user error "ファイル "%s" を作成できません。%s".
void SaveFileSafely(platform::Files& files, std::u16string_view target,
                    const platform::Bytes& bytes);

}  // namespace quillomi::phrases
