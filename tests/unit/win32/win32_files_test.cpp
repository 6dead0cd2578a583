// Whole-file operations on a real file system, with the system's own sharing
// and access rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/errors.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win32/win32_test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::B;
using quillomi::test::Utf8;
using test::Exists;
using test::FileBytes;
using test::PutFile;
using test::TempDirectory;

class Win32Files : public ::testing::Test {
 protected:
  Win32Platform platform_;
  platform::Files& files_ = platform_.Get().files;
  TempDirectory dir_;
};

// The failure a call raised, or nothing.
template <typename Call>
std::optional<OsFailure> FailureOf(Call call) {
  try {
    call();
  } catch (const OsFailure& failure) {
    return failure;
  }
  return std::nullopt;
}

TEST_F(Win32Files, IsRegularFileOnlyForAnExistingFile) {
  PutFile(dir_ / u"ボタン.txt", B("x"));
  ASSERT_TRUE(::CreateDirectoryW(W(dir_ / u"folder.txt"), nullptr));
  struct Case {
    std::u16string path;
    bool expected;
  };
  const Case cases[] = {
      {dir_ / u"ボタン.txt", true},
      {dir_ / u"folder.txt", false},
      {dir_ / u"missing.txt", false},
      {dir_.path(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(files_.IsRegularFile(c.path), c.expected) << Utf8(c.path);
}

// Written whole and read back whole, each over a longer one.
TEST_F(Win32Files, WriteAllAndReadAllKeepEveryByte) {
  platform::Bytes large(300000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 7);
  const platform::Bytes cases[] = {large,
                                   B("\xEF\xBB\xBF"
                                     "a\0b\r\n\xFF"),
                                   B("short"),
                                   {}};
  const auto path = dir_ / u"QLMO_ボタン_ユーザー設定.txt";
  for (const auto& bytes : cases) {
    files_.WriteAll(path, bytes);
    EXPECT_EQ(FileBytes(path), bytes) << bytes.size() << " bytes";
    PutFile(path, bytes);
    EXPECT_EQ(files_.ReadAll(path), bytes) << bytes.size() << " bytes";
  }
}

// Reading fails where it cannot open, writing where it cannot create; either
// with the system's code and reason.
TEST_F(Win32Files, ReadAllAndWriteAllFailWithTheSystemReason) {
  // An editor that keeps the file open; read sharing does not let a writer in.
  const auto locked = dir_ / u"locked.txt";
  PutFile(locked, B("old"));
  const UniqueFile editor(::CreateFileW(W(locked), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(editor);
  ASSERT_TRUE(::CreateDirectoryW(W(dir_ / u"folder"), nullptr));
  struct Case {
    bool write;
    std::u16string path;
    DWORD code;
  };
  const Case cases[] = {
      {false, dir_ / u"missing.txt", ERROR_FILE_NOT_FOUND},
      {false, dir_ / u"no such folder\\missing.txt", ERROR_PATH_NOT_FOUND},
      {false, dir_ / u"folder", ERROR_ACCESS_DENIED},
      {true, locked, ERROR_SHARING_VIOLATION},
      {true, dir_ / u"folder", ERROR_ACCESS_DENIED},
      {true, dir_ / u"no such folder\\new.txt", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.write ? "write " : "read ") + Utf8(c.path));
    const auto failure = FailureOf(
        [&] { c.write ? files_.WriteAll(c.path, B("new")) : (void)files_.ReadAll(c.path); });
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->code(), c.code);
    EXPECT_EQ(failure->reason(), SystemErrorText(c.code));
    EXPECT_FALSE(failure->reason().empty());
  }
  EXPECT_EQ(FileBytes(locked), B("old"));
}

// Reading shares with readers only: it fails while another handle may write,
// and goes on beside one that only reads.
TEST_F(Win32Files, ReadAllSharesWithReadersButNotWriters) {
  const auto path = dir_ / u"locked.txt";
  PutFile(path, B("phrase"));
  struct Case {
    const char* name;
    DWORD access;
    DWORD share;
    bool readable;
  };
  const Case cases[] = {
      {"writer, no sharing", GENERIC_WRITE, 0, false},
      {"writer sharing reads", GENERIC_WRITE, FILE_SHARE_READ, false},
      {"writer sharing everything", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
      {"reader sharing reads", GENERIC_READ, FILE_SHARE_READ, true},
      {"reader, no sharing", GENERIC_READ, 0, false},
  };
  for (const auto& c : cases) {
    const UniqueFile other(::CreateFileW(W(path), c.access, c.share, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(other) << c.name;
    const auto failure = FailureOf([&] { EXPECT_EQ(files_.ReadAll(path), B("phrase")); });
    EXPECT_EQ(failure.has_value(), !c.readable) << c.name;
    if (failure) {
      EXPECT_EQ(failure->code(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION)) << c.name;
      EXPECT_FALSE(failure->reason().empty()) << c.name;
    }
  }
}

// Replace is ReplaceFileW, which needs a file to replace; Rename moves over
// one or to a new name. A failure leaves the target as it was. Wine's
// ReplaceFileW deletes the old file before the new one takes its name, so
// under Wine Replace renames, to a name that is free as well.
TEST_F(Win32Files, ReplaceAndRenamePutTheNewFileInPlaceOfTheOldOrLeaveIt) {
  const auto target = dir_ / u"settings.ini";
  const auto fresh = dir_ / u"settings.ini.new";
  const auto backup = dir_ / u"settings.ini.old";
  struct Case {
    const char* name;
    bool rename;
    bool target_exists;
    bool read_only;
    bool fresh_exists;
    DWORD code;  // 0: it works
  };
  const Case cases[] = {
      {"replace over an existing file", false, true, false, true, 0},
      {"rename over an existing file", true, true, false, true, 0},
      {"rename to a new name", true, false, false, true, 0},
      {"replace to a new name", false, false, false, true,
       RunsOnWine() ? 0 : DWORD{ERROR_FILE_NOT_FOUND}},
      {"replace from a missing file", false, true, false, false, ERROR_FILE_NOT_FOUND},
      {"rename from a missing file", true, true, false, false, ERROR_FILE_NOT_FOUND},
      {"replace a read-only file", false, true, true, true, ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::SetFileAttributesW(W(target), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(W(target));
    ::DeleteFileW(W(fresh));
    if (c.target_exists) PutFile(target, B("old contents, longer than the new"));
    if (c.read_only) {
      ASSERT_TRUE(::SetFileAttributesW(W(target), FILE_ATTRIBUTE_READONLY));
    }
    if (c.fresh_exists) PutFile(fresh, B("new"));
    const auto failure = FailureOf(
        [&] { c.rename ? files_.Rename(fresh, target) : files_.Replace(fresh, target, backup); });
    if (c.code == 0) {
      EXPECT_FALSE(failure.has_value());
      EXPECT_EQ(FileBytes(target), B("new"));
      EXPECT_FALSE(Exists(fresh));
      continue;
    }
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->code(), c.code);
    EXPECT_EQ(failure->reason(), SystemErrorText(c.code));
    EXPECT_EQ(Exists(target), c.target_exists);
    if (c.target_exists) {
      EXPECT_EQ(FileBytes(target), B("old contents, longer than the new"));
    }
    EXPECT_EQ(Exists(fresh), c.fresh_exists);
  }
  ::SetFileAttributesW(W(target), FILE_ATTRIBUTE_NORMAL);
}

// Remove says whether the name is free afterwards: a file goes, read-only or
// not; a folder, or a file that another program holds open without letting it
// be deleted, stays.
TEST_F(Win32Files, RemoveDeletesFilesAndSaysWhatStays) {
  const auto held = dir_ / u"held.txt";
  PutFile(held, B("x"));
  const UniqueFile holder(::CreateFileW(W(held), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  struct Case {
    const char* name;
    std::u16string path;
    std::function<void(const std::u16string&)> make;
    bool free;
  };
  const auto file = [](DWORD attributes) {
    return [attributes](const std::u16string& path) {
      PutFile(path, B("x"));
      ASSERT_TRUE(::SetFileAttributesW(W(path), attributes));
    };
  };
  const Case cases[] = {
      {"a file", dir_ / u"temp.txt", file(FILE_ATTRIBUTE_NORMAL), true},
      {"a read-only file", dir_ / u"read-only.txt", file(FILE_ATTRIBUTE_READONLY), true},
      {"a hidden read-only file", dir_ / u"hidden.txt",
       file(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), true},
      {"nothing", dir_ / u"missing.txt", [](const std::u16string&) {}, true},
      {"nothing, no folder", dir_ / u"no such folder\\x", [](const std::u16string&) {}, true},
      {"a folder", dir_ / u"folder.txt",
       [](const std::u16string& path) { ASSERT_TRUE(::CreateDirectoryW(W(path), nullptr)); },
       false},
      {"a file held open", held, [](const std::u16string&) {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.make(c.path);
    const bool existed = Exists(c.path);
    EXPECT_EQ(files_.Remove(c.path), c.free);
    EXPECT_EQ(Exists(c.path), existed && !c.free);
  }
}

TEST_F(Win32Files, CopyNeverOverwrites) {
  const auto from = dir_ / u"Quillomi_Btn.dll";
  const auto to = dir_ / u"QLMO_ボタン_ユーザー設定.txt";
  PutFile(from, B("template\r\n"));

  files_.Copy(from, to);
  EXPECT_EQ(FileBytes(to), B("template\r\n"));

  PutFile(to, B("user's own"));
  const auto failure = FailureOf([&] { files_.Copy(from, to); });
  ASSERT_TRUE(failure.has_value());
  EXPECT_FALSE(failure->reason().empty());
  EXPECT_EQ(FileBytes(to), B("user's own"));
  EXPECT_EQ(FileBytes(from), B("template\r\n"));

  const auto missing = FailureOf([&] { files_.Copy(dir_ / u"missing.dll", dir_ / u"x.txt"); });
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->code(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32Files, ExecutablePathIsTheRunningExecutable) {
  const auto path = files_.ExecutablePath();
  ASSERT_GT(path.size(), 3U);
  EXPECT_EQ(path.substr(1, 2), u":\\") << Utf8(path);
  EXPECT_TRUE(path.ends_with(u"\\quillomi_unit_tests.exe")) << Utf8(path);
  EXPECT_TRUE(files_.IsRegularFile(path)) << Utf8(path);
}

TEST_F(Win32Files, CurrentDirectoryEndsWithOneSeparator) {
  char16_t saved[MAX_PATH + 1] = {};
  ::GetCurrentDirectoryW(MAX_PATH + 1, W(saved));
  struct Case {
    std::u16string set;
    std::u16string expected;
  };
  const Case cases[] = {
      {dir_.path(), dir_.path() + u"\\"},
      {dir_.path() + u"\\", dir_.path() + u"\\"},
      {u"C:\\", u"C:\\"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(::SetCurrentDirectoryW(W(c.set))) << Utf8(c.set);
    EXPECT_EQ(files_.CurrentDirectory(), c.expected) << Utf8(c.set);
  }
  ::SetCurrentDirectoryW(W(saved));
}

}  // namespace
}  // namespace quillomi::win32
