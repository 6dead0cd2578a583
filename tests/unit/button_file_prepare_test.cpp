#include <gtest/gtest.h>

#include "phrases/button_file.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kDir = u"C:\\Games\\Quillomi\\";
const std::u16string kLst0 = kDir + u"Quillomi_Lst.dll";
const std::u16string kLst1 = kDir + u"QLMO_一覧_ユーザー設定.txt";
const std::u16string kBtn0 = kDir + u"Quillomi_Btn.dll";
const std::u16string kBtn1 = kDir + u"QLMO_ボタン_ユーザー設定.txt";

const std::string kListMissing =
    "message \"Quillomi_Lst.dll が見つかりません。アプリを終了します。\"";
const std::string kButtonMissing =
    "message \"Quillomi_Btn.dll が見つかりません。アプリを終了します。\"";

std::string CopyLog(const std::u16string& from, const std::u16string& to) {
  return "copy " + fake::Quote(from) + " -> " + fake::Quote(to);
}

TEST(DataFilePaths, AreResolvedAgainstTheProgramDirectory) {
  const DataFilePaths paths = ResolveDataFilePaths(u"C:\\Games\\Quillomi\\Quillomi.exe");
  EXPECT_EQ(paths.sListText0, kLst0);
  EXPECT_EQ(paths.sListText1, kLst1);
  EXPECT_EQ(paths.sBtnText0, kBtn0);
  EXPECT_EQ(paths.sBtnText1, kBtn1);

  struct Case {
    std::u16string_view executable, directory;
  };
  const Case cases[] = {
      {u"C:\\Games\\Quillomi\\Quillomi.exe", u"C:\\Games\\Quillomi\\"},
      {u"C:\\Quillomi.exe", u"C:\\"},
      {u"\\\\server\\share\\Q.exe", u"\\\\server\\share\\"},
      {u"D:\\ゲーム\\UO.tools\\Q.exe", u"D:\\ゲーム\\UO.tools\\"},
      {u"C:Q.exe", u"C:"},
      {u"Q.exe", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgramDirectory(c.executable), c.directory) << test::Utf8(c.executable);
}

TEST(PrepareDataFiles, TestsTemplatesInOrderAndCopiesWhatIsMissing) {
  struct Case {
    const char* name;
    bool lst0, lst1, btn0, btn1;
    Preparation result;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"first run",
       true,
       false,
       true,
       false,
       Preparation::kReady,
       {CopyLog(kLst0, kLst1), CopyLog(kBtn0, kBtn1)}},
      {"later runs touch nothing", true, true, true, true, Preparation::kReady, {}},
      {"only the button file is missing",
       true,
       true,
       true,
       false,
       Preparation::kReady,
       {CopyLog(kBtn0, kBtn1)}},
      {"both templates missing: one message, the list's",
       false,
       false,
       false,
       false,
       Preparation::kEndApplication,
       {kListMissing}},
      {"list template missing although its user file exists",
       false,
       true,
       true,
       true,
       Preparation::kEndApplication,
       {kListMissing}},
      {"button template missing: the list file is copied first",
       true,
       false,
       false,
       false,
       Preparation::kEndApplication,
       {CopyLog(kLst0, kLst1), kButtonMissing}},
      {"button template missing although its user file exists",
       true,
       true,
       false,
       true,
       Preparation::kEndApplication,
       {kButtonMissing}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    if (c.lst0) fake.PutFile(kLst0, "list template");
    if (c.lst1) fake.PutFile(kLst1, "user list");
    if (c.btn0) fake.PutFile(kBtn0, "button template");
    if (c.btn1) fake.PutFile(kBtn1, "user buttons");
    const auto before = fake.files;

    EXPECT_EQ(PrepareDataFiles(fake.Get(), ResolveDataFilePaths(fake.executable_path)), c.result)
        << c.name;
    EXPECT_EQ(fake.Log(), c.log) << c.name;  // no template is ever read or written

    for (const auto& [path, bytes] : before) EXPECT_EQ(fake.files[path], bytes) << c.name;
    if (!c.lst1 && c.lst0) {
      EXPECT_EQ(fake.FileText(kLst1), "list template") << c.name;
    }
    if (!c.btn1 && c.btn0 && c.lst0) {
      EXPECT_EQ(fake.FileText(kBtn1), "button template") << c.name;
    }
  }
}

TEST(PrepareDataFiles, ADirectoryIsNoFile) {
  // A directory with a template's name is a missing template.
  fake::FakePlatform fake;
  fake.directories.insert(kLst0);
  fake.PutFile(kBtn0, "button template");
  EXPECT_EQ(PrepareDataFiles(fake.Get(), ResolveDataFilePaths(fake.executable_path)),
            Preparation::kEndApplication);
  EXPECT_EQ(fake.Log(), std::vector<std::string>{kListMissing});
}

TEST(PrepareDataFiles, AFailedCopyShowsTheSystemsReason) {
  struct Case {
    const char* name;
    bool directory_in_the_way;
    std::u16string reason;
  };
  const Case cases[] = {
      {"directory with the user file's name", true,
       u"ファイルが既に存在するため、作成できません。"},
      {"no write access", false, u"アクセスが拒否されました。"},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    fake.PutFile(kLst0, "list template");
    fake.PutFile(kLst1, "user list");
    fake.PutFile(kBtn0, "button template");
    if (c.directory_in_the_way) {
      fake.directories.insert(kBtn1);
    } else {
      fake.copy_faults[kBtn1] = c.reason;
    }
    try {
      (void)PrepareDataFiles(fake.Get(), ResolveDataFilePaths(fake.executable_path));
      ADD_FAILURE() << "no error: " << c.name;
    } catch (const UserError& e) {
      EXPECT_EQ(e.text(), c.reason) << c.name;
    }
    EXPECT_EQ(fake.Log(), std::vector<std::string>{CopyLog(kBtn0, kBtn1)}) << c.name;
    EXPECT_FALSE(fake.files.contains(kBtn1)) << c.name;
  }
}

}  // namespace
}  // namespace quillomi::phrases
