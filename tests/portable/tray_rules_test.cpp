#include "tray/tray_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace kestrune {
namespace {

namespace n = tray_notification;

TEST(TrayRules, Tip) {
  const std::string long_hint = [] {
    std::string text;
    for (int i = 0; i < 200; ++i) text += char('A' + i % 26);
    return text;
  }();
  struct Case {
    std::string hint;
    bool show_hint;
    std::string expected;
  };
  const Case cases[] = {
      {"Kestrune", true, "Kestrune"},
      {long_hint, true, long_hint.substr(0, 127)},
      {long_hint.substr(0, 127), true, long_hint.substr(0, 127)},
      {long_hint.substr(0, 128), true, long_hint.substr(0, 127)},
      {"\xCA\xE5\xF1\xF2\xF0\xF3\xED", true, "\xCA\xE5\xF1\xF2\xF0\xF3\xED"},  // ANSI bytes kept
      {"", true, ""},
      {"Kestrune", false, ""},
      {long_hint, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("hint of " + std::to_string(c.hint.size()) + (c.show_hint ? ", shown" : ", off"));
    const TrayTip tip = PrepareTip(c.hint, c.show_hint);
    EXPECT_EQ(std::string(tip.data()), c.expected);
    // Zero-filled behind the text, the last byte included.
    for (std::size_t i = c.expected.size(); i < tip.size(); ++i) ASSERT_EQ(tip[i], '\0') << i;
  }
}

TEST(TrayRules, TaskbarCreatedNeedsCommonControls471) {
  struct Case {
    std::uint16_t major, minor;
    bool registers;
  };
  const Case cases[] = {{0, 0, false}, {4, 70, false}, {4, 71, true},
                        {4, 72, true}, {5, 80, true},  {6, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
    EXPECT_EQ(RegistersTaskbarCreated(PackVersion(c.major, c.minor)), c.registers);
  }
  EXPECT_EQ(PackVersion(4, 71), 0x00040047u);
  // A minor part never carries into the major one.
  EXPECT_FALSE(RegistersTaskbarCreated(PackVersion(3, 0xFFFF)));
}

// Drives the rules as the icon does, keeping the click timer's state from the steps, and writes
// what comes out as words; "|" separates the answers to successive inputs.
class ClickDriver {
 public:
  static constexpr unsigned kTimerStep = 0x10000;
  static constexpr unsigned kCursorAway = 0x10001;

  explicit ClickDriver(TrayDecodeSettings settings = {}) : settings(settings) {}

  std::string Run(std::initializer_list<unsigned> inputs) {
    std::string out;
    for (unsigned input : inputs) {
      if (!out.empty()) out += " | ";
      std::vector<TrayStep> steps;
      if (input == kTimerStep) {
        steps = rules.ClickTimerStep();
      } else if (input == kCursorAway) {
        steps = rules.ExitCheck(true);
      } else {
        steps = rules.Notify(input, settings, timer_running_);
      }
      std::string answer;
      for (const TrayStep& step : steps) {
        if (step.kind == TrayStep::kStartClickTimer) timer_running_ = true;
        if (step.kind == TrayStep::kStopClickTimer) timer_running_ = false;
        if (!answer.empty()) answer += ' ';
        answer += Word(step);
      }
      out += answer.empty() ? "-" : answer;
    }
    return out;
  }

  TrayDecodeSettings settings;
  TrayClickRules rules;

 private:
  static std::string Word(const TrayStep& step) {
    const char* button = step.button == TMouseButton::mbLeft    ? "(L)"
                         : step.button == TMouseButton::mbRight ? "(R)"
                                                                : "(M)";
    switch (step.kind) {
      case TrayStep::kStartClickTimer:
        return "Start";
      case TrayStep::kStopClickTimer:
        return "Stop";
      case TrayStep::kMouseEnter:
        return "Enter";
      case TrayStep::kMouseExit:
        return "Exit";
      case TrayStep::kMouseMove:
        return "Move";
      case TrayStep::kMouseDown:
        return std::string("Down") + button;
      case TrayStep::kMouseUp:
        return std::string("Up") + button;
      case TrayStep::kClick:
        return "Click";
      case TrayStep::kDblClick:
        return "DblClick";
      case TrayStep::kMenuPopup:
        return "Popup";
      case TrayStep::kDefaultItemClick:
        return "DefaultItem";
      case TrayStep::kBalloonShow:
        return "BalloonShow";
      case TrayStep::kBalloonHide:
        return "BalloonHide";
      case TrayStep::kBalloonTimeout:
        return "BalloonTimeout";
      case TrayStep::kBalloonClick:
        return "BalloonClick";
    }
    return "?";
  }

  bool timer_running_ = false;
};

constexpr unsigned kTimer = ClickDriver::kTimerStep;

TEST(TrayClickRules, ClickAndDoubleClick) {
  const TrayDecodeSettings plain{};
  const TrayDecodeSettings with_dbl_click{.has_dbl_click_handler = true};
  struct Case {
    const char* name;
    TrayDecodeSettings settings;
    std::initializer_list<unsigned> inputs;
    const char* expected;
  };
  const Case cases[] = {
      {"click without a double-click handler: raised at the release, before the release event",
       plain,
       {n::kLButtonDown, n::kLButtonUp},
       "Down(L) | Click Up(L)"},
      {"double click without a handler: one click, for the first press and release",
       plain,
       {n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk, n::kLButtonUp},
       "Down(L) | Click Up(L) | DblClick | Up(L)"},
      {"a release without a press is no click", plain, {n::kLButtonUp}, "Up(L)"},
      {"with a handler the click waits for the timer",
       with_dbl_click,
       {n::kLButtonDown, n::kLButtonUp, kTimer},
       "Start Down(L) | Up(L) | Stop Click"},
      {"with a handler a double click comes alone",
       with_dbl_click,
       {n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk, n::kLButtonUp, kTimer},
       "Start Down(L) | Up(L) | DblClick | Up(L) | Stop"},
      {"a release after the time is up clicks at once",
       with_dbl_click,
       {n::kLButtonDown, kTimer, n::kLButtonUp},
       "Start Down(L) | Stop | Click Up(L)"},
      {"a triple click leaves nothing behind for a later press held past the time",
       with_dbl_click,
       {n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk, n::kLButtonUp, n::kLButtonDown,
        n::kLButtonUp, kTimer, n::kLButtonDown, kTimer, n::kLButtonUp},
       "Start Down(L) | Up(L) | DblClick | Up(L) | Start Down(L) | Up(L) | Stop | Start Down(L) "
       "| Stop | Click Up(L)"},
      {"a double click that comes after the timer fired does not swallow the next click",
       with_dbl_click,
       {n::kLButtonDown, n::kLButtonUp, kTimer, n::kLButtonDblClk, n::kLButtonUp, n::kLButtonDown,
        n::kLButtonUp, kTimer},
       "Start Down(L) | Up(L) | Stop Click | DblClick | Up(L) | Start Down(L) | Up(L) | Stop "
       "Click"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClickDriver driver(c.settings);
    EXPECT_EQ(driver.Run(c.inputs), c.expected);
    EXPECT_FALSE(driver.rules.ClickStarted());
  }
}

TEST(TrayClickRules, OtherButtonsMovesAndMenus) {
  const TrayDecodeSettings plain{};
  const TrayDecodeSettings menu{.menu_pops_up = true};
  const TrayDecodeSettings left_menu{.left_popup = true, .menu_pops_up = true};
  const TrayDecodeSettings version5{.notify_style = TNotifyStyle::nsVersion5};
  const TrayDecodeSettings enter_exit{.want_enter_exit_events = true};
  struct Case {
    const char* name;
    TrayDecodeSettings settings;
    std::initializer_list<unsigned> inputs;
    const char* expected;
  };
  const Case cases[] = {
      {"right and middle buttons; their double clicks are ignored",
       plain,
       {n::kRButtonDown, n::kRButtonUp, n::kRButtonDblClk, n::kMButtonDown, n::kMButtonUp,
        n::kMButtonDblClk},
       "Down(R) | Up(R) | - | Down(M) | Up(M) | -"},
      {"no menu pops up without one", plain, {n::kRButtonDown}, "Down(R)"},
      {"a right press pops the menu up; a double click clicks its default item",
       menu,
       {n::kRButtonDown, n::kLButtonDown, n::kLButtonDblClk},
       "Down(R) Popup | Down(L) | DblClick DefaultItem"},
      {"LeftPopup pops up on a left press and leaves the default item alone",
       left_menu,
       {n::kLButtonDown, n::kLButtonDblClk},
       "Down(L) Popup | DblClick"},
      {"legacy style ignores the version-5 selections",
       plain,
       {n::kContextMenu, n::kSelect, n::kKeySelect},
       "- | - | -"},
      {"version 5 reports the right release as a selection",
       version5,
       {n::kRButtonUp, n::kContextMenu, n::kSelect, n::kKeySelect},
       "- | Up(R) | Up(R) | Up(R)"},
      {"moves without enter and exit events", plain, {n::kMouseMove, n::kMouseMove}, "Move | Move"},
      {"enter once, exit when the cursor went, enter again",
       enter_exit,
       {n::kMouseMove, n::kMouseMove, ClickDriver::kCursorAway, ClickDriver::kCursorAway,
        n::kMouseMove},
       "Enter Move | Move | Exit | - | Enter Move"},
      {"unknown notifications are ignored",
       plain,
       {0x0000, 0x0100, 0x0406, 0xFFFF},
       "- | - | - | -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClickDriver driver(c.settings);
    EXPECT_EQ(driver.Run(c.inputs), c.expected);
  }
}

TEST(TrayClickRules, DisabledIgnoresEveryMouseNotificationButNotBalloons) {
  ClickDriver driver({.enabled = false,
                      .has_dbl_click_handler = true,
                      .want_enter_exit_events = true,
                      .menu_pops_up = true});
  for (unsigned notification : {n::kMouseMove, n::kLButtonDown, n::kLButtonUp, n::kLButtonDblClk,
                                n::kRButtonDown, n::kRButtonUp, n::kMButtonDown, n::kMButtonUp,
                                n::kContextMenu, n::kSelect, n::kKeySelect}) {
    EXPECT_EQ(driver.Run({notification}), "-") << notification;
  }
  driver.settings.notify_style = TNotifyStyle::nsVersion5;
  EXPECT_EQ(driver.Run({n::kContextMenu, n::kSelect, n::kKeySelect}), "- | - | -");
  EXPECT_EQ(
      driver.Run({n::kBalloonShow, n::kBalloonHide, n::kBalloonTimeout, n::kBalloonUserClick}),
      "BalloonShow | BalloonHide | BalloonTimeout | BalloonClick");
  // A press while disabled starts nothing that a release after enabling could complete.
  driver.Run({n::kLButtonDown});
  driver.settings.enabled = true;
  EXPECT_EQ(driver.Run({n::kLButtonUp}), "Up(L)");
}

}  // namespace
}  // namespace kestrune
