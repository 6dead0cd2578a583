#include "app/startup.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "res/identities.h"

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

}  // namespace
}  // namespace quillomi::app
