// Window look-ups and reads of the test support.
#include "WindowQuery.h"

#include "Text.h"
#include "Wait.h"

#include <deque>

namespace lumorra::test {
namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

} // namespace

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length)) {
        return {};
    }
    // WM_GETTEXTLENGTH may overstate (never understate) the length; the copy says how much it wrote.
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kAnswerTimeoutMs, &copied)) {
        return {};
    }
    text.resize(copied < text.size() ? static_cast<size_t>(copied) : text.size() - 1);
    return text;
}

std::string GbkTextOf(HWND window) {
    return WideToGbk(TextOf(window));
}

std::wstring TitleOf(HWND window) {
    return TextOf(window);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

WindowPredicate TitleStartsWith(std::wstring prefix) {
    return [prefix = std::move(prefix)](HWND window) { return TitleOf(window).starts_with(prefix); };
}

WindowPredicate TitleIs(std::wstring title) {
    return [title = std::move(title)](HWND window) { return TitleOf(window) == title; };
}

WindowPredicate ClassIs(std::wstring className) {
    return [className = std::move(className)](HWND window) {
        return CompareStringOrdinal(ClassOf(window).c_str(), -1, className.c_str(), -1, TRUE) == CSTR_EQUAL;
    };
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(DWORD processId, const WindowPredicate& predicate) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (predicate(window)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForTopLevel(DWORD processId, const WindowPredicate& predicate, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(processId, predicate)) != nullptr; }, timeout);
    return found;
}

namespace {

// Breadth first, so a control is found before any same-numbered window deep inside another control (the web
// view hosts windows of its own).
template <class Match> HWND FindDescendant(HWND root, Match&& match) {
    if (!root) {
        return nullptr;
    }
    std::deque<HWND> pending{root};
    while (!pending.empty()) {
        HWND parent = pending.front();
        pending.pop_front();
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (match(child)) {
                return child;
            }
            pending.push_back(child);
        }
    }
    return nullptr;
}

} // namespace

HWND FindDescendantById(HWND root, int id) {
    return FindDescendant(root, [id](HWND window) { return GetDlgCtrlID(window) == id; });
}

HWND FindDescendantByClass(HWND root, std::wstring_view className) {
    const WindowPredicate isClass = ClassIs(std::wstring(className));
    return FindDescendant(root, isClass);
}

bool IsChecked(HWND checkBox) {
    DWORD_PTR state = 0;
    return SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &state) &&
           state == BST_CHECKED;
}

POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
}

} // namespace lumorra::test
