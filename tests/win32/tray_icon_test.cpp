#include "app/main_window.h"
#include "tray/tray_icon.h"
#include "tray/taskbar_created.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "ui/application.h"
#include "ui/failure_report.h"
#include "ui/failure_sink.h"
#include "ui/form.h"
#include "test_support.h"

namespace kestrune {
namespace {

namespace n = tray_notification;
using test_support::PumpUntil;

// Failures that reach the report in this program are kept instead of shown in a box, so that a
// test that goes wrong fails instead of waiting for someone to press OK.
std::vector<std::string> g_reported;

class CaptureFailures : public ::testing::Environment {
 public:
  void SetUp() override {
    SetFailureReporter([](const Exception& failure) { g_reported.push_back(failure.Message()); });
  }
};
[[maybe_unused]] ::testing::Environment* const g_capture =
    ::testing::AddGlobalTestEnvironment(new CaptureFailures);

// Whether the shell holds an icon for (window, id): a modify that changes nothing succeeds only
// for an icon it has.
bool InTray(const TTrayIcon& icon) {
  return test_support::InTray(icon.NotifyData().hWnd, icon.Identity());
}

// What the shell does to its icons when the taskbar is recreated.
void ForgetInShell(const TTrayIcon& icon) {
  NOTIFYICONDATAA data{};
  data.cbSize = kNotifyDataSize;
  data.hWnd = icon.NotifyData().hWnd;
  data.uID = icon.Identity();
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
}

// A notification as the shell delivers it.
LRESULT Notify(const TTrayIcon& icon, unsigned notification) {
  return SendMessageW(icon.NotifyData().hWnd, kTrayCallbackMessage, icon.Identity(), notification);
}

HICON StockIcon() {
  return LoadIconW(nullptr, IDI_APPLICATION);
}

std::string TipOf(const TTrayIcon& icon) {
  const char* tip = icon.NotifyData().szTip;
  return std::string(tip, strnlen(tip, sizeof icon.NotifyData().szTip));
}

// Every event of an icon, as words in the order raised.
class EventLog {
 public:
  explicit EventLog(TTrayIcon& icon, bool with_dbl_click = false) {
    const auto button = [](TMouseButton b) {
      return b == TMouseButton::mbLeft ? "(L)" : b == TMouseButton::mbRight ? "(R)" : "(M)";
    };
    icon.OnClick = [this] { Add("Click"); };
    if (with_dbl_click) icon.OnDblClick = [this] { Add("DblClick"); };
    icon.OnMouseDown = [=, this](TMouseButton b, TShiftState shift, int x, int y) {
      Add(std::string("Down") + button(b));
      last_shift = shift;
      last_position = {x, y};
    };
    icon.OnMouseUp = [=, this](TMouseButton b, TShiftState shift, int x, int y) {
      Add(std::string("Up") + button(b));
      last_shift = shift;
      last_position = {x, y};
    };
    icon.OnMouseMove = [this](TShiftState, int, int) { Add("Move"); };
    icon.OnBalloonHintShow = [this] { Add("BalloonShow"); };
    icon.OnBalloonHintHide = [this] { Add("BalloonHide"); };
    icon.OnBalloonHintTimeout = [this] { Add("BalloonTimeout"); };
    icon.OnBalloonHintClick = [this] { Add("BalloonClick"); };
  }

  void Add(const std::string& word) { text += text.empty() ? word : " " + word; }

  std::string text;
  TShiftState last_shift = 0;
  POINT last_position{};
};

// The main window is designed with these steps, in this order.
void LoadAsDesigned(TTrayIcon& icon, HICON picture) {
  icon.SetCycleInterval(0);
  icon.SetHint("Kestrune");
  icon.SetIcon(picture);
  icon.SetIconVisible(true);
  icon.SetIconIndex(0);
  icon.Loaded();
}

TEST(TrayIcon, LoadsAsDesignedAndLeavesTheTrayWhenDestroyed) {
  TTrayIcon keeps_the_window(nullptr);
  HICON picture = CopyIcon(StockIcon());
  HWND window = nullptr;
  UINT id = 0;
  {
    TTrayIcon icon(nullptr);
    window = icon.NotifyData().hWnd;
    id = icon.Identity();
    EXPECT_FALSE(icon.IconVisible());
    icon.SetHint("Kestrune");
    icon.SetIcon(picture);
    EXPECT_FALSE(InTray(icon)) << "nothing is added before IconVisible";
    LoadAsDesigned(icon, picture);
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_TRUE(InTray(icon));
    EXPECT_EQ(TipOf(icon), "Kestrune");
    EXPECT_EQ(icon.NotifyData().uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(icon.NotifyData().uCallbackMessage, 0x0800u);

    // The icon keeps a picture of its own: the caller's may go.
    ASSERT_NE(icon.Icon(), nullptr);
    EXPECT_NE(icon.Icon(), picture);
    EXPECT_EQ(icon.NotifyData().hIcon, icon.Icon());
    DestroyIcon(picture);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Icon(), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(icon.UpdateIcon());
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(test_support::InTray(window, id));
}

TEST(TrayIcon, RefusedShellCallsLeaveTheStateAsSet) {
  TTrayIcon icon(nullptr);
  EXPECT_FALSE(icon.UpdateIcon());
  EXPECT_TRUE(icon.AddIcon());
  EXPECT_FALSE(icon.AddIcon());
  EXPECT_TRUE(icon.IconVisible());
  icon.Loaded();  // the repeated add changes nothing
  EXPECT_TRUE(InTray(icon));
  EXPECT_TRUE(icon.DeleteIcon());
  EXPECT_FALSE(icon.DeleteIcon());
  EXPECT_FALSE(icon.IconVisible());
  icon.SetIconVisible(false);  // applied even when unchanged
  icon.SetIconVisible(true);
  icon.SetIconVisible(true);
  EXPECT_TRUE(InTray(icon));
}

TEST(TrayIcon, BadPicturesLeaveTheIconEmpty) {
  TTrayIcon icon(nullptr);
  icon.SetIcon(StockIcon());
  icon.SetIconVisible(true);
  for (HICON bad : {HICON(nullptr), reinterpret_cast<HICON>(0x7fff1234)}) {
    icon.SetIcon(StockIcon());
    icon.SetIcon(bad);
    EXPECT_EQ(icon.Icon(), nullptr);
    EXPECT_EQ(icon.NotifyData().hIcon, nullptr);
    EXPECT_TRUE(InTray(icon));
  }
  icon.SetIcon(StockIcon());
  icon.SetIcon(icon.Icon());  // its own picture
  EXPECT_NE(icon.Icon(), nullptr);
  EXPECT_TRUE(icon.UpdateIcon());
}

TEST(TrayIcon, TipFollowsHintAndShowHint) {
  const std::string long_hint(200, 'k');
  struct Case {
    std::string hint;
    bool show_hint;
    std::string tip;
  };
  const Case cases[] = {
      {long_hint, true, long_hint.substr(0, 127)},
      {"", true, ""},
      {"Kestrune", false, ""},
      {"Kestrune", true, "Kestrune"},
  };
  TTrayIcon icon(nullptr);
  icon.SetIconVisible(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hint.substr(0, 10) + (c.show_hint ? " shown" : " off"));
    icon.SetShowHint(c.show_hint);
    icon.SetHint(c.hint);
    EXPECT_EQ(TipOf(icon), c.tip);
    EXPECT_EQ(icon.NotifyData().szTip[127], '\0');
    EXPECT_TRUE(icon.UpdateIcon());
  }
}

TEST(TrayIcon, NotificationsRaiseTheEventsInOrderAtTheCursor) {
  TTrayIcon icon(nullptr);
  EventLog log(icon);
  ASSERT_TRUE(SetCursorPos(123, 45));
  POINT cursor;
  ASSERT_TRUE(GetCursorPos(&cursor));
  EXPECT_EQ(Notify(icon, n::kLButtonDown), 0);
  Notify(icon, n::kLButtonUp);
  EXPECT_EQ(log.text, "Down(L) Click Up(L)");
  EXPECT_TRUE(log.last_shift & ssLeft);
  EXPECT_EQ(log.last_position.x, cursor.x);
  EXPECT_EQ(log.last_position.y, cursor.y);

  log.text.clear();
  for (unsigned notification :
       {n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk, n::kLButtonUp, n::kRButtonDown,
        n::kRButtonUp, n::kRButtonDblClk, n::kMButtonDown, n::kMButtonUp, n::kMouseMove}) {
    Notify(icon, notification);
  }
  EXPECT_EQ(log.text, "Down(L) Click Up(L) Up(L) Down(R) Up(R) Down(M) Up(M) Move");
  EXPECT_TRUE(log.last_shift & ssMiddle);
}

TEST(TrayIcon, WithADoubleClickHandlerTheClickTimerDecides) {
  TTrayIcon icon(nullptr);
  EventLog log(icon, /*with_dbl_click=*/true);
  Notify(icon, n::kLButtonDown);
  Notify(icon, n::kLButtonUp);
  EXPECT_EQ(log.text, "Down(L) Up(L)");
  EXPECT_TRUE(icon.ClickTimer().Enabled());
  EXPECT_EQ(icon.ClickTimer().Interval(), GetDoubleClickTime());
  ASSERT_TRUE(PumpUntil([&] { return !icon.ClickTimer().Enabled(); }, 10000));
  EXPECT_EQ(log.text, "Down(L) Up(L) Click");

  log.text.clear();
  for (unsigned notification : {n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk, n::kLButtonUp}) {
    Notify(icon, notification);
  }
  ASSERT_TRUE(PumpUntil([&] { return !icon.ClickTimer().Enabled(); }, 10000));
  EXPECT_EQ(log.text, "Down(L) Up(L) DblClick Up(L)");
}

TEST(TrayIcon, DisabledIgnoresMouseNotificationsButNotBalloons) {
  TTrayIcon icon(nullptr);
  EventLog log(icon, /*with_dbl_click=*/true);
  icon.SetEnabled(false);
  for (unsigned notification : {n::kMouseMove, n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk,
                                n::kRButtonDown, n::kRButtonUp, n::kMButtonDown, n::kMButtonUp,
                                n::kContextMenu, n::kSelect, n::kKeySelect}) {
    Notify(icon, notification);
  }
  EXPECT_EQ(log.text, "");
  EXPECT_FALSE(icon.ClickTimer().Enabled());
  for (unsigned notification :
       {n::kBalloonShow, n::kBalloonHide, n::kBalloonTimeout, n::kBalloonUserClick}) {
    Notify(icon, notification);
  }
  EXPECT_EQ(log.text, "BalloonShow BalloonHide BalloonTimeout BalloonClick");
}

TEST(TrayIcon, IconsShareOneHiddenWindowThatOutlivesCloseRequests) {
  HWND window = nullptr;
  {
    TTrayIcon a(nullptr);
    auto b = std::make_unique<TTrayIcon>(nullptr);
    window = a.NotifyData().hWnd;
    EXPECT_EQ(b->NotifyData().hWnd, window);
    EXPECT_NE(a.Identity(), b->Identity());

    EventLog log_a(a), log_b(*b);
    Notify(*b, n::kRButtonDown);
    EXPECT_EQ(SendMessageW(window, kTrayCallbackMessage, 0x7fffffff, n::kRButtonDown), 0);
    EXPECT_EQ(log_a.text, "");
    EXPECT_EQ(log_b.text, "Down(R)");
    // An identity that has gone reaches no one.
    const UINT gone = b->Identity();
    b.reset();
    SendMessageW(window, kTrayCallbackMessage, gone, n::kRButtonDown);
    EXPECT_EQ(log_a.text, "");

    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(window));
    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window)) << "the last icon takes the shared window with it";
}

TEST(TrayIcon, FailingHandlersAreReportedAndTheIconGoesOn) {
  g_reported.clear();
  TTrayIcon icon(nullptr);
  EventLog log(icon);
  icon.OnClick = [] { throw EInOutError(104); };
  for (int round = 0; round < 2; ++round) {
    Notify(icon, n::kLButtonDown);
    Notify(icon, n::kLButtonUp);
  }
  // The rest of the failing handling is skipped: no release event after the failed click.
  EXPECT_EQ(log.text, "Down(L) Down(L)");
  EXPECT_EQ(g_reported, (std::vector<std::string>{"I/O error 104", "I/O error 104"}));
  g_reported.clear();
}

TEST(TrayIcon, AHandlerMayDestroyTheIcon) {
  auto icon = std::make_unique<TTrayIcon>(nullptr);
  icon->SetIconVisible(true);
  const HWND window = icon->NotifyData().hWnd;
  const UINT id = icon->Identity();
  bool released = false;
  icon->OnClick = [&] { icon.reset(); };
  icon->OnMouseUp = [&](TMouseButton, TShiftState, int, int) { released = true; };
  SendMessageW(window, kTrayCallbackMessage, id, n::kLButtonDown);
  SendMessageW(window, kTrayCallbackMessage, id, n::kLButtonUp);
  EXPECT_EQ(icon, nullptr);
  EXPECT_FALSE(released);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(g_reported.empty());
}

TEST(TrayIcon, ADoubleClickClicksTheDefaultItemOfAPopupMenu) {
  UniqueMenu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, 41, L"Open");
  AppendMenuW(menu.get(), MF_STRING, 42, L"Exit");
  SetMenuDefaultItem(menu.get(), 42, FALSE);
  std::vector<UINT> clicked;
  TPopupMenu popup{menu.get(), true, [&](UINT command) { clicked.push_back(command); }};

  TTrayIcon icon(nullptr);
  Notify(icon, n::kLButtonDblClk);
  icon.SetPopupMenu(&popup);
  Notify(icon, n::kLButtonDblClk);
  icon.SetLeftPopup(true);
  Notify(icon, n::kLButtonDblClk);
  icon.SetLeftPopup(false);
  icon.Notification(popup);
  EXPECT_EQ(icon.PopupMenu(), nullptr);
  Notify(icon, n::kLButtonDblClk);
  EXPECT_EQ(clicked, std::vector<UINT>{42});
}

// The thread's visible popup menu window, if one is up.
HWND ShownMenu() {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

TEST(TrayIcon, ARightPressPopsTheMenuUpAtTheCursor) {
  UniqueMenu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, 41, L"Open");
  AppendMenuW(menu.get(), MF_STRING, 42, L"Exit");
  std::vector<UINT> clicked;
  TPopupMenu popup{menu.get(), true, [&](UINT command) { clicked.push_back(command); }};
  TTrayIcon icon(nullptr);
  EventLog log(icon);
  icon.SetPopupMenu(&popup);

  // The menu runs its own loop: a timer inside it picks the first item, or gives up.
  bool seen = false;
  int ticks = 0;
  TSimpleTimer chooser(20, [&] {
    if (const HWND shown = ShownMenu(); shown && !seen) {
      seen = true;
      PostMessageW(shown, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(shown, WM_KEYDOWN, VK_RETURN, 0);
    } else if (++ticks > 250) {
      EndMenu();
    }
  });
  chooser.SetEnabled(true);
  Notify(icon, n::kRButtonDown);
  chooser.SetEnabled(false);
  EXPECT_TRUE(seen);
  EXPECT_EQ(clicked, std::vector<UINT>{41});
  EXPECT_EQ(log.text, "Down(R)");

  popup.AutoPopup = false;
  Notify(icon, n::kRButtonDown);
  EXPECT_EQ(clicked.size(), 1u);
}

// Puts the process-wide registration back as start-up made it.
struct RegistrationRestorer {
  ~RegistrationRestorer() { RegisterTaskbarCreated(CommonControlsVersion()); }
};

TEST(TrayIcon, CommonControlsOfThePlatformRegisterTaskbarCreated) {
  RegistrationRestorer restorer;
  RegisterTaskbarCreated(0);
  EXPECT_EQ(TaskbarCreatedMessage(), 0u);
  EXPECT_GE(CommonControlsVersion(), PackVersion(4, 71));
  RegisterTaskbarCreated(CommonControlsVersion());
  EXPECT_NE(TaskbarCreatedMessage(), 0u);
  EXPECT_EQ(TaskbarCreatedMessage(), RegisterWindowMessageA("TaskbarCreated"));
}

TEST(TrayIcon, TaskbarCreatedPutsAVisibleIconBack) {
  RegistrationRestorer restorer;
  const UINT taskbar_created = RegisterWindowMessageA("TaskbarCreated");
  struct Case {
    const char* name;
    std::uint32_t comctl_version;
    bool icon_visible;
    bool comes_back;
  };
  const Case cases[] = {
      {"visible icon", CommonControlsVersion(), true, true},
      {"common controls 6.0", PackVersion(6, 0), true, true},
      {"hidden icon", CommonControlsVersion(), false, false},
      {"common controls 4.70", PackVersion(4, 70), true, false},
      {"unreadable version", 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegisterTaskbarCreated(c.comctl_version);
    TTrayIcon icon(nullptr);
    icon.SetHint("Kestrune");
    icon.SetIcon(StockIcon());
    icon.SetIconVisible(true);
    const HICON picture = icon.NotifyData().hIcon;
    ForgetInShell(icon);
    if (!c.icon_visible) icon.SetIconVisible(false);
    ASSERT_FALSE(InTray(icon));

    SendMessageW(Application().Handle(), taskbar_created, 0, 0);
    EXPECT_EQ(InTray(icon), c.comes_back);
    EXPECT_EQ(icon.IconVisible(), c.icon_visible);
    if (c.comes_back) {
      EXPECT_EQ(TipOf(icon), "Kestrune");
      EXPECT_EQ(icon.NotifyData().hIcon, picture);
    }
  }
}

class TrayIconOwner : public ::testing::Test {
 protected:
  // The one form of this program, the supervisor's main window with its own tray icon, for the
  // rest of the run. Its creation handler finds no auto-start in the settings beside the tests.
  static TForm1& Form() {
    static TForm1& form = Application().CreateForm<TForm1>();
    return form;
  }

  void SetUp() override {
    ASSERT_EQ(Application().MainForm(), &Form());
    Reset();
  }
  void TearDown() override { Reset(); }

  // Shown, not minimised.
  static void Reset() {
    Application().RestoreApplication();
    if (IsIconic(Form().Handle())) ShowWindow(Form().Handle(), SW_RESTORE);
    Form().Show();
    Application().ShowMainWindowAtStart = true;
  }

  static bool MainShown() { return Form().Visible(); }
  static bool TaskbarEntryShown() { return IsWindowVisible(Application().Handle()) != FALSE; }
};

TEST_F(TrayIconOwner, ClickOnTheIconBringsTheHiddenMainWindowBack) {
  TTrayIcon icon(&Form());
  LoadAsDesigned(icon, StockIcon());
  icon.OnClick = [&] { icon.ShowMainForm(); };

  icon.HideMainForm();
  EXPECT_FALSE(MainShown());
  EXPECT_FALSE(TaskbarEntryShown());
  EXPECT_TRUE(InTray(icon)) << "hiding leaves the icon";
  Notify(icon, n::kLButtonDown);
  Notify(icon, n::kLButtonUp);
  EXPECT_TRUE(MainShown());
  EXPECT_TRUE(TaskbarEntryShown());

  Application().MinimizeApplication();
  ASSERT_TRUE(Application().IsMinimized());
  Notify(icon, n::kLButtonDown);
  Notify(icon, n::kLButtonUp);
  EXPECT_FALSE(Application().IsMinimized());
  EXPECT_TRUE(MainShown());
  EXPECT_FALSE(IsIconic(Form().Handle()));

  // Restoring from the taskbar shows a hidden main window.
  icon.HideMainForm();
  SendMessageW(Application().Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(MainShown());
}

TEST_F(TrayIconOwner, OnlyALeftClickOnTheMainWindowsIconShowsTheHiddenWindow) {
  TTrayIcon& icon = Form().TrayIcon();
  struct Case {
    const char* what;
    std::vector<unsigned> notifications;
    bool shows;
  };
  const Case cases[] = {
      {"left click", {n::kLButtonDown, n::kLButtonUp}, true},
      {"double click", {n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk, n::kLButtonUp}, true},
      {"right click", {n::kRButtonDown, n::kRButtonUp, n::kRButtonDblClk}, false},
      {"middle click", {n::kMButtonDown, n::kMButtonUp, n::kMButtonDblClk}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form().HideMainForm();
    for (unsigned notification : c.notifications) Notify(icon, notification);
    EXPECT_EQ(MainShown(), c.shows);
    EXPECT_EQ(TaskbarEntryShown(), c.shows);
    if (c.shows) {
      EXPECT_TRUE(
          test_support::PumpUntil([&] { return GetForegroundWindow() == Form().Handle(); }, 5000));
    }
    Reset();
  }

  // On a shown window a click only brings it forward.
  test_support::VisibleWindow other(L"other", 500, 500);  // takes the foreground away
  SetForegroundWindow(other.get());
  Notify(icon, n::kLButtonDown);
  Notify(icon, n::kLButtonUp);
  EXPECT_TRUE(MainShown());
  EXPECT_FALSE(IsIconic(Form().Handle()));
  EXPECT_TRUE(
      test_support::PumpUntil([&] { return GetForegroundWindow() == Form().Handle(); }, 5000));
}

TEST_F(TrayIconOwner, AClickBringsTheWindowBackWhateverMinimisedIt) {
  TTrayIcon& icon = Form().TrayIcon();
  const HWND form = Form().Handle();
  struct Case {
    const char* what;
    std::function<void()> minimise;
    bool window_leaves;  // the window itself goes off the screen, not only its taskbar entry
  };
  const Case cases[] = {
      {"its minimise box", [&] { SendMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0); }, true},
      {"the desktop, on the window itself", [&] { ShowWindow(form, SW_MINIMIZE); }, true},
      {"the desktop, after a hide to the tray",
       [&] {
         Form().HideMainForm();
         ShowWindow(form, SW_MINIMIZE);
         ShowWindow(form, SW_HIDE);
       },
       true},
      {"the desktop, on the taskbar entry",
       [&] { ShowWindow(Application().Handle(), SW_MINIMIZE); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    test_support::VisibleWindow other(L"other", 500, 500);  // takes the foreground away
    SetForegroundWindow(other.get());
    c.minimise();
    ASSERT_TRUE(IsIconic(form) || Application().IsMinimized() || !MainShown());
    if (c.window_leaves) {
      EXPECT_TRUE(IsIconic(form) || !MainShown());
    }
    Notify(icon, n::kLButtonDown);
    Notify(icon, n::kLButtonUp);
    EXPECT_TRUE(MainShown());
    EXPECT_FALSE(IsIconic(form));
    EXPECT_FALSE(Application().IsMinimized());
    EXPECT_TRUE(TaskbarEntryShown());
    EXPECT_TRUE(test_support::PumpUntil([&] { return GetForegroundWindow() == form; }, 5000));
  }
}

TEST_F(TrayIconOwner, AFailureBoxStaysAboveTheShownMainWindowEvenWhenItIsClicked) {
  const HWND form = Form().Handle();
  SetForegroundWindow(form);
  SetActiveWindow(form);
  bool above = false;
  test_support::BoxWatcher boxes(GetCurrentProcessId(), [&] {
    const HWND box = FindWindowW(L"#32770", L"Kestrune v0.1 Pre-Beta");
    // The operator clicks the disabled window, and the desktop raises it.
    PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    SetWindowPos(form, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    for (HWND below = GetWindow(box, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
      if (below == form) above = true;
    }
  });
  ReportFailure(Exception("failed"));
  const auto seen = boxes.Seen(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, form);
  EXPECT_TRUE(above);
}

TEST_F(TrayIconOwner, HiddenInTheTrayTheFailureBoxIsOwnedByTheApplicationWindow) {
  Form().HideMainForm();
  test_support::BoxWatcher hidden;
  ReportFailure(Exception("failed"));
  const auto seen_hidden = hidden.Seen(1);
  ASSERT_EQ(seen_hidden.size(), 1u);
  EXPECT_EQ(seen_hidden[0].owner, Application().Handle());
}

TEST_F(TrayIconOwner, WithoutAnOwnerTheMainWindowIsLeftAlone) {
  TTrayIcon icon(nullptr);
  bool asked = false;
  icon.OnStartup = [&](bool& show) {
    asked = true;
    show = false;
  };
  icon.Loaded();
  icon.HideMainForm();
  EXPECT_FALSE(asked);
  EXPECT_TRUE(MainShown());
  EXPECT_TRUE(Application().ShowMainWindowAtStart);
}

TEST_F(TrayIconOwner, StartupCanKeepTheMainWindowHidden) {
  struct Case {
    bool show;
  };
  for (const Case c : {Case{true}, Case{false}}) {
    SCOPED_TRACE(c.show);
    Reset();
    TTrayIcon icon(&Form());
    int asked = 0;
    icon.OnStartup = [&](bool& show) {
      ++asked;
      EXPECT_TRUE(show);
      show = c.show;
    };
    LoadAsDesigned(icon, StockIcon());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Application().ShowMainWindowAtStart, c.show);
    EXPECT_EQ(MainShown(), c.show);
    EXPECT_EQ(TaskbarEntryShown(), c.show);
  }
}

TEST_F(TrayIconOwner, MinimizeToTrayTakesOverTheMinimize) {
  struct Case {
    const char* name;
    bool minimize_to_tray;
    bool with_handler;
    HWND target;
    UINT message;
    WPARAM wparam;
    bool to_tray;
  };
  const HWND form = Form().Handle();
  const HWND app = Application().Handle();
  const Case cases[] = {
      {"minimize command with a handler", true, true, form, WM_SYSCOMMAND, SC_MINIMIZE, true},
      {"minimize command without a handler", true, false, form, WM_SYSCOMMAND, SC_MINIMIZE, false},
      {"switch off", false, true, form, WM_SYSCOMMAND, SC_MINIMIZE, false},
      {"application window minimised", true, false, app, WM_SIZE, SIZE_MINIMIZED, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    int handled = 0;
    {
      TTrayIcon icon(&Form());
      icon.SetMinimizeToTray(c.minimize_to_tray);
      if (c.with_handler) icon.OnMinimizeToTray = [&] { ++handled; };
      SendMessageW(c.target, c.message, c.wparam, 0);
      EXPECT_EQ(handled, c.to_tray && c.with_handler ? 1 : 0);
      if (c.to_tray) {
        EXPECT_FALSE(MainShown());
        EXPECT_FALSE(TaskbarEntryShown());
        EXPECT_FALSE(Application().IsMinimized());
        EXPECT_TRUE(icon.IconVisible());
        EXPECT_TRUE(InTray(icon));
      } else if (c.message == WM_SYSCOMMAND) {
        EXPECT_TRUE(Application().IsMinimized()) << "the ordinary minimize";
      }
    }
    // Gone with the icon: the owner window's own handling is back.
    Reset();
    SendMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(Application().IsMinimized());
    EXPECT_EQ(handled, c.to_tray && c.with_handler ? 1 : 0);
  }
}

}  // namespace
}  // namespace kestrune
