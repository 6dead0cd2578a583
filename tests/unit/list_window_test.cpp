// The list window's handlers on the recording fake and a simulated frame.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/test_support.h"
#include "ui/list_window.h"

namespace quillomi::ui {
namespace {

using test::ErrorOf;
using test::Utf8;
using Lines = std::vector<std::string>;

const std::u16string kProgramDir = u"C:\\Games\\Quillomi\\";
const std::u16string kListFile = kProgramDir + u"QLMO_一覧_ユーザー設定.txt";
const std::u16string kSettings = kProgramDir + u"Quillomi.exe_ユーザー設定.ini";

// A framed window (frame 8, caption 23) as the toolkit keeps it, created with
// the designed client area, and its lb1; every change goes into the shared log.
class SimulatedListForm final : public ListFormFrame, public phrases::PhraseListView {
 public:
  explicit SimulatedListForm(Lines& log) : log_(log) {}

  int left = 0, top = 0;
  Size client{356, 320};

  platform::Rect Outer() const override {
    return {left, top, left + client.width + 16, top + client.height + 39};
  }
  Size Client() const override { return client; }
  void MoveTo(Point place) override {
    top = Logged("top", place.top);
    left = Logged("left", place.left);
  }
  void SetClientSize(Size v) override {
    client = {Logged("client width", v.width), Logged("client height", v.height)};
  }
  void SetItemHeight(int v) override { Logged("item height", v); }
  void Clear() override { entries = {}; }
  void Assign(phrases::PhraseEntries loaded) override { entries = std::move(loaded); }

  phrases::PhraseEntries entries;

 private:
  int Logged(const char* what, int v) {
    log_.push_back(what + (" " + std::to_string(v)));
    return v;
  }

  Lines& log_;
};

// The handlers with the platform's calls, the frame's changes and what is
// sent in one log.
struct Rig {
  Rig() {
    fake.on_record = [this](std::string line) {
      for (const auto& [path, name] : {std::pair{kListFile, "<list>"}, {kSettings, "<settings>"}})
        if (auto at = line.find(fake::Quote(path)); at != std::string::npos)
          line.replace(at, fake::Quote(path).size(), name);
      log.push_back(line);
    };
  }

  std::string Create() {
    return Utf8(ErrorOf([this] { handlers.FormCreate(kListFile); }));
  }

  Lines log;
  fake::FakePlatform fake;
  SimulatedListForm form{log};
  test::SimulatedPanel panel_view{fake};
  PanelHandlers panel{fake.Get(), panel_view};
  ListWindowHandlers handlers{fake.Get(), form, form, panel};
};

std::string Joined(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : ", ") + line;
  return text;
}

TEST(ListWindow, CreationSizesItemsThenPlacesTheWindowThenLoadsTheList) {
  // From the outer size 372 x 359 at creation on 1920 x 1040.
  const std::string kDefaults = "top 390, left 824, client width 372, client height 320";
  // Read from the settings and placed at (top, left) in the default client size.
  const auto placed = [](int top, int left) {
    return "item height 16, read <settings>, top " + std::to_string(top) + ", left " +
           std::to_string(left) + ", client width 372, client height 320, read <list>";
  };
  struct Case {
    const char* settings;  // nullptr: no file
    const char* list;      // nullptr: no file
    int dpi;
    std::string log, error;
  };
  const Case cases[] = {
      {nullptr, "x\r\n", 96, "item height 16, " + kDefaults + ", read <list>", ""},
      // Out of reach, it moves just far enough onto the work area, in the stored size.
      {"[System]\r\nForm3Top=-5000\r\nForm3Left=99999\r\nForm3ClientWidth=10\r\n"
       "Form3ClientHeight=0\r\n",
       "x\r\n", 144,
       "item height 24, read <settings>, top 0, left 1894, client width 10, "
       "client height 0, read <list>",
       ""},
      // 100 of its 388 pixels on the work area are enough, 99 are not.
      {"[System]\r\nForm3Top=100\r\nForm3Left=-288\r\n", "x\r\n", 96, placed(100, -288), ""},
      {"[System]\r\nForm3Top=100\r\nForm3Left=-289\r\n", "x\r\n", 96, placed(100, 0), ""},
      // Its top edge must be on it.
      {"[System]\r\nForm3Top=-1\r\nForm3Left=100\r\n", "x\r\n", 96, placed(0, 100), ""},
      // Unreadable values take their defaults, from the outer size as created.
      {"[system]\r\nform3top=abc\r\nForm3ClientWidth=800\r\nForm3ClientHeight=$20\r\n", "x\r\n",
       110,
       "item height 19, read <settings>, top 390, left 824, client width 800, client height 32, "
       "read <list>",
       ""},
      {"[System]\r\nForm3Top=\x82\xa0\r\n", "x\r\n", 96, "item height 16, read <settings>",
       Utf8(messages::kMappingError)},
      {nullptr, nullptr, 96, "item height 16, " + kDefaults + ", read <list>",
       Utf8(messages::CannotOpenFile(kListFile, u"指定されたファイルが見つかりません。"))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    Rig r;
    r.fake.dpi_x = c.dpi;
    if (c.settings) r.fake.PutFile(kSettings, c.settings);
    if (c.list) r.fake.PutFile(kListFile, c.list);
    EXPECT_EQ(r.Create(), c.error);
    EXPECT_EQ(Joined(r.log), c.log);
    EXPECT_EQ(r.form.entries.size(), c.error.empty() ? 1u : 0u);
  }
}

TEST(ListWindow, ReloadReplacesTheEntriesAndAFailedOneEmptiesThem) {
  Rig r;
  r.fake.PutFile(kListFile, "one\r\ntwo\r\n");
  r.Create();
  r.fake.PutFile(kListFile, "◆new\r\nthree\r\n");
  r.handlers.btn_RELOADClick();
  ASSERT_EQ(r.form.entries.size(), 2u);
  EXPECT_EQ(Utf8(r.form.entries[1]), "three");

  r.fake.read_faults[kListFile] = u"プロセスはファイルにアクセスできません。";
  EXPECT_THROW(r.handlers.btn_RELOADClick(), UserError);
  EXPECT_EQ(r.form.entries.size(), 0u);
}

TEST(ListWindow, AClickSendsTheRawLineButAHeadingEmptiesTheClipboard) {
  Rig r;
  r.fake.clipboard_text = u"before";
  // The raw line goes straight to the panel's delivery, which prepares it and
  // empties the free-text box; "◆" anywhere makes a heading.
  const std::pair<std::u16string_view, std::string> cases[] = {
      {u"[a]こんにちは", "clipboard \"こんにちは\", empty edtTxt"},
      {u"◆head", "clipboard \"\""},
      {u"[x]◆mid", "clipboard \"\""},
      {u"", "clipboard \"\", empty edtTxt"},
      {u"plain [Enter無し]", "clipboard \"plain \", empty edtTxt"},
  };
  for (const auto& [text, log] : cases) {
    r.log.clear();
    r.handlers.lb1ListClick(text);
    std::erase_if(r.log, [](const std::string& line) {
      return !line.starts_with("clipboard") && !line.starts_with("empty");
    });
    EXPECT_EQ(Joined(r.log), log) << Utf8(text);
  }

  // A busy clipboard is reported and keeps what it held.
  r.fake.clipboard_text = u"before";
  r.fake.clipboard_busy = u"アクセスが拒否されました。";
  r.log.clear();
  EXPECT_EQ(ErrorOf([&] { r.handlers.lb1ListClick(u"◆head"); }),
            u"クリップボード アクセスが拒否されました。 を開けません");
  EXPECT_EQ(r.log, Lines{"clipboard busy"});
  EXPECT_EQ(r.fake.clipboard_text, std::optional<std::u16string>(u"before"));
}

TEST(ListWindow, EditButtonShowsItsMessageThenStartsNotepadOnTheFile) {
  Rig r;
  r.fake.PutFile(kListFile, "x\r\n");
  r.Create();
  r.log.clear();
  std::u16string shown;
  r.fake.on_message = [&](std::u16string_view text) { shown = text; };
  r.handlers.btn_EDITClick(0x2a);
  ASSERT_EQ(r.log.size(), 2u);
  EXPECT_TRUE(r.log[0].starts_with("message \"リストの編集を行います。")) << r.log[0];
  EXPECT_EQ(r.log[1], "notepad 0x2a <list> " + fake::Quote(kProgramDir));

  // 165 units; every line break an LF CR pair, nine of them.
  EXPECT_EQ(shown.size(), 165u);
  int breaks = 0;
  for (std::size_t at = 0; (at = shown.find(u"\n\r", at)) != shown.npos; ++breaks)
    shown.replace(at, 2, u" ");
  EXPECT_EQ(breaks, 9);
  EXPECT_EQ(shown.find_first_of(u"\r\n"), shown.npos) << Utf8(shown);
}

// How the rest of the file is kept is the settings document's.
TEST(ListWindow, CloseWritesTheFourKeysInOrder) {
  Rig r;
  r.form.top = 100;
  r.form.left = -20;
  r.form.client = {400, 300};
  EXPECT_TRUE(r.handlers.FormClose());
  EXPECT_EQ(r.fake.FileText(kSettings),
            "\xEF\xBB\xBF[System]\r\nForm3Top=100\r\nForm3Left=-20\r\nForm3ClientWidth=400\r\n"
            "Form3ClientHeight=300\r\n\r\n");
}

// A close that cannot save keeps the window once, then lets it go with the
// error shown again; a save that works in between starts the count anew.
// x: the settings cannot be written, o: they can.
TEST(ListWindow, CloseThatCannotSaveKeepsTheWindowOnceOnly) {
  const std::string cannot = "ファイル \"" + Utf8(kSettings) + "\" を作成できません。";
  const std::pair<std::string_view, std::string> cases[] = {
      {"xx", "kept, shown and closed"},
      {"xox", "kept, closed, kept"},
      {"xxx", "kept, shown and closed, kept"},
  };
  for (const auto& [closes, outcome] : cases) {
    Rig r;
    Lines got;
    for (char close : closes) {
      r.fake.directories.erase(kSettings);
      if (close == 'x') r.fake.directories.insert(kSettings);
      r.log.clear();
      bool closed = false;
      const std::string error = Utf8(ErrorOf([&] { closed = r.handlers.FormClose(); }));
      const bool shown = !r.log.empty() && r.log.back().starts_with("error \"ファイル");
      EXPECT_TRUE(!got.empty() || error.starts_with(cannot)) << error;
      got.push_back(error.starts_with("ファイル") ? "kept"
                    : closed && shown             ? "shown and closed"
                    : closed && error.empty()     ? "closed"
                                                  : "? " + error);
    }
    EXPECT_EQ(Joined(got), outcome) << closes;
  }
}

// lb1 keeps its distances to all four edges, the others to the left and
// bottom; a caption that needs more room widens its control and moves those
// right of it along.
TEST(ListWindowLayout, ControlsFollowTheirAnchoredEdgesAndCaptions) {
  struct Case {
    Size client;
    CaptionWidths needed;
    ControlBox edit, reload, label;
  };
  const Case cases[] = {
      {{600, 500}, {}, {0, 478, 60, 22}, {60, 478, 72, 22}, {152, 478, 119, 17}},
      {{100, 30}, {}, {0, 8, 60, 22}, {60, 8, 72, 22}, {152, 8, 119, 17}},
      {{372, 320}, {50, 70, 100}, {0, 298, 60, 22}, {60, 298, 72, 22}, {152, 298, 119, 17}},
      {{372, 320}, {70, 0, 0}, {0, 298, 70, 22}, {70, 298, 72, 22}, {162, 298, 119, 17}},
      {{372, 320}, {70, 82, 130}, {0, 298, 70, 22}, {70, 298, 82, 22}, {172, 298, 130, 17}},
  };
  for (const auto& c : cases) {
    const ControlBox lb1{0, 0, c.client.width, c.client.height - 23};
    EXPECT_EQ(LayOutListWindow(c.client, c.needed),
              (ListWindowLayout{lb1, c.edit, c.reload, c.label}))
        << c.client.width << " x " << c.client.height << " needing " << c.needed.btnEDIT << ", "
        << c.needed.btnRELOAD << ", " << c.needed.Label1;
  }
}

}  // namespace
}  // namespace quillomi::ui
