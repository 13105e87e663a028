#include "controls/filename_edit.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "base/win32/paint_scopes.h"
#include "ui/form.h"
#include "test_support.h"

namespace kestrune {
namespace {

using namespace std::chrono_literals;

// What an open-file dialog showed when it came up.
struct DialogSeen {
  std::string file_name;  // the file-name box
  std::string folder;     // the folder it browses
  HWND owner = nullptr;
  bool owner_enabled = true;
};

// Answers the open-file dialogs of this process from a thread of its own, in turn: records what
// each one shows, then types its answer into the file-name box and presses Open, or presses
// Cancel for an empty answer. Dialogs beyond the answers are cancelled. The dialog is modal, so
// once the call that opened it has returned, it has been seen.
class DialogDriver {
 public:
  explicit DialogDriver(std::vector<std::string> answers = {})
      : answers_(std::move(answers)),
        watcher_(GetCurrentProcessId(), [this](HWND dialog) { Answer(dialog); }) {}

  std::vector<DialogSeen> Seen() const {
    const std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  void Answer(HWND dialog) {
    DialogSeen seen;
    // The dialog of GetOpenFileNameA answers in ANSI.
    char text[1024] = {};
    SendMessageA(dialog, CDM_GETSPEC, sizeof text, reinterpret_cast<LPARAM>(text));
    seen.file_name = text;
    text[0] = '\0';
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text));
    seen.folder = text;
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.owner_enabled = IsWindowEnabled(seen.owner) != FALSE;
    std::string answer;
    {
      const std::lock_guard lock(mutex_);
      if (seen_.size() < answers_.size()) answer = answers_[seen_.size()];
      seen_.push_back(seen);
    }
    if (answer.empty()) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(answer.c_str()));
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
  }

  const std::vector<std::string> answers_;
  mutable std::mutex mutex_;
  std::vector<DialogSeen> seen_;
  test_support::DialogWatcher watcher_;  // last: it answers into the members above
};

// Dispatches everything queued, with the dialog keys of `dialog_window` handled as the
// application's loop handles the main window's.
void DispatchQueued(HWND dialog_window = nullptr) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog_window && IsDialogMessageW(dialog_window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A form that keeps the commands its menu would receive.
class RecordingForm final : public TForm {
 public:
  RecordingForm() : TForm({L"test", 100, 100, 400, 200}) { CreateFormWindow(); }
  std::vector<WORD> commands;

 protected:
  void MenuCommand(WORD id) override { commands.push_back(id); }
};

class FilenameEditTest : public ::testing::Test {
 protected:
  FilenameEditTest() : working_directory_(CurrentDirectory()) {
    CreateDirectoryA(dir.File("other").c_str(), nullptr);
    test_support::WriteFileBytes(srcds, "server");
    test_support::WriteFileBytes(hlds, "other server");
    form.Show();
    // The window manager activates the form in its own time; the focus is only ours after that.
    SetForegroundWindow(form.Handle());
    test_support::PumpUntil(
        [&] {
          return GetForegroundWindow() == form.Handle() && GetActiveWindow() == form.Handle();
        },
        5000);
  }
  // Should a browse ever move the working directory, the folder must still be left to be removed.
  ~FilenameEditTest() override { SetCurrentDirectoryA(working_directory_.c_str()); }

  static std::string CurrentDirectory() {
    std::string path(GetCurrentDirectoryA(0, nullptr), '\0');
    path.resize(GetCurrentDirectoryA(DWORD(path.size()), path.data()));
    return path;
  }

  std::string SelectedRange() const {
    DWORD start = 0, end = 0;
    SendMessageW(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return std::to_string(start) + ".." + std::to_string(end);
  }

  test_support::TempDir dir;
  const std::string srcds = dir.File("srcds.exe");
  const std::string other = dir.File("other");
  const std::string hlds = dir.File("other\\hlds.exe");
  RecordingForm form;
  TsFilenameEdit edit{form.Handle(), {32, 40, 201, 21, L""}};

 private:
  const std::string working_directory_;
};

// The folder without its final "\".
std::string Folder(const test_support::TempDir& dir) {
  return dir.Path().substr(0, dir.Path().size() - 1);
}

TEST_F(FilenameEditTest, OpensWhereTheTextPoints) {
  struct Case {
    std::string text;
    std::string folder;
    std::string file_name;
  };
  const Case cases[] = {
      {srcds, Folder(dir), "srcds.exe"},
      {other + "\\", other, ""},
      {"C:\\", "C:\\", ""},
      // Too long for the dialog's buffer: no name rather than a cut one.
      {dir.Path() + std::string(300, 'a') + ".exe", Folder(dir), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    edit.SetText(c.text);
    const DialogDriver driver;
    edit.BrowseForFile();
    const auto seen = driver.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].folder, c.folder);
    EXPECT_EQ(seen[0].file_name, c.file_name);
    // Modal: the form is disabled while the dialog is open, and has the focus back after it.
    EXPECT_EQ(seen[0].owner, form.Handle());
    EXPECT_FALSE(seen[0].owner_enabled);
    EXPECT_EQ(GetFocus(), edit.Handle());
    EXPECT_EQ(edit.Text(), c.text) << "Cancel changes nothing";
  }
}

TEST_F(FilenameEditTest, OkTakesTheChosenFileAndTheNextBrowseStartsInItsFolder) {
  edit.SetText(srcds);
  const std::string started_in = CurrentDirectory();
  const DialogDriver driver({hlds});
  edit.BrowseForFile();
  EXPECT_EQ(edit.Text(), hlds);
  EXPECT_EQ(edit.Dialog().InitialDir(), other);
  EXPECT_EQ(GetFocus(), edit.Handle());
  // The servers start in the working directory: browsing leaves it where it was.
  EXPECT_EQ(CurrentDirectory(), started_in);

  // A quoted text is no file name: the dialog opens as the last browse left it.
  const std::string quoted = "\"" + srcds + "\"";
  edit.SetText(quoted);
  edit.BrowseForFile();
  const auto seen = driver.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].folder, other);
  EXPECT_EQ(seen[1].file_name, "hlds.exe");
  EXPECT_EQ(edit.Text(), quoted);
  EXPECT_EQ(edit.Dialog().FileName(), hlds);
  EXPECT_EQ(edit.Dialog().InitialDir(), other);
}

TEST_F(FilenameEditTest, TheEventsRunAtTheirStepsAndMayChangeTheOutcome) {
  std::vector<std::string> calls;
  edit.OnButtonClick = [&] { calls.push_back("click"); };
  edit.OnBeforeDialog = [&](std::string& name, bool& go) {
    calls.push_back("before " + name);
    if (name == "stop") go = false;
    if (name == "replace") name = srcds;
  };
  edit.OnAfterDialog = [&](std::string& name, bool& ok) {
    calls.push_back("after " + name + (ok ? " ok" : " cancel"));
    name += ".renamed";
  };

  edit.SetText("stop");
  {
    const DialogDriver driver;
    edit.BrowseForFile();
    EXPECT_TRUE(driver.Seen().empty());
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"click", "before stop"}));
  EXPECT_EQ(edit.Text(), "stop");

  calls.clear();
  edit.SetText("replace");
  const DialogDriver driver({hlds});
  edit.BrowseForFile();
  const auto seen = driver.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].file_name, "srcds.exe");
  EXPECT_EQ(calls, (std::vector<std::string>{"click", "before replace", "after " + hlds + " ok"}));
  EXPECT_EQ(edit.Text(), hlds + ".renamed");
  EXPECT_EQ(edit.Dialog().InitialDir(), other);
}

TEST_F(FilenameEditTest, TheButtonAndAltDownBrowseUnlessReadOnly) {
  const HWND button = edit.ButtonHandle();
  const auto click = [&](LPARAM release_at) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 8));
    PostMessageW(button, WM_LBUTTONUP, 0, release_at);
  };
  const auto alt_down = [&] {
    PostMessageW(edit.Handle(), WM_SYSKEYDOWN, VK_DOWN, (1 << 29) | 1);
    PostMessageW(edit.Handle(), WM_SYSKEYUP, VK_DOWN, (1 << 29) | (3u << 30) | 1);
  };
  struct Case {
    const char* name;
    std::function<void()> input;
    bool read_only;
    std::size_t dialogs;
  };
  const Case cases[] = {
      {"click", [&] { click(MAKELPARAM(9, 8)); }, false, 1},
      {"click released off the button", [&] { click(MAKELPARAM(-20, 8)); }, false, 0},
      {"Alt+Down", alt_down, false, 1},
      {"click, read-only", [&] { click(MAKELPARAM(9, 8)); }, true, 0},
      {"Alt+Down, read-only", alt_down, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit.SetReadOnly(c.read_only);
    edit.SetText(srcds);
    const DialogDriver driver;
    c.input();
    DispatchQueued(form.Handle());
    EXPECT_EQ(driver.Seen().size(), c.dialogs);
    EXPECT_EQ(edit.Text(), srcds);
  }
}

TEST_F(FilenameEditTest, EnterAndEscapeAreTheWindowsDialogKeysAndNeverEnterTheText) {
  // Tall enough for several lines, so that only the edit's own handling keeps line breaks out.
  SetWindowPos(edit.Handle(), nullptr, 0, 0, 201, 80, SWP_NOMOVE | SWP_NOZORDER);
  TsEdit next(form.Handle(), {32, 130, 201, 21, L""});
  struct Case {
    UINT key;
    bool dialog_keys;  // dispatched through the window's dialog-key handling
    std::vector<WORD> commands;
    bool focus_moves;
  };
  // The keys dispatched plainly come after the dialog-key handling has used the edit, as in the
  // window, where the platform edit would close the window on a plain Escape.
  const Case cases[] = {
      {VK_RETURN, true, {IDOK}, false}, {VK_ESCAPE, true, {IDCANCEL}, false},
      {VK_TAB, true, {}, true},         {VK_RETURN, false, {}, false},
      {VK_ESCAPE, false, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + (c.dialog_keys ? " as a dialog key" : " dispatched"));
    form.commands.clear();
    edit.SetText("abc");
    SetFocus(edit.Handle());
    SendMessageW(edit.Handle(), EM_SETSEL, 3, 3);
    PostMessageW(edit.Handle(), WM_KEYDOWN, c.key, 1);
    PostMessageW(edit.Handle(), WM_KEYUP, c.key, (3u << 30) | 1);
    DispatchQueued(c.dialog_keys ? form.Handle() : nullptr);
    EXPECT_EQ(edit.Text(), "abc");
    EXPECT_EQ(form.commands, c.commands);
    EXPECT_EQ(GetFocus(), c.focus_moves ? next.Handle() : edit.Handle());
    EXPECT_TRUE(form.Visible());
  }
  // Characters sent straight to the edit, past any key handling (Ctrl+Enter types a line feed).
  for (const wchar_t character : {L'\r', L'\n', L'\t'}) {
    SendMessageW(edit.Handle(), WM_CHAR, character, 1);
    EXPECT_EQ(edit.Text(), "abc") << int(character);
  }
}

TEST_F(FilenameEditTest, TheFocusSelectsAWholeText) {
  TsEdit next(form.Handle(), {32, 80, 201, 21, L""});
  for (const char* text : {"C:\\srcds\\srcds.exe", ""}) {
    SCOPED_TRACE(text);
    SetFocus(next.Handle());
    edit.SetText(text);
    SendMessageW(edit.Handle(), EM_SETSEL, 0, 0);
    SetFocus(edit.Handle());
    EXPECT_EQ(SelectedRange(), "0.." + std::to_string(strlen(text)));
  }
}

TEST_F(FilenameEditTest, TheButtonFillsTheRightEdgeAndTheTextStopsShortOfIt) {
  const UniqueFont large_font(
      CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  struct Case {
    const char* name;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"as built", [] {}},
      {"after a font change", [&] { edit.SetFont(large_font.get()); }},
      {"after a resize",
       [&] { SetWindowPos(edit.Handle(), nullptr, 0, 0, 260, 30, SWP_NOMOVE | SWP_NOZORDER); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    RECT client, button, text;
    GetClientRect(edit.Handle(), &client);
    GetWindowRect(edit.ButtonHandle(), &button);
    MapWindowPoints(nullptr, edit.Handle(), reinterpret_cast<POINT*>(&button), 2);
    SendMessageW(edit.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(GetParent(edit.ButtonHandle()), edit.Handle());
    EXPECT_EQ(button.right, client.right);
    EXPECT_EQ(button.right - button.left, 18);
    EXPECT_EQ(button.top, 0);
    EXPECT_EQ(button.bottom, client.bottom);
    EXPECT_LE(text.right, button.left);
    EXPECT_GT(text.right, text.left);
  }
}

// The window as it paints itself, a row of pixels after another.
std::vector<COLORREF> Rendered(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const WindowDcScope screen;
  const UniqueMemoryDc dc(CreateCompatibleDC(screen.dc()));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.dc(), client.right, client.bottom));
  const ObjectSelection selected(dc.get(), bitmap.get());
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
  }
  return pixels;
}

TEST_F(FilenameEditTest, TheButtonShowsThePageOverItsFaceNormalHotAndPressed) {
  const HWND button = edit.ButtonHandle();
  RECT client;
  GetClientRect(button, &client);
  const auto at = [&](const std::vector<COLORREF>& pixels, int x, int y) {
    return pixels[y * client.right + x];
  };
  // The glyph is centred; its two right-hand columns are clear of the page.
  const int left = (client.right - 16) / 2, top = (client.bottom - 16) / 2;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);

  const auto normal = Rendered(button);
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  const auto hot = Rendered(button);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  const auto pressed = Rendered(button);
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(-20, 5));  // released off the button
  const auto released = Rendered(button);

  for (const auto* frame : {&normal, &hot, &pressed}) {
    EXPECT_EQ(at(*frame, left + 15, top + 8), face);
    EXPECT_NE(at(*frame, left + 6, top + 7), face);
  }
  EXPECT_NE(normal, hot);
  EXPECT_NE(hot, pressed);
  EXPECT_NE(normal, pressed);
  EXPECT_EQ(released, hot);
}

TEST_F(FilenameEditTest, MaxLengthLimitsTypingAndPastingButNotTextFromCode) {
  const std::string long_text = dir.Path() + std::string(300, 'a');
  edit.SetText(long_text);
  EXPECT_EQ(edit.Text(), long_text);
  SendMessageW(edit.Handle(), EM_SETSEL, long_text.size(), long_text.size());
  SendMessageW(edit.Handle(), WM_CHAR, 'x', 1);
  EXPECT_EQ(edit.Text(), long_text);

  const auto put_on_clipboard = [&](const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(edit.Handle()));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);  // the clipboard owns it now
    CloseClipboard();
  };
  struct Case {
    std::string text;
    std::wstring clipboard;
    bool read_only;
    std::string result;
  };
  const Case cases[] = {
      {std::string(250, 'a'), L"0123456789", false, std::string(250, 'a') + "01234"},
      {"", L"C:\\srcds\\srcds.exe\r\n-game cstrike", false, "C:\\srcds\\srcds.exe"},
      {"", L"C:\\srcds\\srcds.exe\nsecond", false, "C:\\srcds\\srcds.exe"},
      {"abc", L"def", true, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    edit.SetReadOnly(c.read_only);
    edit.SetText(c.text);
    SendMessageW(edit.Handle(), EM_SETSEL, c.text.size(), c.text.size());
    put_on_clipboard(c.clipboard);
    SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit.Text(), c.result);
  }
}

}  // namespace
}  // namespace kestrune
