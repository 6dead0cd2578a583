// The panel of the real Quillomi.exe under Wine, driven with real mouse and
// keyboard input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "res/identities.h"
#include "tests/e2e/caption_probe.h"
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

namespace quillomi::e2e {
namespace {

const std::wstring kInstructions =
    L"ボタンの内容を編集したら、\n\rファイル→上書き保存後、メモ帳は終了し、\n\r"
    L"ボタンをSHIFT+右クリックしてください。\n\rボタン内容が更新されます。\n\r\n\r"
    L"【注意事項】\n\r行を削除した場合、ボタン数より行数が少ないと、\n\r"
    L"自動的にテンプレートから補完されます。\n\r";
const std::string kBom = "\xEF\xBB\xBF";

// A button file of three phrases, as a player would write it (UTF-8 with mark).
const std::string kButtons = kBom +
                             "[挨拶]\xE3\x80\x80こんにちは\r\n"
                             "[感謝] ありがとう！\r\n"
                             "[ラベルが長い名前]本文\r\n";

// The settings file as a close writes it for these window and client rectangles.
std::string GeometrySettings(RECT window, RECT client) {
  char text[256];
  std::snprintf(text, sizeof text,
                "\xEF\xBB\xBF[System]\r\nBottom2=%ld\r\nLeft2=%ld\r\nClientWidth2=%ld\r\n"
                "ClientHeight2=%ld\r\n\r\n",
                window.bottom, window.left, client.right - client.left, client.bottom - client.top);
  return text;
}

// A button's caption measured in the font the control itself holds.
struct Caption {
  std::wstring text;
  std::wstring face;  // empty when the control could not be measured
  LONG needed = 0;  // the text's extent
  LONG room = 0;    // the control's width less what its drawing takes
};

// The controls' captions measured by the probe hooked into the program's
// thread; none if it cannot be hooked. Beside the text a push button's drawing
// takes its 2-pixel edge and focus rectangle on each side; a radio button's,
// the check glyph, the gap after it (half a "0") and the focus rectangle.
std::vector<Caption> MeasureCaptions(HWND window, const std::vector<HWND>& controls) {
  std::vector<Caption> captions;
  HANDLE memory = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(CaptionProbe), kCaptionProbeMemory);
  HMODULE probe = LoadLibraryW((BinDir() + L"quillomi_caption_probe.dll").c_str());
  const auto hook_proc = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void (*)()>(GetProcAddress(probe, kCaptionProbeHook)));
  HHOOK hook = memory && hook_proc ? SetWindowsHookExW(WH_CALLWNDPROC, hook_proc, probe,
                                                       GetWindowThreadProcessId(window, nullptr))
                                   : nullptr;
  auto* shared = hook ? static_cast<CaptionProbe*>(
                            MapViewOfFile(memory, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(CaptionProbe)))
                      : nullptr;
  const UINT message = RegisterWindowMessageW(kCaptionProbeMessage);
  for (std::size_t i = 0; shared && i < controls.size(); ++i) {
    *shared = {};
    SendMessageW(controls[i], message, 0, 0);
    Caption caption;
    caption.text = WindowText(controls[i]);
    if (shared->measured) {
      caption.face = shared->face;
      caption.needed = shared->text_width;
      const RECT rect = ScreenRectOf(controls[i]);
      const auto type = GetWindowLongW(controls[i], GWL_STYLE) & BS_TYPEMASK;
      caption.room = rect.right - rect.left -
                     (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON
                          ? 2 * (2 + 1)
                          : GetSystemMetrics(SM_CXMENUCHECK) + shared->zero_width / 2 + 1);
    }
    captions.push_back(caption);
  }
  if (shared) UnmapViewOfFile(shared);
  if (hook) UnhookWindowsHookEx(hook);
  if (probe) FreeLibrary(probe);
  if (memory) CloseHandle(memory);
  return captions;
}

class Panel : public testing::Test, protected Session {
 protected:
  void SetUp() override { StageProgram(program_, false); }
  // A test that fails midway may leave a Notepad open.
  void TearDown() override {
    for (HWND notepad : TopWindows(L"Notepad", 0, false)) {
      PostMessageW(notepad, WM_CLOSE, 0, 0);
      WaitUntil([&] { return !IsWindow(notepad); }, 3s);
    }
  }

  // With `stops`, the creation of each window stops at an error box, which is OKed.
  void Start(const std::string& buttons = kButtons, const std::string& settings = {},
             bool stops = false) {
    WriteFileBytes(program_.File(L"Quillomi_Btn.dll"), buttons);
    WriteFileBytes(program_.File(L"Quillomi_Lst.dll"), kBom + "\xE2\x97\x86見出し\r\n[a]list entry\r\n");
    if (!settings.empty()) WriteFileBytes(program_.Settings(), settings);
    app_ = program_.Start();
    for (int window = 0; stops && window < 2; ++window) ASSERT_NE(AnswerBox(20s), L"no box");
    panel_ = WaitForProcessWindow(app_.Id(), kPanelClass, 20s);
    ASSERT_NE(panel_, nullptr) << "the panel did not open";
    Sleep(300);
  }

  HWND Button(int number) const { return GetDlgItem(panel_, ids::kPanelButton + number); }

  std::vector<std::string> Pastes(std::size_t count) {
    return WaitForEvents(log_, "inner paste", count);
  }

  // A point on the bare background: right of the labels, below the buttons.
  POINT Background() const {
    const RECT client = ClientRectOnScreen(panel_);
    return {client.right - 6, client.top + 86};
  }
};

// The first run copies the list template and fills the button file up to 59:
// from an empty template, without a mark, in code page 932 (81 40 is U+3000),
// in a folder of any name. Closed minimized, it writes the restored place.
TEST_F(Panel, FirstRunFillsUpTheButtonFileAndCloseWritesTheGeometryInAFolderOfAnyName) {
  struct Row {
    std::wstring sub;
    std::string buttons;
    int first_filled;
    std::string space;
    std::wstring caption;  // of button 1
  };
  const Row rows[] = {{L"", "", 1, "\x81\x40", L"1"},
                      {L"プレイヤー の フォルダ (2) ✓\\", kButtons, 4, "\xE3\x80\x80", L"挨拶"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(Utf8(row.sub));
    program_.sub = row.sub;
    StageProgram(program_, false);
    ASSERT_NO_FATAL_FAILURE(Start(row.buttons));
    EXPECT_EQ(ReadFileBytes(program_.File(L"QLMO_一覧_ユーザー設定.txt")),
              ReadFileBytes(program_.File(L"Quillomi_Lst.dll")));
    std::string filled = row.buttons;
    for (int n = row.first_filled; n <= 59; ++n)
      filled += "[" + std::to_string(n) + "]" + row.space + "\r\n";
    EXPECT_EQ(ReadFileBytes(program_.File(L"QLMO_ボタン_ユーザー設定.txt")), filled);
    EXPECT_EQ(WindowText(Button(1)), row.caption);
    for (int n : {7, 59}) EXPECT_EQ(WindowText(Button(n)), std::to_wstring(n));
    EXPECT_EQ(WindowText(Button(0)), L"一覧");
    if (row.buttons.empty()) Screenshot("panel-default");
    const RECT rect = ScreenRectOf(panel_), client = ClientRectOnScreen(panel_);
    EXPECT_EQ(client.right - client.left, 990);
    EXPECT_EQ(client.bottom - client.top, 160);
    ShowWindow(panel_, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(panel_) != FALSE; }, 5s));
    EXPECT_EQ(Close(), 0);
    EXPECT_EQ(ReadFileBytes(program_.Settings()), GeometrySettings(rect, client));
  }
}

// A left click sends the phrase's keys only. Alt and Shift are read with
// GetAsyncKeyState, which under Wine misses injected keys: the ButtonPress unit
// table proves them; Ctrl, which is not looked at, and the middle button, here.
TEST_F(Panel, ALeftOrCtrlClickSendsThePhraseAndTheMiddleButtonDoesNothing) {
  Start();
  EXPECT_EQ(WindowText(Button(3)), L"ラベルが長");
  ASSERT_TRUE(StartClient());
  ClickCenter(Button(1));
  EXPECT_EQ(Pastes(1), std::vector<std::string>{"inner paste \"こんにちは\""});
  EXPECT_EQ(Events(log_, "hook"), kClassicKeys);
  // Held until the panel has handled the press, whenever it gets to it.
  SendKeys({VK_CONTROL}, false);
  ClickCenter(Button(2));
  EXPECT_EQ(Pastes(2).back(), "inner paste \"ありがとう！\"");
  SendKeys({VK_CONTROL}, true);
  ClickCenter(Button(1), Mouse::kMiddle);
  Sleep(800);
  EXPECT_EQ(Events(log_, "inner paste").size(), 2u) << "the middle button sent something";
  EXPECT_EQ(Close(), 0);
}

TEST_F(Panel, RightClickShowsTheInstructionsThenNotepad) {
  Start();
  ClickCenter(Button(5), Mouse::kRight);
  EXPECT_EQ(AnswerBox(), kInstructions);
  EXPECT_NE(WaitForNotepad(L"QLMO_ボタン_ユーザー設定", 15s), nullptr)
      << "Notepad did not open the button file after the message";
  EXPECT_EQ(Close(), 0);
}

TEST_F(Panel, FreeTextBoxSendsTypedTextWithTheChosenMode) {
  Start(kButtons, kBom + "[System]\r\nedtTxtVisible=1\r\n");
  HWND edit = GetDlgItem(panel_, ids::kEdtTxt);
  ASSERT_TRUE(IsWindowVisible(edit));
  // Keys go where the focus is when they are queued: wait for it. The first
  // activation gives it to the box, and so does the close of the not-found box.
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == edit; }, 5s));
  TypeText(L"届かない");
  PressKey(VK_RETURN);
  ASSERT_NE(AnswerBox(), L"no box");
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == edit; }, 5s));
  ASSERT_TRUE(StartClient());
  HWND whisper = FindChildByText(panel_, L"囁き");
  ASSERT_NE(whisper, nullptr);
  EXPECT_TRUE(IsWindowVisible(whisper));
  ClickCenter(whisper);
  ClickCenter(edit);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == edit; }, 5s));
  TypeText(L"内緒の話");
  Screenshot("panel-free-text");
  PressKey(VK_RETURN);
  EXPECT_EQ(Pastes(1), std::vector<std::string>{"inner paste \"; 内緒の話\""});
  EXPECT_EQ(WindowText(edit), L"");
  // Back on top after the delivery, the panel gives the box its focus again.
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == edit; }, 5s));
  TypeText(L"もう一度");
  PressKey(VK_RETURN);
  EXPECT_EQ(Pastes(2).back(), "inner paste \"; もう一度\"");
  // A phrase button gets the mode's prefix as well while the box is shown.
  ClickCenter(Button(2));
  EXPECT_EQ(Pastes(3).back(), "inner paste \"; ありがとう！\"");
  EXPECT_EQ(Close(), 0);
}

TEST_F(Panel, AMissingTemplateShowsOnlyItsMessageAndEnds) {
  WriteFileBytes(program_.File(L"Quillomi_Btn.dll"), kButtons);
  app_ = program_.Start();
  HWND box = WaitForMessageBox(app_.Id(), 20s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Quillomi_Lst.dll が見つかりません。アプリを終了します。");
  EXPECT_EQ(FindProcessWindow(app_.Id(), kPanelClass), nullptr) << "no panel is shown";
  PressOk(box);
  EXPECT_EQ(app_.WaitExit(20s), 0);
  EXPECT_EQ(ReadFileBytes(program_.Settings()), "") << "no settings are written";
  EXPECT_EQ(ReadFileBytes(program_.File(L"QLMO_ボタン_ユーザー設定.txt")), "");
}

// A second start restores the running panel, where it was, and ends.
TEST_F(Panel, OpensWhereTheSettingsPlaceItAndASecondStartRestoresIt) {
  Start(kButtons,
        kBom + "[System]\r\nBottom2=700\r\nLeft2=120\r\nClientWidth2=151\r\nClientHeight2=300\r\n");
  const RECT placed = ScreenRectOf(panel_);
  const RECT placed_client = ClientRectOnScreen(panel_);
  EXPECT_EQ(placed.bottom, 700);
  EXPECT_EQ(placed.left, 120);
  EXPECT_EQ(placed_client.right - placed_client.left, 151);
  EXPECT_EQ(placed_client.bottom - placed_client.top, 300);
  // 151 pixels hold three columns: button 3 starts the second row.
  const RECT third = ScreenRectOf(Button(3));
  EXPECT_EQ(third.left - placed_client.left, 4);
  EXPECT_EQ(third.top - placed_client.top, 29);
  Screenshot("panel-narrow");
  PostMessageW(panel_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel_); }, 5s))
      << "minimize hides the panel";
  Process second = program_.Start();
  EXPECT_EQ(second.WaitExit(20s), 0);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(panel_) != FALSE; }, 5s));
  EXPECT_EQ(FindProcessWindow(second.Id(), kPanelClass, false), nullptr);
  EXPECT_EQ(ScreenRectOf(panel_).left, 120);
  EXPECT_EQ(Close(), 0);
}

// A place stored for a monitor that is gone, or edited by hand, that would
// leave a window out of reach gives way to the place it has without its keys;
// the close saves the place shown.
TEST_F(Panel, WindowsStoredOutOfReachOpenWithinReach) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const auto inside = [&](RECT r) {
    return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
           r.bottom <= work.bottom;
  };
  for (const char* stored : {"Left2=5000\r\nBottom2=5000\r\n", "Left2=-5000\r\nBottom2=-3000\r\n",
                             "Form3Top=5000\r\nForm3Left=5000\r\n"}) {
    SCOPED_TRACE(stored);
    ASSERT_NO_FATAL_FAILURE(Start(kButtons, kBom + "[System]\r\n" + stored));
    const RECT panel = ScreenRectOf(panel_), panel_client = ClientRectOnScreen(panel_);
    EXPECT_TRUE(inside(ScreenRectOf(Button(0)))) << "the list button is out of reach";
    ClickCenter(Button(0));
    HWND list = WaitForProcessWindow(app_.Id(), kListWindowClass, 10s);
    EXPECT_NE(list, nullptr) << "the list button did nothing";
    if (!list) {
      app_.Kill();
      continue;
    }
    const RECT shown = ScreenRectOf(list);
    EXPECT_TRUE(inside(shown)) << shown.left << "," << shown.top;
    PostMessageW(list, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(list); }, 5s));
    EXPECT_EQ(Close(), 0);
    const std::string settings = ReadFileBytes(program_.Settings());
    for (const std::string& key :
         {"Bottom2=" + std::to_string(panel.bottom), "Left2=" + std::to_string(panel.left),
          "ClientWidth2=" + std::to_string(panel_client.right - panel_client.left),
          "Form3Top=" + std::to_string(shown.top), "Form3Left=" + std::to_string(shown.left)})
      EXPECT_NE(settings.find("\n" + key + "\r\n"), std::string::npos) << key << "\n" << settings;
  }
}

// Dragged by its background the panel moves; a double-click there toggles the
// compact display, and a close in it writes the framed window's geometry.
TEST_F(Panel, DraggingMovesAndDoubleClickTogglesTheCompactDisplay) {
  Start();
  const RECT before = ScreenRectOf(panel_);
  POINT spot = Background();
  Drag(spot.x, spot.y, spot.x - 120, spot.y + 60);
  // The move loop may still be catching up with the last moves.
  WaitUntil(
      [&] {
        const RECT now = ScreenRectOf(panel_);
        return std::abs(now.left - before.left + 120) <= 3 &&
               std::abs(now.top - before.top - 60) <= 3;
      },
      5s);
  const RECT framed = ScreenRectOf(panel_), client = ClientRectOnScreen(panel_);
  EXPECT_NEAR(framed.left - before.left, -120, 3);
  EXPECT_NEAR(framed.top - before.top, 60, 3);

  const int frame = GetSystemMetrics(SM_CYFRAME);
  const int title = GetSystemMetrics(SM_CYCAPTION) + frame;
  const RECT compact{framed.left + frame, framed.top + title,
                     framed.left + frame + client.right - client.left,
                     framed.top + title + client.bottom - client.top};
  for (const bool compacted : {true, false, true}) {
    spot = Background();
    Click(spot.x, spot.y, Mouse::kLeft, 2);
    ASSERT_TRUE(WaitUntil(
        [&] { return !(GetWindowLongW(panel_, GWL_STYLE) & WS_CAPTION) == compacted; }, 5s));
    Sleep(400);
    const RECT now = ScreenRectOf(panel_), expected = compacted ? compact : framed;
    EXPECT_EQ(std::vector({now.left, now.top, now.right, now.bottom}),
              std::vector({expected.left, expected.top, expected.right, expected.bottom}))
        << compacted;
  }
  Screenshot("panel-compact");
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(ReadFileBytes(program_.Settings()), GeometrySettings(framed, client));
}

// With the shipped templates, every caption of both windows fits its button in
// the font the control holds, and one face serves every control.
TEST_F(Panel, ShippedCaptionsFitTheirButtonsInBothWindows) {
  StageProgram(program_);
  WriteFileBytes(program_.Settings(), kBom + "[System]\r\nedtTxtVisible=1\r\n");
  ASSERT_NE(panel_ = StartPanel(program_, app_), nullptr);
  ClickCenter(FindChildByText(panel_, L"一覧"));
  HWND list = WaitForProcessWindow(app_.Id(), kListWindowClass, 10s);
  ASSERT_NE(list, nullptr);
  MoveMouse(4, GetSystemMetrics(SM_CYSCREEN) - 4);  // no hint over the buttons
  Sleep(500);
  Screenshot("shipped-captions");

  std::vector<HWND> controls;
  const auto add_buttons = [&](HWND window) {
    const std::size_t before = controls.size();
    for (HWND child = nullptr; (child = FindWindowExW(window, child, L"Button", nullptr));)
      if (!WindowText(child).empty()) controls.push_back(child);
    return controls.size() - before;
  };
  EXPECT_EQ(add_buttons(panel_), 66u) << "60 push buttons and 6 radio buttons";
  EXPECT_EQ(add_buttons(list), 2u);
  // Last, the free-text box: the same face, at its own size.
  controls.push_back(FindWindowExW(panel_, nullptr, L"Edit", nullptr));
  ASSERT_NE(controls.back(), nullptr);
  const std::vector<Caption> captions = MeasureCaptions(panel_, controls);
  ASSERT_EQ(captions.size(), controls.size()) << "the probe could not be hooked";
  const std::wstring face = captions.front().face;
  ASSERT_FALSE(face.empty()) << "the control's font could not be read";
  Caption tightest = captions.front();
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const Caption& caption = captions[i];
    EXPECT_EQ(caption.face, face) << Utf8(caption.text);
    if (i + 1 == captions.size()) break;
    EXPECT_LE(caption.needed, caption.room)
        << Utf8(caption.text) << " in " << Utf8(face) << " is cut";
    if (caption.room - caption.needed < tightest.room - tightest.needed) tightest = caption;
  }
  std::printf("face %s, tightest caption %s: %ld of %ld pixels\n", Utf8(face).c_str(),
              Utf8(tightest.text).c_str(), tightest.needed, tightest.room);
  EXPECT_EQ(Close(), 0);
}

// The party box lies over the list button's corner and takes the presses on
// its square; labels take theirs and do nothing; a button whose hint is empty
// shows the window's.
TEST_F(Panel, PartyBoxLabelsAndHintsTakeTheirOwnPresses) {
  // A start stopped by a settings file that is not UTF-8 leaves a box that
  // ticks all the same.
  for (bool stopped : {true, false}) {
    ASSERT_NO_FATAL_FAILURE(Start(kButtons + "[空ヒント]\r\n",
                                  stopped ? "[System]\r\nLeft2=\x82\xA0\r\n" : kBom, stopped));
    HWND party = GetDlgItem(panel_, ids::kPartyBox);
    const RECT client = ClientRectOnScreen(panel_);
    for (const LRESULT expected : {BST_CHECKED, BST_UNCHECKED}) {
      Click(client.left + 8, client.top + 8);
      EXPECT_TRUE(WaitUntil([&] { return SendMessageW(party, BM_GETCHECK, 0, 0) == expected; }, 5s))
          << stopped;
    }
    Sleep(300);
    EXPECT_EQ(FindProcessWindow(app_.Id(), kListWindowClass), nullptr) << "the box's square only";
    if (stopped) app_.Kill();
  }

  HWND label = GetDlgItem(panel_, ids::kPanelLabel + 1);
  const RECT before = ScreenRectOf(panel_);
  const RECT on = ScreenRectOf(label);
  const POINT spot{on.left + 20, (on.top + on.bottom) / 2};
  Click(spot.x, spot.y, Mouse::kLeft, 2);
  Drag(spot.x, spot.y, spot.x - 80, spot.y + 40);
  Sleep(500);
  EXPECT_NE(GetWindowLongW(panel_, GWL_STYLE) & WS_CAPTION, 0) << "no compact display";
  EXPECT_EQ(ScreenRectOf(panel_).left, before.left) << "no drag";
  EXPECT_EQ(ScreenRectOf(panel_).top, before.top);

  // The window's hint, not an empty one, over the button of the empty hint.
  const RECT fourth = ScreenRectOf(Button(4));
  MoveMouse((fourth.left + fourth.right) / 2, (fourth.top + fourth.bottom) / 2);
  std::wstring tip;
  WaitUntil(
      [&] { return !(tip = WindowText(FindProcessWindow(app_.Id(), TOOLTIPS_CLASSW))).empty(); },
      5s);
  Screenshot("panel-hint");
  EXPECT_EQ(tip, L"クリックでつまむと移動 / ダブルクリックでコンパクト表示切替");

  const RECT list_button = ScreenRectOf(Button(0));
  Click(list_button.right - 10, (list_button.top + list_button.bottom) / 2);
  EXPECT_NE(WaitForProcessWindow(app_.Id(), kListWindowClass, 5s), nullptr);
  EXPECT_EQ(Close(), 0);
}

// A settings file held by another program: the first close keeps the panel,
// the second shows the error again and ends; the file is never touched.
TEST_F(Panel, CloseThatCannotSaveKeepsThePanelOnceThenEnds) {
  const std::string settings = kBom + "[System]\r\nLeft2=40\r\n";
  Start(kButtons, settings);
  HANDLE held = CreateFileW(program_.Settings().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PostMessageW(panel_, WM_CLOSE, 0, 0);
  const std::wstring text = AnswerBox();
  EXPECT_TRUE(text.starts_with(L"ファイル ")) << Utf8(text);
  Sleep(500);
  EXPECT_TRUE(IsWindow(panel_)) << "the first failed close keeps the panel";
  PostMessageW(panel_, WM_CLOSE, 0, 0);
  EXPECT_EQ(AnswerBox(), text);
  EXPECT_EQ(app_.WaitExit(20s), 0);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(program_.Settings()), settings);
}

}  // namespace
}  // namespace quillomi::e2e
