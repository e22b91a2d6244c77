// What the tests of lumorra.exe share: starting it with a given config.ini, reading places and
// states of its windows, waiting for the exit question.
#pragma once

#include "Support.h"

#include "ControlIds.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumorra::test {

// Parts of config.ini as the tests write them (GBK bytes, CR LF lines).
inline std::string Ini(std::string_view settings, std::string_view data = {}) {
    std::string ini;
    if (!data.empty()) ini += "[Data]\r\n" + std::string(data) + "\r\n";
    if (!settings.empty()) ini += "[Settings]\r\n" + std::string(settings) + "\r\n";
    return ini;
}

// The value of a key in config.ini, read plainly: tests check what the program wrote.
inline std::optional<std::string> IniValue(const std::optional<std::string>& ini, std::string_view key) {
    if (!ini) return std::nullopt;
    const std::string marker = "\n" + std::string(key) + "=";
    const std::string text = "\n" + *ini;
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t begin = at + marker.size();
    return text.substr(begin, text.find("\r\n", begin) - begin);
}

inline LaunchOptions WithConfig(std::optional<std::string> ini) {
    LaunchOptions options;
    options.configIni = std::move(ini);
    return options;
}

// A window's place within its parent's client area, and its size.
struct Placement {
    int left, top, width, height;
    bool operator==(const Placement&) const = default;
};

inline Placement PlacementOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline SIZE OuterSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

inline bool IsShown(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The focused window of the program's thread.
inline HWND FocusOf(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndFocus;
}

// The exit question, when it is shown.
inline HWND ExitQuestion(const LumorraProcess& program) {
    return program.FindTopLevel([](HWND w) { return IsWindowVisible(w) && TitleOf(w) == L"提示"; });
}

inline HWND WaitForExitQuestion(const LumorraProcess& program, std::chrono::milliseconds timeout = 5s) {
    return program.WaitForTopLevel([](HWND w) { return IsWindowVisible(w) && TitleOf(w) == L"提示"; }, timeout);
}

struct TextSearch {
    const std::wstring* text;
    bool found;
};

inline BOOL CALLBACK MatchText(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<TextSearch*>(data);
    if (TextOf(child) == *search->text) search->found = true;
    return !search->found;
}

// Whether a window or one of its descendants shows exactly this text.
inline bool HasText(HWND root, const std::wstring& text) {
    TextSearch search{&text, TextOf(root) == text};
    EnumChildWindows(root, &MatchText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Answers a message box by clicking its button (IDYES, IDNO, IDOK).
inline bool Answer(HWND box, int button) {
    const HWND target = GetDlgItem(box, button);
    return target && BringToForeground(box) && Click(target);
}

// A started program with its main window, or a failed test.
#define ASSERT_STARTED(program) ASSERT_NE((program).Main(), nullptr) << (program).Error()

} // namespace lumorra::test
