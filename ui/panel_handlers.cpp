#include "ui/panel_handlers.h"

#include "phrases/settings.h"
#include "platform/errors.h"
#include "res/identities.h"

namespace quillomi::ui {

PanelControl PanelControlOfId(int id) {
  using enum PanelControl::Kind;
  const auto in = [id](int first, int count) { return id >= first && id < first + count; };
  if (in(ids::kPanelButton, iBtnCount)) return {kButton, id - ids::kPanelButton};
  if (id == ids::kPartyBox) return {kPartyBox};
  if (id == ids::kEdtTxt) return {kEdtTxt};
  if (in(ids::kSpeechRadio, static_cast<int>(std::size(kRadios))))
    return {kRadio, id - ids::kSpeechRadio};
  if (in(ids::kPanelLabel, static_cast<int>(std::size(kLabels))))
    return {kLabel, id - ids::kPanelLabel};
  return {};
}

PanelHandlers::PanelHandlers(platform::Platform& platform, PanelView& view)
    : platform_(platform), view_(view) {
  // From the start: a creation that stops early leaves a party box that
  // still shows its tick.
  speech_.observer = [this](SpeechControl control, bool checked) {
    view_.SetChecked(control, checked);
  };
}

PanelHandlers::~PanelHandlers() = default;

bool PanelHandlers::FormCreate() {
  view_.SetHintDelay(300);
  sender_.SetPanel(view_.Handle(), std::u16string(kForm1Caption));
  party_box_hint_ = true;

  paths_ = phrases::ResolveDataFilePaths(platform_.files.ExecutablePath());
  if (phrases::PrepareDataFiles(platform_, paths_) == phrases::Preparation::kEndApplication)
    return false;

  {
    const auto settings = phrases::SettingsDocument::OpenForExecutable(platform_.files);
    PlaceMainWindow(settings, platform_.screen, view_);
    const bool edtTxtVisible = settings.ReadFlag(phrases::kSettingsSection, u"edtTxtVisible", false);
    const int font_size = settings.ReadInteger(phrases::kSettingsSection, u"edtTxtFontSize", 10);
    view_.SetEdtTxtFont(font_size);
    const int client_height = view_.Client().height;
    const int bottom_gap = client_height - EdtTxtTop(client_height, font_size);
    speech_ = SpeechModeControls(edtTxtVisible, std::move(speech_.observer));
    if (edtTxtVisible) view_.ShowFreeTextControls();
    view_.LayOutFreeTextControls(bottom_gap);
  }

  phrases::FillButtonFile(platform_, paths_.sBtnText1, list_box1_, *this);

  view_.EmptyEdtTxt();
  view_.SetHintDelay(200);
  view_.RaiseEdtTxt();
  form_hint_ = kFormHint;
  radio_hints_ = true;
  sender_.LoadNormalSpeechList();
  return true;
}

void PanelHandlers::ComSendMessage(std::u16string_view sTxt) {
  if (sender_.ComSendMessage(sTxt, speech_.Mode())) view_.EmptyEdtTxt();
}

void PanelHandlers::Btn01MouseDown(int number, PressedButton button) {
  auto& windows = platform_.windows;
  switch (DecideButtonPress(button, windows.IsKeyDown(platform::kVkShift),
                            windows.IsKeyDown(platform::kVkMenu))) {
    case ButtonAction::kReload:
      phrases::LoadButton(platform_, paths_.sBtnText1, list_box1_, *this);
      platform_.dialogs.ShowMessage(kReloaded);
      return;
    case ButtonAction::kEdit:
      platform_.dialogs.ShowMessage(kEditInstructions);
      platform_.shell.OpenNotepad(view_.Handle(), paths_.sBtnText1,
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

bool PanelHandlers::edtTxtKeyPress(char16_t key) {
  if (key != u'\r' && key != u'\n') return false;
  ComSendMessage(view_.EdtTxtText());
  view_.EmptyEdtTxt();
  return true;
}

void PanelHandlers::ControlClicked(SpeechControl control) {
  if (control == SpeechControl::cbPT) {
    speech_.SetPartyBox(!speech_.PartyBox());
  } else {
    speech_.SetRadio(control, true);
  }
}

void PanelHandlers::FormDblClick() {
  compact_.FormDblClick(view_, platform_.screen);
}

bool PanelHandlers::FormClose() {
  return close_.Close([this] { compact_.FormClose(view_, platform_.files); }, platform_.dialogs);
}

std::u16string_view PanelHandlers::HintFor(PanelControl control) const {
  std::u16string_view hint;
  switch (control.kind) {
    case PanelControl::Kind::kButton:
      if (control.index > 0 && control.index < iBtnCount)
        if (const auto& own = button_hints_[static_cast<std::size_t>(control.index)]) hint = *own;
      break;
    case PanelControl::Kind::kPartyBox:
      if (party_box_hint_) hint = kPartyBoxHint;
      break;
    case PanelControl::Kind::kRadio:
      if (radio_hints_ && control.index >= 0 && control.index < static_cast<int>(std::size(kRadios)))
        hint = kRadios[control.index].hint;
      break;
    default:
      break;
  }
  // A control without a hint of its own, or with an empty one, shows the window's.
  if (hint.empty()) hint = form_hint_;
  return hint.substr(0, hint.find(u'|'));
}

void PanelHandlers::SetButton(int number, std::u16string caption, std::u16string hint) {
  view_.SetButtonCaption(number, caption);
  button_hints_[static_cast<std::size_t>(number)] = std::move(hint);
}

}  // namespace quillomi::ui
