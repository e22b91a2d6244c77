// Docked tray icons found and clicked through xwininfo and xdotool.
#include "TrayArea.h"

#include "UnixCommand.h"
#include "Wait.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace lumorra::test {

std::vector<RECT> DockedTrayIcons() {
    // trayer's panel window (class "panel") holds one socket window per icon, each holding the Wine icon
    // window. xwininfo lists those with "WxH+x+y  +absx+absy"; the Wine windows are those of explorer.exe, which
    // draws every tray icon of the session.
    const auto listing =
        RunUnix("panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -n 1); [ -n \"$panel\" ] || exit 0; "
                "xwininfo -tree -id \"$panel\" | awk '/\"explorer.exe\"/ { print $(NF-1), $NF }'");
    std::vector<RECT> icons;
    if (!listing || listing->exitCode != 0) {
        return icons;
    }
    std::istringstream lines(listing->output);
    std::string geometry, origin;
    while (lines >> geometry >> origin) {
        int width = 0, height = 0, x = 0, y = 0;
        // geometry "20x30+0+0" (relative), origin "+1259+993" (absolute)
        if (std::sscanf(geometry.c_str(), "%dx%d", &width, &height) == 2 &&
            std::sscanf(origin.c_str(), "%d%d", &x, &y) == 2 && width > 1 && height > 1) {
            icons.push_back(RECT{x, y, x + width, y + height});
        }
    }
    return icons;
}

std::vector<RECT> WaitForDockedTrayIcons(size_t count, std::chrono::milliseconds timeout) {
    std::vector<RECT> icons;
    WaitUntil(
        [&] {
            icons = DockedTrayIcons();
            return icons.size() == count;
        },
        timeout, std::chrono::milliseconds(100));
    return icons;
}

bool ClickTrayIcon(const RECT& icon, MouseButton button) {
    const int x = icon.left + (icon.right - icon.left) / 2;
    const int y = icon.top + (icon.bottom - icon.top) / 2;
    const auto clicked = RunXdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
                                    (button == MouseButton::Left ? "1" : "3"));
    return clicked && clicked->exitCode == 0;
}

} // namespace lumorra::test
