// The figures of scripts/bench that only Wine can show, each against a floor
// measured in the same run, the two taking turns so that the machine's load
// falls on both alike; every run is printed, the medians make the rows.
//
//   quillomi_figures.exe [--runs=N] [--only=FIGURE] [--summary_out=FILE]
//
// StartUp / BareWindow: CreateProcess to a visible window that answers, the
// panel with its files present against a program of one window.
// Delivery(ClassicUO) / DeliveryPauses: from the press on a phrase button to
// the last key the stand-in client (ClassicUO, party box ticked) hooks,
// against the two pauses it must sleep.
// TypeToRepaint / RefilterUnderWine: a key into the filter box over a million
// entries until the list has repainted and answers, against the same
// re-filter in this process.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bench/sample_phrase_list.h"
#include "phrases/phrase_list.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "ui/filter.h"

using namespace quillomi::e2e;

namespace {

constexpr std::size_t kListLines = 1'000'000;
// One key into the empty filter box; its text as the box then holds it.
constexpr wchar_t kTypedKey[] = L"ヒ";
constexpr std::u16string_view kTypedFilter = u"ヒ";

double CounterToMs(long long ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Since(long long start) { return CounterToMs(Now() - start); }

// The waits poll every millisecond: the figures are a few hundred.
constexpr auto kClosely = 1ms;

bool Answers(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Figure {
  const char* name;
  const char* floor;
  double max_ratio;
  bool (*measure)(Figure&, int runs);
  std::vector<double> runs = {}, floor_runs = {};
};

void PrintRuns(const Figure& figure) {
  std::printf("%s against %s, every run (ms):\n", figure.name, figure.floor);
  for (std::size_t i = 0; i < figure.runs.size(); ++i)
    std::printf("  run %2zu: %10.2f  %10.2f\n", i + 1, figure.runs[i],
                i < figure.floor_runs.size() ? figure.floor_runs[i] : 0.0);
  std::fflush(stdout);
}

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms < 1 ? "%.4f ms" : "%.1f ms", ms);
  return text;
}

// A row of scripts/bench's table, tab-separated as bench/summary.cpp writes them.
std::string Row(const Figure& figure) {
  if (figure.runs.empty() || figure.floor_runs.empty())
    return std::string(figure.name) + "\t-\t" + figure.floor + "\t-\t-\t-\tNO\n";
  const double time = Median(figure.runs), floor = Median(figure.floor_runs);
  char ratio[32], goal[32];
  std::snprintf(ratio, sizeof ratio, "%.2fx", time / floor);
  std::snprintf(goal, sizeof goal, "<= %gx", figure.max_ratio);
  return std::string(figure.name) + "\t" + Milliseconds(time) + "\t" + figure.floor + "\t" +
         Milliseconds(floor) + "\t" + ratio + "\t" + goal + "\t" +
         (time / floor <= figure.max_ratio ? "yes" : "NO") + "\n";
}

// Two warming runs of the program and its floor, then `runs` timed ones of
// each, taking turns at going first.
template <class Program, class Floor>
bool Alternate(int runs, Program program, Floor floor) {
  for (int i = 0; i < 2; ++i)
    if (!program(false) || !floor(false)) return false;
  for (int run = 0; run < runs; ++run) {
    const bool ok = run % 2 == 0 ? program(true) && floor(true) : floor(true) && program(true);
    if (!ok) return false;
  }
  return true;
}

bool Close(Process& process, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  return process.WaitExit(20s) == 0;
}

// The milliseconds from CreateProcess to a visible window of the class that
// answers a message, which it does once its program is in its event loop, go
// to `runs` unless null; then the program is closed.
bool TimeToWindow(const std::wstring& exe, const std::wstring& cwd, const wchar_t* class_name,
                  std::vector<double>* runs, bool print_memory = false) {
  const long long start = Now();
  Process process(exe, {}, cwd);
  HWND window = nullptr;
  if (!WaitUntil([&] { return (window = FindProcessWindow(process.Id(), class_name)) != nullptr; },
                 30s, kClosely) ||
      !Answers(window))
    return false;
  if (runs) runs->push_back(Since(start));
  if (print_memory) {
    Sleep(500);
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process.Id());
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (handle &&
        GetProcessMemoryInfo(handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
      std::printf("panel after start: peak working set %.1f MB, private bytes %.1f MB\n",
                  static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0,
                  static_cast<double>(counters.PrivateUsage) / 1048576.0);
    }
    if (handle) CloseHandle(handle);
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &file);
    std::printf("Quillomi.exe: %lu bytes\n", file.nFileSizeLow);
  }
  return Close(process, window);
}

// A program folder whose files a first start has made, as a player starts it
// every day.
bool PrepareProgram(ProgramDir& program) {
  StageProgram(program);
  Process first;
  HWND panel = StartPanel(program, first, 30s);
  return panel && Close(first, panel);
}

bool StartUp(Figure& figure, int runs) {
  ProgramDir program;
  if (!PrepareProgram(program)) return false;
  TempDir scratch;
  const auto panel = [&](bool timed) {
    return TimeToWindow(program.Exe(), program.Path(), kPanelClass, timed ? &figure.runs : nullptr,
                        timed && figure.runs.empty());
  };
  const auto bare = [&](bool timed) {
    return TimeToWindow(BinDir() + L"bare_window.exe", scratch.Path(), L"QuillomiBareWindow",
                        timed ? &figure.floor_runs : nullptr);
  };
  // Warm: the first starts of a session load Wine's libraries from disk.
  return Alternate(runs, panel, bare);
}

// Btn01's phrase has no no-Enter marker.
bool DeliveryInto(Figure& figure, int runs, const wchar_t* client_mode, std::size_t keys_sent,
                  bool party) {
  ProgramDir program;
  if (!PrepareProgram(program)) return false;
  const TempDir dir;
  const std::wstring log = dir.Path() + L"client.log";
  const Process client = StartClient(log, {client_mode});
  if (!client.Running()) return false;
  Process quillomi;
  HWND panel = StartPanel(program, quillomi, 30s);
  HWND button = panel ? GetDlgItem(panel, quillomi::ids::kPanelButton + 1) : nullptr;
  HWND party_box = panel ? GetDlgItem(panel, quillomi::ids::kPartyBox) : nullptr;
  if (!button || !party_box) return false;
  if (party && !SetCheck(party_box, true)) return false;
  const auto deliver = [&](bool timed) {
    const std::size_t before = ReadLog(log, "hook").size();
    const long long start = Now();
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    std::vector<LogLine> keys;
    const bool done = WaitUntil(
        [&] { return (keys = ReadLog(log, "hook")).size() >= before + keys_sent; }, 10s, kClosely);
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    if (!done || !Answers(panel)) return false;
    // A delivery may still be in its last pause, which answers messages: the
    // next press comes once it has ended, as a player's does.
    Sleep(150);
    if (!timed) return true;
    figure.runs.push_back(CounterToMs(keys[before + keys_sent - 1].time - start));
    // Where the time beyond the pauses goes: before the first key, and between
    // each key and the next.
    std::printf("  delivery: press to first key %.2f ms, then",
                CounterToMs(keys[before].time - start));
    for (std::size_t i = before + 1; i < before + keys_sent; ++i)
      std::printf(" %.2f", CounterToMs(keys[i].time - keys[i - 1].time));
    std::printf("\n");
    return true;
  };
  const auto pauses = [&](bool timed) {
    const long long start = Now();
    Sleep(100);
    Sleep(100);
    if (timed) figure.floor_runs.push_back(Since(start));
    return true;
  };
  return Alternate(runs, deliver, pauses) && Close(quillomi, panel);
}

bool TypeToRepaint(Figure& figure, int runs) {
  ProgramDir program;
  if (!PrepareProgram(program)) return false;
  const std::wstring list_path = program.File(L"QLMO_一覧_ユーザー設定.txt");
  WriteFileBytes(list_path, quillomi::bench::MakePhraseList(kListLines));

  // The floor: the same list loaded here, the same filter text set again.
  quillomi::win32::Win32Platform platform;
  quillomi::ui::FilterList entries(platform.Get().text);
  entries.Assign(quillomi::phrases::ReadPhraseList(platform.Get().files,
                                                   quillomi::win32::U(list_path.c_str())));
  const std::size_t all = entries.EntryCount();

  Process quillomi;
  HWND panel = StartPanel(program, quillomi, 60s);
  HWND list_button = panel ? GetDlgItem(panel, quillomi::ids::kPanelButton) : nullptr;
  if (!list_button) return false;
  ClickCenter(list_button);
  HWND list = WaitForProcessWindow(quillomi.Id(), kListWindowClass, 30s);
  HWND lb1 = list
                 ? FindWindowExW(list, nullptr, ClassName(quillomi::ids::kFilterListClass), nullptr)
                 : nullptr;
  HWND filter_box = lb1 ? FindWindowExW(lb1, nullptr, L"Edit", nullptr) : nullptr;
  HWND rows = lb1 ? FindWindowExW(lb1, nullptr, L"ListBox", nullptr) : nullptr;
  if (!filter_box || !rows) return false;
  const auto row_count = [&] {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(rows, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 10000, &count);
    return static_cast<std::size_t>(count);
  };
  if (!WaitUntil([&] { return row_count() == all; }, 30s, kClosely)) return false;
  ClickCenter(filter_box);

  // The box's text is read on the window's thread, after the key's handler,
  // which filters, has returned; then whatever is left to paint is painted
  // at once, and the window must answer.
  const auto type = [&](bool timed) {
    const long long start = Now();
    TypeText(kTypedKey);
    if (!WaitUntil([&] { return WindowText(filter_box) == kTypedKey; }, 20s, kClosely))
      return false;
    RedrawWindow(rows, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!Answers(list)) return false;
    const double ms = Since(start);
    entries.SetFilter(kTypedFilter);
    if (row_count() != entries.RowCount()) {
      std::printf("the window shows %zu rows, the same filter here %zu\n", row_count(),
                  entries.RowCount());
      return false;
    }
    if (timed) figure.runs.push_back(ms);
    PressKey(VK_BACK);
    return WaitUntil([&] { return WindowText(filter_box).empty() && row_count() == all; }, 20s,
                     kClosely);
  };
  const auto refilter = [&](bool timed) {
    entries.SetFilter(u"");
    const long long start = Now();
    entries.SetFilter(kTypedFilter);
    if (timed) figure.floor_runs.push_back(Since(start));
    return entries.RowCount() > 0 && entries.RowCount() < all;
  };
  // Warm: the first filter of each makes the upper-cased copy.
  return Alternate(runs, type, refilter) && Close(quillomi, panel);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 9;
  std::wstring summary_out, only;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view argument = argv[i];
    if (argument.starts_with(L"--runs=")) runs = std::stoi(std::wstring(argument.substr(7)));
    if (argument.starts_with(L"--summary_out=")) summary_out = argument.substr(14);
    if (argument.starts_with(L"--only=")) only = argument.substr(7);
  }
  Figure figures[] = {{"StartUp", "BareWindow", 1.5, StartUp},
                      // Ctrl+V, Enter, Enter: eight keys.
                      {"Delivery", "DeliveryPauses", 1.01,
                       [](Figure& f, int n) { return DeliveryInto(f, n, L"classic", 8, false); }},
                      // Ctrl+V twice and one Enter: ten keys.
                      {"DeliveryClassicUO", "DeliveryPauses", 1.05,
                       [](Figure& f, int n) { return DeliveryInto(f, n, L"classicuo", 10, true); }},
                      {"TypeToRepaint", "RefilterUnderWine", 2, TypeToRepaint}};
  int status = 0;
  std::string rows;
  for (Figure& figure : figures) {
    if (!only.empty() && Utf8(only) != figure.name) continue;
    std::printf("== %s\n", figure.name);
    std::fflush(stdout);
    if (!figure.measure(figure, runs)) {
      std::printf("%s could not be measured\n", figure.name);
      status = 1;
    }
    PrintRuns(figure);
    rows += Row(figure);
  }
  if (!summary_out.empty()) {
    FILE* out = _wfopen(summary_out.c_str(), L"ab");
    if (!out || std::fwrite(rows.data(), 1, rows.size(), out) != rows.size() || std::fclose(out))
      status = 1;
  } else {
    std::printf("%s", rows.c_str());
  }
  return status;
}
