// The about window: a small modal window built from its own form, owned by an invisible window
// of the program so it has no taskbar button and stays when the main window is hidden.
#pragma once

#include <windows.h>

namespace lumorra::shell {

class AboutWindow {
  public:
    // Opens the window and returns once it has gone. While it is open the program's other
    // windows are disabled and every message of the thread is handled as usual. If it is open
    // already, it is brought to the front and nothing else happens.
    static void Open(HWND parent);

    static bool IsOpen();
    static void BringToFront();
};

} // namespace lumorra::shell
