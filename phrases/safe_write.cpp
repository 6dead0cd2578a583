#include "phrases/safe_write.h"

#include "platform/errors.h"
#include "platform/utf.h"

namespace quillomi::phrases {

namespace {

// The first name from first on that nothing blocks. When every one is blocked,
// first: the write then fails with the system's reason for it.
int FreeName(platform::Files& files, std::u16string_view target, int first) {
  for (int name = first; name < first + kTemporaryNames; ++name) {
    if (files.Remove(TemporaryPathFor(target, name))) return name;
  }
  return first;
}

// A ReplaceFileW that stopped half-way left the files under the names its code
// says: where both kept theirs, the rename still puts the new one in place;
// where the old one went to the backup name, it comes back.
void ReplaceWithBackup(platform::Files& files, const std::u16string& temporary,
                       std::u16string_view target, const std::u16string& backup) {
  try {
    files.Replace(temporary, target, backup);
  } catch (const OsFailure& failure) {
    if (failure.code() == platform::kUnableToRemoveReplaced ||
        failure.code() == platform::kUnableToMoveReplacement)
      return files.Rename(temporary, target);
    if (failure.code() == platform::kUnableToMoveReplacement2) files.Rename(backup, target);
    throw;
  }
  files.Remove(backup);
}

}  // namespace

std::u16string TemporaryPathFor(std::u16string_view target, int name) {
  return std::u16string(target) + u".quillomi-new" + (name > 0 ? Decimal(name) : u"");
}

void SaveFileSafely(platform::Files& files, std::u16string_view target,
                    const platform::Bytes& bytes) {
  const int name = FreeName(files, target, 0);
  const std::u16string temporary = TemporaryPathFor(target, name);
  try {
    files.WriteAll(temporary, bytes);
    if (files.IsRegularFile(target)) {
      ReplaceWithBackup(files, temporary, target,
                        TemporaryPathFor(target, FreeName(files, target, name + 1)));
    } else {
      files.Rename(temporary, target);
    }
  } catch (const OsFailure& failure) {
    files.Remove(temporary);
    throw UserError(messages::CannotCreateFile(target, failure.reason()));
  }
}

}  // namespace quillomi::phrases
