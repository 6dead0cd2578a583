#include "phrases/safe_write.h"

#include "platform/errors.h"

namespace quillomi::phrases {

namespace {

// The first name that nothing blocks. When every one is blocked, the first:
// the write then fails with the system's reason for it.
std::u16string FreeTemporaryPath(platform::Files& files, std::u16string_view target) {
  for (int name = 0; name < kTemporaryNames; ++name) {
    std::u16string path = TemporaryPathFor(target, name);
    if (files.Remove(path)) return path;
  }
  return TemporaryPathFor(target);
}

}  // namespace

std::u16string TemporaryPathFor(std::u16string_view target, int name) {
  std::u16string path(target);
  path += u".quillomi-new";
  if (name > 0) {
    for (char digit : std::to_string(name)) path += static_cast<char16_t>(digit);
  }
  return path;
}

void SaveFileSafely(platform::Files& files, std::u16string_view target,
                    const platform::Bytes& bytes) {
  const std::u16string temporary = FreeTemporaryPath(files, target);
  try {
    files.WriteAll(temporary, bytes);
    if (files.IsRegularFile(target)) {
      files.Replace(temporary, target);
    } else {
      files.Rename(temporary, target);
    }
  } catch (const OsFailure& failure) {
    files.Remove(temporary);
    throw UserError(messages::CannotCreateFile(target, failure.reason()));
  }
}

}  // namespace quillomi::phrases
