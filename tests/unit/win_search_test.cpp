#include "delivery/win_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win_search_spy.h"

namespace quillomi::delivery {
namespace {

using platform::WindowHandle;

std::vector<WindowHandle> Collected(const TWindowList& list) {
  return {list.handles.begin(), list.handles.begin() + list.count};
}

TEST(GetTopWindows, CollectsVisibleUnownedTopLevelWindowsInOrder) {
  fake::FakePlatform fake;
  fake.AddWindow(test::Window().Handle(0x10).Title(u"a"));
  fake.AddWindow(test::Window().Handle(0x11).Title(u"hidden").Hidden());
  fake.AddWindow(test::Window().Handle(0x12).Title(u"owned").Owner(0x10));
  fake.AddWindow(test::Window().Handle(0x13).Title(u"child").Parent(0x10));
  fake.AddWindow(test::Window().Handle(0x14).Title(u""));
  fake.AddWindow(test::Window().Handle(0x15).Title(u"owned and hidden").Owner(0x14).Hidden());
  fake.AddWindow(test::Window().Handle(0x16).Title(u"owned by a hidden one").Owner(0x11));
  fake.AddWindow(test::Window().Handle(0x17).Title(u"b"));

  TWindowList list;
  list.count = 99;
  EXPECT_EQ(GetTopWindows(fake, list), 3);
  EXPECT_EQ(list.count, 3);
  EXPECT_EQ(Collected(list), (std::vector<WindowHandle>{0x10, 0x14, 0x17}));
}

TEST(GetTopWindows, NoWindowsGivesAnEmptyList) {
  fake::FakePlatform fake;
  fake.AddWindow(test::Window().Handle(0x10).Hidden());
  TWindowList list;
  list.count = 7;
  EXPECT_EQ(GetTopWindows(fake, list), 0);
  EXPECT_EQ(list.count, 0);
}

TEST(GetTopWindows, StopsCollectingWhenFull) {
  struct Guarded {
    TWindowList list;
    std::array<std::uint64_t, 64> after;
  };
  constexpr std::uint64_t kCanary = 0xC0FFEE0DDBA11ULL;

  for (int windows : {500, 501, 502, 10000}) {
    SCOPED_TRACE(windows);
    fake::FakePlatform fake;
    std::vector<WindowHandle> qualifying;
    // Hidden and owned windows in between must not use up room.
    for (int i = 0; i < windows; ++i) {
      const bool hidden = i % 7 == 3;
      const bool owned = i % 11 == 5;
      const auto handle =
          fake.AddWindow(test::Window().Title(u"w").Owner(owned ? 0x10 : 0).Hidden(hidden));
      if (!hidden && !owned) qualifying.push_back(handle);
    }
    auto guarded = std::make_unique<Guarded>();
    guarded->after.fill(kCanary);

    const auto expected = std::min<std::size_t>(qualifying.size(), TWindowList::kCapacity);
    EXPECT_EQ(GetTopWindows(fake, guarded->list), static_cast<std::int32_t>(expected));
    qualifying.resize(expected);
    EXPECT_EQ(Collected(guarded->list), qualifying);
    for (auto slot : guarded->after) ASSERT_EQ(slot, kCanary);
  }
}

TEST(GetTopWindows, AFailureInsideTheEnumerationReachesTheCaller) {
  fake::FakePlatform fake;
  test::SpyWindows spy(fake);
  fake.AddWindow(test::Window().Handle(0x10));
  fake.AddWindow(test::Window().Handle(0x11));
  spy.owner_query_fails_for = 0x11;
  TWindowList list;
  EXPECT_THROW(GetTopWindows(spy, list), OsFailure);
}

TEST(GetWindowTitleText, TakesTheTitleUpToItsFirstNulAndAtMost259Units) {
  const std::u16string long_title = [] {
    std::u16string t;
    for (int i = 0; i < 300; ++i) t += static_cast<char16_t>(u'ア' + i % 40);
    return t;
  }();
  struct Case {
    std::u16string title;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"Ultima Online", u"Ultima Online"},
      {u"", u""},
      {std::u16string(u"ab\0UOSA c", 9), u"ab"},
      {long_title.substr(0, 258), long_title.substr(0, 258)},
      {long_title.substr(0, 259), long_title.substr(0, 259)},
      {long_title.substr(0, 260), long_title.substr(0, 259)},
      {long_title, long_title.substr(0, 259)},
  };
  for (const auto& c : cases) {
    fake::FakePlatform fake;
    test::SpyWindows spy(fake);
    const auto window = fake.AddWindow(test::Window().Title(c.title));
    EXPECT_EQ(GetWindowTitleText(spy, window), c.expected) << test::Utf8(c.title);
    EXPECT_TRUE(spy.title_buffers_zeroed);
  }
}

TEST(GetWindowTitleText, AGoneWindowHasNoTitle) {
  fake::FakePlatform fake;
  const auto window = fake.AddWindow(test::Window().Title(u"UOSA client"));
  fake.RemoveWindow(window);
  EXPECT_EQ(GetWindowTitleText(fake, window), u"");
  EXPECT_EQ(GetWindowTitleText(fake, 0), u"");
}

}  // namespace
}  // namespace quillomi::delivery
