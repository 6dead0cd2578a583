#include "phrases/safe_write.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

using test::B;

const std::u16string kTarget = u"C:\\Games\\Quillomi\\data.txt";
constexpr std::u16string_view kFull = u"ディスクに空き領域が不足しています";

std::u16string SaveError(platform::Files& files, const platform::Bytes& bytes) {
  try {
    SaveFileSafely(files, kTarget, bytes);
  } catch (const UserError& e) {
    return e.text();
  }
  return u"(no error)";
}

TEST(SafeWrite, WritesBesideTheTargetAndRenamesInOneStep) {
  fake::FakePlatform fake;
  fake.PutFile(kTarget, "old");
  SaveFileSafely(fake, kTarget, B("new content"));

  const std::u16string temporary = TemporaryPathFor(kTarget);
  EXPECT_NE(temporary, kTarget);
  EXPECT_EQ(temporary.substr(0, kTarget.size()), kTarget);  // same folder
  EXPECT_EQ(fake.Log(), (std::vector<std::string>{
                            "write " + fake::Quote(temporary) + " 11 bytes",
                            "replace " + fake::Quote(temporary) + " -> " + fake::Quote(kTarget),
                        }));
  EXPECT_EQ(fake.FileText(kTarget), "new content");
  EXPECT_FALSE(fake.files.contains(temporary));
}

TEST(SafeWrite, CreatesAMissingTargetAndOverwritesAStaleTemporary) {
  fake::FakePlatform fake;
  fake.PutFile(TemporaryPathFor(kTarget), "left over from a crash, longer than the new text");
  SaveFileSafely(fake, kTarget, B("fresh"));
  EXPECT_EQ(fake.FileText(kTarget), "fresh");
  EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kTarget)));
}

TEST(SafeWrite, AWriteStoppingAtAnyByteLeavesTheOriginalIntact) {
  const platform::Bytes original = B("line 1\r\nline 2\r\n");
  const platform::Bytes replacement = B("\xEF\xBB\xBF[System]\r\nLeft2=1\r\n\r\n");
  for (std::size_t offset = 0; offset <= replacement.size(); ++offset) {
    fake::FakePlatform fake;
    fake.files[kTarget] = original;
    fake.write_faults[TemporaryPathFor(kTarget)] = {offset, std::u16string(kFull)};

    EXPECT_EQ(SaveError(fake, replacement),
              u"ファイル \"C:\\Games\\Quillomi\\data.txt\" "
              u"を作成できません。ディスクに空き領域が不足しています")
        << "offset " << offset;
    EXPECT_EQ(fake.files[kTarget], original) << "offset " << offset;
    EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kTarget))) << "offset " << offset;
  }
}

TEST(SafeWrite, AFailedReplaceKeepsTheOriginalAndNamesTheTarget) {
  struct Case {
    const char* name;
    bool target_is_directory;
  };
  for (const Case c : {Case{"read-only target", false}, Case{"directory in the way", true}}) {
    fake::FakePlatform fake;
    if (c.target_is_directory) {
      fake.directories.insert(kTarget);
    } else {
      fake.PutFile(kTarget, "keep me");
      fake.replace_faults[kTarget] = u"アクセスが拒否されました。";
    }
    EXPECT_EQ(
        SaveError(fake, B("new")),
        u"ファイル \"C:\\Games\\Quillomi\\data.txt\" を作成できません。アクセスが拒否されました。")
        << c.name;
    if (!c.target_is_directory) {
      EXPECT_EQ(fake.FileText(kTarget), "keep me");
    }
    EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kTarget))) << c.name;
  }
}

}  // namespace
}  // namespace quillomi::phrases
