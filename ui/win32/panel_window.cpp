#include "ui/win32/panel_window.h"

#include <algorithm>

#include "platform/utf.h"
#include "res/identities.h"

namespace quillomi::ui::win32 {

namespace {

constexpr COLORREF kCream = RGB(255, 251, 240);
constexpr int kDesignedClientWidth = 990;
constexpr int kDesignedClientHeight = 193;
constexpr int kLabelHeight = 15;
constexpr int kEdtTxtDesignedWidth = 823;

constexpr DWORD kSizeableStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kBorderlessStyle = WS_POPUP | WS_CLIPCHILDREN;
// The party box lies over the list button's corner: siblings clip each other
// so that the box, above the button, is drawn and hit whole.
constexpr DWORD kChild = WS_CLIPSIBLINGS;

// The button a press or double-click message is of, if it is one.
std::optional<PressedButton> MouseButtonPressed(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return PressedButton::kLeft;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return PressedButton::kRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return PressedButton::kMiddle;
    default:
      return std::nullopt;
  }
}

}  // namespace

PanelWindow::PanelWindow(platform::Platform& platform, PanelHooks hooks)
    : WindowFrame(platform), hooks_(std::move(hooks)), handlers_(platform, *this) {}

PanelWindow::~PanelWindow() = default;

bool PanelWindow::Create() {
  font_ = MakeFont(12);
  bold_font_ = MakeFont(12, true);
  background_ = UniqueGdiObject(CreateSolidBrush(kCream));
  const bool created = Reported([&] {
    RegisterWindowClass(ids::kPanelClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_HAND),
                        static_cast<HBRUSH>(background_.get()),
                        LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids::kApplicationIcon)),
                        nullptr);
    // Designed: framed, 990 x 193 client pixels, at the top-left of the screen.
    RECT designed{0, 0, kDesignedClientWidth, kDesignedClientHeight};
    AdjustWindowRectEx(&designed, kSizeableStyle, FALSE, WS_EX_TOPMOST);
    CreateWindowOfClass(ids::kPanelClass, std::u16string(kForm1Caption), kSizeableStyle,
                        WS_EX_TOPMOST, 0, 0, designed.right - designed.left,
                        designed.bottom - designed.top, hooks_.application_window);
  });
  if (!created) return false;
  if (hooks_.window_created) hooks_.window_created(hwnd_);
  CreateControls();
  // A creation that throws still opens the window, as far as it got.
  bool ends = false;
  Reported([&] { ends = !handlers_.FormCreate(); });
  if (ends) return false;
  // One layout for the size the placement chose, then one show without the
  // synchronous erase of every themed button: the loop paints them all at once.
  laying_out_ = false;
  FormResize();
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOREDRAW);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  PostMessageW(hwnd_, ids::kStartHints, 0, 0);
  return true;
}

HWND PanelWindow::AddPanelControl(const wchar_t* class_name, const std::u16string& text,
                                  DWORD style, DWORD ex_style, RECT box, int id, HGDIOBJ font) {
  HWND control = AddControl(class_name, text, style | kChild, ex_style, box.left, box.top,
                            box.right, box.bottom, id);
  if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  tips_.Add(control);
  return control;
}

void PanelWindow::CreateControls() {
  tips_.Attach(hwnd_, [this](HWND control) {
    return std::u16string(handlers_.HintFor(
        control == hwnd_ ? PanelControl{} : PanelControlOfId(GetDlgCtrlID(control))));
  });
  const GridLayout layout = LayOutGrid(kDesignedClientWidth);
  for (int i = 0; i < iBtnCount; ++i) {
    const auto caption = i == 0 ? std::u16string(u"一覧") : Decimal(i);
    const auto& at = layout.buttons[static_cast<std::size_t>(i)];
    HWND button = buttons_[static_cast<std::size_t>(i)] =
        AddPanelControl(WC_BUTTONW, caption, WS_VISIBLE | BS_PUSHBUTTON, 0,
                        {at.left, at.top, kButtonWidth, kButtonHeight}, ids::kPanelButton + i,
                        i == 0 ? bold_font_.get() : font_.get());
    if (i == 0) continue;
    // The buttons act on the press, not on the click.
    Subclass(button, [this, i](HWND control, UINT message, WPARAM wparam,
                               LPARAM lparam) -> std::optional<LRESULT> {
      const auto pressed = MouseButtonPressed(message);
      if (!pressed) return std::nullopt;
      const LRESULT result = DefSubclassProc(control, message, wparam, lparam);
      handlers_.Btn01MouseDown(i, *pressed);
      return result;
    });
  }

  cbPT_ = AddPanelControl(WC_BUTTONW, u"", WS_VISIBLE | BS_CHECKBOX, 0, {0, 0, 17, 17},
                          ids::kPartyBox, font_.get());
  SetWindowPos(cbPT_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  edtTxt_ =
      AddPanelControl(WC_EDITW, u"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                      {kEdtTxtLeft, kDesignedClientHeight - 10 - 19, kEdtTxtDesignedWidth, 21},
                      ids::kEdtTxt, nullptr);
  Subclass(edtTxt_, [this](HWND, UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CHAR && handlers_.edtTxtKeyPress(static_cast<char16_t>(wparam))) return 0;
    return std::nullopt;
  });

  for (int r = 0; r < static_cast<int>(std::size(kRadios)); ++r) {
    const auto& design = kRadios[r];
    HWND radio = radios_[static_cast<std::size_t>(r)] =
        AddPanelControl(WC_BUTTONW, design.caption, BS_RADIOBUTTON | (r == 0 ? WS_GROUP : 0), 0,
                        {design.left, kDesignedClientHeight - design.bottom_gap, design.width, 17},
                        ids::kSpeechRadio + r, font_.get());
    if (design.control == SpeechControl::rbNormal) SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  }

  const WindowDc dc(hwnd_);
  const SelectedObject selected(dc.get(), font_.get());
  for (int l = 0; l < 4; ++l) {
    const std::u16string text = kLabels[l];
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), W(text), static_cast<int>(text.size()), &extent);
    HWND label = labels_[static_cast<std::size_t>(l)] =
        AddPanelControl(WC_STATICW, text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                        {LabelLeft(false), layout.label_tops[static_cast<std::size_t>(l)],
                         extent.cx + 2, kLabelHeight},
                        ids::kPanelLabel + l, font_.get());
    // A label takes its own presses, which do nothing: only the bare
    // background drags the window or switches the compact display.
    Subclass(label, [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message == WM_NCHITTEST) return HTCLIENT;
      return std::nullopt;
    });
  }
}

void PanelWindow::SetButtonCaption(int number, std::u16string_view caption) {
  SetWindowTextW(buttons_.at(static_cast<std::size_t>(number)),
                 quillomi::win32::Terminated(caption).get());
}

void PanelWindow::SetEdtTxtFont(int points) {
  edit_font_ = MakeFont(MulDiv(points, 96, 72));
  SendMessageW(edtTxt_, WM_SETFONT, reinterpret_cast<WPARAM>(edit_font_.get()), FALSE);
}

void PanelWindow::ShowFreeTextControls() {
  ShowWindow(edtTxt_, SW_SHOWNA);
  for (HWND radio : radios_) ShowWindow(radio, SW_SHOWNA);
  for (HWND label : labels_) MoveControl(label, LabelLeft(true), PlaceInParent(label).y);
}

void PanelWindow::LayOutFreeTextControls(int edtTxt_bottom_gap) {
  edtTxt_bottom_gap_ = edtTxt_bottom_gap;
  const RECT client = ClientRect(hwnd_);
  TEXTMETRICW metrics{};
  {
    const WindowDc dc(edtTxt_);
    const SelectedObject selected(dc.get(), edit_font_ ? edit_font_.get() : font_.get());
    GetTextMetricsW(dc.get(), &metrics);
  }
  const int right_gap = kDesignedClientWidth - (kEdtTxtLeft + kEdtTxtDesignedWidth);
  SetWindowPos(edtTxt_, nullptr, kEdtTxtLeft, client.bottom - edtTxt_bottom_gap_,
               std::max(0L, client.right - right_gap - kEdtTxtLeft), metrics.tmHeight + 8,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (std::size_t r = 0; r < radios_.size(); ++r)
    MoveControl(radios_[r], kRadios[r].left, client.bottom - kRadios[r].bottom_gap);
}

void PanelWindow::SetChecked(SpeechControl control, bool checked) {
  HWND target = cbPT_;
  for (std::size_t r = 0; r < radios_.size(); ++r)
    if (kRadios[r].control == control) target = radios_[r];
  SendMessageW(target, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void PanelWindow::FormResize() {
  if (laying_out_) return;
  const RECT client = ClientRect(hwnd_);
  const GridLayout grid = LayOutGrid(client.right);
  HDWP batch = BeginDeferWindowPos(iBtnCount + 4);
  for (int i = 0; i < iBtnCount; ++i) {
    const auto& at = grid.buttons[static_cast<std::size_t>(i)];
    if (batch)
      batch = DeferWindowPos(batch, buttons_[static_cast<std::size_t>(i)], nullptr, at.left, at.top,
                             0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int l = 0; l < 4; ++l) {
    HWND label = labels_[static_cast<std::size_t>(l)];
    if (batch)
      batch = DeferWindowPos(batch, label, nullptr, PlaceInParent(label).x,
                             grid.label_tops[static_cast<std::size_t>(l)], 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
  if (edit_font_) LayOutFreeTextControls(edtTxt_bottom_gap_);
}

LRESULT PanelWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      FormResize();
      return 0;
    case ids::kStartHints:
      tips_.Start();
      return 0;
    case WM_GETMINMAXINFO:
      // Any size the settings or the user choose, down to a single column.
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {1, 1};
      return 0;
    case WM_COMMAND: {
      if (HIWORD(wparam) != BN_CLICKED) break;
      const PanelControl control = PanelControlOfId(LOWORD(wparam));
      if (control.kind == PanelControl::Kind::kButton && control.index == 0) handlers_.Btn00Click();
      if (control.kind == PanelControl::Kind::kPartyBox)
        handlers_.ControlClicked(SpeechControl::cbPT);
      if (control.kind == PanelControl::Kind::kRadio)
        handlers_.ControlClicked(kRadios[control.index].control);
      return 0;
    }
    case WM_NOTIFY:
      if (tips_.OnNotify(lparam)) return 0;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      SetBkColor(reinterpret_cast<HDC>(wparam), kCream);
      return reinterpret_cast<LRESULT>(background_.get());
    case WM_LBUTTONDBLCLK:
      handlers_.FormDblClick();
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      // FormMouseDown: the system's own move loop drags the window.
      ReleaseCapture();
      SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lparam);
      return 0;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_MINIMIZE ||
          ((wparam & 0xFFF0) == SC_RESTORE && IsIconic(hooks_.application_window)))
        return SendMessageW(hooks_.application_window, WM_SYSCOMMAND, wparam & 0xFFF0, 0);
      break;
    case WM_CLOSE:
      // Disabled, a message box is open over it: nothing closes under it.
      if (!IsWindowEnabled(hwnd_)) return 0;
      // A first close whose save fails keeps the window: the barrier reports it.
      if (handlers_.FormClose()) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      // A modal loop still running (a move) may take the quit for itself:
      // this wakes the application's loop, which also watches the panel.
      PostMessageW(hooks_.application_window, WM_NULL, 0, 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void PanelWindow::SetSizeable(bool sizeable) {
  const auto visible = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & WS_VISIBLE;
  SetWindowLongPtrW(hwnd_, GWL_STYLE,
                    static_cast<LONG_PTR>((sizeable ? kSizeableStyle : kBorderlessStyle) | visible));
  // The outer rectangle stays; only the client area changes.
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FormResize();
}

}  // namespace quillomi::ui::win32
