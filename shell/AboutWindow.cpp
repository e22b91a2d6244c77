// The about window and its modal wait.
#include "shell/AboutWindow.h"

#include "resources/FormTexts.h"
#include "shell/AboutForm.h"

#include <commctrl.h>

#include <utility>
#include <vector>

namespace lumorra::shell {
namespace {

constexpr wchar_t kClassName[] = L"LumorraAboutWindow";
constexpr wchar_t kOwnerClassName[] = L"LumorraOwnerWindow";
constexpr UINT kDestroyRequest = WM_APP + 2;

HWND about = nullptr;
HWND opener = nullptr; // the window that asked, active again once the about window has gone
bool destroyPending = false;
std::vector<std::pair<HWND, bool>> disabled; // windows disabled by the opening, and their former state

HWND owner = nullptr; // made once, never shown: the windows it owns get no taskbar button

HWND OwnerWindow(HINSTANCE instance) {
    if (!owner) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kOwnerClassName;
        RegisterClassExW(&windowClass);
        owner = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
    }
    return owner;
}

BOOL CALLBACK DisableOne(HWND window, LPARAM) {
    if (window != about && window != owner) {
        disabled.emplace_back(window, IsWindowEnabled(window) != FALSE);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

void RestoreEnabledStates() {
    for (const auto& [window, enabled] : disabled)
        if (IsWindow(window)) EnableWindow(window, enabled ? TRUE : FALSE);
    disabled.clear();
}

// The remembered states come back before the window goes, so activation returns to the main window.
void CloseAbout() {
    RestoreEnabledStates();
    DestroyWindow(about);
    if (opener && IsWindowVisible(opener)) SetForegroundWindow(opener);
}

LRESULT CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == ids::关于按钮1 && HIWORD(wParam) == BN_CLICKED && !destroyPending) {
            // Marked now, destroyed after this click has been handled.
            destroyPending = true;
            PostMessageW(window, kDestroyRequest, 0, 0);
        }
        return 0;
    case kDestroyRequest:
    case WM_CLOSE:
        CloseAbout();
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_NCDESTROY:
        about = nullptr;
        destroyPending = false;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterAboutClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &AboutProc;
    windowClass.hInstance = instance;
    // No icon of its own: the title bar shows the application's.
    windowClass.hIcon = LoadIconW(instance, L"DEFAULT_ICON");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Build(HINSTANCE instance) {
    if (!RegisterAboutClass(instance)) return nullptr;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kAboutWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kAboutHeight) / 2;
    const HWND window =
        CreateWindowExW(0, kClassName, texts::ui::kAboutTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, left, top,
                        kAboutWidth, kAboutHeight, OwnerWindow(instance), nullptr, instance, nullptr);
    if (!window) return nullptr;
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlSpec& spec : kAboutForm) {
        const bool button = spec.kind == Kind::Button;
        const DWORD style =
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
            (button ? WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE : SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX);
        const HWND control = CreateWindowExW(0, button ? WC_BUTTONW : WC_STATICW, spec.text, style, spec.place.left,
                                             spec.place.top, spec.place.width, spec.place.height, window,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
        if (!control) {
            DestroyWindow(window);
            return nullptr;
        }
        SendMessageW(control, WM_SETFONT, font, FALSE);
        SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return window;
}

bool IsPlainEscape(const MSG& message) {
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && !down(VK_CONTROL) && !down(VK_SHIFT) &&
           !down(VK_MENU);
}

} // namespace

bool AboutWindow::IsOpen() {
    return about != nullptr && !destroyPending;
}

void AboutWindow::BringToFront() {
    if (!about) return;
    if (IsIconic(about)) ShowWindow(about, SW_RESTORE);
    SetForegroundWindow(about);
    SetActiveWindow(about);
}

void AboutWindow::Open(HWND parent) {
    if (IsOpen()) return BringToFront();
    if (about) CloseAbout(); // its destruction was pending: complete it first
    opener = parent;         // set aside as owner: the invisible window owns the about window
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    about = Build(instance);
    if (!about) return;
    ShowWindow(about, SW_SHOW);
    SetForegroundWindow(about);
    SetFocus(GetDlgItem(about, ids::关于按钮1));
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, 0);

    // Everything of the thread goes on here: the timer, the tray icon, the boss key, the web view.
    MSG message{};
    while (about) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam)); // the outer loop must see it too
            if (about) CloseAbout();
            break;
        }
        if (IsPlainEscape(message) && (message.hwnd == about || IsChild(about, message.hwnd))) {
            SendMessageW(about, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace lumorra::shell
