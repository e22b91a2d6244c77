// The program's entry: start-up in its fixed order, the message loop, and the exit codes.
#include "engine/Settings.h"
#include "resources/FormTexts.h"
#include "shell/Handles.h"
#include "shell/MainWindow.h"

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>

namespace {

// Before anything else loads: DLLs come from the system directory only, never from the folder
// the program was started in (a downloads folder may hold planted DLLs).
void RestrictDllSearch() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

std::filesystem::path ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path);
        }
        path.resize(path.size() * 2);
    }
}

int RunMessageLoop(lumorra::shell::MainWindow& window) {
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        if (window.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    const lumorra::shell::OleScope ole;
    const std::filesystem::path directory = lumorra::ExecutableDirectory(ExecutablePath());
    SetCurrentDirectoryW(directory.c_str());

    // The refresh state lives from here to the end; leaving this scope is the exit clean-up.
    lumorra::shell::MainWindow window(directory);
    if (!window.Open(instance)) {
        MessageBoxW(nullptr, lumorra::texts::ui::kStartupError, lumorra::texts::ui::kErrorCaption,
                    MB_OK | MB_ICONERROR);
        return -1;
    }
    return RunMessageLoop(window);
}
