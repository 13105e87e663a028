#include "base/win32/prelude.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "controls/skinned_controls.h"
#include "skin/skin_painter.h"
#include "ui/form.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::PumpUntil;

class ControlsTest : public ::testing::Test {
 protected:
  test_support::PlainForm form_{{L"controls", 100, 100, 400, 200}};
};

// The behaviours that the look could change, in both looks.
class LookTest : public ::testing::TestWithParam<Look> {
 protected:
  const SkinPainter* Skin() const { return GetParam() == Look::kCold ? &painter_ : nullptr; }

  SkinPainter painter_;
  test_support::PlainForm form_{{L"controls", 100, 100, 400, 200}};
};

INSTANTIATE_TEST_SUITE_P(Looks, LookTest, ::testing::Values(Look::kPlain, Look::kCold),
                         [](const auto& info) {
                           return std::string(info.param == Look::kCold ? "Cold" : "Plain");
                         });

TEST_P(LookTest, CheckBoxSetByCodeClicksOnlyOnAChangeAndNotWhileBuilding) {
  TsCheckBox box(form_.Handle(), {10, 10, 130, 19, L"Автозапуск сервера"});
  box.SetSkin(Skin());
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
  // Space, pressed and released, is a click too.
  SendMessageW(box.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(box.Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(clicks, 3);
  EXPECT_TRUE(state_seen);

  // Switching the look keeps the state.
  box.SetSkin(GetParam() == Look::kCold ? nullptr : &painter_);
  EXPECT_TRUE(box.Checked());
  box.SetSkin(Skin());
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks, 3);
}

TEST_P(LookTest, ButtonsClickByMouseAndSpace) {
  TButton button(form_.Handle(), {10, 10, 75, 25, L"Запустить"});
  button.SetSkin(Skin());
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  SendMessageW(button.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(button.Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(clicks, 2);
  EXPECT_NE(SendMessageW(button.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, 0);
}

TEST_P(LookTest, EditsAndLabelsTakeTheLooksColours) {
  TsEdit edit(form_.Handle(), {10, 40, 201, 21, L"text"});
  TsLabel label(form_.Handle(), {10, 70, 142, 13, L"caption"});
  TLabel plain(form_.Handle(), {10, 90, 142, 13, L"caption"});
  for (TControl* control : std::initializer_list<TControl*>{&edit, &label, &plain}) {
    control->SetSkin(Skin());
  }
  struct Case {
    TControl& control;
    COLORREF ink, face;
  };
  const bool cold = GetParam() == Look::kCold;
  const Case cases[] = {
      {edit, cold ? SkinPainter::Color(kFieldText.ink) : kClSilver,
       cold ? SkinPainter::Color(kFieldText.face) : kClBlack},
      {label, cold ? SkinPainter::Color(kCaptionText.ink) : kClSilver,
       cold ? SkinPainter::Color(kCaptionText.face) : GetSysColor(COLOR_BTNFACE)},
  };
  HDC dc = GetDC(form_.Handle());
  for (const Case& c : cases) {
    const HBRUSH brush = c.control.CtlColor(dc);
    EXPECT_EQ(GetTextColor(dc), c.ink);
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof fill, &fill);
    EXPECT_EQ(fill.lbColor, c.face);
  }
  // The plain labels take the skin's text colour, or stay the platform's.
  const HBRUSH plain_brush = plain.CtlColor(dc);
  EXPECT_EQ(plain_brush != nullptr, cold);
  if (cold) {
    EXPECT_EQ(GetTextColor(dc), SkinPainter::Color(kLabelText.ink));
  }
  ReleaseDC(form_.Handle(), dc);
  EXPECT_EQ(edit.SkinData.SkinSection, "EDIT");
}

// Reads one pixel of a window as it is painted now.
COLORREF PixelOf(HWND window, int x, int y) {
  UpdateWindow(window);
  HDC dc = GetDC(window);
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return pixel;
}

TEST(ColdLook, PaintsTheButtonNormalHotPressedAndFocused) {
  SkinPainter painter;
  test_support::PlainForm form({L"controls", 100, 100, 400, 200});
  TButton button(form.Handle(), {10, 10, 75, 25, L"Запустить"});
  button.SetSkin(&painter);
  form.Show();
  const HWND window = button.Handle();
  EXPECT_EQ(PixelOf(window, 4, 12), SkinPainter::Color(SkinColor::kButtonFace));
  EXPECT_EQ(PixelOf(window, 0, 12), SkinPainter::Color(SkinColor::kButtonBorder));

  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(4, 12));
  EXPECT_TRUE(button.Hot());
  EXPECT_EQ(PixelOf(window, 4, 12), SkinPainter::Color(SkinColor::kButtonHot));
  SendMessageW(window, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(PixelOf(window, 4, 12), SkinPainter::Color(SkinColor::kButtonFace));

  SendMessageW(window, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(PixelOf(window, 4, 12), SkinPainter::Color(SkinColor::kButtonPressed));
  SendMessageW(window, BM_SETSTATE, FALSE, 0);

  SetFocus(window);
  ASSERT_EQ(GetFocus(), window);
  EXPECT_EQ(PixelOf(window, 0, 12), SkinPainter::Color(SkinColor::kFocus));
}

TEST(ColdLook, PaintsTheCheckBoxTickOnlyWhenChecked) {
  SkinPainter painter;
  test_support::PlainForm form({L"controls", 100, 100, 400, 200});
  TsCheckBox box(form.Handle(), {10, 10, 130, 19, L"Автозапуск сервера"});
  box.Loaded();
  box.SetSkin(&painter);
  form.Show();
  const auto marks = [&] {
    UpdateWindow(box.Handle());
    HDC dc = GetDC(box.Handle());
    int count = 0;
    for (int x = kCheckBoxMargin; x < kCheckBoxMargin + kCheckBoxSize; ++x) {
      for (int y = 0; y < 19; ++y) {
        count += GetPixel(dc, x, y) == SkinPainter::Color(SkinColor::kCheckMark);
      }
    }
    ReleaseDC(box.Handle(), dc);
    return count;
  };
  EXPECT_EQ(marks(), 0);
  EXPECT_EQ(PixelOf(box.Handle(), kCheckBoxMargin + 6, 9), SkinPainter::Color(SkinColor::kField));
  box.SetChecked(true);
  EXPECT_GT(marks(), 8);
  box.SetChecked(false);
  EXPECT_EQ(marks(), 0);
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
