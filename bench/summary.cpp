#include "bench/summary.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace quillomi::bench {

namespace {

// Keeps each benchmark's real time per iteration in milliseconds, the best of
// any repetitions.
class SummaryReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double ms =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      // Named without the repetition count, so that repeated runs share a name.
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
      auto [it, fresh] = times.emplace(name, ms);
      if (!fresh) it->second = std::min(it->second, ms);
    }
  }
  std::map<std::string, double> times;
};

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms < 1 ? "%.4f ms" : "%.1f ms", ms);
  return text;
}

struct Row {
  std::string figure, figure_time, floor, floor_time, ratio, goal, holds;
};

std::vector<Row> Rows(const std::map<std::string, double>& times, const std::vector<Goal>& goals) {
  std::vector<Row> rows;
  for (const auto& goal : goals) {
    const auto figure = times.find(goal.figure);
    if (figure == times.end()) continue;  // filtered out of this run
    Row row{goal.figure, Milliseconds(figure->second), "-", "-", "-", "-", "-"};
    bool holds = true;
    const auto floor = times.find(goal.floor);
    if (floor != times.end()) {
      const double ratio = figure->second / floor->second;
      char text[32];
      std::snprintf(text, sizeof text, "%.2fx", ratio);
      row.floor = goal.floor;
      row.floor_time = Milliseconds(floor->second);
      row.ratio = text;
      if (goal.max_ratio > 0) {
        std::snprintf(text, sizeof text, "<= %gx", goal.max_ratio);
        row.goal = text;
        holds = ratio <= goal.max_ratio;
      }
    }
    if (goal.max_ms > 0) {
      row.goal = "< " + Milliseconds(goal.max_ms);
      holds = figure->second < goal.max_ms;
    }
    if (row.goal != "-") row.holds = holds ? "yes" : "NO";
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

int RunWithSummary(int argc, char** argv, const std::vector<Goal>& goals) {
  constexpr std::string_view kOption = "--summary_out=";
  std::string summary_out;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with(kOption)) {
      summary_out = argument.substr(kOption.size());
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto rows = Rows(reporter.times, goals);
  std::printf("\n%-26s %12s  %-22s %12s %8s  %-10s %s\n", "figure", "time", "floor", "time",
              "ratio", "goal", "holds");
  for (const auto& r : rows) {
    std::printf("%-26s %12s  %-22s %12s %8s  %-10s %s\n", r.figure.c_str(), r.figure_time.c_str(),
                r.floor.c_str(), r.floor_time.c_str(), r.ratio.c_str(), r.goal.c_str(),
                r.holds.c_str());
  }
  if (summary_out.empty()) return 0;
  std::FILE* out = std::fopen(summary_out.c_str(), "a");
  if (out == nullptr) {
    std::fprintf(stderr, "cannot append to %s\n", summary_out.c_str());
    return 1;
  }
  for (const auto& r : rows) {
    std::fprintf(out, "%s\t%s\t%s\t%s\t%s\t%s\t%s\n", r.figure.c_str(), r.figure_time.c_str(),
                 r.floor.c_str(), r.floor_time.c_str(), r.ratio.c_str(), r.goal.c_str(),
                 r.holds.c_str());
  }
  return std::fclose(out) == 0 ? 0 : 1;
}

}  // namespace quillomi::bench
