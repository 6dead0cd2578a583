#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "res/identities.h"
#include "ui/font_face.h"

namespace quillomi::app {
namespace {

TEST(ClaimInstance, DecidesAndHandsOverExactlyAsTheRuleSays) {
  struct Case {
    const char* name;
    platform::InstanceMutex mutex;
    bool panel_exists;
    InstanceRole role;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"first instance", {true, false}, false, InstanceRole::kFirst, {"mutex \"Quillomi\" -> new"}},
      {"first instance beside another program's TForm1", {true, false}, true, InstanceRole::kFirst,
       {"mutex \"Quillomi\" -> new"}},
      {"second instance", {true, true}, true, InstanceRole::kSecond,
       {"mutex \"Quillomi\" -> exists", "find \"TForm1\" -> 0x10", "restore 0x10",
        "foreground 0x10"}},
      {"second instance before the first has its window", {true, true}, false,
       InstanceRole::kSecond,
       {"mutex \"Quillomi\" -> exists", "find \"TForm1\" -> none", "restore none",
        "foreground none"}},
      {"no mutex at all: runs without the rule", {false, false}, true, InstanceRole::kFirst,
       {"mutex \"Quillomi\" -> failed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform fake;
    fake.instance_mutex = c.mutex;
    if (c.panel_exists) fake.AddWindow({.handle = 0x10, .class_name = std::u16string(ids::kPanelClass), .title = u""});
    EXPECT_EQ(ClaimInstance(fake.Get()), c.role);
    EXPECT_EQ(fake.Log(), c.calls);
    EXPECT_TRUE(fake.files.empty()) << "a start touches no file here";
  }
}

// The face every window takes, from what the system has installed.
TEST(ChooseFontFace, TheDesignedFaceWhenInstalledElseTheFirstInstalledFallback) {
  struct Case {
    const char* name;
    std::set<std::u16string> installed;
    ui::FontFace chosen;
    std::vector<std::string> calls;
  };
  const std::vector<std::string> all_missing = {
      "font \"Meiryo UI\" -> missing",     "font \"Yu Gothic UI\" -> missing",
      "font \"MS UI Gothic\" -> missing",  "font \"Noto Sans CJK JP\" -> missing",
      "font \"BIZ UDPGothic\" -> missing", "font \"VL PGothic\" -> missing",
      "font \"IPAPGothic\" -> missing"};
  const Case cases[] = {
      {"Meiryo UI present: asked for exactly, nothing else is asked",
       {u"Meiryo UI", u"Yu Gothic UI", u"Noto Sans CJK JP"},
       {u"Meiryo UI", 100},
       {"font \"Meiryo UI\" -> installed"}},
      {"Windows without the Japanese supplemental fonts",
       {u"Yu Gothic UI", u"MS UI Gothic"},
       {u"Yu Gothic UI", 100},
       {"font \"Meiryo UI\" -> missing", "font \"Yu Gothic UI\" -> installed"}},
      {"Linux with several faces: the list's order decides",
       {u"IPAPGothic", u"BIZ UDPGothic", u"Noto Sans CJK JP"},
       {u"Noto Sans CJK JP", 67},
       {"font \"Meiryo UI\" -> missing", "font \"Yu Gothic UI\" -> missing",
        "font \"MS UI Gothic\" -> missing", "font \"Noto Sans CJK JP\" -> installed"}},
      {"none of them: the designed face, which the system substitutes",
       {u"Takao Gothic"},
       {u"Meiryo UI", 100},
       all_missing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform fake;
    fake.installed_fonts = c.installed;
    EXPECT_EQ(ui::ChooseFontFace(fake.Get().screen), c.chosen);
    EXPECT_EQ(fake.Log(), c.calls);
  }
}

}  // namespace
}  // namespace quillomi::app
