// Whole-file saves that never leave a half-written file behind.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::phrases {

// How many names a save tries for its temporary file, and for the backup.
inline constexpr int kTemporaryNames = 10;

// The file that a save writes before it takes the target's place: beside the
// target, so that the final step stays on one volume. Name 0 is
// "<target>.quillomi-new"; the names after it append their number, for when
// something that cannot be removed is in the way, and for the backup.
std::u16string TemporaryPathFor(std::u16string_view target, int name = 0);

// Writes bytes to a temporary file, then puts it in place of target in one
// step: ReplaceFileW over an existing target, which keeps the target's
// attributes and security descriptor, a rename where there is none. The old
// file goes to a backup under the next free name, removed once the new one is
// in place. A leftover temporary file of a killed save is deleted first (a
// read-only one too); a folder or a file that cannot be deleted is stepped
// around with the next name. Whatever fails, the target then holds its old
// content or the new, whole; a failure removes the temporary file and throws
// the user error "ファイル "%s" を作成できません。%s" naming target.
void SaveFileSafely(platform::Files& files, std::u16string_view target,
                    const platform::Bytes& bytes);

}  // namespace quillomi::phrases
