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

// The player reaches a panel when its list button is on a work area, or
// enough of it to drag it back.
bool PanelInReach(const platform::Rect& window, const FormGeometry& form,
                  const std::vector<platform::Rect>& work_areas) {
  const int frame = (form.OuterWidth() - form.ClientWidth()) / 2;
  const Point client{window.left + frame, window.bottom - form.ClientHeight() - frame};
  const Point button = LayOutGrid(form.ClientWidth()).buttons[0];
  const platform::Rect list_button{client.left + button.left, client.top + button.top,
                                   client.left + button.left + kButtonWidth,
                                   client.top + button.top + kButtonHeight};
  return InsideAWorkArea(list_button, work_areas) || WindowInReach(window, work_areas);
}

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
  const Point defaults{DefaultLeft(work_size, outer),
                       DefaultBottom(work_size, outer) - outer.height};
  Point place{0, settings.ReadInteger(kSettingsSection, kBottom2, defaults.top + outer.height) -
                     outer.height};
  place.left = settings.ReadInteger(kSettingsSection, kLeft2, defaults.left);
  const platform::Rect window{place.left, place.top, place.left + outer.width,
                              place.top + outer.height};
  const auto work_areas = screen.MonitorWorkAreas();
  if (!PanelInReach(window, form, work_areas)) place = MoveIntoReach(window, work_areas);
  form.SetTop(place.top);
  form.SetLeft(place.left);
}

void CompactDisplay::FormDblClick(MainFormFrame& form, platform::Screen& screen) {
  bSlim_ = !bSlim_;
  exeBtnSlim(form, screen);
}

void CompactDisplay::exeBtnSlim(MainFormFrame& form, platform::Screen& screen) {
  left_at_close_ = false;
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

void CompactDisplay::FormClose(MainFormFrame& form, platform::Files& files) {
  // A close retried after a failed save finds the frame already back.
  if (bSlim_ && !left_at_close_) Leave(form);
  left_at_close_ = bSlim_;
  auto settings = phrases::SettingsDocument::OpenForExecutable(files);
  settings.WriteInteger(kSettingsSection, kBottom2, form.Top() + form.OuterHeight());
  settings.WriteInteger(kSettingsSection, kLeft2, form.Left());
  settings.WriteInteger(kSettingsSection, kClientWidth2, form.ClientWidth());
  settings.WriteInteger(kSettingsSection, kClientHeight2, form.ClientHeight());
  settings.Save();
}

}  // namespace quillomi::ui
