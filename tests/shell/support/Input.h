// Real user input for tests: key presses, typed text and mouse clicks injected with SendInput, so they go
// through the system's input queue, focus and activation exactly like a user's. It does not post window
// messages (that would skip exactly what these tests check); X-level input, which Wine-global hot keys need,
// goes through RunUnix("xdotool ...") instead (UnixCommand.h).
#pragma once

#include <windows.h>

#include <chrono>
#include <string_view>

namespace lumorra::test {

// Modifier keys held around a key press; combine with |.
enum Modifiers : unsigned {
    kNoModifiers = 0,
    kShift = 1u << 0,
    kCtrl = 1u << 1,
    kAlt = 1u << 2,
    kWin = 1u << 3,
};

enum class MouseButton { Left, Right };

// Presses and releases a virtual key with the given modifiers held. False when the system took not all events.
bool PressKey(WORD virtualKey, unsigned modifiers = kNoModifiers);
bool KeyDown(WORD virtualKey);
bool KeyUp(WORD virtualKey);

// Types UTF-16 text as Unicode key events (KEYEVENTF_UNICODE); "\n" and "\r\n" are sent as the Enter key and
// "\t" as the Tab key, as a user would type them.
bool TypeText(std::wstring_view text);

// Moves the pointer there (absolute, primary screen) and clicks; the pointer stays there.
bool ClickAt(POINT screen, MouseButton button = MouseButton::Left);
// Clicks at the centre of the window.
bool Click(HWND window, MouseButton button = MouseButton::Left);
bool DoubleClick(HWND window);

// Makes the top-level window of the given window the foreground window (restoring it first if it is
// minimized) and waits until the system reports it so. Under Wine without a window manager this also gives it
// the X input focus, which X-level keys (xdotool) need.
bool BringToForeground(HWND window, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));

} // namespace lumorra::test
