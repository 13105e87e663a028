// The main window built from its design, in this process (without its creation handler, so no
// settings file is touched).
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include "base/win32/ansi_text.h"
#include "ui/application.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::InTray;
using test_support::PumpUntil;

class MainWindowTest : public ::testing::Test {
 protected:
  TForm1 form_;
};

TEST_F(MainWindowTest, OpensAtItsDesignPositionHeldAtTheFixedSize) {
  form_.Show();
  RECT bounds;
  GetWindowRect(form_.Handle(), &bounds);
  EXPECT_EQ(bounds.left, 417);
  EXPECT_EQ(bounds.top, 156);
  EXPECT_EQ(bounds.right - bounds.left, 397);
  EXPECT_EQ(bounds.bottom - bounds.top, 396);

  SetWindowPos(form_.Handle(), nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
  MoveWindow(form_.Handle(), 417, 156, 300, 200, TRUE);
  GetWindowRect(form_.Handle(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 397);
  EXPECT_EQ(bounds.bottom - bounds.top, 396);

  const LONG style = GetWindowLongW(form_.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(GetWindow(form_.Handle(), GW_OWNER), Application().Handle());
}

TEST_F(MainWindowTest, EveryTextReadsBackThroughTheWideApiAsDesigned) {
  ASSERT_NE(GetACP(), 1251u) << "the check needs a system whose ANSI code page is not 1251";
  EXPECT_EQ(WindowTextOf(form_.Handle()), L"Kestrune v0.1 Pre-Beta Build");
  for (const ControlDesign& row : kForm1Controls) {
    SCOPED_TRACE(row.kind);
    if (row.name == Form1Control::sStatusBar1) continue;
    EXPECT_EQ(WindowTextOf(form_.ControlHandle(row.name)), row.text);
  }
  wchar_t caption[32] = L"";
  GetMenuStringW(GetMenu(form_.Handle()), 0, caption, 32, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"Выход");
  EXPECT_EQ(GetMenuItemCount(GetMenu(form_.Handle())), 1);
}

TEST_F(MainWindowTest, ControlsSitAtTheirDesignPlaces) {
  for (const ControlDesign& row : kForm1Controls) {
    SCOPED_TRACE(row.kind);
    RECT bounds;
    GetWindowRect(form_.ControlHandle(row.name), &bounds);
    MapWindowPoints(nullptr, form_.Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    if (row.name == Form1Control::sStatusBar1) {
      // Along the bottom of the client area, full width.
      RECT client;
      GetClientRect(form_.Handle(), &client);
      EXPECT_EQ(bounds.bottom, client.bottom);
      EXPECT_EQ(bounds.right - bounds.left, client.right);
      continue;
    }
    EXPECT_EQ(bounds.left, row.left);
    EXPECT_EQ(bounds.top, row.top);
    EXPECT_EQ(bounds.right - bounds.left, row.width);
    EXPECT_EQ(bounds.bottom - bounds.top, row.height);
  }
}

TEST_F(MainWindowTest, TabGoesThroughTheControlsInDesignOrderAndBack) {
  const Form1Control order[] = {
      Form1Control::Button1,        Form1Control::sFilenameEdit1, Form1Control::sEdit1,
      Form1Control::sFilenameEdit2, Form1Control::sSpinEdit1,     Form1Control::sEdit2,
      Form1Control::sEdit3,         Form1Control::Button2,        Form1Control::sCheckBox1};
  const std::size_t count = std::size(order);
  for (std::size_t i = 0; i < count; ++i) {
    const HWND here = form_.ControlHandle(order[i]);
    EXPECT_EQ(GetNextDlgTabItem(form_.Handle(), here, FALSE),
              form_.ControlHandle(order[(i + 1) % count]))
        << "after " << i;
    EXPECT_EQ(GetNextDlgTabItem(form_.Handle(), here, TRUE),
              form_.ControlHandle(order[(i + count - 1) % count]))
        << "before " << i;
  }
}

TEST_F(MainWindowTest, TheFirstActivationFocusesStartAndKeepsTheCreditsLine) {
  form_.Show();
  SetForegroundWindow(form_.Handle());
  SetActiveWindow(form_.Handle());
  EXPECT_TRUE(
      PumpUntil([&] { return GetFocus() == form_.ControlHandle(Form1Control::Button1); }, 5000));
  EXPECT_EQ(WindowTextOf(form_.ControlHandle(Form1Control::Label3)), kCreditsLine);
}

TEST_F(MainWindowTest, FieldsAreBoundToTheirSettings) {
  const std::pair<SettingField, Form1Control> binding[] = {
      {SettingField::kServerPath, Form1Control::sFilenameEdit1},
      {SettingField::kQueryToolPath, Form1Control::sFilenameEdit2},
      {SettingField::kAdditionalParams, Form1Control::sEdit1},
      {SettingField::kQueryIp, Form1Control::sEdit2},
      {SettingField::kQueryPort, Form1Control::sEdit3},
      {SettingField::kDelay, Form1Control::sSpinEdit1},
  };
  for (const auto& [field, control] : binding) {
    const std::string text = "value " + std::to_string(int(field)) + " \"as typed\" ";
    form_.SetFieldText(field, text);
    EXPECT_EQ(WideToAnsi(WindowTextOf(form_.ControlHandle(control))), text);
    EXPECT_EQ(form_.FieldText(field), text);
  }
}

TEST_F(MainWindowTest, StatusTextShowsAtOnceAndLongTextEndsInAnEllipsis) {
  form_.Show();
  form_.SetStatusText("Quring server");
  // Painted without a message loop turn: read the pixels the bar has now.
  const HWND bar = form_.ControlHandle(Form1Control::sStatusBar1);
  RECT client;
  GetClientRect(bar, &client);
  const auto ink = [&] {
    HDC dc = GetDC(bar);
    int dark = 0;
    for (int x = 0; x < client.right; ++x) {
      for (int y = 0; y < client.bottom; ++y) dark += GetPixel(dc, x, y) == RGB(0, 0, 0);
    }
    ReleaseDC(bar, dc);
    return dark;
  };
  const int short_ink = ink();
  EXPECT_GT(short_ink, 0);
  form_.SetStatusText(std::string(400, 'W'));
  const int long_ink = ink();
  EXPECT_GT(long_ink, short_ink);
  // The text stops short of the size grip: the last 24 pixels stay clear of text.
  HDC dc = GetDC(bar);
  int dark_in_margin = 0;
  for (int x = client.right - 24; x < client.right - 18; ++x) {
    for (int y = 0; y < client.bottom; ++y) dark_in_margin += GetPixel(dc, x, y) == RGB(0, 0, 0);
  }
  ReleaseDC(bar, dc);
  EXPECT_EQ(dark_in_margin, 0);
}

TEST(MainWindowTray, TheIconIsInTheTrayWhileTheWindowIsBuiltAndGoesWithIt) {
  TTrayIcon keeper(nullptr);  // keeps the shared tray window, so the probe below can tell
  HWND window = nullptr;
  UINT id = 0;
  {
    TForm1 form;  // built, not yet shown, its creation handler not run
    window = form.TrayIcon().NotifyData().hWnd;
    id = form.TrayIcon().Identity();
    EXPECT_TRUE(InTray(window, id));
    EXPECT_FALSE(form.Visible());
    EXPECT_STREQ(form.TrayIcon().NotifyData().szTip, "Kestrune");
    EXPECT_NE(form.TrayIcon().NotifyData().hIcon, nullptr);
  }
  EXPECT_FALSE(InTray(window, id));
}

}  // namespace
}  // namespace kestrune
