// The spin edit as a real control in a real form, driven by the messages the operator's typing,
// wheel and mouse produce.
#include "controls/spin_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::PumpUntil;

constexpr int kWidth = 65;
constexpr int kHeight = 21;

class SpinEditTest : public ::testing::Test {
 protected:
  SpinEditTest() {
    form_.Show();
    spin_.Loaded();
    spin_.Beep = [this](UINT type) { beeps_.push_back(type); };
  }

  void Type(const std::wstring& characters) {
    for (const wchar_t c : characters) SendMessageW(spin_.Handle(), WM_CHAR, c, 1);
  }
  void Key(WPARAM key) {
    SendMessageW(spin_.Handle(), WM_KEYDOWN, key, 1);
    SendMessageW(spin_.Handle(), WM_KEYUP, key, 0xC0000001);
  }
  void Wheel(short delta) {
    SendMessageW(spin_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(120, 120));
  }

  HWND Button() const { return GetWindow(spin_.Handle(), GW_CHILD); }
  RECT ButtonClient() const {
    RECT client;
    GetClientRect(Button(), &client);
    return client;
  }
  LPARAM UpperHalf() const { return MAKELPARAM(ButtonClient().right / 2, 2); }
  LPARAM LowerHalf() const {
    const RECT client = ButtonClient();
    return MAKELPARAM(client.right / 2, client.bottom - 2);
  }
  void Press(LPARAM at) { SendMessageW(Button(), WM_LBUTTONDOWN, MK_LBUTTON, at); }
  void Release(LPARAM at) { SendMessageW(Button(), WM_LBUTTONUP, 0, at); }

  test_support::PlainForm form_{{L"test", 100, 100, 300, 200}};
  TsSpinEdit spin_{form_.Handle(), {10, 10, kWidth, kHeight, L""}};
  TEdit other_{form_.Handle(), {10, 50, 100, 21, L""}};
  std::vector<UINT> beeps_;
};

TEST_F(SpinEditTest, EmptyOrLettersStepFromMinValue) {
  struct Case {
    const char* text;
    WPARAM key;
    const char* expected;
  };
  const Case cases[] = {
      {"", VK_UP, "1"},       {"", VK_DOWN, "-1"}, {"abc", VK_UP, "1"},
      {"abc", VK_DOWN, "-1"}, {"007", VK_UP, "8"}, {"1.", VK_DOWN, "-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("text '") + c.text + "'");
    spin_.SetText(c.text);
    Key(c.key);
    EXPECT_EQ(spin_.Text(), c.expected);
  }
  spin_.MinValue = 3;
  spin_.MaxValue = 5;
  spin_.SetText("xyz");
  EXPECT_EQ(spin_.Value(), 3);
  EXPECT_EQ(spin_.Text(), "xyz");  // reading leaves the text alone
  spin_.StepUp();
  EXPECT_EQ(spin_.Text(), "4");
  spin_.StepUp();
  spin_.StepUp();
  EXPECT_EQ(spin_.Text(), "5");
  EXPECT_TRUE(beeps_.empty());
}

TEST_F(SpinEditTest, TypingKeepsDigitsAndRefusesOtherCharactersWithABeep) {
  Type(L"1-2.");
  EXPECT_EQ(spin_.Text(), "12.");  // the minus sign is dropped, the full stop stays
  ASSERT_EQ(beeps_.size(), 1u);
  EXPECT_EQ(beeps_[0], UINT(MB_OK));

  Type(L"+, a\r\x0436");
  EXPECT_EQ(spin_.Text(), "12.");
  EXPECT_EQ(beeps_.size(), 7u);

  // Backspace and Escape reach the edit, without a beep.
  beeps_.clear();
  Type(L"\b\x1b");
  EXPECT_EQ(spin_.Text(), "12");
  EXPECT_TRUE(beeps_.empty());

  // Without the editor only control keys pass.
  spin_.EditorEnabled = false;
  Type(L"3.");
  EXPECT_EQ(spin_.Text(), "12");
  EXPECT_EQ(beeps_.size(), 2u);
  Type(L"\b");
  EXPECT_EQ(spin_.Text(), "1");
}

TEST_F(SpinEditTest, PasteIsUnfilteredAndRefusedWithoutTheEditor) {
  const auto put_on_clipboard = [&](const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(form_.Handle()));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(memory, nullptr);
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);  // the clipboard owns it from here
    CloseClipboard();
  };
  put_on_clipboard(L"-x9");
  spin_.SetText("5");
  SendMessageW(spin_.Handle(), EM_SETSEL, 1, 1);
  SendMessageW(spin_.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(spin_.Text(), "5-x9");

  spin_.EditorEnabled = false;
  SendMessageW(spin_.Handle(), EM_SETSEL, 0, -1);
  SendMessageW(spin_.Handle(), WM_PASTE, 0, 0);
  SendMessageW(spin_.Handle(), WM_CUT, 0, 0);
  Type(L"\x16\x18");  // Ctrl+V, Ctrl+X
  EXPECT_EQ(spin_.Text(), "5-x9");
}

TEST_F(SpinEditTest, TheWheelAddsWholeNotchesTimesTheIncrement) {
  spin_.SetText("10");
  Wheel(240);
  EXPECT_EQ(spin_.Text(), "12");
  Wheel(-120);
  EXPECT_EQ(spin_.Text(), "11");
  spin_.Increment = 5;
  Wheel(-360);
  EXPECT_EQ(spin_.Text(), "-4");
  spin_.SetText("007");
  Wheel(60);  // less than a notch: nothing to add, the text stays as typed
  EXPECT_EQ(spin_.Text(), "007");

  spin_.SetReadOnly(true);
  Wheel(120);
  EXPECT_EQ(spin_.Text(), "007");
  EXPECT_TRUE(beeps_.empty());
}

TEST_F(SpinEditTest, ReadOnlyStepsBeepAndAssignedHandlersReplaceTheStep) {
  int ups = 0, downs = 0;
  spin_.OnUpClick = [&] { ++ups; };
  spin_.OnDownClick = [&] { ++downs; };
  spin_.SetText("4");
  Key(VK_UP);
  Press(LowerHalf());
  Release(LowerHalf());
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(spin_.Text(), "4");

  spin_.SetReadOnly(true);
  spin_.StepUp();
  Key(VK_DOWN);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(beeps_, (std::vector<UINT>{MB_OK, MB_OK}));
  EXPECT_EQ(spin_.Text(), "4");
}

TEST_F(SpinEditTest, FocusSelectsAllAndLeavingClampsOnlyOutOfBoundsValues) {
  struct Case {
    std::int32_t min_value, max_value;
    const char* typed;
    const char* after_leaving;
  };
  const Case cases[] = {
      {0, 0, "007", "007"}, {0, 0, "1.", "1."}, {0, 0, "-5", "-5"},
      {1, 10, "25", "10"},  {1, 10, "0", "1"},  {1, 10, "007", "007"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("typed '") + c.typed + "'");
    spin_.MinValue = c.min_value;
    spin_.MaxValue = c.max_value;
    spin_.SetText(c.typed);
    SetFocus(spin_.Handle());
    ASSERT_EQ(GetFocus(), spin_.Handle());
    DWORD start = 1, end = 0;
    SendMessageW(spin_.Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, strlen(c.typed));
    SetFocus(other_.Handle());
    EXPECT_EQ(spin_.Text(), c.after_leaving);
  }
}

TEST_F(SpinEditTest, WritesOfValueWaitForLoadedAndAreClamped) {
  TsSpinEdit building(form_.Handle(), {100, 10, kWidth, kHeight, L""});
  building.SetValue(0);
  building.SetValue(7);
  EXPECT_EQ(building.Text(), "");
  building.Loaded();
  building.SetValue(7);
  EXPECT_EQ(building.Text(), "7");
  building.SetValue(-3);
  EXPECT_EQ(building.Text(), "-3");
  building.MinValue = 1;
  building.MaxValue = 10;
  building.SetValue(50);
  EXPECT_EQ(building.Text(), "10");
  building.SetValue(-3);
  EXPECT_EQ(building.Text(), "1");
}

TEST_F(SpinEditTest, ButtonsAndTextRectangleSitInsideTheRightEdge) {
  const auto check = [&](int width, int height) {
    SCOPED_TRACE(::testing::Message() << width << " x " << height);
    RECT button;
    GetWindowRect(Button(), &button);
    MapWindowPoints(nullptr, spin_.Handle(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.left, width - 22);
    EXPECT_EQ(button.top, 0);
    EXPECT_EQ(button.right - button.left, 18);
    EXPECT_EQ(button.bottom - button.top, height - 4);
    RECT text;
    SendMessageW(spin_.Handle(), EM_GETRECT, 0, LPARAM(&text));
    EXPECT_EQ(text.right, width - 21);
  };
  check(kWidth, kHeight);
  // A new font resets the edit's margins; a new size moves everything.
  spin_.SetFont(static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT)));
  check(kWidth, kHeight);
  SetWindowPos(spin_.Handle(), nullptr, 0, 0, 120, 30, SWP_NOMOVE | SWP_NOZORDER);
  check(120, 30);
}

TEST_F(SpinEditTest, EachHalfShowsASmallTriangleInTheTextColour) {
  const RECT client = ButtonClient();
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  SendMessageW(Button(), WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);

  // Rows of text-coloured pixels, from the top, in each half.
  const auto glyph_rows = [&](int top, int bottom) {
    std::vector<int> rows;
    for (int y = top; y < bottom; ++y) {
      int count = 0;
      for (int x = 0; x < client.right; ++x) count += GetPixel(dc, x, y) == RGB(192, 192, 192);
      if (count) rows.push_back(count);
    }
    return rows;
  };
  const int middle = client.bottom / 2;
  EXPECT_EQ(glyph_rows(0, middle), (std::vector<int>{3, 5, 7}));
  EXPECT_EQ(glyph_rows(middle, client.bottom), (std::vector<int>{7, 5, 3}));
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(SpinEditTest, APressAndReleaseOnTheSameHalfIsOneStep) {
  struct Case {
    bool upper_press;
    LPARAM release;
    const char* expected;
  };
  const Case cases[] = {
      {true, UpperHalf(), "1"},
      {false, LowerHalf(), "-1"},
      {true, LowerHalf(), ""},          // released over the other half
      {false, MAKELPARAM(5, 200), ""},  // released outside the pair
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "upper " << c.upper_press << " released at " << c.release);
    spin_.SetText("");
    Press(c.upper_press ? UpperHalf() : LowerHalf());
    EXPECT_EQ(GetCapture(), Button());
    Release(c.release);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(spin_.Text(), c.expected);
    // Pressing focuses the field, not the button.
    EXPECT_EQ(GetFocus(), spin_.Handle());
  }
  // Nothing more comes after the release.
  PumpUntil([] { return false; }, 600);
  EXPECT_EQ(spin_.Text(), "");
}

TEST_F(SpinEditTest, HoldingAHalfRepeatsUntilReleasedWithOneLastStep) {
  spin_.SetText("");
  const ULONGLONG pressed_at = GetTickCount64();
  Press(UpperHalf());
  PumpUntil([] { return false; }, 1000);
  const ULONGLONG held_ms = GetTickCount64() - pressed_at;
  const int repeats = spin_.Value();
  // First repeat after 400 ms, then one every 100 ms: never more than that, and some.
  EXPECT_GE(repeats, 2);
  EXPECT_LE(repeats, 1 + int(held_ms - 400) / 100 + 1) << "held " << held_ms << " ms";
  Release(UpperHalf());
  EXPECT_EQ(spin_.Value(), repeats + 1);
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(spin_.Value(), repeats + 1);

  // A held press that loses the mouse to another window ends without a step.
  spin_.SetText("");
  Press(LowerHalf());
  SetCapture(form_.Handle());
  ReleaseCapture();
  Release(LowerHalf());
  PumpUntil([] { return false; }, 700);
  EXPECT_EQ(spin_.Text(), "");
}

}  // namespace
}  // namespace kestrune
