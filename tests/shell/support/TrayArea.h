// The X notification area of the Wine environment (trayer, started by tools/wine-env.sh) as tests see it: where
// the docked tray icons are, and X-level clicks on them. Wine docks a tray icon there as an X window of its own
// (XEMBED), whose place Wine's window tree does not know, so SendInput cannot aim at it; xdotool can.
#pragma once

#include "Input.h"

#include <windows.h>

#include <chrono>
#include <vector>

namespace lumorra::test {

// Screen rectangles of the icons docked in the notification area, in the order trayer shows them. Empty when
// no icon is docked or there is no notification area (not under Wine, or trayer is missing).
std::vector<RECT> DockedTrayIcons();

// Waits until exactly count icons are docked; returns them (possibly fewer or more on timeout).
std::vector<RECT> WaitForDockedTrayIcons(size_t count, std::chrono::milliseconds timeout);

// Moves the X pointer to the icon's centre and clicks there with X input (xdotool). False when xdotool failed.
bool ClickTrayIcon(const RECT& icon, MouseButton button = MouseButton::Left);

} // namespace lumorra::test
