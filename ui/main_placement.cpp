#include "ui/main_placement.h"

#include "ui/layout.h"

namespace quillomi::ui {

namespace {

using phrases::kSettingsSection;

constexpr std::u16string_view kShowTitleBar = u"ShowTitleBar";
constexpr GeometryKeys kKeys{u"Bottom2", u"Left2", u"ClientWidth2", u"ClientHeight2", true};

// The list button's place on the screen with the panel at `window`.
platform::Rect ListButtonAt(const platform::Rect& window, const FormGeometry& form) {
  const Size client = form.Client();
  const int frame = (form.Outer().Width() - client.width) / 2;
  const Point origin{window.left + frame, window.bottom - client.height - frame};
  const Point button = LayOutGrid(client.width).buttons[0];
  return {origin.left + button.left, origin.top + button.top,
          origin.left + button.left + kButtonWidth, origin.top + button.top + kButtonHeight};
}

}  // namespace

void PlaceMainWindow(const phrases::SettingsDocument& settings, platform::Screen& screen,
                     MainFormFrame& form) {
  if (!settings.ReadFlag(kSettingsSection, kShowTitleBar, true)) form.SetSizeable(false);
  form.SetClientSize({settings.ReadInteger(kSettingsSection, kKeys.client_width, 990),
                      settings.ReadInteger(kSettingsSection, kKeys.client_height, 160)});
  // The defaults need the outer size that the frame and the client size give.
  const Size work = SizeOf(screen.WorkArea());
  const Size outer = SizeOf(form.Outer());
  const int bottom =
      settings.ReadInteger(kSettingsSection, kKeys.top_or_bottom, DefaultBottom(work, outer));
  const int left = settings.ReadInteger(kSettingsSection, kKeys.left, DefaultLeft(work, outer));
  const platform::Rect window{left, bottom - outer.height, left + outer.width, bottom};
  const auto work_areas = screen.MonitorWorkAreas();
  // The player also reaches a panel whose list button lies on a work area.
  form.MoveTo(InsideAWorkArea(ListButtonAt(window, form), work_areas)
                  ? Point{window.left, window.top}
                  : PlaceInReach(window, work_areas));
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
  iSaveClientWidth_ = form.Client().width;
  iSaveClientHeight_ = form.Client().height;
  // Both offsets use the vertical frame metric.
  iFrameSize_ = screen.FrameHeight();
  iTitleSize_ = screen.CaptionHeight() + iFrameSize_;
  form.SetSizeable(false);
  form.SetOuterSize({iSaveClientWidth_, iSaveClientHeight_});
  const platform::Rect outer = form.Outer();
  form.MoveTo({outer.left + iFrameSize_, outer.top + iTitleSize_});
}

void CompactDisplay::Leave(MainFormFrame& form) const {
  form.SetSizeable(true);
  const platform::Rect outer = form.Outer();
  form.MoveTo({outer.left - iFrameSize_, outer.top - iTitleSize_});
  form.SetClientSize({iSaveClientWidth_, iSaveClientHeight_});
}

void CompactDisplay::FormClose(MainFormFrame& form, platform::Files& files) {
  // A close retried after a failed save finds the frame already back.
  if (bSlim_ && !left_at_close_) Leave(form);
  left_at_close_ = bSlim_;
  SaveGeometry(form, kKeys, files);
}

}  // namespace quillomi::ui
