#include "tests/unit/test_support.h"

#include <cstdio>

#include "phrases/button_file.h"
#include "phrases/text_file.h"
#include "platform/utf.h"

namespace quillomi::test {

platform::Bytes B(std::string_view bytes) { return platform::Bytes(bytes.begin(), bytes.end()); }
std::string Utf8(std::u16string_view text) { return ToUtf8(text); }

ListEntries ReadListEntries(platform::Files& files, std::u16string_view path) {
  const phrases::PhraseEntries entries = phrases::ReadPhraseList(files, path);
  ListEntries list;
  for (std::size_t k = 0; k < entries.size(); ++k) list.texts.emplace_back(entries[k]);
  list.icons.assign(entries.icons.begin(), entries.icons.end());
  return list;
}

phrases::PhraseEntries EntriesOf(const std::vector<std::u16string>& texts) {
  phrases::PhraseEntries entries;
  for (const auto& text : texts) {
    entries.text += text;
    entries.starts.push_back(entries.text.size());
    entries.icons.push_back(static_cast<std::uint8_t>(entries.icons.size() % 9 + 1));
  }
  return entries;
}

std::string LeadByteCase::Name() const {
  const char* const breaks = line_break == "\r"   ? " CR"
                             : line_break == "\n" ? " LF"
                             : line_break.empty() ? ""
                                                  : " CR LF";
  char name[48];
  std::snprintf(name, sizeof name, "lead %02X%s ending line %d", lead, breaks, at);
  return name;
}

platform::Bytes LeadByteCase::File() const {
  std::string text;
  for (int n = 1; n <= 58; ++n) {
    text += "[L" + std::to_string(n) + "]x";
    if (n == at) {
      text += static_cast<char>(lead);
      text += line_break;
    } else {
      text += "\r\n";
    }
  }
  return B(text);
}

std::vector<LeadByteCase> LeadByteCases() {
  std::vector<LeadByteCase> cases;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    const auto byte = static_cast<std::uint8_t>(lead);
    for (std::string_view line_break : {"\r", "\n", "\r\n"}) {
      cases.push_back({byte, line_break, 30});
      cases.push_back({byte, line_break, 58});
    }
    cases.push_back({byte, "", 58});
  }
  return cases;
}

std::string FillUpProblems(platform::Platform& platform, const std::u16string& path,
                           const platform::Bytes& original) {
  const auto before =
      phrases::SplitLines(platform.text.DecodeAnsi(original.data(), original.size()));
  struct NoButtons final : phrases::ButtonView {
    void SetButton(int, std::u16string, std::u16string) override {}
  } buttons;
  std::vector<std::u16string> list_box1;
  phrases::FillButtonFile(platform, path, list_box1, buttons);

  const platform::Bytes written = platform.files.ReadAll(path);
  const auto after = phrases::SplitLines(phrases::DecodeButtonFile(platform.text, written).text);
  std::string problems;
  if (after.size() != 59)
    problems += "the next start reads " + std::to_string(after.size()) + " lines; ";
  for (std::size_t k = 0; k < after.size(); ++k) {
    const std::u16string expected =
        k < before.size() ? before[k] : phrases::PlaceholderLine(static_cast<int>(k + 1));
    if (after[k] != expected) {
      problems += "line " + std::to_string(k + 1) + " reads " + Utf8(after[k]) + "; ";
      break;
    }
  }
  if (list_box1 != after) problems += "ListBox1 is not what the next start reads; ";

  list_box1.clear();
  phrases::FillButtonFile(platform, path, list_box1, buttons);
  if (platform.files.ReadAll(path) != written) problems += "the next start writes again; ";
  return problems;
}

}  // namespace quillomi::test
