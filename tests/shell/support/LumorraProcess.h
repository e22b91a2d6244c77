// One run of a Windows program for a test, owned from start to end: a fresh temporary directory with a copy of
// the executable (and, if asked, a config.ini with the given bytes), the started process, and its main window.
// At the end a program still running is terminated and the directory removed. It drives nothing by itself:
// input comes from Input.h, look-ups from WindowQuery.h.
#pragma once

#include "Handles.h"
#include "WindowQuery.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumorra::test {

// The lumorra.exe of this build: $LUMORRA_EXE if set, else the path compiled into the test support; Unix paths
// become Wine paths (Z:\...). Empty when neither is known.
std::filesystem::path LumorraExe();

// The main window's title starts with this.
inline constexpr wchar_t kMainTitlePrefix[] = L"Lumorra1.0";

struct LaunchOptions {
    std::filesystem::path exe = LumorraExe(); // copied into the fresh directory under its own name
    std::optional<std::string> configIni;     // raw bytes (GBK) of config.ini beside the copy
    std::wstring arguments;                   // command-line arguments after the program's name
    // Files copied beside the executable before it starts: source, then the name to give the copy.
    std::vector<std::pair<std::filesystem::path, std::wstring>> extraFiles;
    // Environment variables set for the program only (under Wine, LC_ALL picks its ANSI code page).
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    WindowPredicate isMainWindow = TitleStartsWith(kMainTitlePrefix);
    bool waitForMainWindow = true; // false for runs that are expected to show no main window
    std::chrono::milliseconds startTimeout = std::chrono::seconds(20);
};

class LumorraProcess {
  public:
    // Prepares the directory, starts the program and (unless told not to) waits for its main window and then
    // for the program to be idle (its message loop running, start-up done).
    // Failures do not throw: Main() is then nullptr and Error() says what went wrong.
    explicit LumorraProcess(LaunchOptions options = {});
    ~LumorraProcess();
    LumorraProcess(const LumorraProcess&) = delete;
    LumorraProcess& operator=(const LumorraProcess&) = delete;

    const std::string& Error() const { return error_; }
    bool Started() const { return static_cast<bool>(process_); }

    // The main window, nullptr when it did not appear in time (or was not waited for).
    HWND Main() const { return main_; }
    // Looks for the main window again, for runs started with waitForMainWindow = false.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout);
    // A control of the main window by its id, at any depth (the group box's controls are grandchildren).
    HWND Control(int id) const { return FindDescendantById(main_, id); }
    // Text of a control of the main window, as UTF-16 and as GBK bytes.
    std::wstring TextOf(int id) const { return lumorra::test::TextOf(Control(id)); }
    std::string GbkTextOf(int id) const { return lumorra::test::GbkTextOf(Control(id)); }

    // A top-level window of this process (message boxes, the about window, a tray menu).
    HWND FindTopLevel(const WindowPredicate& predicate) const;
    HWND WaitForTopLevel(const WindowPredicate& predicate, std::chrono::milliseconds timeout) const;

    DWORD ProcessId() const { return processId_; }
    HANDLE ProcessHandle() const { return process_.Get(); }
    // The fresh directory holding the copy; removed when this object ends.
    const std::filesystem::path& Dir() const { return dir_; }
    std::filesystem::path ExePath() const { return exePath_; }
    std::filesystem::path ConfigPath() const { return dir_ / L"config.ini"; }
    // Bytes of config.ini now, nullopt when there is none.
    std::optional<std::string> ReadConfig() const;

    bool Running() const;
    // The exit code once the process has ended (ExitProcess(-1) reads 0xFFFFFFFF); nullopt if it still runs
    // after timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);
    // Ends the process at once if it still runs, and waits until it has.
    void Terminate();

  private:
    void Start(const LaunchOptions& options);

    std::string error_;
    std::filesystem::path dir_;
    std::filesystem::path exePath_;
    UniqueHandle job_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    WindowPredicate isMainWindow_;
};

} // namespace lumorra::test
