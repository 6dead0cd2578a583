// The data files that ship beside Quillomi.exe, read from the source tree
// through the program's own loaders: they must load, and make sense on the
// panel and in the list window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "delivery/message_preparation.h"
#include "phrases/button_file.h"
#include "phrases/phrase_list.h"
#include "phrases/text_file.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

using test::Utf8;

platform::Bytes SourceFile(const std::u8string& name) {
  const std::filesystem::path path =
      std::filesystem::path(reinterpret_cast<const char8_t*>(QUILLOMI_SOURCE_DIR)) / u8"data" /
      name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.is_open()) << path.string();
  return platform::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RecordingButtons : ButtonView {
  void SetButton(int, std::u16string caption, std::u16string hint) override {
    captions.push_back(std::move(caption));
    hints.push_back(std::move(hint));
  }
  std::vector<std::u16string> captions, hints;
};

using RecordingList = test::ListEntries;

// The list template as the list window shows it.
RecordingList ShippedList(fake::FakePlatform& fake) {
  fake.files[u"QLMO_一覧_ユーザー設定.txt"] = SourceFile(u8"Quillomi_Lst.dll");
  return test::ReadListEntries(fake, u"QLMO_一覧_ユーザー設定.txt");
}

bool IsHeading(std::u16string_view line) {
  return line.find(kHeadingMark) != std::u16string::npos;
}

TEST(ShippedData, ButtonTemplateFillsEveryButtonAsIs) {
  fake::FakePlatform fake;
  const auto bytes = SourceFile(u8"Quillomi_Btn.dll");
  // With its mark it reads the same whatever the system's code page.
  EXPECT_EQ(DecodeButtonFile(fake, bytes).encoding, Encoding::kUtf8);
  const std::u16string path = u"QLMO_ボタン_ユーザー設定.txt";
  fake.files[path] = bytes;
  std::vector<std::u16string> list_box1;
  RecordingButtons buttons;
  FillButtonFile(fake.Get(), path, list_box1, buttons);

  EXPECT_EQ(fake.files[path], bytes) << "a complete template is never filled up";
  ASSERT_EQ(list_box1.size(), 59U);
  ASSERT_EQ(buttons.captions.size(), 59U);
  int no_enter = 0;
  for (std::size_t i = 0; i < list_box1.size(); ++i) {
    SCOPED_TRACE(Utf8(list_box1[i]));
    EXPECT_FALSE(buttons.captions[i].empty());
    EXPECT_EQ(buttons.captions[i], ButtonLabel(list_box1[i])) << "the whole label shows";
    EXPECT_FALSE(buttons.hints[i].empty());
    EXPECT_EQ(buttons.hints[i].find_first_of(u"[]"), std::u16string::npos);
    const auto sent = delivery::PrepareMessage(list_box1[i], {}, {});
    ASSERT_TRUE(sent.has_value()) << "a heading on a button sends nothing";
    EXPECT_EQ(sent->text, buttons.hints[i]) << "the button sends what its hint shows";
    no_enter += sent->no_enter ? 1 : 0;
  }
  EXPECT_GE(no_enter, 2);
}

TEST(ShippedData, ListTemplateGroupsUnderHeadingsWithTheNineIcons) {
  fake::FakePlatform fake;
  const RecordingList list = ShippedList(fake);
  ASSERT_GE(list.texts.size(), 100U);
  ASSERT_TRUE(IsHeading(list.texts.front())) << "the first group gets the first icon";
  std::vector<int> heading_icons;
  for (std::size_t i = 0; i < list.texts.size(); ++i) {
    const auto& line = list.texts[i];
    SCOPED_TRACE(Utf8(line));
    if (IsHeading(line)) {
      EXPECT_EQ(line.front(), kHeadingMark);
      EXPECT_EQ(line.find(u'['), std::u16string::npos);
      heading_icons.push_back(list.icons[i]);
      continue;
    }
    EXPECT_EQ(list.icons[i], heading_icons.back()) << "a phrase takes its heading's icon";
    EXPECT_EQ(line.front(), u'[') << "every phrase carries a label";
    const auto sent = delivery::PrepareMessage(line, {}, {});
    ASSERT_TRUE(sent.has_value());
    EXPECT_FALSE(sent->text.empty());
  }
  ASSERT_GE(heading_icons.size(), 9U);
  for (std::size_t k = 0; k < heading_icons.size(); ++k)
    EXPECT_EQ(heading_icons[k], static_cast<int>(k % 9 + 1)) << "heading " << k;
}

TEST(ShippedData, NormalSpeechListHoldsTheCommandsWithoutLabels) {
  fake::FakePlatform fake;
  fake.files[u"QLMO_通常発言リスト.txt"] = SourceFile(u8"QLMO_通常発言リスト.txt");
  const auto normal = ReadUtf8Lines(fake, u"QLMO_通常発言リスト.txt");
  ASSERT_GE(normal.size(), 10U);
  for (const auto& entry : normal) {
    SCOPED_TRACE(Utf8(entry));
    EXPECT_FALSE(entry.empty());
    EXPECT_EQ(entry.find_first_of(u"[]"), std::u16string::npos)
        << "entries are compared with the text after its labels are gone";
    EXPECT_NE(entry.front(), u' ');
    EXPECT_NE(entry.back(), u' ') << "a space at either end would never match";
  }
  for (std::u16string_view command : {u"bank", u"guards", u"vendor buy", u"all follow me"})
    EXPECT_NE(std::find(normal.begin(), normal.end(), command), normal.end()) << Utf8(command);

  // The list's game commands go out as normal speech whatever the speech mode.
  const RecordingList list = ShippedList(fake);
  const auto commands = std::find(list.texts.begin(), list.texts.end(), u"◆コマンド");
  ASSERT_NE(commands, list.texts.end());
  delivery::SpeechMode party;
  party.party_box = true;
  for (auto line = std::next(commands); line != list.texts.end() && !IsHeading(*line); ++line) {
    const auto sent = delivery::PrepareMessage(*line, party, normal);
    ASSERT_TRUE(sent.has_value());
    EXPECT_FALSE(sent->text.starts_with(u"/ ")) << Utf8(*line);
  }
}

}  // namespace
}  // namespace quillomi::phrases
