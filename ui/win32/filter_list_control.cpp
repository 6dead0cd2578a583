#include "ui/win32/filter_list_control.h"

#include <algorithm>

#include "res/identities.h"
#include "ui/layout.h"

namespace quillomi::ui::win32 {

namespace {

constexpr int kGapBelowFilterBox = 2;
constexpr int kIconLeft = 2;
constexpr int kTextLeft = 20;  // 2 pixels after the icon

LRESULT Send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return SendMessageW(window, message, wparam, lparam);
}

}  // namespace

// Rows as at 96 DPI until the window sets the item height.
FilterListControl::FilterListControl(platform::Platform& platform)
    : Window(platform), entries_(platform.text), row_height_(ListRowHeight(ListItemHeight(96))) {}

void FilterListControl::Create(HWND parent, HFONT font, HIMAGELIST icons) {
  font_ = font;
  icons_ = icons;
  RegisterWindowClass(ids::kFilterListClass, 0, LoadCursorW(nullptr, IDC_HAND),
                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, nullptr);
  CreateWindowOfClass(ids::kFilterListClass, u"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0,
                      parent);

  TEXTMETRICW metrics{};
  {
    const WindowDc dc(hwnd_);
    const SelectedObject selected(dc.get(), font_);
    GetTextMetricsW(dc.get(), &metrics);
  }
  filter_box_height_ = metrics.tmHeight + 8;  // the sunken frame and the margins

  filter_box_ = AddControl(WC_EDITW, u"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                           WS_EX_CLIENTEDGE, 0, 0, 0, 0, ids::kFilterBox);
  find_button_ =
      AddControl(WC_BUTTONW, u"", WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, 0, ids::kFindButton);
  rows_ = AddControl(WC_LISTBOXW, u"",
                     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED |
                         LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                     WS_EX_CLIENTEDGE, 0, 0, 0, 0, ids::kRows);
  Send(filter_box_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Send(rows_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Subclass(filter_box_, [this](HWND, UINT message, WPARAM wparam, LPARAM) {
    return FilterBoxMessage(message, wparam);
  });
  Subclass(rows_, [this](HWND, UINT message, WPARAM wparam, LPARAM lparam) {
    return RowsMessage(message, wparam, lparam);
  });
}

void FilterListControl::LayOut() {
  if (!rows_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int button = filter_box_height_;  // square
  const int rows_top = filter_box_height_ + kGapBelowFilterBox;
  SetWindowPos(filter_box_, nullptr, 0, 0, std::max(0L, client.right - button), filter_box_height_,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(find_button_, nullptr, std::max(0L, client.right - button), 0, button,
               filter_box_height_, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(rows_, nullptr, 0, rows_top, client.right, std::max(0L, client.bottom - rows_top),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FilterListControl::SetItemHeight(int item_height) {
  row_height_ = ListRowHeight(item_height);
  Send(rows_, LB_SETITEMHEIGHT, 0, MAKELPARAM(row_height_, 0));
  InvalidateRect(rows_, nullptr, TRUE);
}

std::optional<std::size_t> FilterListControl::SelectedRow() const {
  const LRESULT row = Send(rows_, LB_GETCURSEL);
  if (row < 0 || static_cast<std::size_t>(row) >= entries_.RowCount()) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<std::size_t> FilterListControl::SelectedEntry() const {
  const auto row = SelectedRow();
  if (!row) return std::nullopt;
  return entries_.EntryIndexOfRow(*row);
}

void FilterListControl::Assign(phrases::PhraseEntries entries) {
  // Rows that match the entries held, even after a failed filtering.
  try {
    entries_.Assign(std::move(entries));
  } catch (...) {
    ShowRows(std::nullopt);
    throw;
  }
  ShowRows(std::nullopt);
}

void FilterListControl::ApplyFilter(std::u16string_view filter_text) {
  // A filter clears the selection; showing every entry keeps it on its entry.
  const auto kept = filter_text.empty() ? SelectedEntry() : std::nullopt;
  entries_.SetFilter(filter_text);
  ShowRows(kept);
  InvalidateRect(find_button_, nullptr, FALSE);
}

void FilterListControl::ShowRows(std::optional<std::size_t> selected_entry) {
  Send(rows_, LB_SETCOUNT, entries_.RowCount());
  const std::size_t row = selected_entry.value_or(entries_.RowCount());
  if (row < entries_.RowCount() && entries_.EntryIndexOfRow(row) == row) {
    Send(rows_, LB_SETCURSEL, row);
  } else {
    // The keyboard starts on the first row, not where the old selection was:
    // the first Down or Home acts on the row the player sees at the top.
    if (entries_.RowCount() > 0) Send(rows_, LB_SETCURSEL, 0);
    Send(rows_, LB_SETCURSEL, static_cast<WPARAM>(-1));
    Send(rows_, LB_SETTOPINDEX, 0);
  }
  InvalidateRect(rows_, nullptr, TRUE);
}

void FilterListControl::Notify() {
  const auto entry = SelectedEntry();
  if (entry && on_click) on_click(entries_.EntryText(*entry));
}

std::optional<LRESULT> FilterListControl::FilterBoxMessage(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wparam == VK_TAB) {
        SetFocus(rows_);
        return 0;
      }
      if (wparam == VK_ESCAPE) {
        emptying_ = true;
        SetWindowTextW(filter_box_, L"");
        emptying_ = false;
        FilterTextChanged();
        return 0;
      }
      break;
    case WM_CHAR:
      // Keys the box has no use for would only beep.
      if (wparam == L'\t' || wparam == 0x1B || wparam == L'\r' || wparam == L'\n') return 0;
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::optional<LRESULT> FilterListControl::RowsMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The high word tells whether the point is on the item, not only near it.
      const auto hit = static_cast<DWORD>(Send(rows_, LB_ITEMFROMPOINT, 0, lparam));
      const LRESULT result = DefSubclassProc(rows_, message, wparam, lparam);
      clicks_.Pressed(HIWORD(hit) == 0);
      return result;
    }
    case WM_LBUTTONUP: {
      const bool due = clicks_.Released();
      const LRESULT result = DefSubclassProc(rows_, message, wparam, lparam);
      if (due) Notify();
      return result;
    }
    case WM_CAPTURECHANGED:
      clicks_.Cancelled();
      return std::nullopt;
    case WM_KEYDOWN: {
      if (wparam == VK_TAB) {
        SetFocus(filter_box_);
        return 0;
      }
      const auto before = SelectedRow();
      const LRESULT result = DefSubclassProc(rows_, message, wparam, lparam);
      if (RowClickRule::KeyMovedSelection(before, SelectedRow())) Notify();
      return result;
    }
    case WM_CHAR:
      if (wparam == L'\t') return 0;
      break;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

void FilterListControl::DrawRow(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.RowCount()) return;
  // The caret row's focus rectangle shows where the keyboard is; drawn by
  // inverting, it goes as it came.
  if (item.itemAction == ODA_FOCUS) {
    DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;
  const std::size_t entry = entries_.EntryIndexOfRow(item.itemID);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (icons_)
    ImageList_Draw(icons_, entries_.IconOf(entry), dc, row.left + kIconLeft, row.top, ILD_NORMAL);
  const std::u16string_view text = entries_.EntryText(entry);
  const SelectedObject font(dc, font_);
  const COLORREF old_colour =
      SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  RECT text_box = row;
  text_box.left += kTextLeft;
  // Drawn plainly, as the raw line is: no prefix characters, no markup.
  DrawTextW(dc, W(text.data()), static_cast<int>(text.size()), &text_box,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
  SetBkMode(dc, old_mode);
  SetTextColor(dc, old_colour);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

// A flat toggle: lit and framed while pressed, bare face while released, with
// a magnifying glass drawn to its size.
void FilterListControl::DrawFindButton(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT box = item.rcItem;
  const bool down = find_.Pressed() || (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &box, GetSysColorBrush(down ? COLOR_3DHILIGHT : COLOR_BTNFACE));
  if (down) FrameRect(dc, &box, GetSysColorBrush(COLOR_3DSHADOW));

  const int size = std::min(box.right - box.left, box.bottom - box.top);
  const int left = box.left + (box.right - box.left - size) / 2 + (down ? 1 : 0);
  const int top = box.top + (box.bottom - box.top - size) / 2 + (down ? 1 : 0);
  const int lens = size * 9 / 20;  // the lens' diameter
  const int lens_left = left + size / 5;
  const int lens_top = top + size / 5;
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  UniqueGdiObject rim(CreatePen(PS_SOLID, std::max(2, size / 12), ink));
  UniqueGdiObject handle(CreatePen(PS_SOLID, std::max(3, size / 7), ink));
  const SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
  {
    const SelectedObject pen(dc, rim.get());
    Ellipse(dc, lens_left, lens_top, lens_left + lens, lens_top + lens);
  }
  const SelectedObject pen(dc, handle.get());
  // From the lens' lower right, at 45 degrees, towards the corner.
  const int start = lens * 85 / 100;
  MoveToEx(dc, lens_left + start, lens_top + start, nullptr);
  LineTo(dc, left + size * 4 / 5, top + size * 4 / 5);
}

LRESULT FilterListControl::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (measure->CtlType == ODT_LISTBOX) measure->itemHeight = static_cast<UINT>(row_height_);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->hwndItem == rows_) DrawRow(*item);
      if (item->hwndItem == find_button_) DrawFindButton(*item);
      return TRUE;
    }
    case WM_COMMAND: {
      const auto from = reinterpret_cast<HWND>(lparam);
      const auto code = HIWORD(wparam);
      if (from == filter_box_ && code == EN_CHANGE && !emptying_) FilterTextChanged();
      // A quick second click comes as a double-click: it toggles again.
      if (from == find_button_ && (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
        if (const auto filter = find_.Clicked(TextOf(filter_box_))) ApplyFilter(*filter);
        SetFocus(filter_box_);
      }
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace quillomi::ui::win32
