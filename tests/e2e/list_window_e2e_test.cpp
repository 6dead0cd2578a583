// The list window of the real program under Wine, driven with real input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/identities.h"
#include "tests/e2e/e2e_support.h"

namespace quillomi::e2e {
namespace {

const std::wstring kListName = L"QLMO_一覧_ユーザー設定.txt";
const std::wstring kMappingError =
    L"Unicode 文字のマッピングがターゲットのマルチバイト コード ページに存在しません.";
const std::wstring kEditMessage =
    L"リストの編集を行います。\n\r\n\r"
    L"メモ帳が起動するので内容を編集したら、\n\r"
    L"上書き保存し、メモ帳を閉じてください。\n\r"
    L"その後、[リスト再読込]をクリックすると、\n\r"
    L"変更内容がリストに反映されます。\n\r\n\r"
    L"【留意事項】\n\r"
    L"1. 行頭を◆で始めることでアイコンの色が変わります。\n\r"
    L"2. []内の文字はコピーされません。説明用にどうぞ。";

// The tiles' average colours by icon number.
const COLORREF kIconColours[] = {
    RGB(255, 255, 255), RGB(50, 210, 54),   RGB(2, 124, 207),  RGB(255, 194, 32), RGB(179, 82, 196),
    RGB(215, 52, 70),   RGB(164, 164, 164), RGB(51, 162, 167), RGB(255, 121, 19), RGB(56, 56, 56)};

// Entries with their icon numbers: lines above the first heading take 1, each
// heading starts the next number.
struct Line {
  std::wstring text;
  int icon;
};
const std::vector<Line> kList = {
    {L"[あいさつ] こんにちは", 1},
    {L"[あいさつ] またね", 1},
    {L"◆戦闘", 2},
    {L"[援護] heal me", 2},
    {L"[援護] HEAL ALL", 2},
    {L"[撤退]\u3000逃げて！", 2},
    {L"[注意]◆PKが来た", 3},
    {L"[取引] 買います", 3},
    {L"◆雑談", 4},
    {L"[雑談] よろしく", 4},
    {L"◆買い物", 5},
    {L"[買い物] いくら？", 5},
    {L"◆移動", 6},
};

std::string ListBytes(const std::vector<Line>& lines) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto& line : lines) bytes += Utf8(line.text) + "\r\n";
  return bytes;
}

class ListWindowEndToEnd : public testing::Test, protected Session {
 protected:
  void SetUp() override {
    StageProgram(program_, false);
    std::string buttons;
    for (int i = 1; i <= 59; ++i) buttons += "[b" + std::to_string(i) + "] phrase\r\n";
    WriteFileBytes(program_.File(L"Quillomi_Btn.dll"), buttons);
    WriteFileBytes(program_.File(L"Quillomi_Lst.dll"), ListBytes(kList));
    WriteFileBytes(program_.File(kListName), ListBytes(kList));
  }

  // The panel, and the list window opened from it.
  void Start() {
    ASSERT_NE(panel_ = StartPanel(program_, app_), nullptr) << "the panel did not open";
    // Out of the list window's way: each delivery raises the panel, and it
    // opens across the middle of the screen where the list window opens too.
    SetWindowPos(panel_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return ScreenRectOf(panel_).top == 0; }, 5s));
    EXPECT_EQ(FindProcessWindow(app_.Id(), kListWindowClass), nullptr) << "hidden until asked for";
    OpenList();
  }

  // The panel's list button; the list window, shown.
  void OpenList() {
    HWND button = FindChildByText(panel_, L"一覧");
    ASSERT_NE(button, nullptr);
    ClickCenter(button);
    list_ = WaitForProcessWindow(app_.Id(), kListWindowClass, 10s);
    ASSERT_NE(list_, nullptr) << "the list window did not show";
    HWND lb1 = FindWindowExW(list_, nullptr, ClassName(ids::kFilterListClass), nullptr);
    ASSERT_NE(lb1, nullptr);
    filter_box_ = FindWindowExW(lb1, nullptr, L"Edit", nullptr);
    rows_ = FindWindowExW(lb1, nullptr, L"ListBox", nullptr);
    ASSERT_TRUE(filter_box_ && rows_);
  }

  int RowCount() const { return static_cast<int>(SendMessageW(rows_, LB_GETCOUNT, 0, 0)); }
  bool WaitForRows(int count) {
    return WaitUntil([&] { return RowCount() == count; }, 5s);
  }

  // A point inside a shown row, right of its icon.
  POINT RowPoint(int row) const {
    const RECT client = ClientRectOnScreen(rows_);
    return {client.left + 60, client.top + row * 20 + 10};
  }
  void ClickRow(int row) {
    const POINT at = RowPoint(row);
    Click(at.x, at.y);
  }
  // The caption: activates the window without touching a control.
  void ClickCaption(HWND window) {
    const RECT outer = ScreenRectOf(window);
    const RECT client = ClientRectOnScreen(window);
    Click(outer.left + 40, (outer.top + client.top) / 2);
  }

  // The deliveries made once the count-th is over: each presses V once, and
  // ends by raising the panel, before which input could go astray.
  std::size_t Deliveries(std::size_t count) {
    const auto made = [&] { return Events(log_, "hook down vk=0x56").size(); };
    WaitUntil([&] { return made() >= count; }, 10s);
    if (count > 0) WaitUntil([&] { return GetForegroundWindow() == panel_; }, 5s);
    Sleep(300);  // a surplus delivery would show by now
    return made();
  }

  // What the client's inner window found on the clipboard at each Ctrl+V.
  std::vector<std::string> Pastes() const { return Events(log_, "inner paste"); }

  std::string Settings() const { return ReadFileBytes(program_.Settings()); }

  HWND list_ = nullptr;
  HWND filter_box_ = nullptr;
  HWND rows_ = nullptr;
};

TEST_F(ListWindowEndToEnd, OpensAtTheDefaultPlaceWithColouredGroups) {
  ASSERT_NO_FATAL_FAILURE(Start());

  EXPECT_EQ(WindowText(list_), L"一覧\u3000(入力ボックスはフィルター機能です)");
  const RECT client = ClientRectOnScreen(list_);
  EXPECT_EQ(client.right - client.left, 372);
  EXPECT_EQ(client.bottom - client.top, 320);
  // The defaults come from the outer size at creation, when the client area
  // was the designed 356 wide: 16 pixels narrower than now.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT outer = ScreenRectOf(list_);
  const double created_width = outer.right - outer.left - 16;
  const double created_height = outer.bottom - outer.top;
  EXPECT_EQ(outer.left,
            static_cast<long>(std::floor((work.right - work.left) / 2.0 - created_width / 2)) + 50);
  EXPECT_EQ(
      outer.top,
      static_cast<long>(std::floor((work.bottom - work.top) / 2.0 - created_height / 2)) + 50);
  EXPECT_TRUE(GetWindowLongPtrW(list_, GWL_EXSTYLE) & WS_EX_TOPMOST);

  ASSERT_EQ(RowCount(), static_cast<int>(kList.size()));
  EXPECT_EQ(SendMessageW(rows_, LB_GETITEMHEIGHT, 0, 0), 20) << "16 at 96 DPI, rows hold the icon";
  const RECT rows = ClientRectOnScreen(rows_);
  const auto icon_centre = [&](std::size_t row) {
    return POINT{rows.left + 2 + 8, rows.top + static_cast<int>(row) * 20 + 8};
  };
  // The icon whose colour is nearest to the pixel shown.
  const auto shown_icon = [&](std::size_t row) {
    const POINT at = icon_centre(row);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    const auto distance = [&](COLORREF c) {
      const long dr = GetRValue(pixel) - GetRValue(c), dg = GetGValue(pixel) - GetGValue(c);
      const long db = GetBValue(pixel) - GetBValue(c);
      return dr * dr + dg * dg + db * db;
    };
    return std::ranges::min_element(kIconColours, {}, distance) - std::begin(kIconColours);
  };
  // The rows are painted a little after the window shows.
  WaitUntil([&] { return shown_icon(kList.size() - 1) == kList.back().icon; }, 5s);
  Screenshot("list-unfiltered");
  for (std::size_t row = 0; row < kList.size(); ++row) {
    EXPECT_EQ(WindowFromPoint(icon_centre(row)), rows_) << "row " << row << " is covered";
    EXPECT_EQ(shown_icon(row), kList[row].icon) << "row " << row;
  }
}

TEST_F(ListWindowEndToEnd, TypedFilterNarrowsTheRowsAndAClickSendsTheShownEntry) {
  ASSERT_TRUE(StartClient()) << "client did not start";
  ASSERT_NO_FATAL_FAILURE(Start());
  ClickCenter(filter_box_);
  TypeText(L"heal");
  ASSERT_TRUE(WaitForRows(2)) << RowCount();
  Screenshot("list-filtered");
  ClickRow(0);
  ASSERT_EQ(Deliveries(1), 1u);
  EXPECT_EQ(Pastes(), std::vector<std::string>{"inner paste \"heal me\""});

  // The find button: pressed by the typing; a click shows every entry and
  // keeps the text, another filters with it again.
  HWND find = FindWindowExW(GetParent(filter_box_), nullptr, L"Button", nullptr);
  ASSERT_NE(find, nullptr);
  ClickCenter(find);
  EXPECT_TRUE(WaitForRows(static_cast<int>(kList.size()))) << RowCount();
  EXPECT_EQ(WindowText(filter_box_), L"heal");
  ClickCenter(find);
  EXPECT_TRUE(WaitForRows(2)) << RowCount();

  // Esc empties the box and shows every entry again.
  ClickCenter(filter_box_);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitForRows(static_cast<int>(kList.size()))) << RowCount();
  EXPECT_EQ(WindowText(filter_box_), L"");

  // Operator characters are ordinary ones; "?" is one character.
  TypeText(L"!");
  EXPECT_TRUE(WaitForRows(0)) << RowCount();
  PressKey(VK_BACK);
  TypeText(L"逃げ?！");
  EXPECT_TRUE(WaitForRows(1)) << RowCount();

  // After a filter Tab goes to the rows, where the keyboard starts on the first
  // shown row wherever the last click was: Down or Home sends that row.
  std::size_t sent = 1;
  for (const WORD key : {WORD{VK_DOWN}, WORD{VK_HOME}}) {
    ClickCenter(filter_box_);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForRows(static_cast<int>(kList.size()))) << RowCount();
    ClickRow(11);
    ASSERT_EQ(Deliveries(++sent), sent);
    ClickCenter(filter_box_);
    TypeText(L"[");
    ASSERT_TRUE(WaitForRows(9)) << RowCount();
    PressKey(VK_TAB);
    PressKey(key);
    ASSERT_EQ(Deliveries(++sent), sent);
    EXPECT_EQ(Pastes().back(), "inner paste \"こんにちは\"") << key;
  }
}

TEST_F(ListWindowEndToEnd, AMillionEntriesLoadAndFilterAtOnce) {
  constexpr int kEntries = 1000000;
  std::string bytes;
  bytes.reserve(kEntries * 24);
  for (int i = 0; i < kEntries; ++i) {
    if (i % 1000 == 0) bytes += "\xE2\x97\x86group " + std::to_string(i / 1000) + "\r\n";
    bytes += "[n] phrase " + std::to_string(i) + "\r\n";
  }
  WriteFileBytes(program_.File(kListName), bytes);
  const int total = kEntries + kEntries / 1000;
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(RowCount(), total);
  ClickCenter(filter_box_);
  // How fast is the bench's to say (TypeToRepaint); here, that it is right.
  TypeText(L"phrase 77777");
  ASSERT_TRUE(WaitForRows(11)) << RowCount();  // 77777 and 777770 to 777779
  TypeText(L"7");
  ASSERT_TRUE(WaitForRows(1)) << RowCount();
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForRows(total)) << RowCount();
}

// A heading ("◆" at the start, or after a label) empties the clipboard and
// sends nothing; the same row twice sends twice, Down sends each new row.
TEST_F(ListWindowEndToEnd, HeadingsSendNothingAndEachClickOrDownSendsItsRow) {
  ASSERT_TRUE(StartClient()) << "client did not start";
  ASSERT_NO_FATAL_FAILURE(Start());
  for (int row : {2, 6}) {
    SetClipboardText(L"before");
    ClickRow(row);
    EXPECT_TRUE(WaitUntil([] { return ClipboardText().empty(); }, 5s)) << "row " << row;
  }
  EXPECT_EQ(Deliveries(0), 0u);
  EXPECT_TRUE(Events(log_, "hook").empty()) << "no key was sent";

  ClickRow(0);
  ASSERT_EQ(Deliveries(1), 1u);
  ClickRow(0);
  ASSERT_EQ(Deliveries(2), 2u);
  // Each delivery hands the focus to the client: the caption brings it back
  // to the rows, where it was.
  ClickCaption(list_);
  PressKey(VK_DOWN);
  ASSERT_EQ(Deliveries(3), 3u);
  ClickCaption(list_);
  PressKey(VK_DOWN);  // onto a heading: nothing is sent, the window keeps the focus
  EXPECT_TRUE(WaitUntil([] { return ClipboardText().empty(); }, 5s)) << "the heading empties it";
  PressKey(VK_DOWN);
  EXPECT_EQ(Deliveries(4), 4u);
  EXPECT_EQ(Pastes(),
            (std::vector<std::string>{"inner paste \"こんにちは\"", "inner paste \"こんにちは\"",
                                      "inner paste \"またね\"", "inner paste \"heal me\""}));
}

TEST_F(ListWindowEndToEnd, EditShowsItsMessageThenNotepadAndReloadShowsTheNewList) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ClickCenter(FindChildByText(list_, L"リスト編集"));
  HWND box = WaitForMessageBox(app_.Id(), 10s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), kEditMessage);
  EXPECT_EQ(WaitForNotepad(L"QLMO_", 0ms), nullptr) << "Notepad waits for the OK";
  PressOk(box);
  HWND notepad = WaitForNotepad(L"QLMO_", 15s);
  EXPECT_NE(notepad, nullptr) << "Notepad did not open the list";
  if (notepad) PostMessageW(notepad, WM_CLOSE, 0, 0);
  EXPECT_EQ(RowCount(), static_cast<int>(kList.size())) << "nothing is reloaded yet";

  // A filter in force applies to the new entries. Activated again, the
  // window types into the filter box where the focus was, not the button.
  ClickCaption(list_);
  TypeText(L"new");
  ASSERT_TRUE(WaitForRows(0));
  WriteFileBytes(
      program_.File(kListName),
      ListBytes({{L"◆new group", 1}, {L"[a] new one", 1}, {L"old", 1}, {L"[b] new two", 1}}));
  ClickCenter(FindChildByText(list_, L"リスト再読込"));
  EXPECT_TRUE(WaitForRows(3)) << RowCount();
  // The focus is back in the filter box, and Tab goes to the rows.
  TypeText(L"x");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(filter_box_) == L"newx"; }, 5s))
      << Utf8(WindowText(filter_box_));
  PressKey(VK_BACK);
  EXPECT_TRUE(WaitForRows(3)) << RowCount();
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(list_) == rows_; }, 5s));
  ClickCenter(filter_box_);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitForRows(4)) << RowCount();
  // A press slid off the button is no click, and the keyboard stays in the filter box.
  const RECT reload = ScreenRectOf(FindChildByText(list_, L"リスト再読込"));
  const RECT rows = ScreenRectOf(rows_);
  Drag((reload.left + reload.right) / 2, (reload.top + reload.bottom) / 2,
       (rows.left + rows.right) / 2, (rows.top + rows.bottom) / 2);
  TypeText(L"x");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(filter_box_) == L"x"; }, 5s));
}

TEST_F(ListWindowEndToEnd, CloseWritesTheFourKeysAndHidesTheWindow) {
  ASSERT_NO_FATAL_FAILURE(Start());
  SetWindowPos(list_, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return ScreenRectOf(list_).left == 100; }, 5s));
  ClickCaption(list_);
  PressKey(VK_F4, {VK_MENU});
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list_); }, 5s)) << "still shown";
  EXPECT_TRUE(IsWindow(list_)) << "hidden, not destroyed";
  const std::string settings = Settings();
  std::size_t at = 0;  // in this order
  for (const char* key : {"Form3Top=120\r\n", "Form3Left=100\r\n", "Form3ClientWidth=372\r\n",
                          "Form3ClientHeight=320\r\n"})
    ASSERT_NE(at = settings.find(key, at), std::string::npos) << key << settings;

  // Shown again, it is where it was closed.
  ASSERT_NO_FATAL_FAILURE(OpenList());
  EXPECT_EQ(ScreenRectOf(list_).left, 100);
  EXPECT_EQ(ScreenRectOf(list_).top, 120);

  // Closed minimized, it keeps the place it is restored to.
  ShowWindow(list_, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(list_) != FALSE; }, 5s));
  PostMessageW(list_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list_); }, 5s)) << "still shown";
  ASSERT_EQ(Close(), 0);
  ASSERT_NE(panel_ = StartPanel(program_, app_), nullptr);
  ASSERT_NO_FATAL_FAILURE(OpenList());
  const RECT reopened = ScreenRectOf(list_);
  const RECT client = ClientRectOnScreen(list_);
  EXPECT_EQ(reopened.left, 100) << Settings();
  EXPECT_EQ(reopened.top, 120) << Settings();
  EXPECT_EQ(client.right - client.left, 372);
  EXPECT_EQ(client.bottom - client.top, 320);
}

TEST_F(ListWindowEndToEnd, CloseThatCannotSaveReportsItAndKeepsTheWindowShownOnce) {
  // A folder where the settings file would go: it reads as missing, and
  // cannot be replaced.
  ASSERT_TRUE(CreateDirectoryW(program_.Settings().c_str(), nullptr));
  ASSERT_NO_FATAL_FAILURE(Start());
  for (const bool stays : {true, false}) {
    ClickCaption(list_);
    PressKey(VK_F4, {VK_MENU});
    const std::wstring text = AnswerBox();
    EXPECT_TRUE(text.starts_with(L"ファイル \"" + program_.Settings() + L"\" を作成できません。"))
        << Utf8(text);
    if (stays) {
      Sleep(300);
      EXPECT_TRUE(IsWindowVisible(list_)) << "the first close stopped before hiding";
    } else {
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(list_); }, 5s))
          << "the second close hides it all the same";
    }
  }
  app_.Kill();
  RemoveDirectoryW(program_.Settings().c_str());  // the scratch folder goes with its files only
}

// The list button brings the covered list window forward, focus in its filter
// box; the panel's close with the list open writes none of the list's keys.
TEST_F(ListWindowEndToEnd, TheListButtonBringsTheCoveredWindowForwardToItsFilterBox) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // Partly under the panel, clear of its list button.
  SetWindowPos(list_, nullptr, 300, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return ScreenRectOf(list_).left == 300; }, 5s));
  ClickCaption(list_);
  PressKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(list_) == rows_; }, 5s));
  const POINT overlap{500, 150};
  const auto on_top = [&] { return GetAncestor(WindowFromPoint(overlap), GA_ROOT); };
  ClickCaption(panel_);
  ASSERT_TRUE(WaitUntil([&] { return on_top() == panel_; }, 5s));

  ClickCenter(FindChildByText(panel_, L"一覧"));
  EXPECT_TRUE(WaitUntil([&] { return on_top() == list_; }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == list_; }, 5s));
  EXPECT_EQ(FocusOf(list_), filter_box_);
  TypeText(L"heal");
  EXPECT_TRUE(WaitForRows(2)) << RowCount();

  ClickCaption(panel_);
  PressKey(VK_F4, {VK_MENU});
  ASSERT_EQ(app_.WaitExit(10s), 0);
  const std::string settings = Settings();
  EXPECT_NE(settings.find("Bottom2="), std::string::npos) << settings;
  EXPECT_EQ(settings.find("Form3"), std::string::npos) << settings;
}

// Without a client a click opens the not-found box about the clipboard's text:
// until its OK neither a click on the list nor a task-bar close does anything.
TEST_F(ListWindowEndToEnd, AMessageBoxHoldsOffEveryOtherWindowUntilItsOk) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND application = FindProcessWindow(app_.Id(), ClassName(ids::kApplicationClass), false);
  ASSERT_NE(application, nullptr);
  // Clear of the box, which opens in the middle of the screen.
  SetWindowPos(list_, nullptr, 40, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return ScreenRectOf(list_).left == 40; }, 5s));
  ClickRow(0);
  HWND box = WaitForMessageBox(app_.Id(), 10s);
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(ClipboardText(), L"こんにちは");

  ASSERT_EQ(GetAncestor(WindowFromPoint(RowPoint(1)), GA_ROOT), list_) << "the box covers the row";
  ClickRow(1);
  PostMessageW(application, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageW(application, WM_CLOSE, 0, 0);
  Sleep(1500);  // a second delivery or a close would have shown by now
  EXPECT_EQ(TopWindows(L"#32770", app_.Id()).size(), 1u);
  EXPECT_EQ(ClipboardText(), L"こんにちは") << "what the box speaks of is kept";
  EXPECT_TRUE(IsWindow(panel_)) << "closed under the box";
  EXPECT_TRUE(IsWindow(box));

  PressOk(box);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5s));
  EXPECT_TRUE(app_.Running());
  for (HWND window : {panel_, list_, application}) EXPECT_TRUE(IsWindowEnabled(window));
  ClickRow(1);
  box = WaitForMessageBox(app_.Id(), 10s);
  ASSERT_NE(box, nullptr) << "the list answers again";
  EXPECT_EQ(ClipboardText(), L"またね");
  PressOk(box);
}

TEST_F(ListWindowEndToEnd, ListInALegacyCodePageReportsTheMappingErrorAndShowsNoRows) {
  WriteFileBytes(program_.File(kListName), "[\x88\xa5\x8e\x41] \x82\xb1\x82\xf1\r\n");
  app_ = program_.Start();
  EXPECT_EQ(AnswerBox(20s), kMappingError);
  panel_ = WaitForProcessWindow(app_.Id(), kPanelClass, 10s);
  ASSERT_NE(panel_, nullptr);
  ASSERT_NO_FATAL_FAILURE(OpenList());
  EXPECT_EQ(RowCount(), 0);
}

}  // namespace
}  // namespace quillomi::e2e
