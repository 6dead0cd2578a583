#include "ui/form_geometry.h"

#include "phrases/settings.h"

namespace quillomi::ui {

void SaveGeometry(const FormGeometry& form, const GeometryKeys& keys, platform::Files& files) {
  using phrases::kSettingsSection;
  const platform::Rect outer = form.Outer();
  auto settings = phrases::SettingsDocument::OpenForExecutable(files);
  settings.WriteInteger(kSettingsSection, keys.top_or_bottom,
                        keys.bottom ? outer.bottom : outer.top);
  settings.WriteInteger(kSettingsSection, keys.left, outer.left);
  settings.WriteInteger(kSettingsSection, keys.client_width, form.Client().width);
  settings.WriteInteger(kSettingsSection, keys.client_height, form.Client().height);
  settings.Save();
}

}  // namespace quillomi::ui
