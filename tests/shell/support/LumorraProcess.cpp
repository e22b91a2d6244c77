// Starting, watching and cleaning up one run of the program under test.
#include "LumorraProcess.h"

#include "Text.h"
#include "Wait.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <system_error>

#ifndef LUMORRA_EXE_PATH
#define LUMORRA_EXE_PATH ""
#endif

namespace lumorra::test {
namespace {

using WineGetDosFileName = wchar_t*(__cdecl*)(const char*);

std::string LastError(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

// A Unix path as Wine sees it (Z:\...); other paths unchanged.
std::filesystem::path FromUnixPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return std::filesystem::path(Utf8ToWide(path));
    }
    auto toDos = reinterpret_cast<WineGetDosFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos) {
        if (wchar_t* dos = toDos(path.c_str())) {
            std::filesystem::path result(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            return result;
        }
    }
    std::wstring fallback = L"Z:" + Utf8ToWide(path);
    for (auto& c : fallback) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return fallback;
}

std::optional<std::filesystem::path> MakeFreshDirectory(std::string& error) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        error = LastError("GetTempPathW");
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path dir = std::filesystem::path(temp) /
                                    (L"lumorra-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                     std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount64() % 100000));
        if (CreateDirectoryW(dir.c_str(), nullptr)) {
            return dir;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error = LastError("CreateDirectoryW");
            return std::nullopt;
        }
    }
    error = "no fresh temporary directory could be made";
    return std::nullopt;
}

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

std::filesystem::path LumorraExe() {
    wchar_t fromEnvironment[32768] = {};
    if (GetEnvironmentVariableW(L"LUMORRA_EXE", fromEnvironment, 32768) > 0) {
        return FromUnixPath(WideToUtf8(fromEnvironment));
    }
    return FromUnixPath(LUMORRA_EXE_PATH);
}

LumorraProcess::LumorraProcess(LaunchOptions options) : isMainWindow_(options.isMainWindow) {
    Start(options);
}

void LumorraProcess::Start(const LaunchOptions& options) {
    if (options.exe.empty()) {
        error_ = "no executable given (is LUMORRA_EXE set or the program built?)";
        return;
    }
    auto dir = MakeFreshDirectory(error_);
    if (!dir) {
        return;
    }
    dir_ = *dir;
    exePath_ = dir_ / options.exe.filename();
    if (!CopyFileW(options.exe.c_str(), exePath_.c_str(), TRUE)) {
        error_ = LastError("copying the executable") + " (" + WideToUtf8(options.exe.wstring()) + ")";
        return;
    }
    if (options.configIni && !WriteBytes(ConfigPath(), *options.configIni)) {
        error_ = "writing config.ini failed";
        return;
    }
    for (const auto& [source, name] : options.extraFiles) {
        if (!CopyFileW(source.c_str(), (dir_ / name).c_str(), TRUE)) {
            error_ = LastError("copying an extra file") + " (" + WideToUtf8(source.wstring()) + ")";
            return;
        }
    }

    // The job ends the program with the test: should the test die, its handle closes and the system (Wine
    // too) kills what is in the job, instead of leaving a window on the shared display for the next test.
    job_.Reset(CreateJobObjectW(nullptr, nullptr));
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }

    std::wstring commandLine = L"\"" + exePath_.wstring() + L"\"";
    if (!options.arguments.empty()) {
        commandLine += L" " + options.arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // The working directory is deliberately not the program's own: it must find config.ini by itself.
    // The child inherits this process's environment: set the extra variables around its creation only.
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : options.environment) {
        wchar_t old[32768];
        const DWORD length = GetEnvironmentVariableW(name.c_str(), old, 32768);
        saved.emplace_back(name, length > 0 ? std::optional<std::wstring>(old) : std::nullopt);
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    const BOOL created = CreateProcessW(exePath_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                        nullptr, nullptr, &startup, &info);
    const DWORD createError = GetLastError();
    for (const auto& [name, value] : saved)
        SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    if (!created) {
        SetLastError(createError);
        error_ = LastError("CreateProcessW");
        return;
    }
    process_.Reset(info.hProcess);
    UniqueHandle thread(info.hThread);
    processId_ = info.dwProcessId;
    if (job_ && !AssignProcessToJobObject(job_.Get(), process_.Get())) {
        job_.Reset(); // without the job the destructor still terminates the program
    }
    ResumeThread(thread.Get());

    if (!options.waitForMainWindow) {
        return;
    }
    const auto started = std::chrono::steady_clock::now();
    if (!WaitForMainWindow(options.startTimeout)) {
        error_ =
            Running() ? "the main window did not appear in time" : "the program ended before its main window appeared";
        return;
    }
    // The window is found while it is still being created (its controls may not exist yet): the program is
    // ready once its thread first waits for input with nothing left in its queue, i.e. the message loop runs.
    const auto left = options.startTimeout -
                      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    if (WaitForInputIdle(process_.Get(), static_cast<DWORD>(std::max<long long>(left.count(), 0))) != 0) {
        error_ = "the program did not become idle after creating its main window";
        main_ = nullptr;
    }
}

HWND LumorraProcess::WaitForMainWindow(std::chrono::milliseconds timeout) {
    if (!process_) {
        return nullptr;
    }
    WaitUntil(
        [&] {
            main_ = lumorra::test::FindTopLevel(processId_, isMainWindow_);
            return main_ != nullptr || !Running();
        },
        timeout);
    return main_;
}

HWND LumorraProcess::FindTopLevel(const WindowPredicate& predicate) const {
    return process_ ? lumorra::test::FindTopLevel(processId_, predicate) : nullptr;
}

HWND LumorraProcess::WaitForTopLevel(const WindowPredicate& predicate, std::chrono::milliseconds timeout) const {
    return process_ ? lumorra::test::WaitForTopLevel(processId_, predicate, timeout) : nullptr;
}

std::optional<std::string> LumorraProcess::ReadConfig() const {
    std::ifstream in(ConfigPath(), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool LumorraProcess::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> LumorraProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_) {
        return std::nullopt;
    }
    // Waiting with messages flowing: the program may send to a window of this thread while it ends.
    if (!WaitUntil([&] { return !Running(); }, timeout, std::chrono::milliseconds(10))) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.Get(), &code)) {
        return std::nullopt;
    }
    return code;
}

void LumorraProcess::Terminate() {
    if (Running()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

LumorraProcess::~LumorraProcess() {
    Terminate();
    process_.Reset();
    job_.Reset();
    if (dir_.empty()) {
        return;
    }
    // Wine and Windows may hold the executable's image for a moment after the process has ended.
    std::error_code ignored;
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::filesystem::remove_all(dir_, ignored);
        if (!std::filesystem::exists(dir_, ignored)) {
            break;
        }
        Sleep(100);
    }
}

} // namespace lumorra::test
