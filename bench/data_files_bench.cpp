// Reading the data files from disk, each against the floor of reading the
// same file's bytes in the same run:
// - LoadList of a phrase list of a million lines (about 40 MB, Japanese and
//   ASCII mixed) into the list window's filter list, icon numbers and all;
// - what the main window's creation does with the settings file: open a file
//   of 200 entries, read its seven keys, drop it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "bench/posix_files.h"
#include "bench/sample_phrase_list.h"
#include "bench/summary.h"
#include "phrases/phrase_list.h"
#include "phrases/settings.h"
#include "platform/fake/fake_platform.h"
#include "ui/filter.h"

namespace {

using quillomi::phrases::kSettingsSection;
using quillomi::phrases::SettingsDocument;

constexpr std::size_t kListLines = 1'000'000;
constexpr int kSettingsEntries = 200;


// A settings file of 200 entries in three sections, the seven keys of the
// main window's creation spread over the second.
std::string MakeSettings() {
  const std::string_view keys[] = {"ShowTitleBar", "ClientHeight2", "ClientWidth2",  "Bottom2",
                                   "Left2",        "edtTxtVisible", "edtTxtFontSize"};
  std::string text = "\xEF\xBB\xBF[Window]\r\n";
  int entry = 0;
  for (; entry < 60; ++entry)
    text += "Entry" + std::to_string(entry) + "=" + std::to_string(entry * 7) + "\r\n";
  text += "\r\n[System]\r\n";
  for (int k = 0; entry < 160; ++entry) {
    if (entry % 14 == 13 && k < 7) {
      text += std::string(keys[k++]) + "=" + std::to_string(entry) + "\r\n";
    } else {
      text += "Form3Key" + std::to_string(entry) + "=" + std::to_string(-entry) + "\r\n";
    }
  }
  text += "\r\n[その他]\r\n";
  for (; entry < kSettingsEntries; ++entry) text += "メモ" + std::to_string(entry) + "=値\r\n";
  return text;
}

// The two files, written once into a fresh folder that goes at exit.
class DataFiles {
 public:
  DataFiles()
      : folder_(std::filesystem::temp_directory_path() /
                ("quillomi-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    list_ = Write("QLMO_一覧_ユーザー設定.txt", quillomi::bench::MakePhraseList(kListLines), list_bytes_);
    settings_ = Write("Quillomi.exe_ユーザー設定.ini", MakeSettings(), settings_bytes_);
  }
  DataFiles(const DataFiles&) = delete;
  DataFiles& operator=(const DataFiles&) = delete;
  ~DataFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  const std::u16string& list() const { return list_; }
  const std::u16string& settings() const { return settings_; }
  std::size_t list_bytes() const { return list_bytes_; }
  std::size_t settings_bytes() const { return settings_bytes_; }

 private:
  std::u16string Write(const std::string& name, const std::string& text, std::size_t& size) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    size = text.size();
    return path.u16string();
  }

  std::filesystem::path folder_;
  std::u16string list_, settings_;
  std::size_t list_bytes_ = 0, settings_bytes_ = 0;
};

DataFiles& Files() {
  static DataFiles files;
  return files;
}

void ReadListBytes(benchmark::State& state) {
  quillomi::bench::PosixFiles files;
  for (auto _ : state) benchmark::DoNotOptimize(files.ReadAll(Files().list()).data());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().list_bytes()));
}

void LoadList(benchmark::State& state) {
  quillomi::bench::PosixFiles files;
  quillomi::fake::FakePlatform platform;
  quillomi::ui::FilterList list(platform);
  for (auto _ : state) {
    list.Assign({});
    list.Assign(quillomi::phrases::ReadPhraseList(files, Files().list()));
    benchmark::DoNotOptimize(list.RowCount());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().list_bytes()));
  state.counters["entries"] = static_cast<double>(list.EntryCount());
}

void ReadSettingsBytes(benchmark::State& state) {
  quillomi::bench::PosixFiles files;
  for (auto _ : state) benchmark::DoNotOptimize(files.ReadAll(Files().settings()).data());
}

void SettingsForCreation(benchmark::State& state) {
  quillomi::bench::PosixFiles files;
  std::int32_t sum = 0;
  for (auto _ : state) {
    const SettingsDocument settings = SettingsDocument::Open(files, Files().settings());
    sum = settings.ReadFlag(kSettingsSection, u"ShowTitleBar", true);
    sum += settings.ReadInteger(kSettingsSection, u"ClientHeight2", 160);
    sum += settings.ReadInteger(kSettingsSection, u"ClientWidth2", 990);
    sum += settings.ReadInteger(kSettingsSection, u"Bottom2", 600);
    sum += settings.ReadInteger(kSettingsSection, u"Left2", 465);
    sum += settings.ReadFlag(kSettingsSection, u"edtTxtVisible", false);
    sum += settings.ReadInteger(kSettingsSection, u"edtTxtFontSize", 10);
    benchmark::DoNotOptimize(sum);
  }
  state.counters["sum"] = sum;
}

BENCHMARK(ReadListBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadList)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadSettingsBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(SettingsForCreation)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return quillomi::bench::RunWithSummary(
      argc, argv,
      {{"LoadList", "ReadListBytes", 6, 0}, {"SettingsForCreation", "ReadSettingsBytes", 0, 1}});
}
