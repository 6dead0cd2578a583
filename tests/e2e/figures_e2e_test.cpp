// Figures reported, not asserted against time: how long the panel takes to
// come up next to a minimal window program started the same way, what memory
// it holds once up, and the size of the executable.
#include "tests/e2e/e2e_support.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace quillomi::e2e {
namespace {

// Milliseconds from CreateProcess to a visible window of the class.
double TimeToWindow(const std::wstring& exe, const std::vector<std::wstring>& args,
                    const std::wstring& cwd, const wchar_t* class_name, Process& process) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  process = Process(exe, args, cwd);
  HWND window = WaitForProcessWindow(process.Id(), class_name, 30s);
  QueryPerformanceCounter(&end);
  return window ? CounterToMs(end.QuadPart - start.QuadPart) : -1;
}

TEST(Figures, StartUpMemoryAndSize) {
  constexpr int kRuns = 5;
  std::vector<double> panel_ms, minimal_ms;
  SIZE_T peak_working_set = 0, private_bytes = 0;
  for (int run = 0; run < kRuns; ++run) {
    ProgramDir program;
    StageProgram(program);
    Process panel;
    const double ms = TimeToWindow(program.Exe(), {}, program.dir.Path(), L"TForm1", panel);
    ASSERT_GT(ms, 0) << "the panel did not come up";
    panel_ms.push_back(ms);
    // Responsive: it answers a message once up.
    HWND form = FindProcessWindow(panel.Id(), L"TForm1");
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
    if (run == 0) {
      Sleep(500);
      HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, panel.Id());
      PROCESS_MEMORY_COUNTERS_EX counters{};
      counters.cb = sizeof counters;
      if (handle && GetProcessMemoryInfo(handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                         sizeof counters)) {
        peak_working_set = counters.PeakWorkingSetSize;
        private_bytes = counters.PrivateUsage;
      }
      if (handle) CloseHandle(handle);
    }
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(panel.WaitExit(20s), 0);

    TempDir scratch;
    Process minimal;
    const double minimal_time =
        TimeToWindow(BinDir() + L"standin_client.exe", {L"ec", scratch.Path() + L"log.txt", L"--no-uowin"},
                     scratch.Path(), L"QuillomiStandinEC", minimal);
    ASSERT_GT(minimal_time, 0);
    minimal_ms.push_back(minimal_time);
    minimal.Kill();
  }
  const double panel = Median(panel_ms), floor = Median(minimal_ms);
  WIN32_FILE_ATTRIBUTE_DATA exe{};
  GetFileAttributesExW((BinDir() + L"Quillomi.exe").c_str(), GetFileExInfoStandard, &exe);
  std::printf("start-up to a visible panel: median %.1f ms; minimal window program: %.1f ms; "
              "ratio %.2f (goal <= 1.5)\n",
              panel, floor, panel / floor);
  std::printf("panel memory after start: peak working set %.1f MB, private bytes %.1f MB "
              "(goal < 10 MB private on Windows)\n",
              static_cast<double>(peak_working_set) / 1048576.0,
              static_cast<double>(private_bytes) / 1048576.0);
  std::printf("Quillomi.exe: %lu bytes (goal < 1.5 MB)\n", exe.nFileSizeLow);
  RecordProperty("startup_ratio", std::to_string(panel / floor));
}

}  // namespace
}  // namespace quillomi::e2e
