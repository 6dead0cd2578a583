#include "ui/win32/unit1.h"

#include <windowsx.h>

#include <algorithm>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "ui/button_press.h"
#include "ui/layout.h"

namespace quillomi::ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr COLORREF kCream = RGB(255, 251, 240);
constexpr int kDesignedClientWidth = 990;
constexpr int kDesignedClientHeight = 193;
constexpr int kLabelHeight = 15;
constexpr int kEdtTxtDesignedWidth = 823;

// Control ids, in one place.
constexpr int kButtonId = 1000;  // + button number
constexpr int kPartyBoxId = 1100;
constexpr int kEdtTxtId = 1101;
constexpr int kRadioId = 1110;  // + index in kRadios
constexpr int kLabelId = 1120;  // + label index

constexpr DWORD kSizeableStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kBorderlessStyle = WS_POPUP | WS_CLIPCHILDREN;

constexpr std::u16string_view kFormHint = u"クリックでつまむと移動 / ダブルクリックでコンパクト表示切替";
constexpr std::u16string_view kPartyBoxHint = u"チェックを付けるとパーティに発言します";
constexpr std::u16string_view kReloaded = u"ボタン内容を再読込しました";
constexpr std::u16string_view kEditInstructions =
    u"ボタンの内容を編集したら、\n\r"
    u"ファイル→上書き保存後、メモ帳は終了し、\n\r"
    u"ボタンをSHIFT+右クリックしてください。\n\r"
    u"ボタン内容が更新されます。\n\r"
    u"\n\r"
    u"【注意事項】\n\r"
    u"行を削除した場合、ボタン数より行数が少ないと、\n\r"
    u"自動的にテンプレートから補完されます。\n\r";

struct RadioDesign {
  SpeechControl control;
  const char16_t* name;
  const char16_t* caption;
  int left;
  int bottom_gap;  // designed distance of the top from the client area's bottom
  int width;
  const char16_t* hint;
};
constexpr RadioDesign kRadios[] = {
    {SpeechControl::rbNormal, u"rbNormal", u"通常", 7, 33, 42, u"通常の発言(周囲９マス)"},
    {SpeechControl::rbParty, u"rbParty", u"パーティ", 52, 33, 57, u"パーティ内に発言"},
    {SpeechControl::rbWisper, u"rbWisper", u"囁き", 109, 33, 42, u"ささやき(周囲１マス)"},
    {SpeechControl::rbEmote, u"rbEmote", u"感情", 7, 18, 42, u"感情表現(周囲７マス)"},
    {SpeechControl::rbChat, u"rbChat", u"チャット", 52, 18, 57, u"チャット内に発言"},
    {SpeechControl::rbYell, u"rbYell", u"叫び", 109, 18, 42, u"大声で叫ぶ(周囲１８マス)"},
};

constexpr const char16_t* kLabels[] = {
    u"※ アプリの大きさはフチをつまんで変更可能です。例えば20行3列にしたり、3行20列にしたりなど。",
    u"※ ボタンの無い場所(クリーム色)をダブルクリックすることで、スマート表示の切り替えができます。",
    u"※ ボタン内容編集はボタンを右クリックにて。編集後は上書きした後にボタンをSHIFT＋右クリック。",
    u"※ コマンドなど必ず通常発言にしたい言葉があれば「QLMO_通常発言リスト」をメモ帳で開いてそこに羅列してください。",
};

std::u16string ButtonName(int number) {
  std::u16string name = u"Btn00";
  name[3] = static_cast<char16_t>(u'0' + number / 10);
  name[4] = static_cast<char16_t>(u'0' + number % 10);
  return name;
}

std::u16string LabelName(int index) {
  return u"lbl0" + std::u16string(1, static_cast<char16_t>(u'1' + index));
}

std::u16string TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, W(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

}  // namespace

TForm1::TForm1(platform::Platform& platform, PanelHooks hooks)
    : Window(platform), hooks_(std::move(hooks)) {}

TForm1::~TForm1() = default;

bool TForm1::Create() {
  font_ = MakeFont(12);
  bold_font_ = MakeFont(12, true);
  background_ = UniqueGdiObject(CreateSolidBrush(kCream));
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_HAND),
                static_cast<HBRUSH>(background_.get()), LoadIconW(instance, MAKEINTRESOURCEW(1)),
                nullptr);
  // Designed: framed, 990 x 193 client pixels, at the top-left of the screen.
  RECT designed{0, 0, kDesignedClientWidth, kDesignedClientHeight};
  AdjustWindowRectEx(&designed, kSizeableStyle, FALSE, WS_EX_TOPMOST);
  CreateWindowOfClass(kClassName, std::u16string(kForm1Caption), kSizeableStyle, WS_EX_TOPMOST, 0,
                      0, designed.right - designed.left, designed.bottom - designed.top,
                      hooks_.application_window);
  if (!hwnd_) return false;
  if (hooks_.window_created) hooks_.window_created(hwnd_);
  CreateControls();
  CreateHints();
  try {
    FormCreate();
  } catch (...) {
    // The window still opens, as far as its creation got.
    ReportCurrentException(platform_.dialogs);
  }
  if (ended_) return false;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  return true;
}

void TForm1::CreateControls() {
  const GridLayout layout = LayOutGrid(kDesignedClientWidth);
  for (int i = 0; i < iBtnCount; ++i) {
    const auto caption = i == 0 ? std::u16string(u"一覧") : ButtonName(i).substr(i < 10 ? 4 : 3);
    HWND button = AddControl(ButtonName(i), WC_BUTTONW, caption, WS_VISIBLE | BS_PUSHBUTTON, 0,
                             layout.buttons[static_cast<std::size_t>(i)].left,
                             layout.buttons[static_cast<std::size_t>(i)].top, kButtonWidth,
                             kButtonHeight, kButtonId + i);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(i == 0 ? bold_font_.get() : font_.get()),
                 FALSE);
    buttons_[static_cast<std::size_t>(i)] = button;
    if (i == 0) continue;
    // The buttons act on the press, not on the click.
    Subclass(button, [this, i](HWND control, UINT message, WPARAM wparam,
                               LPARAM lparam) -> std::optional<LRESULT> {
      MouseButton pressed;
      switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
          pressed = MouseButton::kLeft;
          break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
          pressed = MouseButton::kRight;
          break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
          pressed = MouseButton::kMiddle;
          break;
        default:
          return std::nullopt;
      }
      const LRESULT result = DefSubclassProc(control, message, wparam, lparam);
      Btn01MouseDown(i, pressed);
      return result;
    });
  }

  HWND party = AddControl(u"cbPT", WC_BUTTONW, u"", WS_VISIBLE | BS_CHECKBOX, 0, 0, 0, 17, 17,
                          kPartyBoxId);
  SendMessageW(party, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  HWND edit = AddControl(u"edtTxt", WC_EDITW, u"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEdtTxtLeft,
                         kDesignedClientHeight - 10 - 19, kEdtTxtDesignedWidth, 21, kEdtTxtId);
  Subclass(edit, [this](HWND, UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CHAR && edtTxtKeyPress(static_cast<wchar_t>(wparam))) return 0;
    return std::nullopt;
  });

  for (std::size_t r = 0; r < std::size(kRadios); ++r) {
    const auto& design = kRadios[r];
    HWND radio = AddControl(design.name, WC_BUTTONW, design.caption,
                            BS_RADIOBUTTON | (r == 0 ? WS_GROUP : 0), 0, design.left,
                            kDesignedClientHeight - design.bottom_gap, design.width, 17,
                            kRadioId + static_cast<int>(r));
    SendMessageW(radio, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (design.control == SpeechControl::rbNormal) SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  }

  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_.get());
  for (int l = 0; l < 4; ++l) {
    const std::u16string text = kLabels[l];
    SIZE extent{};
    GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &extent);
    HWND label = AddControl(LabelName(l), WC_STATICW, text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                            LabelLeft(false), layout.label_tops[static_cast<std::size_t>(l)],
                            extent.cx + 2, kLabelHeight, kLabelId + l);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
}

// One tool per control, plus the bare background; every text is asked for
// when shown, so a reload or a late hint needs no bookkeeping here.
void TForm1::CreateHints() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  auto add = [&](HWND target) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(target);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  };
  add(hwnd_);
  for (HWND button : buttons_) add(button);
  for (const char16_t* name : {u"cbPT", u"edtTxt"}) add(Control(name));
  for (const auto& radio : kRadios) add(Control(radio.name));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void TForm1::SetHintDelay(int initial_ms) {
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initial_ms, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(10000, 0));
}

const std::u16string* TForm1::HintFor(HWND control) const {
  for (std::size_t i = 1; i < buttons_.size(); ++i)
    if (buttons_[i] == control && button_hints_[i]) return &*button_hints_[i];
  for (const auto& [window, hint] : control_hints_)
    if (window == control) return &hint;
  // Without a hint of its own a control shows the window's.
  return &form_hint_;
}

void TForm1::FormCreate() {
  SetHintDelay(300);
  sTitle_ = TextOf(hwnd_);
  sender_ = std::make_unique<delivery::MessageSender>(
      platform_, Handle(hwnd_), sTitle_, [this] { SetWindowTextW(Control(u"edtTxt"), L""); });
  control_hints_.emplace_back(Control(u"cbPT"), std::u16string(kPartyBoxHint));

  paths_ = phrases::ResolveDataFilePaths(platform_.files.ExecutablePath());
  if (phrases::PrepareDataFiles(platform_, paths_) == phrases::Preparation::kEndApplication) {
    ended_ = true;
    return;
  }

  {
    const auto settings = phrases::SettingsDocument::OpenForExecutable(platform_.files);
    PlaceMainWindow(settings, platform_.screen, *this);
    edtTxtVisible_ = settings.ReadFlag(phrases::kSettingsSection, u"edtTxtVisible", false);
    const int font_size = settings.ReadInteger(phrases::kSettingsSection, u"edtTxtFontSize", 10);

    HWND edit = Control(u"edtTxt");
    if (edtTxtVisible_) ShowWindow(edit, SW_SHOWNA);
    edit_font_ = MakeFont(MulDiv(font_size, 96, 72));
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(edit_font_.get()), FALSE);
    const int top = EdtTxtTop(ClientHeight(), font_size);
    edtTxt_bottom_gap_ = ClientHeight() - top;
    speech_ = SpeechModeControls(edtTxtVisible_);
    speech_.observer = [this](const SpeechEvent& event) { MirrorSpeechControl(event); };
    if (edtTxtVisible_) {
      for (const auto& radio : kRadios) ShowWindow(Control(radio.name), SW_SHOWNA);
      for (int l = 0; l < 4; ++l) {
        HWND label = Control(LabelName(l));
        RECT rect = WindowRect(label);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(label, nullptr, LabelLeft(true), rect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
    LayOutFreeTextControls();
  }

  phrases::FillButtonFile(platform_, paths_.sBtnText1, list_box1_, *this);

  SetWindowTextW(Control(u"edtTxt"), L"");
  SetHintDelay(200);
  SetWindowPos(Control(u"edtTxt"), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  form_hint_ = kFormHint;
  for (const auto& radio : kRadios) control_hints_.emplace_back(Control(radio.name), radio.hint);
  sender_->LoadNormalSpeechList();
}

void TForm1::LayOutFreeTextControls() {
  const RECT client = ClientRect(hwnd_);
  HWND edit = Control(u"edtTxt");
  TEXTMETRICW metrics{};
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, edit_font_ ? edit_font_.get() : font_.get());
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  const int right_gap = kDesignedClientWidth - (kEdtTxtLeft + kEdtTxtDesignedWidth);
  SetWindowPos(edit, nullptr, kEdtTxtLeft, client.bottom - edtTxt_bottom_gap_,
               std::max(0L, client.right - right_gap - kEdtTxtLeft), metrics.tmHeight + 8,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& radio : kRadios)
    SetWindowPos(Control(radio.name), nullptr, radio.left, client.bottom - radio.bottom_gap, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::FormResize() {
  const RECT client = ClientRect(hwnd_);
  const GridLayout grid = LayOutGrid(client.right);
  HDWP batch = BeginDeferWindowPos(iBtnCount + 4);
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (batch)
      batch = DeferWindowPos(batch, buttons_[i], nullptr, grid.buttons[i].left, grid.buttons[i].top,
                             0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int l = 0; l < 4; ++l) {
    HWND label = Control(LabelName(l));
    RECT rect = WindowRect(label);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
    if (batch)
      batch = DeferWindowPos(batch, label, nullptr, rect.left,
                             grid.label_tops[static_cast<std::size_t>(l)], 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
  if (edit_font_) LayOutFreeTextControls();
}

void TForm1::ComSendMessage(std::u16string sTxt) {
  if (sender_) sender_->ComSendMessage(std::move(sTxt), speech_.Mode());
}

void TForm1::Btn00Click() {
  if (hooks_.show_list_window) hooks_.show_list_window();
}

void TForm1::Btn01MouseDown(int number, MouseButton button) {
  auto& windows = platform_.windows;
  const auto pressed = button == MouseButton::kLeft    ? PressedButton::kLeft
                       : button == MouseButton::kRight ? PressedButton::kRight
                                                       : PressedButton::kMiddle;
  switch (DecideButtonPress(pressed, windows.IsKeyDown(platform::kVkShift),
                            windows.IsKeyDown(platform::kVkMenu))) {
    case ButtonAction::kReload:
      phrases::LoadButton(platform_, paths_.sBtnText1, list_box1_, *this);
      platform_.dialogs.ShowMessage(kReloaded);
      return;
    case ButtonAction::kEdit:
      platform_.dialogs.ShowMessage(kEditInstructions);
      platform_.shell.OpenNotepad(Handle(hwnd_), paths_.sBtnText1,
                                  phrases::ProgramDirectory(paths_.sBtnText1));
      return;
    case ButtonAction::kSend: {
      const auto index = static_cast<std::size_t>(number - 1);
      if (index >= list_box1_.size())
        throw UserError(messages::ListIndexOutOfBounds(static_cast<long long>(index)));
      ComSendMessage(list_box1_[index]);
      return;
    }
    case ButtonAction::kNothing:
      return;
  }
}

bool TForm1::edtTxtKeyPress(wchar_t key) {
  if (key != L'\r' && key != L'\n') return false;
  ComSendMessage(TextOf(Control(u"edtTxt")));
  SetWindowTextW(Control(u"edtTxt"), L"");
  return true;
}

void TForm1::OnSpeechControlClicked(SpeechControl control) {
  if (control == SpeechControl::cbPT) {
    speech_.SetPartyBox(!speech_.PartyBox());
  } else {
    speech_.SetRadio(control, true);
  }
}

void TForm1::MirrorSpeechControl(const SpeechEvent& event) {
  if (event.kind != SpeechEvent::Kind::kStateChanged) return;
  HWND control = Control(u"cbPT");
  for (const auto& radio : kRadios)
    if (radio.control == event.control) control = Control(radio.name);
  SendMessageW(control, BM_SETCHECK, event.checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TForm1::FormDblClick() {
  compact_.FormDblClick(*this, platform_.screen);
}

void TForm1::FormMouseDown(MouseButton button, int x, int y) {
  if (button != MouseButton::kLeft) return;
  ReleaseCapture();
  const auto position = static_cast<LPARAM>(static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(y) << 16) | (static_cast<std::uint32_t>(x) & 0xFFFFu)));
  SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, position);
}

bool TForm1::FormClose() {
  compact_.FormClose(*this, platform_.files);
  return true;
}

void TForm1::SetButton(int number, std::u16string caption, std::u16string hint) {
  const auto index = static_cast<std::size_t>(number);
  SetWindowTextW(buttons_[index], W(caption));
  button_hints_[index] = std::move(hint);
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_GETMINMAXINFO:
      // Any size the settings or the user choose, down to a single column.
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {1, 1};
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (HIWORD(wparam) != BN_CLICKED) break;
      if (id == kButtonId) {
        Btn00Click();
      } else if (id == kPartyBoxId) {
        OnSpeechControlClicked(SpeechControl::cbPT);
      } else if (id >= kRadioId && id < kRadioId + static_cast<int>(std::size(kRadios))) {
        OnSpeechControlClicked(kRadios[id - kRadioId].control);
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->hwndFrom == tooltip_ && header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
        const std::u16string* hint = HintFor(reinterpret_cast<HWND>(header->idFrom));
        // Only the text before the first "|" is a hint's short form.
        shown_tip_ = hint ? hint->substr(0, hint->find(u'|')) : std::u16string();
        info->lpszText = W(shown_tip_.data());
        return 0;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      SetBkColor(reinterpret_cast<HDC>(wparam), kCream);
      return reinterpret_cast<LRESULT>(background_.get());
    case WM_LBUTTONDOWN:
      FormMouseDown(MouseButton::kLeft, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_LBUTTONDBLCLK:
      FormDblClick();
      FormMouseDown(MouseButton::kLeft, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_MINIMIZE:
          if (hooks_.minimize_application) {
            hooks_.minimize_application();
            return 0;
          }
          break;
        case SC_RESTORE:
          if (hooks_.application_minimized && hooks_.application_minimized()) {
            hooks_.restore_application();
            return 0;
          }
          break;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      // A close whose save fails keeps the window open: the barrier reports it.
      if (FormClose()) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

// --- the frame as the placement and the compact display see it --------------

void TForm1::SetSizeable(bool sizeable) {
  const auto visible = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & WS_VISIBLE;
  SetWindowLongPtrW(hwnd_, GWL_STYLE,
                    static_cast<LONG_PTR>((sizeable ? kSizeableStyle : kBorderlessStyle) | visible));
  // The outer rectangle stays; only the client area changes.
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FormResize();
}

void TForm1::SetOuterWidth(int width) { Resize(width, OuterHeight()); }
void TForm1::SetOuterHeight(int height) { Resize(OuterWidth(), height); }

}  // namespace quillomi::ui::win32
