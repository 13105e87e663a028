// The main window built from its design, in this process (without its creation handler, so no
// settings file is touched).
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <string_view>

#include "base/win32/ansi_text.h"
#include "ui/application.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::InTray;
using test_support::PumpUntil;

// Every behaviour holds in the skin's look and in plain drawing alike.
class MainWindowTest : public ::testing::TestWithParam<Look> {
 protected:
  TForm1 form_{GetParam()};

  HWND Handle(Form1Control name) const { return form_.ControlHandle(name); }
  // The colour the status text is drawn in.
  COLORREF StatusInk() const {
    return GetParam() == Look::kCold ? SkinPainter::Color(kStatusText.ink) : RGB(0, 0, 0);
  }
};

INSTANTIATE_TEST_SUITE_P(Looks, MainWindowTest, ::testing::Values(Look::kPlain, Look::kCold),
                         [](const auto& info) {
                           return std::string(info.param == Look::kCold ? "Cold" : "Plain");
                         });

TEST_P(MainWindowTest, OpensAtItsDesignPositionHeldAtTheFixedSize) {
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
  // No sizing frame: no desktop offers to resize or maximise it.
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(GetWindow(form_.Handle(), GW_OWNER), Application().Handle());
}

TEST_P(MainWindowTest, EveryTextReadsBackThroughTheWideApiAsDesigned) {
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

TEST_P(MainWindowTest, ControlsSitAtTheirDesignPlaces) {
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
    // Captions size themselves to their text in the font they show, so none is cut.
    const int caption = CaptionWidth(form_.ControlHandle(row.name), row.text);
    if (std::string_view(row.kind).ends_with("Label")) {
      EXPECT_EQ(bounds.right - bounds.left, caption);
      EXPECT_GE(bounds.bottom - bounds.top, row.height);
    } else if (row.name == Form1Control::sCheckBox1) {
      EXPECT_EQ(bounds.right - bounds.left, CheckBoxWidthFor(caption));
      EXPECT_GE(bounds.right - bounds.left, kCheckBoxTextLeft + caption + 2);
      EXPECT_EQ(bounds.bottom - bounds.top, row.height);
    } else {
      EXPECT_EQ(bounds.right - bounds.left, row.width);
      EXPECT_EQ(bounds.bottom - bounds.top, row.height);
    }
  }
}

// The pixels of a control's client area that differ from its background (the colour of its top
// right corner), as painted now.
int InkOf(HWND control) {
  UpdateWindow(control);
  RECT client;
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  const COLORREF background = GetPixel(dc, client.right - 1, 0);
  int ink = 0;
  for (int x = 0; x < client.right; ++x) {
    for (int y = 0; y < client.bottom; ++y) ink += GetPixel(dc, x, y) != background;
  }
  ReleaseDC(control, dc);
  return ink;
}

TEST_P(MainWindowTest, NoCaptionIsCut) {
  form_.Show();
  for (const Form1Control name :
       {Form1Control::sLabel1, Form1Control::sLabel2, Form1Control::sLabel3, Form1Control::sLabel4,
        Form1Control::Label1, Form1Control::Label2, Form1Control::Label3,
        Form1Control::sCheckBox1}) {
    const ControlDesign& row = DesignOf(name);
    SCOPED_TRACE(row.design_name);
    const HWND control = Handle(name);
    RECT bounds;
    GetWindowRect(control, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const int ink = InkOf(control);
    EXPECT_GT(ink, 0);
    // Given room to spare, the caption shows no more than it did: nothing of it was cut.
    RECT client;
    GetClientRect(form_.Handle(), &client);
    const int room = std::min(40, int(client.right) - row.left - width);
    ASSERT_GE(room, 10) << "room to show a cut letter, inside the window";
    SetWindowPos(control, nullptr, 0, 0, width + room, height, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(control, nullptr, TRUE);
    EXPECT_EQ(InkOf(control), ink);
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  }
}

TEST_P(MainWindowTest, CaptionsAreMeasuredInTheFontTheyShow) {
  // A wider font than the design's: the labels and the check box grow with it.
  const UniqueFont wide(CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
  TLabel label(form_.Handle(), {10, 10, 20, 13, L"Укажите время проверки сервера в секундах"});
  TCheckBox box(form_.Handle(), {10, 40, 20, 19, L"Автозапуск сервера"});
  label.SetFont(wide.get());
  box.SetFont(wide.get());
  label.AutoSize();
  box.AutoSize();
  const int label_caption = CaptionWidth(label.Handle(), label.WideText());
  const int box_caption = CaptionWidth(box.Handle(), box.WideText());
  EXPECT_GT(label_caption, 234) << "wider than the design's width";
  RECT bounds;
  GetWindowRect(label.Handle(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, label_caption);
  GetWindowRect(box.Handle(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, CheckBoxWidthFor(box_caption));
}

TEST_P(MainWindowTest, TabGoesThroughTheControlsInDesignOrderAndBack) {
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

TEST_P(MainWindowTest, TheFirstActivationFocusesStartAndKeepsTheCreditsLine) {
  form_.Show();
  SetForegroundWindow(form_.Handle());
  SetActiveWindow(form_.Handle());
  EXPECT_TRUE(
      PumpUntil([&] { return GetFocus() == form_.ControlHandle(Form1Control::Button1); }, 5000));
  EXPECT_EQ(WindowTextOf(form_.ControlHandle(Form1Control::Label3)), kCreditsLine);
}

TEST_P(MainWindowTest, FieldsAreBoundToTheirSettings) {
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

TEST_P(MainWindowTest, StatusTextShowsAtOnceAndLongTextEndsInAnEllipsis) {
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
      for (int y = 0; y < client.bottom; ++y) dark += GetPixel(dc, x, y) == StatusInk();
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
    for (int y = 0; y < client.bottom; ++y) {
      dark_in_margin += GetPixel(dc, x, y) == StatusInk();
    }
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
