#include "ui/failure_report.h"

#include <vector>

#include "base/failure_text.h"
#include "base/win32/ansi_text.h"
#include "ui/application.h"
#include "ui/form.h"

namespace kestrune {
namespace {

bool g_box_open = false;
FailureBoxObserver g_box_observer = nullptr;

// Disables the thread's visible, enabled top-level windows for the box's lifetime.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &ThreadWindowsDisabled::Disable,
                        reinterpret_cast<LPARAM>(&disabled_));
  }
  ~ThreadWindowsDisabled() {
    for (HWND window : disabled_) {
      if (::IsWindow(window)) ::EnableWindow(window, TRUE);
    }
  }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM list) noexcept {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
      ::EnableWindow(window, FALSE);
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

// While the box is open, the application window sits at the centre of the monitor of the window
// that was active, so the box comes up where the operator works.
class OwnerOnActiveMonitor {
 public:
  OwnerOnActiveMonitor(HWND owner, HWND active) : owner_(owner) {
    if (!active) return;
    const HMONITOR target = ::MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST);
    if (target == ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)) return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(target, &info) || !::GetWindowRect(owner, &saved_)) return;
    moved_ = true;
    ::SetWindowPos(owner, nullptr, (info.rcWork.left + info.rcWork.right) / 2,
                   (info.rcWork.top + info.rcWork.bottom) / 2, 0, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
  ~OwnerOnActiveMonitor() {
    if (moved_) {
      ::SetWindowPos(owner_, nullptr, saved_.left, saved_.top, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
  }
  OwnerOnActiveMonitor(const OwnerOnActiveMonitor&) = delete;
  OwnerOnActiveMonitor& operator=(const OwnerOnActiveMonitor&) = delete;

 private:
  HWND owner_;
  RECT saved_{};
  bool moved_ = false;
};

// The box's owner: the main window while it is on screen, so the box always stays above it (an
// owned window never sinks under its owner, however the operator clicks the disabled window);
// the application window while the main window is hidden in the tray or minimised.
HWND BoxOwner(const TApplication& application) {
  const TForm* main = application.MainForm();
  if (main && main->Visible() && !::IsIconic(main->Handle())) return main->Handle();
  return application.Handle();
}

}  // namespace

void SetFailureBoxObserver(FailureBoxObserver observer) noexcept {
  g_box_observer = observer;
}

void ReportFailure(const Exception& failure) {
  if (const HWND capture = ::GetCapture()) ::SendMessageW(capture, WM_CANCELMODE, 0, 0);
  if (dynamic_cast<const EAbort*>(&failure)) return;
  if (g_box_open) return;

  TApplication& application = Application();
  const std::string box_text = FailureBoxText(failure.Message());
  if (g_box_observer) g_box_observer(box_text);
  const std::wstring text = AnsiToWide(box_text);
  const std::wstring caption = AnsiToWide(application.Title());
  const HWND active = ::GetActiveWindow();
  const HWND owner = BoxOwner(application);

  g_box_open = true;
  {
    OwnerOnActiveMonitor placed(application.Handle(), active);
    ThreadWindowsDisabled disabled;
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
  }
  g_box_open = false;
  if (active && ::IsWindow(active)) ::SetActiveWindow(active);
}

}  // namespace kestrune
