#include "ui/win32/list_window.h"

#include <cstdint>
#include <utility>

#include "res/identities.h"
#include "ui/icon_tiles.h"

namespace quillomi::ui::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST;

constexpr std::u16string_view kBtnEditCaption = u"リスト編集";
constexpr std::u16string_view kBtnReloadCaption = u"リスト再読込";
constexpr std::u16string_view kLabel1Caption = u"[]内はコピーされません";
constexpr int kButtonPadding = 10;

void Place(HWND control, const ControlBox& box) {
  SetWindowPos(control, nullptr, box.left, box.top, box.width, box.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// ImageList1: icons 0 to 9 at their indices, drawn once at start.
UniqueImageList MakeIconTiles() {
  UniqueImageList list(
      ImageList_Create(kIconTileSize, kIconTileSize, ILC_COLOR24, kIconTileCount, 0));
  if (!list) return list;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kIconTileSize;
  info.bmiHeader.biHeight = -kIconTileSize;  // top row first, as the tile is
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  for (int index = 0; index < kIconTileCount; ++index) {
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // A missing tile would shift the ones after it: no icons rather than wrong ones.
    if (!bitmap || !bits) return UniqueImageList();
    auto* pixel = static_cast<std::uint8_t*>(bits);
    for (const Rgb& colour : MakeIconTile(index)) {
      *pixel++ = colour.b;
      *pixel++ = colour.g;
      *pixel++ = colour.r;
      *pixel++ = 0;
    }
    ImageList_Add(list.get(), static_cast<HBITMAP>(bitmap.get()), nullptr);
  }
  return list;
}

}  // namespace

ListWindow::ListWindow(platform::Platform& platform, HWND application_window,
                       ui::PanelHandlers& panel)
    : WindowFrame(platform),
      application_window_(application_window),
      panel_(panel),
      lb1_(platform),
      handlers_(platform, *this, lb1_, panel) {}

ListWindow::~ListWindow() = default;

bool ListWindow::Create() {
  font_ = MakeFont(13);
  button_font_ = MakeFont(12);
  ImageList1_ = MakeIconTiles();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto icon = [&](int metric_x, int metric_y) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(ids::kListIcon), IMAGE_ICON,
                   GetSystemMetrics(metric_x), GetSystemMetrics(metric_y), LR_DEFAULTCOLOR)));
  };
  icon_ = icon(SM_CXICON, SM_CYICON);
  small_icon_ = icon(SM_CXSMICON, SM_CYSMICON);
  const bool created = Reported([&] {
    RegisterWindowClass(ids::kListWindowClass, 0, LoadCursorW(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon_.get(),
                        small_icon_.get());
    RECT designed{0, 0, kListWindowDesignClient.width, kListWindowDesignClient.height};
    AdjustWindowRectEx(&designed, kStyle, FALSE, kExStyle);
    CreateWindowOfClass(ids::kListWindowClass, std::u16string(kForm3Caption), kStyle, kExStyle, 0,
                        0, designed.right - designed.left, designed.bottom - designed.top,
                        application_window_);
  });
  if (!created) return false;
  CreateControls();
  // The window is still created, as far as its creation got.
  Reported([&] { handlers_.FormCreate(panel_.sListText1()); });
  return true;
}

void ListWindow::CreateControls() {
  lb1_.Create(hwnd_, static_cast<HFONT>(font_.get()), ImageList1_.get());
  SetWindowLongPtrW(lb1_.hwnd(), GWLP_ID, ids::kLb1);
  lb1_.on_click = [this](std::u16string_view text) { handlers_.lb1ListClick(text); };

  const ListWindowLayout design = LayOutListWindow(kListWindowDesignClient);
  const auto button = [&](std::u16string_view caption, const ControlBox& box, int id) {
    // Not tab stops: Tab goes between the filter box and the rows alone.
    HWND control = AddControl(WC_BUTTONW, std::u16string(caption), WS_VISIBLE | BS_PUSHBUTTON, 0,
                              box.left, box.top, box.width, box.height, id);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(button_font_.get()), FALSE);
    // A press takes the focus: once it is over, clicked or slid off, the
    // focus goes back where it came from.
    Subclass(
        control,
        [this](HWND self, UINT message, WPARAM wparam, LPARAM lparam) -> std::optional<LRESULT> {
          if (message == WM_SETFOCUS) FocusCameFrom(reinterpret_cast<HWND>(wparam));
          if (message != WM_LBUTTONUP && message != WM_CAPTURECHANGED) return std::nullopt;
          const LRESULT result = DefSubclassProc(self, message, wparam, lparam);
          if (GetFocus() == self) SetFocus(FocusToRestore());
          return result;
        });
    return control;
  };
  btnEDIT_ = button(kBtnEditCaption, design.btnEDIT, ids::kBtnEdit);
  btnRELOAD_ = button(kBtnReloadCaption, design.btnRELOAD, ids::kBtnReload);
  Label1_ = AddControl(WC_STATICW, std::u16string(kLabel1Caption),
                       WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, design.Label1.left, design.Label1.top,
                       design.Label1.width, design.Label1.height, ids::kLabel1);
  SendMessageW(Label1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  // What the captions need in the font at hand, which may be wider than the
  // designed one; a button's frame and margins take kButtonPadding more.
  const WindowDc dc(hwnd_);
  const auto width_of = [&](std::u16string_view text, HGDIOBJ font) {
    const SelectedObject selected(dc.get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), W(text.data()), static_cast<int>(text.size()), &extent);
    return static_cast<int>(extent.cx);
  };
  caption_widths_ = {width_of(kBtnEditCaption, button_font_.get()) + kButtonPadding,
                     width_of(kBtnReloadCaption, button_font_.get()) + kButtonPadding,
                     width_of(kLabel1Caption, font_.get())};
  FormResize();
}

void ListWindow::FormResize() {
  if (!lb1_.hwnd()) return;
  const RECT client = ClientRect(hwnd_);
  const ListWindowLayout layout = LayOutListWindow(
      {static_cast<int>(client.right), static_cast<int>(client.bottom)}, caption_widths_);
  Place(lb1_.hwnd(), layout.lb1);
  Place(btnEDIT_, layout.btnEDIT);
  Place(btnRELOAD_, layout.btnRELOAD);
  Place(Label1_, layout.Label1);
}

void ListWindow::ShowFromPanel() {
  ShowWindow(hwnd_, SW_SHOW);
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  // Showing a shown window does nothing: one under the panel comes forward
  // too, ready for typing.
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
  SetFocus(lb1_.FilterBox());
}

LRESULT ListWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        if (LOWORD(wparam) == ids::kBtnEdit) handlers_.btn_EDITClick(Handle(hwnd_));
        if (LOWORD(wparam) == ids::kBtnReload) handlers_.btn_RELOADClick();
      }
      return 0;
    case WM_CLOSE:
      // Disabled, a message box is open: nothing closes under it.
      if (!IsWindowEnabled(hwnd_)) return 0;
      // A first failed save keeps it shown; the barrier reports it.
      if (handlers_.FormClose()) ShowWindow(hwnd_, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace quillomi::ui::win32
