// Re-filtering a phrase list of a million entries, against the floor of one
// std::u16string_view::find pass over the same upper-cased entries, measured
// in the same run. The summary after the benchmarks gives each time as a
// ratio of that floor.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/summary.h"
#include "platform/fake/fake_platform.h"
#include "ui/filter.h"

namespace {

using quillomi::ui::FilterList;
using quillomi::ui::FilterPattern;

constexpr std::size_t kEntryCount = 1'000'000;
constexpr std::u16string_view kTypicalFilter = u"ヒール";
constexpr std::u16string_view kAsciiFilter = u"ban";
constexpr std::u16string_view kStarsFilter = u"*a*a*a*a*b";

// Deterministic lines of about 30 UTF-16 units, Japanese and ASCII mixed, a
// heading now and then, as a player's phrase list holds them.
std::vector<std::u16string> MakeEntries() {
  const std::u16string_view labels[] = {u"挨拶", u"戦闘", u"取引", u"移動",
                                        u"募集", u"PvP",  u"Bank", u"生産"};
  const std::u16string_view words[] = {
      u"こんにちは", u"ありがとう",    u"ヒール",       u"回復",         u"お願いします",
      u"ガード",     u"銀行",          u"リコール",     u"ゲート",       u"募集中",
      u"パーティ",   u"よろしく",      u"おつかれさま", u"ドラゴン",     u"倉庫",
      u"heal",       u"bank",          u"guards",       u"recall",       u"gate",
      u"vendor",     u"buy",           u"sell",         u"Britain",      u"Trinsic",
      u"help",       u"All Follow Me", u"kal ort por",  u"vas corp por", u"ＧＭ"};
  std::mt19937 random(1132);
  const auto pick = [&](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  };
  std::vector<std::u16string> entries;
  entries.reserve(kEntryCount);
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    std::u16string line = i % 50 == 0 ? u"◆" : u"";
    line += u"[";
    line += labels[pick(std::size(labels))];
    line += u"]";
    const std::size_t length = 24 + pick(13);
    while (line.size() < length) {
      line += words[pick(std::size(words))];
      line += u' ';
    }
    line.resize(length);
    entries.push_back(std::move(line));
  }
  return entries;
}

struct Data {
  quillomi::fake::FakePlatform platform;
  FilterList list{platform};
  // The entries as a load gives them, for a load again.
  quillomi::phrases::PhraseEntries loaded;
  // The floor's own copy: the same upper-cased texts, back to back.
  std::u16string upper;
  std::vector<std::size_t> starts{0};

  Data() {
    const auto entries = MakeEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      loaded.text += entries[i];
      loaded.starts.push_back(loaded.text.size());
      loaded.icons.push_back(static_cast<std::uint8_t>(i % 9 + 1));
    }
    upper = loaded.text;
    starts = loaded.starts;
    list.Assign(loaded);
    platform.UpperCaseInPlace(upper);
  }
};

Data& Shared() {
  static Data data;
  return data;
}

std::u16string Upper(std::u16string_view text) {
  std::u16string upper(text);
  Shared().platform.UpperCaseInPlace(upper);
  return upper;
}

void FloorFind(benchmark::State& state, std::u16string_view filter) {
  Data& data = Shared();
  const std::u16string needle = Upper(filter);
  const std::u16string_view all(data.upper);
  std::size_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (std::size_t i = 0; i + 1 < data.starts.size(); ++i) {
      const auto entry = all.substr(data.starts[i], data.starts[i + 1] - data.starts[i]);
      if (entry.find(needle) != std::u16string_view::npos) ++found;
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["rows"] = static_cast<double>(found);
}

void Refilter(benchmark::State& state, std::u16string_view filter) {
  Data& data = Shared();
  for (auto _ : state) {
    data.list.SetFilter(filter);
    benchmark::DoNotOptimize(data.list.RowCount());
  }
  state.counters["rows"] = static_cast<double>(data.list.RowCount());
  data.list.SetFilter(u"");
}

// The first keystroke after a load, which makes the upper-cased copy too.
void FirstFilter(benchmark::State& state) {
  Data& data = Shared();
  quillomi::fake::FakePlatform platform;
  FilterList list(platform);
  for (auto _ : state) {
    state.PauseTiming();
    list.Assign({});
    list.Assign(data.loaded);
    state.ResumeTiming();
    list.SetFilter(kTypicalFilter);
    benchmark::DoNotOptimize(list.RowCount());
  }
}

// One entry of n units that a backtracking matcher would take O(n^5) on.
void StarsOnLongEntry(benchmark::State& state) {
  const std::u16string entry(static_cast<std::size_t>(state.range(0)), u'A');
  const FilterPattern pattern(Upper(kStarsFilter));
  for (auto _ : state) benchmark::DoNotOptimize(pattern.Matches(entry));
  state.SetComplexityN(state.range(0));
}

BENCHMARK_CAPTURE(FloorFind, typical, kTypicalFilter)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Refilter, typical, kTypicalFilter)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FloorFind, ascii, kAsciiFilter)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Refilter, ascii, kAsciiFilter)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Refilter, stars, kStarsFilter)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Refilter, question, u"b?nk")->Unit(benchmark::kMillisecond);
BENCHMARK(FirstFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(StarsOnLongEntry)
    ->RangeMultiplier(10)
    ->Range(1'000, 1'000'000)
    ->Complexity(benchmark::oN)
    ->Repetitions(1)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return quillomi::bench::RunWithSummary(argc, argv,
                                         {{"Refilter/typical", "FloorFind/typical", 1.5, 0},
                                          {"Refilter/ascii", "FloorFind/ascii", 1.5, 0},
                                          {"Refilter/stars", "FloorFind/typical", 3, 0},
                                          {"Refilter/question", "FloorFind/typical", 3, 0},
                                          {"FirstFilter", "FloorFind/typical", 3, 0}});
}
