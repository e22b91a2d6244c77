// The main window's icon in the notification area and its pop-up menu. The icon exists only
// while the window is in the tray; a fresh image handle is made for every show.
#pragma once

#include "shell/Handles.h"

#include <windows.h>

namespace lumorra::shell {

// The icon's notifications reach the main window as this message, the mouse message in lParam.
inline constexpr UINT kTrayMessage = WM_APP + 100; // 32868
inline constexpr UINT kTrayIconId = 100;

// Whether the window has the visible style, as hiding to the tray and the boss key test it: a
// minimised window counts as visible.
inline bool HasVisibleStyle(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

class Tray {
  public:
    Tray(HWND window, HMENU systemMenu);
    ~Tray();
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    void ShowTrayIcon();
    void RemoveTrayIcon();
    void HideToTray();
    void RestoreFromTray();
    void PopUpTrayMenu();
    void OnTrayEvent(int event);

    // The tray message's lParam as a tray event: 1 left click, 2 double click, 3 menu; 0 none.
    static int TrayEventFor(LPARAM mouseMessage);

    // The taskbar was re-created (Explorer restarted): an icon that was shown is added again.
    void OnTaskbarCreated();
    static UINT TaskbarCreatedMessage();

  private:
    NOTIFYICONDATAW Record() const;

    HWND window_;
    HMENU systemMenu_;
    UniqueIcon icon_;
};

} // namespace lumorra::shell
