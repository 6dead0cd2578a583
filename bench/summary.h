// The summary every benchmark program prints after its runs: each figure held
// against a floor measured in the same run, or against a fixed time, with the
// goal it is meant to meet. Nothing fails on a missed goal; the table says so.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quillomi::bench {

struct Goal {
  std::string figure;    // a benchmark's name
  std::string floor;     // the floor's benchmark name
  double max_ratio = 0;  // figure / floor at most this, when above 0
  double max_ms = 0;     // figure below this many milliseconds, when above 0
};

// Runs the registered benchmarks and prints the summary of the goals. The
// option --summary_out=FILE (taken out before Google Benchmark sees the
// arguments) also appends the rows to FILE, tab-separated, for scripts/bench
// to gather into one table.
int RunWithSummary(int argc, char** argv, const std::vector<Goal>& goals);

}  // namespace quillomi::bench
