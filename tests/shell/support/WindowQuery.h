// Finding and reading windows of another process: top-level windows by process and predicate, descendants by
// control id or class, and window texts read through WM_GETTEXT (GetWindowText does not ask another process's
// edit controls for their text). It never changes a window.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorra::test {

using WindowPredicate = std::function<bool(HWND)>;

std::wstring TitleOf(HWND window); // same as TextOf; reads better for top-level windows
std::wstring ClassOf(HWND window);

// Predicates for FindTopLevel and LaunchOptions::isMainWindow.
WindowPredicate TitleStartsWith(std::wstring prefix);
WindowPredicate TitleIs(std::wstring title);
WindowPredicate ClassIs(std::wstring className);

// Top-level windows of a process, visible or not, in z-order.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
HWND FindTopLevel(DWORD processId, const WindowPredicate& predicate);
HWND WaitForTopLevel(DWORD processId, const WindowPredicate& predicate, std::chrono::milliseconds timeout);

// First descendant (children before grandchildren) whose GetDlgCtrlID is id; nullptr if none.
HWND FindDescendantById(HWND root, int id);
// First descendant of the given window class (case-insensitive, as Win32 compares class names).
HWND FindDescendantByClass(HWND root, std::wstring_view className);

// The window's text as the window itself reports it (WM_GETTEXT, bounded by a time limit so a hung program
// fails the test instead of hanging it). Empty when the window does not answer.
std::wstring TextOf(HWND window);
// The same text as GBK bytes (code page 936), the form the program's logic and config.ini use.
std::string GbkTextOf(HWND window);

// BST_CHECKED state of a check box (BM_GETCHECK).
bool IsChecked(HWND checkBox);

// Centre of the window on the screen.
POINT CentreOf(HWND window);

} // namespace lumorra::test
