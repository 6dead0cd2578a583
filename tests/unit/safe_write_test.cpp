#include "phrases/safe_write.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

using test::B;

const std::u16string kTarget = u"C:\\Games\\Quillomi\\data.txt";
const std::u16string kCannotCreate =
    u"ファイル \"C:\\Games\\Quillomi\\data.txt\" を作成できません。";

std::string Quoted(int name) {
  return fake::Quote(TemporaryPathFor(kTarget, name));
}

// The log of a save that writes temporary name `used` and puts it in place.
std::vector<std::string> SaveLog(int used, bool existing) {
  std::vector<std::string> log;
  for (int name = 0; name <= used; ++name) log.push_back("remove " + Quoted(name));
  log.push_back("write " + Quoted(used) + " 11 bytes");
  if (!existing) {
    log.push_back("rename " + Quoted(used) + " -> " + fake::Quote(kTarget));
    return log;
  }
  const std::string backup = Quoted(used + 1);
  log.push_back("remove " + backup);
  log.push_back("replace " + Quoted(used) + " -> " + fake::Quote(kTarget) + " backup " + backup);
  log.push_back("remove " + backup);
  return log;
}

TEST(SafeWrite, TemporaryFilesLieBesideTheTargetUnderNamesOfTheirOwn) {
  EXPECT_EQ(TemporaryPathFor(kTarget), kTarget + u".quillomi-new");
  EXPECT_EQ(TemporaryPathFor(kTarget, 1), kTarget + u".quillomi-new1");
  EXPECT_EQ(TemporaryPathFor(kTarget, kTemporaryNames - 1), kTarget + u".quillomi-new9");
}

// ReplaceFileW over an existing file, which keeps what the file was (its
// attributes, its security descriptor); a rename where there is none yet.
TEST(SafeWrite, ReplacesAnExistingTargetAndRenamesToAMissingOne) {
  for (bool existing : {true, false}) {
    SCOPED_TRACE(existing);
    fake::FakePlatform fake;
    if (existing) fake.PutFile(kTarget, "old");
    SaveFileSafely(fake, kTarget, B("new content"));
    EXPECT_EQ(fake.Log(), SaveLog(0, existing));
    EXPECT_EQ(fake.FileText(kTarget), "new content");
    EXPECT_EQ(fake.files.size(), 1U) << "neither the temporary file nor the backup is left";
  }
}

// A save killed before its last step leaves its temporary file, which may since
// have become read-only, or something else may carry the name: none of it stops
// the next save. A file is deleted; what cannot be is stepped around.
TEST(SafeWrite, ALeftoverTemporaryFileNeverBlocksASave) {
  struct Case {
    const char* name;
    std::function<void(fake::FakePlatform&)> leave;
    int used;  // the temporary name the save writes
  };
  const auto file = [](int name) {
    return [name](fake::FakePlatform& fake) {
      fake.PutFile(TemporaryPathFor(kTarget, name), "left over, longer than the new text");
    };
  };
  // A leftover file that is also in one of the fake's sets.
  const auto marked = [&](std::set<std::u16string> fake::FakePlatform::*mark) {
    return [file, mark](fake::FakePlatform& fake) {
      file(0)(fake);
      (fake.*mark).insert(TemporaryPathFor(kTarget));
    };
  };
  const Case cases[] = {
      {"nothing left", [](fake::FakePlatform&) {}, 0},
      {"a file", file(0), 0},
      {"a read-only file", marked(&fake::FakePlatform::read_only), 0},
      {"a folder",
       [](fake::FakePlatform& fake) { fake.directories.insert(TemporaryPathFor(kTarget)); }, 1},
      {"a file held open", marked(&fake::FakePlatform::held_open), 1},
      {"a folder, then a file left by a save that stepped around it",
       [&](fake::FakePlatform& fake) {
         fake.directories.insert(TemporaryPathFor(kTarget));
         file(1)(fake);
       },
       1},
      {"folders under the first three names",
       [](fake::FakePlatform& fake) {
         for (int name = 0; name < 3; ++name)
           fake.directories.insert(TemporaryPathFor(kTarget, name));
       },
       3},
  };
  for (bool existing : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (existing ? ", over a file" : ", to a new file"));
      fake::FakePlatform fake;
      if (existing) fake.PutFile(kTarget, "old");
      c.leave(fake);
      SaveFileSafely(fake, kTarget, B("new content"));
      EXPECT_EQ(fake.Log(), SaveLog(c.used, existing));
      EXPECT_EQ(fake.FileText(kTarget), "new content");
      EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kTarget, c.used)));
      EXPECT_FALSE(fake.read_only.contains(TemporaryPathFor(kTarget, c.used)));
    }
  }
}

// Whatever fails, the target holds a whole file, the old or the new. A
// ReplaceFileW that stopped half-way is mended from the files it left.
TEST(SafeWrite, AFailedWriteOrReplaceLeavesTheOldFileOrTheNew) {
  const platform::Bytes original = B("line 1\r\nline 2\r\n");
  const platform::Bytes replacement = B("\xEF\xBB\xBF[System]\r\nLeft2=1\r\n\r\n");
  struct Case {
    std::string name;
    std::function<void(fake::FakePlatform&)> fail;
    std::u16string reason;  // empty: the new file is in place after all
    bool replace_only = false;
  };
  std::vector<Case> cases;
  for (std::size_t offset = 0; offset <= replacement.size(); ++offset)
    cases.push_back(
        {"write stops after " + std::to_string(offset),
         [offset](fake::FakePlatform& fake) {
           fake.write_faults[TemporaryPathFor(kTarget)] = {offset, u"ディスクがいっぱいです"};
         },
         u"ディスクがいっぱいです"});
  cases.push_back(
      {"refused replace or rename",
       [](fake::FakePlatform& fake) { fake.replace_faults[kTarget] = u"ディスクがいっぱいです"; },
       u"ディスクがいっぱいです"});
  const auto stop = [](std::uint32_t code) {
    return [code](fake::FakePlatform& fake) { fake.replace_stops[kTarget] = code; };
  };
  cases.push_back(
      {"old file could not be moved away", stop(platform::kUnableToRemoveReplaced), u"", true});
  cases.push_back(
      {"new file could not take the name", stop(platform::kUnableToMoveReplacement), u"", true});
  cases.push_back({"new file could not be moved, old one under the backup name",
                   stop(platform::kUnableToMoveReplacement2), u"置き換えを完了できません", true});
  for (bool existing : {true, false}) {
    for (const auto& c : cases) {
      if (c.replace_only && !existing) continue;
      SCOPED_TRACE(c.name + (existing ? ", over a file" : ", new file"));
      fake::FakePlatform fake;
      if (existing) fake.files[kTarget] = original;
      c.fail(fake);
      try {
        SaveFileSafely(fake, kTarget, replacement);
        EXPECT_TRUE(c.reason.empty()) << "no error";
      } catch (const UserError& e) {
        EXPECT_EQ(e.text(), kCannotCreate + c.reason);
      }
      if (!c.reason.empty() && !existing) {
        EXPECT_FALSE(fake.files.contains(kTarget));
      } else {
        EXPECT_EQ(fake.files[kTarget], c.reason.empty() ? replacement : original);
      }
      EXPECT_EQ(fake.files.size(), existing || c.reason.empty() ? 1U : 0U)
          << "neither the temporary file nor the backup is left";
    }
  }
}

// Every temporary name blocked, or a read-only target that refuses the replace
// as it refused the rename before: the old file stays and the save says why.
TEST(SafeWrite, ABlockedSaveLeavesTheOldFileAndSaysWhy) {
  const std::function<void(fake::FakePlatform&)> blocks[] = {
      [](fake::FakePlatform& fake) {
        for (int name = 0; name < kTemporaryNames; ++name)
          fake.directories.insert(TemporaryPathFor(kTarget, name));
      },
      [](fake::FakePlatform& fake) { fake.read_only.insert(kTarget); },
  };
  for (const auto& block : blocks) {
    fake::FakePlatform fake;
    fake.PutFile(kTarget, "old");
    block(fake);
    EXPECT_EQ(test::ErrorOf([&] { SaveFileSafely(fake, kTarget, B("new content")); }),
              kCannotCreate + u"アクセスが拒否されました。");
    EXPECT_EQ(fake.FileText(kTarget), "old");
    EXPECT_EQ(fake.LogWith({"write"}),
              std::vector<std::string>{"write " + Quoted(0) + " 11 bytes"});
    EXPECT_FALSE(fake.files.contains(TemporaryPathFor(kTarget)));
  }
}

}  // namespace
}  // namespace quillomi::phrases
