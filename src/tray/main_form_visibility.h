// Hiding the main window to the tray together with its taskbar button, and bringing it back.
#pragma once

namespace kestrune {

class TApplication;

// Hides the main window and then the application window, so neither a window nor a taskbar
// button is left; the tray icon is the way back. Does nothing without a main window.
void HideMainForm(TApplication& application);

// Restores a minimised application, sets a minimised main window to normal, shows it with the
// taskbar button and brings the application to the foreground. Does nothing without a main
// window.
void ShowMainForm(TApplication& application);

}  // namespace kestrune
