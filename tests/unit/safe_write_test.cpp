#include "phrases/safe_write.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

using test::B;

const std::u16string kTarget = u"C:\\Games\\Quillomi\\data.txt";

TEST(SafeWrite, WritesBesideTheTargetAndRenamesInOneStep) {
  const std::u16string temporary = TemporaryPathFor(kTarget);
  EXPECT_NE(temporary, kTarget);
  EXPECT_EQ(temporary.substr(0, kTarget.size()), kTarget);  // same folder
  // An existing target, and a missing one with a longer temporary left by a crash.
  for (bool existing : {true, false}) {
    SCOPED_TRACE(existing);
    fake::FakePlatform fake;
    if (existing) fake.PutFile(kTarget, "old");
    if (!existing) fake.PutFile(temporary, "left over from a crash, longer than the new text");
    SaveFileSafely(fake, kTarget, B("new content"));
    EXPECT_EQ(fake.Log(), (std::vector<std::string>{
                              "write " + fake::Quote(temporary) + " 11 bytes",
                              "replace " + fake::Quote(temporary) + " -> " + fake::Quote(kTarget),
                          }));
    EXPECT_EQ(fake.FileText(kTarget), "new content");
    EXPECT_FALSE(fake.files.contains(temporary));
  }
}

TEST(SafeWrite, AFailedWriteOrReplaceLeavesTheOriginalIntact) {
  const platform::Bytes original = B("line 1\r\nline 2\r\n");
  const platform::Bytes replacement = B("\xEF\xBB\xBF[System]\r\nLeft2=1\r\n\r\n");
  // A write stopping at every byte, then a refused replace.
  for (std::size_t offset = 0; offset <= replacement.size() + 1; ++offset) {
    SCOPED_TRACE(offset);
    fake::FakePlatform fake;
    fake.files[kTarget] = original;
    if (offset <= replacement.size()) {
      fake.write_faults[TemporaryPathFor(kTarget)] = {offset, u"ディスクがいっぱいです"};
    } else {
      fake.replace_faults[kTarget] = u"ディスクがいっぱいです";
    }
    try {
      SaveFileSafely(fake, kTarget, replacement);
      ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
      EXPECT_EQ(
          e.text(),
          u"ファイル \"C:\\Games\\Quillomi\\data.txt\" を作成できません。ディスクがいっぱいです");
    }
    EXPECT_EQ(fake.files[kTarget], original);
    EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kTarget)));
  }
}

}  // namespace
}  // namespace quillomi::phrases
