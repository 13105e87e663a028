// The hint balloon: its pixels as the drawing code composes them in memory, its window and region
// on screen, and the hint manager as the main window wires it, driven by the real pointer.
#include "base/win32/prelude.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "controls/hint_balloon_drawing.h"
#include "controls/hint_manager.h"
#include "controls/hint_switch.h"
#include "controls/hint_window.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::PumpUntil;

const std::wstring kCheckBoxHint = L"Запускать сервер при запуске программы";
const std::wstring kLongHint =
    L"Запускать сервер при запуске программы, проверять его каждые несколько секунд и "
    L"перезапускать, когда он перестал отвечать на запросы";
constexpr HintRect kDesktop{0, 0, 1280, 1024};

// A point well inside the tail: a quarter of the way from the tip to the middle of its base.
HintPoint InTail(const ComposedBalloon& balloon) {
  const auto tail = TailTriangle(balloon.body, balloon.placement.tip);
  const int base_x = (tail[1].x + tail[2].x) / 2;
  return {tail[0].x + (base_x - tail[0].x) / 4, tail[0].y + (tail[1].y - tail[0].y) / 4};
}

class BalloonTest : public ::testing::Test {
 protected:
  ComposedBalloon Compose(const std::wstring& text, HintPoint anchor = {100, 100}) {
    return ComposeBalloon(kind_, font_.get(), text, anchor, kDesktop);
  }
  const HintKind kind_ = MainWindowHintKind();
  const UniqueFont font_ = CreateHintFont(kind_);
};

TEST_F(BalloonTest, OutsideIsClearOrShadowAndInsideIsOpaqueContent) {
  const ComposedBalloon balloon = Compose(kCheckBoxHint);
  ASSERT_EQ(balloon.placement.corner, TailCorner::kTopLeft);
  const HintSize size = balloon.Size();
  const HintRect body = balloon.body;
  const DibSection& image = balloon.image;

  // The corners beyond the body, the tail and the shadow show nothing.
  for (const auto& [x, y] : {std::pair{size.width - 1, 0}, std::pair{0, size.height - 1},
                             std::pair{size.width - 1, body.top}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    EXPECT_FALSE(balloon.mask.Inside(x, y));
    EXPECT_EQ(image.At(x, y), (Bgra{0, 0, 0, 0}));
  }
  // In the shadow beside the body, under every ring: black at the darkest ring's alpha, 255 - 193.
  const int middle = (body.top + body.bottom) / 2;
  const int shadow_x = body.right + kind_.shadow_offset / 2;
  const int shadow_y = middle + kind_.shadow_offset;
  EXPECT_EQ(balloon.shadow.At(shadow_x, shadow_y), ToBgra(RgbColor(193, 193, 193)));
  EXPECT_EQ(image.At(shadow_x, shadow_y), (Bgra{0, 0, 0, 62}));
  // Every shadow pixel outside the balloon: black, alpha 255 less the shadow's blue.
  int shadow_pixels = 0;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      if (balloon.mask.Inside(x, y)) continue;
      const std::uint8_t blue = balloon.shadow.At(x, y).b;
      ASSERT_EQ(image.At(x, y), (Bgra{0, 0, 0, std::uint8_t(255 - blue)})) << x << "," << y;
      if (blue < 255) ++shadow_pixels;
    }
  }
  EXPECT_GT(shadow_pixels, size.width * kind_.shadow_offset / 2);

  // Inside: opaque, the gradient's row colour just inside the top and bottom borders.
  const std::vector<Color> rows = ContentRows(kind_, size.height);
  const int x = body.right - kind_.radius;
  for (const int y : {body.top + 1, body.bottom - 1}) {
    SCOPED_TRACE(y);
    ASSERT_TRUE(balloon.mask.Inside(x, y));
    EXPECT_EQ(image.At(x, y), ToBgra(rows[std::size_t(y)], 255));
  }
  EXPECT_NE(rows[std::size_t(body.top + 1)], rows[std::size_t(body.bottom - 1)]);

  // The border: olive on the top and left sides, black on the bottom and right.
  struct Side {
    const char* name;
    int x, y;
    Color color;
  };
  for (const Side& side :
       {Side{"top", x, body.top, kClOlive}, Side{"left", 0, middle, kClOlive},
        Side{"bottom", x, body.bottom, kClBlack}, Side{"right", body.right, middle, kClBlack}}) {
    SCOPED_TRACE(side.name);
    EXPECT_EQ(image.At(side.x, side.y), ToBgra(side.color, 255));
  }
}

// The rows holding text, as runs of rows of the text area with dark pixels anywhere inside the
// border, and each run's leftmost and rightmost dark pixel.
struct TextLine {
  int left, right;
};
std::vector<TextLine> TextLines(const ComposedBalloon& balloon, HintRect area) {
  std::vector<TextLine> lines;
  bool in_line = false;
  for (int y = area.top; y < area.bottom; ++y) {
    const int first = balloon.body.left + 1, last = balloon.body.right - 1;
    int left = last, right = first - 1;
    for (int x = first; x < last; ++x) {
      const Bgra pixel = balloon.content.At(x, y);
      if (pixel.r < 128 && pixel.g < 128 && pixel.b < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    if (right < left) {
      in_line = false;
      continue;
    }
    if (!in_line) lines.push_back({left, right});
    lines.back().left = std::min(lines.back().left, left);
    lines.back().right = std::max(lines.back().right, right);
    in_line = true;
  }
  return lines;
}

TEST_F(BalloonTest, ATextWiderThanTheWrapWidthRunsOnSeveralCentredLines) {
  const ComposedBalloon one_line = Compose(kCheckBoxHint);
  const ComposedBalloon wrapped = Compose(kLongHint);
  EXPECT_GT(wrapped.Size().height, one_line.Size().height);
  EXPECT_LE(wrapped.Size().width, kind_.max_width + 30);
  // The short text: only as wide as itself plus 30.
  EXPECT_EQ(one_line.Size().width, MeasureHintText(font_.get(), kCheckBoxHint, kind_).width + 30);

  const HintRect area = HintTextRect(wrapped.body, kind_);
  const std::vector<TextLine> lines = TextLines(wrapped, area);
  ASSERT_GE(lines.size(), 3u);
  const int centre2 = area.left + area.right - 1;  // twice the centre column
  for (const TextLine& line : lines) {
    EXPECT_NEAR(line.left + line.right, centre2, 3) << line.left << ".." << line.right;
  }
  // Lines of different lengths: centred, not merely filling the width.
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [&](const TextLine& line) { return line.left > area.left + 10; }));
}

TEST_F(BalloonTest, TheLastGlyphIsDrawnWhole) {
  // The measured width adds up the advances; a glyph reaching past its advance must not be cut
  // at the text area's edge. The same line drawn alone, unclipped, on white ends where the
  // balloon's does.
  const ComposedBalloon balloon = Compose(kCheckBoxHint);
  const HintRect area = HintTextRect(balloon.body, kind_);
  const std::vector<TextLine> lines = TextLines(balloon, area);
  ASSERT_EQ(lines.size(), 1u);

  DibSection alone(balloon.Size().width + 40, balloon.Size().height);
  alone.Fill(ToBgra(kClWhite));
  {
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.get(), alone.Handle());
    SelectObject(dc.get(), font_.get());
    SetBkMode(dc.get(), TRANSPARENT);
    RECT rect{area.left, area.top, area.left + 1, area.bottom};
    DrawTextW(dc.get(), kCheckBoxHint.c_str(), -1, &rect, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    GdiFlush();
  }
  int left = alone.Width(), right = -1;
  for (int y = 0; y < alone.Height(); ++y) {
    for (int x = 0; x < alone.Width(); ++x) {
      if (alone.At(x, y).r < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  EXPECT_EQ(lines[0].left, left);
  EXPECT_EQ(lines[0].right, right);
}

TEST_F(BalloonTest, OnScreenTheShadowDarkensWhatLiesBeneathInsteadOfShowingBlack) {
  const ComposedBalloon balloon = Compose(kCheckBoxHint);
  const HintSize size = balloon.Size();
  DibSection beneath(size.width, size.height);
  beneath.Fill(ToBgra(RgbColor(200, 100, 50)));
  const DibSection picture = ScreenPicture(balloon, beneath);

  const int x = balloon.body.right + kind_.shadow_offset / 2;
  const int y = (balloon.body.top + balloon.body.bottom) / 2 + kind_.shadow_offset;
  // The darkest ring, grey 193, over the background: each channel * 193 / 256, opaque.
  EXPECT_EQ(picture.At(x, y), (Bgra{50 * 193 / 256, 100 * 193 / 256, 200 * 193 / 256, 255}));
  EXPECT_EQ(picture.At(size.width - 1, 0), (Bgra{0, 0, 0, 0}));
  const int inside_x = balloon.body.left + balloon.body.Width() / 2;
  EXPECT_EQ(picture.At(inside_x, y - kind_.shadow_offset),
            balloon.image.At(inside_x, y - kind_.shadow_offset));
}

TEST_F(BalloonTest, NearTheDesktopsEdgesTheTailMovesToTheMatchingCorner) {
  const ComposedBalloon balloon =
      Compose(kCheckBoxHint, {kDesktop.right - 10, kDesktop.bottom - 10});
  EXPECT_EQ(balloon.placement.corner, TailCorner::kBottomRight);
  const HintSize size = balloon.Size();
  // The tail at the bottom right: the body ends above the tail's band, the tip is inside the
  // shape 3 pixels in from the corner, and the top-left corner is clear.
  EXPECT_EQ(balloon.body.top, 0);
  const HintPoint tail = InTail(balloon);
  EXPECT_GT(tail.y, balloon.body.bottom);
  EXPECT_TRUE(balloon.mask.Inside(tail.x, tail.y));
  EXPECT_EQ(balloon.image.At(0, 0).a, 0);
  EXPECT_EQ(balloon.placement.window.right, kDesktop.right - 10);
  EXPECT_EQ(balloon.placement.window.bottom, kDesktop.bottom - 10);
  EXPECT_EQ(size.height, balloon.placement.window.Height());
}

class HintWindowTest : public ::testing::Test {
 protected:
  THintWindow window_{MainWindowHintKind()};
};

TEST_F(HintWindowTest, TheRegionKeepsTheBalloonAndShadowAndCutsTheCorners) {
  window_.ActivateHint({200, 200}, kCheckBoxHint);
  ASSERT_TRUE(window_.Visible());
  const ComposedBalloon& balloon = *window_.Balloon();
  RECT bounds;
  GetWindowRect(window_.Handle(), &bounds);
  EXPECT_EQ(bounds.left, 200);
  EXPECT_EQ(bounds.top, 200);

  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window_.Handle(), region.get()), ERROR);
  const HintSize size = balloon.Size();
  const HintRect body = balloon.body;
  const int middle = (body.top + body.bottom) / 2;
  struct Probe {
    const char* name;
    int x, y;
    bool kept;
  };
  for (const Probe& probe :
       {Probe{"top-left corner", 0, 0, false}, Probe{"top-right corner", size.width - 1, 0, false},
        Probe{"bottom-left corner", 0, size.height - 1, false},
        Probe{"bottom-right corner", size.width - 1, size.height - 1, false},
        Probe{"body", body.left + body.Width() / 2, middle, true},
        Probe{"tail", InTail(balloon).x, InTail(balloon).y, true},
        Probe{"shadow", body.right + 8, middle + 16, true}}) {
    SCOPED_TRACE(probe.name);
    EXPECT_EQ(PtInRegion(region.get(), probe.x, probe.y) != FALSE, probe.kept);
    EXPECT_EQ(balloon.image.At(probe.x, probe.y).a != 0, probe.kept);
  }
}

TEST_F(HintWindowTest, FadesInOnlyWhenItWasNotVisible) {
  window_.ActivateHint({200, 200}, kCheckBoxHint);
  EXPECT_EQ(window_.FadeIns(), 1);
  window_.ActivateHint({220, 220}, L"IP, по которому собирать информацию с сервера");
  EXPECT_EQ(window_.FadeIns(), 1);
  EXPECT_EQ(window_.Text(), L"IP, по которому собирать информацию с сервера");
  window_.ReleaseHint();
  EXPECT_FALSE(window_.Visible());
  window_.ActivateHint({200, 200}, kCheckBoxHint);
  EXPECT_EQ(window_.FadeIns(), 2);
  // Never activated, never the foreground.
  EXPECT_NE(GetForegroundWindow(), window_.Handle());
  EXPECT_NE(GetActiveWindow(), window_.Handle());
}

// The main window as it is built, with its hint manager, and the real pointer over its controls.
class HoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.Show();
    SetForegroundWindow(form_.Handle());
    PumpUntil([] { return false; }, 100);
    GetCursorPos(&parked_);
  }
  void TearDown() override { SetCursorPos(parked_.x, parked_.y); }

  // Puts the pointer over a control, `dx` pixels right of its centre; the system then sends the
  // control its mouse move.
  POINT MoveOver(Form1Control name, int dx = 0) {
    RECT bounds;
    GetWindowRect(form_.ControlHandle(name), &bounds);
    const POINT at{(bounds.left + bounds.right) / 2 + dx, (bounds.top + bounds.bottom) / 2};
    SetCursorPos(at.x, at.y);
    return at;
  }
  bool Showing() const {
    const THintWindow* window = hints().HintWindow();
    return window && window->Visible();
  }
  const TsHintManager& hints() const { return const_cast<TForm1&>(form_).HintManager(); }
  const THintWindow& window() const { return *hints().HintWindow(); }

  TForm1 form_;
  POINT parked_{};
};

TEST_F(HoverTest, TheCheckBoxShowsItsHintAfterThePauseBelowTheCursorAndHidesItLater) {
  const POINT cursor = MoveOver(Form1Control::sCheckBox1);
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(PumpUntil([&] { return Showing(); }, 400)) << "shown before the pause";
  ASSERT_TRUE(PumpUntil([&] { return Showing(); }, 2000));
  const ULONGLONG shown = GetTickCount64();
  EXPECT_GE(shown - start, 400u);
  EXPECT_EQ(window().Text(), kCheckBoxHint);
  EXPECT_EQ(window().FadeIns(), 1);

  // Below and to the right of the pointer, tail at the top left, clear of the cursor's picture.
  const HintPlacement& placement = window().Balloon()->placement;
  EXPECT_EQ(placement.corner, TailCorner::kTopLeft);
  EXPECT_EQ(placement.window.left, cursor.x);
  EXPECT_EQ(placement.window.top, cursor.y + TsHintManager::CursorHeightMargin());
  EXPECT_GT(placement.window.top, cursor.y);

  // Gone after the hide pause, and not back while the pointer stays on the control.
  ASSERT_TRUE(PumpUntil([&] { return !Showing(); }, 8000));
  EXPECT_GE(GetTickCount64() - shown, 4000u);
  MoveOver(Form1Control::sCheckBox1, 3);
  EXPECT_FALSE(PumpUntil([&] { return Showing(); }, 1000));
}

TEST_F(HoverTest, TheQueryFieldsShowTheirHintsWithoutFadingInAgainAndOthersShowNone) {
  MoveOver(Form1Control::sEdit2);
  ASSERT_TRUE(PumpUntil([&] { return Showing(); }, 2000));
  EXPECT_EQ(window().Text(), L"IP, по которому собирать информацию с сервера");
  const int fades = window().FadeIns();

  // Straight on to the port field while the balloon shows: its text replaces the other's in
  // the balloon that is still there.
  MoveOver(Form1Control::sEdit3);
  ASSERT_TRUE(
      PumpUntil([&] { return window().Text() == L"Порт сбора информации с сервера"; }, 2000));
  EXPECT_TRUE(Showing());
  EXPECT_EQ(window().FadeIns(), fades);

  // A field without a hint: the balloon goes and none comes.
  MoveOver(Form1Control::sEdit1);
  EXPECT_TRUE(PumpUntil([&] { return !Showing(); }, 1000));
  EXPECT_FALSE(PumpUntil([&] { return Showing(); }, 1500));
  EXPECT_EQ(hints().HintControl(), nullptr);
}

TEST_F(HoverTest, HintsAreOffWhileASpeedButtonIsHeldAndBackOnRelease) {
  struct Case {
    const char* name;
    Form1Control owner;
    const wchar_t* button_class;
  };
  for (const Case& held :
       {Case{"browse button", Form1Control::sFilenameEdit1, L"KestruneEditButton"},
        Case{"spin button", Form1Control::sSpinEdit1, L"TsSpinButton"}}) {
    SCOPED_TRACE(held.name);
    const HWND button =
        FindWindowExW(form_.ControlHandle(held.owner), nullptr, held.button_class, nullptr);
    ASSERT_NE(button, nullptr);
    const HWND box = form_.ControlHandle(Form1Control::sCheckBox1);
    MoveOver(Form1Control::sCheckBox1);
    ASSERT_TRUE(PumpUntil([&] { return Showing(); }, 2000));

    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_FALSE(HintsOn());
    EXPECT_FALSE(Showing());
    // The mouse over the check box while the button is still held: no hint.
    PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(PumpUntil([&] { return Showing(); }, 1200));

    // Released away from the button, so it does nothing else.
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
    EXPECT_TRUE(HintsOn());
    MoveOver(Form1Control::sEdit1);  // off the box, then back on
    PumpUntil([] { return false; }, 100);
    MoveOver(Form1Control::sCheckBox1, 4);
    EXPECT_TRUE(PumpUntil([&] { return Showing(); }, 2000));
  }
}

}  // namespace
}  // namespace kestrune
