#include "base/win32/prelude.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "controls/skinned_controls.h"
#include "ui/form.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::PumpUntil;

class ControlsTest : public ::testing::Test {
 protected:
  test_support::PlainForm form_{{L"controls", 100, 100, 400, 200}};
};

TEST_F(ControlsTest, CheckBoxSetByCodeClicksOnlyOnAChangeAndNotWhileBuilding) {
  TsCheckBox box(form_.Handle(), {10, 10, 130, 19, L"Автозапуск сервера"});
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };

  box.SetChecked(true);  // still being built: ignored
  EXPECT_FALSE(box.Checked());
  box.Loaded();

  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(box.Checked());
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);

  // The operator's click toggles the state before the event sees it.
  bool state_seen = true;
  box.OnClick = [&] {
    ++clicks;
    state_seen = box.Checked();
  };
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(state_seen);
}

TEST_F(ControlsTest, EditsAndLabelsTakeTheDesignColours) {
  TsEdit edit(form_.Handle(), {10, 40, 201, 21, L"text"});
  TsLabel label(form_.Handle(), {10, 70, 142, 13, L"caption"});
  HDC dc = GetDC(form_.Handle());
  const HBRUSH edit_brush = edit.CtlColor(dc);
  EXPECT_EQ(GetTextColor(dc), kClSilver);
  EXPECT_EQ(GetBkColor(dc), kClBlack);
  LOGBRUSH fill{};
  GetObjectW(edit_brush, sizeof fill, &fill);
  EXPECT_EQ(fill.lbColor, kClBlack);
  label.CtlColor(dc);
  EXPECT_EQ(GetTextColor(dc), kClSilver);
  ReleaseDC(form_.Handle(), dc);
  EXPECT_EQ(edit.SkinData.SkinSection, "EDIT");
}

TEST_F(ControlsTest, StatusBarShowsItsSimpleTextWithoutPanels) {
  TsStatusBar bar(form_.Handle(), {0, 0, 388, 19, L""});
  form_.Show();
  bar.SetSimpleText("Server stoped");
  {
    HDC dc = GetDC(bar.Handle());
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(bar.Handle(), dc);
  }
  EXPECT_EQ(bar.SimpleText(), "Server stoped");
  wchar_t text[64] = L"";
  SendMessageW(bar.Handle(), SB_GETTEXTW, 0, LPARAM(text));
  EXPECT_STREQ(text, L"Server stoped");
  EXPECT_EQ(bar.SkinData.SkinSection, "STATUSBAR");
}

}  // namespace
}  // namespace kestrune
