#include "ui/main_placement.h"

#include "ui/layout.h"

namespace quillomi::ui {

namespace {

using phrases::kSettingsSection;

constexpr std::u16string_view kShowTitleBar = u"ShowTitleBar";
constexpr std::u16string_view kClientHeight2 = u"ClientHeight2";
constexpr std::u16string_view kClientWidth2 = u"ClientWidth2";
constexpr std::u16string_view kBottom2 = u"Bottom2";
constexpr std::u16string_view kLeft2 = u"Left2";

}  // namespace

void PlaceMainWindow(const phrases::SettingsDocument& settings, platform::Screen& screen,
                     MainFormFrame& form) {
  if (!settings.ReadFlag(kSettingsSection, kShowTitleBar, true)) form.SetSizeable(false);
  const platform::Rect work = screen.WorkArea();
  form.SetClientHeight(settings.ReadInteger(kSettingsSection, kClientHeight2, 160));
  form.SetClientWidth(settings.ReadInteger(kSettingsSection, kClientWidth2, 990));
  // The defaults need the outer size that the frame and the client size give.
  const Size work_size{work.Width(), work.Height()};
  const Size outer{form.OuterWidth(), form.OuterHeight()};
  const int bottom =
      settings.ReadInteger(kSettingsSection, kBottom2, DefaultBottom(work_size, outer));
  form.SetTop(bottom - form.OuterHeight());
  form.SetLeft(settings.ReadInteger(kSettingsSection, kLeft2, DefaultLeft(work_size, outer)));
}

void CompactDisplay::FormDblClick(MainFormFrame& form, platform::Screen& screen) {
  bSlim_ = !bSlim_;
  exeBtnSlim(form, screen);
}

void CompactDisplay::exeBtnSlim(MainFormFrame& form, platform::Screen& screen) {
  if (!bSlim_) {
    Leave(form);
    return;
  }
  iSaveClientWidth_ = form.ClientWidth();
  iSaveClientHeight_ = form.ClientHeight();
  // Both offsets use the vertical frame metric.
  iFrameSize_ = screen.FrameHeight();
  iTitleSize_ = screen.CaptionHeight() + iFrameSize_;
  form.SetSizeable(false);
  form.SetOuterWidth(iSaveClientWidth_);
  form.SetOuterHeight(iSaveClientHeight_);
  form.SetTop(form.Top() + iTitleSize_);
  form.SetLeft(form.Left() + iFrameSize_);
}

void CompactDisplay::Leave(MainFormFrame& form) const {
  form.SetSizeable(true);
  form.SetTop(form.Top() - iTitleSize_);
  form.SetLeft(form.Left() - iFrameSize_);
  form.SetClientWidth(iSaveClientWidth_);
  form.SetClientHeight(iSaveClientHeight_);
}

void CompactDisplay::FormClose(MainFormFrame& form, platform::Files& files) const {
  if (bSlim_) Leave(form);
  auto settings = phrases::SettingsDocument::OpenForExecutable(files);
  settings.WriteInteger(kSettingsSection, kBottom2, form.Top() + form.OuterHeight());
  settings.WriteInteger(kSettingsSection, kLeft2, form.Left());
  settings.WriteInteger(kSettingsSection, kClientWidth2, form.ClientWidth());
  settings.WriteInteger(kSettingsSection, kClientHeight2, form.ClientHeight());
  settings.Save();
}

}  // namespace quillomi::ui
