// Data files far beyond what a player writes: one line of 10 MB, and a
// million lines. Each reader takes them whole, and every write keeps them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phrases/button_file.h"
#include "phrases/phrase_list.h"
#include "phrases/settings.h"
#include "platform/fake/fake_platform.h"
#include "platform/utf.h"
#include "tests/unit/test_support.h"

namespace quillomi::phrases {
namespace {

const std::u16string kDir = u"C:\\Games\\Quillomi\\";
const std::string kBom = "\xEF\xBB\xBF";

// About 10 MB of Japanese and ASCII without a break, a heading mark at its
// end; in UTF-8 or UTF-16.
template <class Text>
Text LongLine(const Text& label, const Text& words, const Text& mark) {
  Text line = label;
  for (int i = 0; i < 300'000; ++i) line += words;
  return line + mark;
}

// Lines "<prefix>i<infix>i" for i from 0.
std::string ManyLines(std::size_t count, const std::string& prefix, const std::string& infix) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i)
    text += prefix + std::to_string(i) + infix + std::to_string(i) + "\r\n";
  return text;
}

struct Buttons final : ButtonView {
  void SetButton(int number, std::u16string caption, std::u16string hint) override {
    captions.resize(static_cast<std::size_t>(number));
    captions.back() = caption;
    last_hint_size = hint.size();
  }
  std::vector<std::u16string> captions;
  std::size_t last_hint_size = 0;
};

TEST(LargeFiles, OneLineOfTenMegabytes) {
  const std::string line = LongLine<std::string>("[長い]", "とても長い発言 very long phrase ", "◆");
  const std::u16string wide =
      LongLine<std::u16string>(u"[長い]", u"とても長い発言 very long phrase ", u"◆");
  fake::FakePlatform fake;

  // The list: one entry, whole, under the first icon.
  fake.PutFile(kDir + u"list.txt", kBom + line);
  const auto entries = test::ReadListEntries(fake, kDir + u"list.txt");
  ASSERT_EQ(entries.texts.size(), 1u);
  EXPECT_TRUE(entries.texts[0] == wide);
  EXPECT_EQ(entries.icons, std::vector<int>{1});

  // The button file: filled up behind the line, which stays byte for byte.
  const std::u16string buttons_path = kDir + u"buttons.txt";
  fake.PutFile(buttons_path, kBom + line);
  std::vector<std::u16string> list_box1;
  Buttons buttons;
  FillButtonFile(fake.Get(), buttons_path, list_box1, buttons);
  const std::string written = fake.FileText(buttons_path);
  EXPECT_EQ(written.compare(0, kBom.size() + line.size(), kBom + line), 0);
  EXPECT_EQ(written.substr(kBom.size() + line.size(), 13), "\r\n[2]\xE3\x80\x80\r\n[3]");
  ASSERT_EQ(list_box1.size(), 59u);
  EXPECT_TRUE(list_box1[0] == wide);
  EXPECT_EQ(buttons.captions[0], u"長い");

  // The settings file: the line survives a save next to the key written.
  const std::u16string settings_path = kDir + u"settings.ini";
  fake.PutFile(settings_path, kBom + "[System]\r\n" + line + "\r\nLeft2=7\r\n");
  auto settings = SettingsDocument::Open(fake, settings_path);
  EXPECT_EQ(settings.ReadInteger(kSettingsSection, u"Left2", 0), 7);
  settings.WriteInteger(kSettingsSection, u"Left2", 8);
  settings.Save();
  EXPECT_EQ(fake.FileText(settings_path), kBom + "[System]\r\n" + line + "\r\nLeft2=8\r\n\r\n");
}

TEST(LargeFiles, AMillionLines) {
  constexpr std::size_t kLines = 1'000'000;
  fake::FakePlatform fake;

  // The button file: every line kept, the first 59 on buttons, nothing written.
  const std::u16string buttons_path = kDir + u"buttons.txt";
  const std::string button_text = kBom + ManyLines(kLines, "[b]", " phrase ");
  fake.PutFile(buttons_path, button_text);
  std::vector<std::u16string> list_box1;
  Buttons buttons;
  FillButtonFile(fake.Get(), buttons_path, list_box1, buttons);
  EXPECT_EQ(fake.FileText(buttons_path), button_text);
  ASSERT_EQ(list_box1.size(), kLines);
  EXPECT_EQ(list_box1.back(), u"[b]999999 phrase 999999");
  ASSERT_EQ(buttons.captions.size(), 59u);
  EXPECT_EQ(buttons.captions[58], u"b");
  EXPECT_EQ(buttons.last_hint_size, std::u16string(u"58 phrase 58").size());

  // The settings file: the first of a million keys is found, the key written
  // replaces its line in place, and the rest comes back as it was.
  const std::u16string settings_path = kDir + u"settings.ini";
  const std::string entries = ManyLines(kLines, "Key", "=");
  fake.PutFile(settings_path, kBom + "[System]\r\nLeft2=1\r\n" + entries + "Left2=2\r\n\r\n");
  auto settings = SettingsDocument::Open(fake, settings_path);
  EXPECT_EQ(settings.ReadInteger(kSettingsSection, u"Left2", 0), 1);
  EXPECT_EQ(settings.ReadInteger(kSettingsSection, u"key999999", 0), 999999);
  settings.WriteInteger(kSettingsSection, u"Left2", 3);
  settings.Save();
  EXPECT_EQ(fake.FileText(settings_path),
            kBom + "[System]\r\nLeft2=3\r\n" + entries + "Left2=2\r\n\r\n");
}

}  // namespace
}  // namespace quillomi::phrases
