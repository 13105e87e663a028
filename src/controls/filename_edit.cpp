#include "controls/filename_edit.h"

#include <algorithm>

#include "base/win32/clipboard.h"
#include "base/win32/file_system.h"
#include "controls/browse_rules.h"
#include "ui/message_bits.h"

namespace kestrune {
TsFilenameEdit::TsFilenameEdit(HWND parent, const ControlPlacement& placement)
    // A multi-line edit takes a text rectangle that leaves room for the button; it still shows
    // one line, as no line break ever gets in.
    : TsEdit(parent, placement, ES_MULTILINE | WS_CLIPCHILDREN), button_(Handle()) {
  SetMaxLength(kMaxLength);
  button_.OnClick = [this] {
    if (!ReadOnly()) BrowseForFile();
  };
  Subclass();
  LayoutInnerButton();
}

void TsFilenameEdit::LayoutInnerButton() {
  RECT client;
  ::GetClientRect(Handle(), &client);
  const int button_left = std::max<int>(client.left, client.right - TsEditButton::kWidth);
  ::SetWindowPos(button_.Handle(), nullptr, button_left, 0, client.right - button_left,
                 client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT text = client;
  text.right = button_left;
  ::SendMessageW(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
}

bool TsFilenameEdit::CanFocus() const {
  if (!::IsWindowVisible(Handle())) return false;
  const HWND desktop = ::GetDesktopWindow();
  for (HWND window = Handle(); window && window != desktop;
       window = ::GetAncestor(window, GA_PARENT)) {
    if (!::IsWindowEnabled(window)) return false;
  }
  return true;
}

void TsFilenameEdit::Paste() {
  if (ReadOnly()) return;
  std::wstring text;
  {
    const ClipboardScope clipboard(Handle());
    if (!clipboard.open()) return;
    const GlobalLockScope locked(::GetClipboardData(CF_UNICODETEXT));
    if (!locked.data()) return;
    text = static_cast<const wchar_t*>(locked.data());
  }
  // As in a single-line edit, only the first line comes in: a line break would hide the rest of
  // the text and end up inside the path.
  text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
  ::SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TsFilenameEdit::SetSkin(const SkinPainter* skin) {
  TsEdit::SetSkin(skin);
  button_.SetSkin(skin);
}

void TsFilenameEdit::BrowseForFile() {
  if (OnButtonClick) OnButtonClick();
  std::string candidate = Text();
  bool go = true;
  if (OnBeforeDialog) OnBeforeDialog(candidate, go);
  if (!go) return;
  if (const auto preset = PresetFor(candidate, &IsExistingDirectory)) {
    if (preset->initial_dir) dialog_.SetInitialDir(*preset->initial_dir);
    candidate = preset->file_name;
    dialog_.SetFileName(candidate);
  }
  // Owned by the edit's window, which stays disabled while the dialog is open.
  bool ok = dialog_.Execute(::GetAncestor(Handle(), GA_ROOT));
  if (ok) candidate = dialog_.FileName();
  if (CanFocus()) ::SetFocus(Handle());
  if (OnAfterDialog) OnAfterDialog(candidate, ok);
  if (!ok) return;
  SetText(candidate);
  dialog_.SetInitialDir(InitialDirAfterOk(dialog_.FileName()));
}

LRESULT TsFilenameEdit::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETDLGCODE:
      // A multi-line edit asks for every key; this one leaves Tab, Enter and Escape to the
      // window's dialog keys, as a single-line edit does.
      return TsEdit::WindowMessage(message, wparam, lparam) &
             ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    case WM_KEYDOWN:
      // Never handed to the platform edit, which would close the parent on Escape.
      if (wparam == VK_RETURN || wparam == VK_ESCAPE) return 0;
      break;
    case WM_CHAR:
      // Characters a single line has no use for.
      if (wparam == '\r' || wparam == '\n' || wparam == '\t' || wparam == VK_ESCAPE) return 0;
      break;
    case WM_SYSKEYDOWN:
      // ClickKey, Alt+Down: consumed when it browses.
      if (wparam == VK_DOWN && AltDown(lparam) && ::GetKeyState(VK_SHIFT) >= 0 &&
          ::GetKeyState(VK_CONTROL) >= 0 && !ReadOnly()) {
        BrowseForFile();
        return 0;
      }
      break;
    case WM_PASTE:
      Paste();
      return 0;
  }
  return TsEdit::WindowMessage(message, wparam, lparam);
}

}  // namespace kestrune
