// Alt+F1, held for the whole run: the main window's procedure is subclassed so that every
// WM_HOTKEY runs the toggle to its end before the message goes on.
#pragma once

#include <windows.h>

namespace lumorra::shell {

inline constexpr int kBossHotKeyId = 786;

// Runs once per press, with the main window.
using BossToggleRoutine = void (*)(HWND window);

// Registers the hot key for the window and subclasses its procedure. False when the key is held
// by another program: the window is then left as it is.
bool RegisterBossKey(HWND window, UINT modifiers, UINT virtualKey, BossToggleRoutine toggle);

// The guard of one press: cleared when a press acts, set by its first transition.
extern int BossToggleDone;

} // namespace lumorra::shell
