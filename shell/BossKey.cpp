// The boss key's registration and the subclassed window procedure that runs the toggle.
#include "shell/BossKey.h"

namespace lumorra::shell {
namespace {

WNDPROC PreviousWindowProc = nullptr;
BossToggleRoutine Toggle = nullptr;

LRESULT CALLBACK BossKeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Any WM_HOTKEY that reaches the main window is a press. The toggle is called directly, so it
    // has run to its end before the message goes on to the window's own procedure.
    if (message == WM_HOTKEY && Toggle) Toggle(window);
    return CallWindowProcW(PreviousWindowProc, window, message, wParam, lParam);
}

} // namespace

int BossToggleDone = 0;

bool RegisterBossKey(HWND window, UINT modifiers, UINT virtualKey, BossToggleRoutine toggle) {
    if (!RegisterHotKey(window, kBossHotKeyId, modifiers, virtualKey)) return false;
    // The pointer-sized call: a procedure address does not fit the 32-bit window long on x86-64.
    PreviousWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BossKeyWindowProc)));
    Toggle = toggle;
    return true;
}

} // namespace lumorra::shell
