#include "controls/filename_edit.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "base/exceptions.h"
#include "base/win32/paint_scopes.h"
#include "controls/browse_rules.h"

namespace kestrune {

namespace {

struct MemoryDcTraits {
  using Value = HDC;
  static Value Invalid() { return nullptr; }
  static void Close(Value dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;

// The clipboard, open for reading while the scope lasts.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory)
      : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
  ~GlobalLockScope() {
    if (data_) ::GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  const void* data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// The document page, one character a pixel: X outline, w paper, - a line of text, f the folded
// corner, blank transparent.
constexpr std::array<std::string_view, TsEditButton::kGlyphSize> kPage = {
    "                ",  //
    "  XXXXXXXXX     ",  //
    "  XwwwwwwwXX    ",  //
    "  XwwwwwwwXfX   ",  //
    "  XwwwwwwwXXXX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw------wwwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw-------wwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw-------wwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw-----wwwwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  XXXXXXXXXXXX  ",  //
    "                ",  //
};

constexpr bool PageIsSquare() {
  for (std::string_view row : kPage) {
    if (row.size() != TsEditButton::kGlyphSize) return false;
  }
  return true;
}
static_assert(PageIsSquare());

struct FrameLook {
  COLORREF outline, paper, line, fold;
  int shift;  // the pressed page sits one pixel right and down
};
constexpr FrameLook kFrameLooks[] = {
    {RGB(96, 96, 96), RGB(224, 224, 224), RGB(128, 128, 128), RGB(176, 176, 176), 0},
    {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 84, 166), RGB(192, 192, 192), 0},
    {RGB(0, 0, 0), RGB(240, 240, 240), RGB(0, 84, 166), RGB(176, 176, 176), 1},
};
constexpr int kFrameCount = int(std::size(kFrameLooks));

// 0x00RRGGBB, as a 32-bit DIB stores a pixel.
constexpr std::uint32_t DibPixel(COLORREF colour) {
  return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

// The glyph's colour image (transparent pixels black, so it ORs onto the masked background) and
// its mask.
void MakeGlyph(UniqueGdiObject& image, UniqueGdiObject& mask) {
  constexpr int kSize = TsEditButton::kGlyphSize;
  constexpr int kWidth = kSize * kFrameCount;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kSize;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  image.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image || !bits) throw EOutOfResources("Error creating the browse glyph");
  auto* pixels = static_cast<std::uint32_t*>(bits);

  // Monochrome rows are padded to whole 16-bit words.
  constexpr int kMaskStride = (kWidth + 15) / 16 * 2;
  std::array<std::uint8_t, kMaskStride * kSize> mask_bits{};
  for (int frame = 0; frame < kFrameCount; ++frame) {
    const FrameLook& look = kFrameLooks[frame];
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const int art_x = x - look.shift;
        const int art_y = y - look.shift;
        const char art = art_x < 0 || art_y < 0 ? ' ' : kPage[art_y][art_x];
        std::uint32_t pixel = 0;
        switch (art) {
          case 'X':
            pixel = DibPixel(look.outline);
            break;
          case 'w':
            pixel = DibPixel(look.paper);
            break;
          case '-':
            pixel = DibPixel(look.line);
            break;
          case 'f':
            pixel = DibPixel(look.fold);
            break;
        }
        const int column = frame * kSize + x;
        pixels[y * kWidth + column] = pixel;
        if (art == ' ') mask_bits[y * kMaskStride + column / 8] |= 0x80 >> (column % 8);
      }
    }
  }
  mask.reset(::CreateBitmap(kWidth, kSize, 1, 1, mask_bits.data()));
  if (!mask) throw EOutOfResources("Error creating the browse glyph");
}

bool IsDirectory(const std::string& folder) {
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool InsideClient(HWND window, LPARAM point) {
  RECT client;
  ::GetClientRect(window, &client);
  const POINT at{short(LOWORD(point)), short(HIWORD(point))};
  return ::PtInRect(&client, at) != FALSE;
}

}  // namespace

bool TsOpenDialog::Execute(HWND owner) {
  std::array<char, kDialogFileNameCapacity> buffer{};
  // A name that does not fit opens the dialog without one rather than cut to another name.
  if (file_name_.size() < buffer.size()) file_name_.copy(buffer.data(), file_name_.size());
  const std::string filter = DialogFilter(filter_);
  OPENFILENAMEA info{};
  info.lStructSize = sizeof info;
  info.hwndOwner = owner;
  info.lpstrFilter = filter.c_str();
  info.nFilterIndex = DWORD(filter_index_);
  info.lpstrFile = buffer.data();
  info.nMaxFile = DWORD(buffer.size());
  info.lpstrInitialDir = initial_dir_.empty() ? nullptr : initial_dir_.c_str();
  info.Flags = options_ | OFN_EXPLORER;
  if (!::GetOpenFileNameA(&info)) return false;
  file_name_ = buffer.data();
  return true;
}

TsEditButton::TsEditButton(HWND parent) {
  MakeGlyph(glyph_, mask_);
  CreateWindowHandle({.class_name = L"KestruneEditButton",
                      .style = WS_CHILD | WS_VISIBLE,
                      .ex_style = WS_EX_NOPARENTNOTIFY,
                      .parent = parent});
}

TsEditButton::~TsEditButton() {
  DestroyWindowHandle();
}

void TsEditButton::SetState(bool hot, bool pressed) {
  if (hot == hot_ && pressed == pressed_) return;
  hot_ = hot;
  pressed_ = pressed;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TsEditButton::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(Handle(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  if (pressed_) {
    ::DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  } else if (hot_) {
    ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
  }
  const Frame frame = pressed_ ? kPressed : hot_ ? kHot : kNormal;
  const int x = (client.right - kGlyphSize) / 2;
  const int y = (client.bottom - kGlyphSize) / 2;
  const UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  if (!memory) return;
  // The mask clears the page's pixels (bits of 0 become the text colour, black) and keeps the
  // background; the image, black where transparent, is then ORed in.
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkColor(dc, RGB(255, 255, 255));
  {
    const ObjectSelection selected(memory.get(), mask_.get());
    ::BitBlt(dc, x, y, kGlyphSize, kGlyphSize, memory.get(), frame * kGlyphSize, 0, SRCAND);
  }
  const ObjectSelection selected(memory.get(), glyph_.get());
  ::BitBlt(dc, x, y, kGlyphSize, kGlyphSize, memory.get(), frame * kGlyphSize, 0, SRCPAINT);
}

LRESULT TsEditButton::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (LRESULT painted = 0;
      HandleSelfPaint(Handle(), message, wparam, painted, [this](HDC dc) { Paint(dc); })) {
    return painted;
  }
  switch (message) {
    case WM_MOUSEMOVE:
      if (::GetCapture() == Handle()) {
        SetState(true, InsideClient(Handle(), lparam));
      } else if (!hot_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
        SetState(true, false);
      }
      return 0;
    case WM_MOUSELEAVE:
      SetState(false, pressed_);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetCapture(Handle());
      SetState(hot_, true);
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == Handle()) {
        const bool inside = InsideClient(Handle(), lparam);
        ::ReleaseCapture();
        if (inside && OnClick) OnClick();
      }
      return 0;
    case WM_CAPTURECHANGED:
      SetState(hot_, false);
      return 0;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

TsFilenameEdit::TsFilenameEdit(HWND parent, const ControlPlacement& placement)
    // A multi-line edit takes a text rectangle that leaves room for the button; it still shows
    // one line, as no line break ever gets in.
    : TsEdit(parent, placement, ES_MULTILINE | WS_CLIPCHILDREN), button_(Handle()) {
  SetMaxLength(kMaxLength);
  button_.OnClick = [this] {
    if (!ReadOnly()) BrowseForFile();
  };
  Subclass();
  Layout();
}

bool TsFilenameEdit::ReadOnly() const {
  return (::GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

void TsFilenameEdit::SetReadOnly(bool read_only) {
  ::SendMessageW(Handle(), EM_SETREADONLY, read_only, 0);
}

void TsFilenameEdit::Layout() {
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

void TsFilenameEdit::BrowseForFile() {
  if (OnButtonClick) OnButtonClick();
  std::string candidate = Text();
  bool go = true;
  if (OnBeforeDialog) OnBeforeDialog(candidate, go);
  if (!go) return;
  if (const auto preset = PresetFor(candidate, &IsDirectory)) {
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
      if (wparam == VK_DOWN && (lparam & (1 << 29)) && ::GetKeyState(VK_SHIFT) >= 0 &&
          ::GetKeyState(VK_CONTROL) >= 0 && !ReadOnly()) {
        BrowseForFile();
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = TsEdit::WindowMessage(message, wparam, lparam);
      if (::GetWindowTextLengthW(Handle()) > 0) ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
      return result;
    }
    case WM_SIZE:
    case WM_SETFONT: {
      // Both reset the text rectangle to the whole client area.
      const LRESULT result = TsEdit::WindowMessage(message, wparam, lparam);
      Layout();
      return result;
    }
    case WM_PASTE:
      Paste();
      return 0;
  }
  return TsEdit::WindowMessage(message, wparam, lparam);
}

}  // namespace kestrune
