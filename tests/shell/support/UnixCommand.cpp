// Linux commands started from a Windows test under Wine, with their status carried back through files.
#include "UnixCommand.h"

#include "Text.h"
#include "Wait.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace lumorra::test {
namespace {

using WineGetUnixFileName = char*(__cdecl*)(const wchar_t*);

// Quotes one argument so that CommandLineToArgvW-style splitting gives it back unchanged.
std::wstring QuoteArgument(std::wstring_view argument) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

// Single-quotes text for /bin/sh.
std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::optional<std::string> UnixPathOf(const std::wstring& windowsPath) {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    auto toUnix = reinterpret_cast<WineGetUnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "wine_get_unix_file_name")));
    if (!toUnix) {
        return std::nullopt;
    }
    char* unixPath = toUnix(windowsPath.c_str());
    if (!unixPath) {
        return std::nullopt;
    }
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// A fresh base name in the temporary directory: "<base>.out" and "<base>.rc" are the command's results.
std::optional<std::wstring> FreshBase() {
    static std::atomic<unsigned> counter{0};
    wchar_t directory[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
    if (length == 0 || length > MAX_PATH) {
        return std::nullopt;
    }
    return std::wstring(directory) + L"lumorra-unix-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount64());
}

bool Launch(const std::wstring& commandLine) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    // Wine gives no handles for a Linux process and leaves hThread holding stray bytes, which may
    // name a live handle of ours (a program's job: closing it would end the program). The process
    // handle is the one field it clears, so only a set one says the pair is real.
    if (info.hProcess) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    return true;
}

} // namespace

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::optional<UnixResult> RunUnix(std::string_view shellCommand, std::chrono::milliseconds timeout) {
    if (!RunningUnderWine()) {
        return std::nullopt;
    }
    const auto base = FreshBase();
    if (!base) {
        return std::nullopt;
    }
    const auto unixBase = UnixPathOf(*base);
    if (!unixBase) {
        return std::nullopt;
    }
    // The status file appears whole (rename), so its existence means the command has ended. The command runs
    // in a subshell, so an "exit" in it still leaves a status behind.
    const std::wstring script =
        L"(eval \"$2\") </dev/null >\"$1.out\" 2>&1; echo $? >\"$1.rc.tmp\"; mv -f \"$1.rc.tmp\" \"$1.rc\"";
    const std::wstring commandLine = L"/bin/sh -c " + QuoteArgument(script) + L" lumorra-run-unix " +
                                     QuoteArgument(Utf8ToWide(*unixBase)) + L" " +
                                     QuoteArgument(Utf8ToWide(shellCommand));
    if (!Launch(commandLine)) {
        return std::nullopt;
    }
    const std::wstring statusFile = *base + L".rc";
    const std::wstring outputFile = *base + L".out";
    const bool ended = WaitUntil([&] { return GetFileAttributesW(statusFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                 timeout, std::chrono::milliseconds(10));
    std::optional<UnixResult> result;
    if (ended) {
        const auto status = ReadWholeFile(statusFile);
        const auto output = ReadWholeFile(outputFile);
        if (status && !status->empty()) {
            result = UnixResult{std::atoi(status->c_str()), output.value_or(std::string())};
        }
    }
    // A command that overran its time may still write its files later; they are small and in the temp folder.
    DeleteFileW(statusFile.c_str());
    DeleteFileW(outputFile.c_str());
    return result;
}

std::optional<int> StartUnix(std::string_view shellCommand) {
    // Detached from the test's output (CTest waits until every holder of the test's output pipe has closed it),
    // in a session of its own so that StopUnix ends everything it started. setsid does not fork here (a
    // background job is no process-group leader), so $! is the session's id.
    const std::string command =
        "setsid /bin/sh -c " + ShellQuote(shellCommand) + " </dev/null >/dev/null 2>&1 & echo $!";
    const auto result = RunUnix(command);
    if (!result || result->exitCode != 0) {
        return std::nullopt;
    }
    const int pid = std::atoi(result->output.c_str());
    return pid > 0 ? std::optional<int>(pid) : std::nullopt;
}

bool StopUnix(int unixProcessId, std::chrono::milliseconds timeout) {
    const std::string pid = std::to_string(unixProcessId);
    if (!RunUnix("kill -TERM -- -" + pid + " 2>/dev/null || kill -TERM " + pid)) {
        return false;
    }
    // A zombie counts as gone: nobody may be left to reap it.
    return WaitUntil(
        [&] {
            const auto alive =
                RunUnix("state=$(sed 's/.*) //' /proc/" + pid + "/stat 2>/dev/null) && [ \"${state%% *}\" != Z ]");
            return alive && alive->exitCode != 0;
        },
        timeout, std::chrono::milliseconds(50));
}

std::optional<UnixResult> RunXdotool(std::string_view arguments, std::chrono::milliseconds timeout) {
    return RunUnix("xdotool " + std::string(arguments), timeout);
}

} // namespace lumorra::test
