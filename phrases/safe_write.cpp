#include "phrases/safe_write.h"

#include "platform/errors.h"

namespace quillomi::phrases {

std::u16string TemporaryPathFor(std::u16string_view target) {
  std::u16string path(target);
  path += u".quillomi-new";
  return path;
}

void SaveFileSafely(platform::Files& files, std::u16string_view target,
                    const platform::Bytes& bytes) {
  const std::u16string temporary = TemporaryPathFor(target);
  try {
    files.WriteAll(temporary, bytes);
    files.Replace(temporary, target);
  } catch (const OsFailure& failure) {
    files.Remove(temporary);
    throw UserError(messages::CannotCreateFile(target, failure.reason()));
  }
}

}  // namespace quillomi::phrases
