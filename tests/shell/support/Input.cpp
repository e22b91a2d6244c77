// SendInput-based input of the test support.
#include "Input.h"

#include "Wait.h"

#include <vector>

namespace lumorra::test {
namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (virtualKey) {
    // Keys of the navigation block and the right-hand modifiers are "extended": without the flag they read as
    // the numeric keypad.
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    return input;
}

INPUT UnicodeInput(wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

bool Send(std::vector<INPUT>& inputs) {
    if (inputs.empty()) {
        return true;
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

void AddModifiers(std::vector<INPUT>& inputs, unsigned modifiers, bool up) {
    const std::pair<unsigned, WORD> keys[] = {
        {kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}, {kWin, VK_LWIN}};
    if (!up) {
        for (const auto& [flag, key] : keys) {
            if (modifiers & flag) {
                inputs.push_back(KeyInput(key, false));
            }
        }
    } else {
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
            if (modifiers & it->first) {
                inputs.push_back(KeyInput(it->second, true));
            }
        }
    }
}

LONG ToAbsolute(LONG pixel, int extent) {
    // SendInput maps 0..65535 onto the screen by (value * extent) >> 16; rounding up lands on the pixel itself.
    if (extent <= 0) {
        return 0;
    }
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

INPUT MouseInput(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ToAbsolute(at.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = ToAbsolute(at.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

} // namespace

bool PressKey(WORD virtualKey, unsigned modifiers) {
    std::vector<INPUT> inputs;
    AddModifiers(inputs, modifiers, false);
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    AddModifiers(inputs, modifiers, true);
    return Send(inputs);
}

bool KeyDown(WORD virtualKey) {
    std::vector<INPUT> inputs{KeyInput(virtualKey, false)};
    return Send(inputs);
}

bool KeyUp(WORD virtualKey) {
    std::vector<INPUT> inputs{KeyInput(virtualKey, true)};
    return Send(inputs);
}

bool TypeText(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (unit == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            continue; // "\r\n" is one Enter
        }
        if (unit == L'\n' || unit == L'\r' || unit == L'\t') {
            const WORD key = unit == L'\t' ? VK_TAB : VK_RETURN;
            inputs.push_back(KeyInput(key, false));
            inputs.push_back(KeyInput(key, true));
            continue;
        }
        inputs.push_back(UnicodeInput(unit, false));
        inputs.push_back(UnicodeInput(unit, true));
    }
    return Send(inputs);
}

bool ClickAt(POINT screen, MouseButton button) {
    const DWORD down = button == MouseButton::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    const DWORD up = button == MouseButton::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    // The move goes first and alone, so the window under the pointer has seen it before the button goes down.
    std::vector<INPUT> move{MouseInput(MOUSEEVENTF_MOVE, screen)};
    if (!Send(move)) {
        return false;
    }
    PumpMessagesFor(std::chrono::milliseconds(30));
    std::vector<INPUT> press{MouseInput(down, screen), MouseInput(up, screen)};
    return Send(press);
}

bool Click(HWND window, MouseButton button) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        return false;
    }
    return ClickAt(POINT{rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2}, button);
}

bool DoubleClick(HWND window) {
    return Click(window) && Click(window);
}

bool BringToForeground(HWND window, std::chrono::milliseconds timeout) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (!root) {
        return false;
    }
    if (IsIconic(root)) {
        ShowWindow(root, SW_RESTORE);
    }
    // Wine lets any process set the foreground window. (Windows would refuse a process that did not make the
    // last input; these tests run under Wine, and no stray key is sent to the program to get round that.)
    SetForegroundWindow(root);
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == root) {
                return true;
            }
            SetForegroundWindow(root);
            return false;
        },
        timeout, std::chrono::milliseconds(50));
}

} // namespace lumorra::test
