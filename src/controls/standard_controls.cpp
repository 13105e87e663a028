#include "controls/standard_controls.h"

#include <commctrl.h>

#include "base/win32/ansi_text.h"

namespace kestrune {

TStatusBar::TStatusBar(HWND parent, const ControlPlacement& placement)
    : TControl(parent, STATUSCLASSNAMEW, SBARS_SIZEGRIP | CCS_BOTTOM, 0, placement) {
  ::SendMessageW(Handle(), SB_SIMPLE, TRUE, 0);
}

std::string TStatusBar::SimpleText() const {
  // In simple mode part 0 reads back the simple text.
  const auto length = LOWORD(::SendMessageW(Handle(), SB_GETTEXTLENGTHW, 0, 0));
  std::wstring text(length + 1, L'\0');
  ::SendMessageW(Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return WideToAnsi(text);
}

void TStatusBar::SetSimpleText(const std::string& text) {
  const std::wstring wide = AnsiToWide(text);
  ::SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID | SBT_NOBORDERS,
                 reinterpret_cast<LPARAM>(wide.c_str()));
  ::UpdateWindow(Handle());
}

}  // namespace kestrune
