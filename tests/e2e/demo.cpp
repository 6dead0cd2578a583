// The headless demonstration of scripts/run: the panel in a program folder
// beside a stand-in game client, one phrase button pressed with a real click,
// and what the client received printed; screenshots along the way.
//
//   quillomi_demo.exe PROGRAM_DIR
#include <windows.h>

#include <cstdio>

#include "tests/e2e/e2e_support.h"

using namespace quillomi::e2e;

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring dir = argv[1];
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  const std::wstring log = dir + L"client.log";
  DeleteFileW(log.c_str());

  const Process client = StartClient(log);
  if (!client.Running()) return 3;
  Process panel(dir + L"Quillomi.exe", {}, dir);
  HWND form = WaitForProcessWindow(panel.Id(), kPanelClass, 20s);
  if (!form) return 4;
  Sleep(500);
  Screenshot("panel");
  ClickCenter(GetDlgItem(form, 1001));
  WaitForEvents(log, "hook", kClassicKeys.size());
  Screenshot("panel-delivered");
  std::printf("The stand-in game client received:\n");
  for (const auto& line : ReadLog(log))
    if (line.event != "ready") std::printf("  %s\n", line.event.c_str());
  PostMessageW(form, WM_CLOSE, 0, 0);
  panel.WaitExit(10s);
  return 0;
}
