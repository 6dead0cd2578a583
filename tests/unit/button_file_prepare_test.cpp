#include <gtest/gtest.h>

#include "phrases/button_file.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

TEST(DataFilePaths, TheProgramDirectoryEndsAtTheLastSeparator) {
  struct Case {
    std::u16string_view executable, directory;
  };
  const Case cases[] = {
      {u"D:\\ゲーム\\UO.tools\\Q.exe", u"D:\\ゲーム\\UO.tools\\"},
      {u"C:Q.exe", u"C:"},
      {u"Q.exe", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgramDirectory(c.executable), c.directory) << test::Utf8(c.executable);
}

TEST(PrepareDataFiles, TestsTemplatesInOrderAndCopiesWhatIsMissing) {
  const std::u16string kDir = u"C:\\Games\\Quillomi\\";
  const std::u16string paths[] = {kDir + u"Quillomi_Lst.dll", kDir + u"QLMO_一覧_ユーザー設定.txt",
                                  kDir + u"Quillomi_Btn.dll",
                                  kDir + u"QLMO_ボタン_ユーザー設定.txt"};
  const auto copy = [&](int from) {
    return "copy " + fake::Quote(paths[from]) + " -> " + fake::Quote(paths[from + 1]);
  };
  const auto missing = [](const std::string& name) {
    return "message \"" + name + ".dll が見つかりません。アプリを終了します。\"";
  };
  struct Case {
    const char* name;
    // Per path its content as one letter, "-" for none, "d" for a directory.
    std::string_view before, after;
    std::string outcome;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"first run", "L-B-", "LLBB", "ready", {copy(0), copy(2)}},
      {"later runs", "LlBb", "LlBb", "ready", {}},
      {"no templates: the list's message alone", "----", "----", "end", {missing("Quillomi_Lst")}},
      {"list template missing, its file there", "-lBb", "-lBb", "end", {missing("Quillomi_Lst")}},
      {"directory as list template", "d-B-", "--B-", "end", {missing("Quillomi_Lst")}},
      {"no button template, list copied",
       "L---",
       "LL--",
       "end",
       {copy(0), missing("Quillomi_Btn")}},
      {"button template missing, its file there", "Ll-b", "Ll-b", "end", {missing("Quillomi_Btn")}},
      {"directory as button file",
       "LlBd",
       "LlB-",
       "ファイルが既に存在するため、作成できません。",
       {copy(2)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform fake;
    for (std::size_t i = 0; i < 4; ++i) {
      if (c.before[i] == 'd') fake.directories.insert(paths[i]);
      if (c.before[i] != 'd' && c.before[i] != '-') fake.PutFile(paths[i], c.before.substr(i, 1));
    }
    std::string outcome;
    try {
      const auto paths_of = ResolveDataFilePaths(fake.executable_path);
      outcome = PrepareDataFiles(fake.Get(), paths_of) == Preparation::kReady ? "ready" : "end";
    } catch (const UserError& e) {
      outcome = test::Utf8(e.text());
    }
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(fake.Log(), c.log);  // no template is ever read or written
    std::string after;
    for (const auto& path : paths) after += fake.files.contains(path) ? fake.FileText(path) : "-";
    EXPECT_EQ(after, c.after);
  }
}

}  // namespace
}  // namespace quillomi::phrases
