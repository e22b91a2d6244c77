// Proves the Windows test support against programs every Wine prefix has (notepad.exe, cmd.exe): real typed and
// clicked input, window look-ups and texts, the throw-away run directory, exact exit codes, the loopback HTTP
// server, and Linux commands (xdotool) reached from a Windows test. It tests nothing of Lumorra itself.
#include <winsock2.h> // before windows.h (Support.h), which would bring the old winsock.h

#include "Support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <winhttp.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lumorra::test {
namespace {

std::filesystem::path SystemExe(const wchar_t* name) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return std::filesystem::path(system) / name;
}

LaunchOptions Notepad() {
    LaunchOptions options;
    options.exe = SystemExe(L"notepad.exe");
    options.isMainWindow = ClassIs(L"Notepad"); // its title is translated with the locale
    return options;
}

struct HttpAnswer {
    DWORD status = 0;
    std::string body;
    std::string error;
};

HttpAnswer WinHttpGet(uint16_t port, const std::wstring& path) {
    HttpAnswer answer;
    struct Closer {
        HINTERNET handle;
        ~Closer() {
            if (handle) WinHttpCloseHandle(handle);
        }
    };
    Closer session{WinHttpOpen(L"lumorra-harness", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0)};
    Closer connection{session.handle ? WinHttpConnect(session.handle, L"127.0.0.1", port, 0) : nullptr};
    Closer request{connection.handle ? WinHttpOpenRequest(connection.handle, L"GET", path.c_str(), nullptr,
                                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                     : nullptr};
    if (!request.handle || !WinHttpSendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, nullptr, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.handle, nullptr)) {
        answer.error = "WinHTTP failed, error " + std::to_string(GetLastError());
        return answer;
    }
    DWORD size = sizeof(answer.status);
    WinHttpQueryHeaders(request.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &answer.status, &size, WINHTTP_NO_HEADER_INDEX);
    for (;;) {
        char buffer[1024];
        DWORD read = 0;
        if (!WinHttpReadData(request.handle, buffer, sizeof(buffer), &read) || read == 0) {
            break;
        }
        answer.body.append(buffer, read);
    }
    return answer;
}

std::string RawExchange(uint16_t port, const std::string& request) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    std::string response;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
        send(s, request.data(), static_cast<int>(request.size()), 0);
        char buffer[1024];
        int got = 0;
        while ((got = recv(s, buffer, sizeof(buffer), 0)) > 0) { // the server closes after its answer
            response.append(buffer, static_cast<size_t>(got));
        }
    }
    closesocket(s);
    return response;
}

TEST(Harness, ProgramsRunAsOnChineseWindows) {
    // The program's ANSI functions (profile files, tray tips) read and write GBK only with this code page.
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(Utf8ToGbk("开始"), "\xBF\xAA\xCA\xBC");
    EXPECT_EQ(GbkToWide("\xCD\xA3\xD6\xB9"), L"停止");
    EXPECT_EQ(GbkToUtf8(WideToGbk(L"是否退出Lumorra")), "是否退出Lumorra");
}

TEST(Harness, NotepadTakesTypedKeysAndClicks) {
    LumorraProcess notepad(Notepad());
    ASSERT_TRUE(notepad.Main()) << notepad.Error();
    HWND edit = FindDescendantByClass(notepad.Main(), L"Edit");
    ASSERT_TRUE(edit);
    ASSERT_TRUE(BringToForeground(notepad.Main()));
    ASSERT_TRUE(Click(edit));

    ASSERT_TRUE(TypeText(L"first 世界\nsecond"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == L"first 世界\r\nsecond"; }, 5s)) << WideToUtf8(TextOf(edit));
    EXPECT_EQ(GbkTextOf(edit), "first \xCA\xC0\xBD\xE7\r\nsecond");

    // Modifiers and extended keys: Shift+Home selects back to the start of the line, typing replaces it.
    ASSERT_TRUE(PressKey(VK_HOME, kShift));
    ASSERT_TRUE(TypeText(L"2"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == L"first 世界\r\n2"; }, 5s)) << WideToUtf8(TextOf(edit));
    ASSERT_TRUE(PressKey('A', kCtrl));
    ASSERT_TRUE(TypeText(L"x"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == L"x"; }, 5s)) << WideToUtf8(TextOf(edit));

    // A right click opens the edit box's context menu, a top-level pop-up (#32768) of the same process.
    ASSERT_TRUE(Click(edit, MouseButton::Right));
    HWND menu = notepad.WaitForTopLevel([](HWND w) { return ClassOf(w) == L"#32768" && IsWindowVisible(w); }, 5s);
    EXPECT_TRUE(menu);
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5s));
}

TEST(Harness, RunsInAFreshDirectoryWithGivenConfigAndCleansUp) {
    const std::string config = Utf8ToGbk("[Data]\r\nURL=http://例子.cn*b\r\n");
    ASSERT_NE(config.find("\xC0\xFD\xD7\xD3"), std::string::npos); // 例子 in GBK
    std::filesystem::path dir;
    {
        LaunchOptions options = Notepad();
        options.configIni = config;
        LumorraProcess run(options);
        ASSERT_TRUE(run.Main()) << run.Error();
        dir = run.Dir();
        EXPECT_EQ(run.ExePath(), dir / L"notepad.exe");
        EXPECT_TRUE(std::filesystem::exists(run.ExePath()));
        EXPECT_EQ(run.ReadConfig(), config);
        EXPECT_TRUE(run.Running());
    }
    EXPECT_FALSE(dir.empty());
    EXPECT_FALSE(std::filesystem::exists(dir)) << "the run directory outlived its run";

    LumorraProcess bare(Notepad());
    ASSERT_TRUE(bare.Main()) << bare.Error();
    EXPECT_EQ(bare.ReadConfig(), std::nullopt);
    EXPECT_NE(bare.Dir(), dir);
    bare.Terminate();
    EXPECT_FALSE(bare.Running());
}

TEST(Harness, ExitCodeReachesTheTestWhole) {
    const struct {
        const wchar_t* arguments;
        DWORD code;
    } cases[] = {{L"/c exit 0", 0}, {L"/c exit 3", 3}, {L"/c exit -1", 0xFFFFFFFFu}, {L"/c exit 256", 256}};
    for (const auto& c : cases) {
        LaunchOptions options;
        options.exe = SystemExe(L"cmd.exe");
        options.arguments = c.arguments;
        options.waitForMainWindow = false;
        LumorraProcess run(options);
        ASSERT_TRUE(run.Started()) << run.Error();
        EXPECT_EQ(run.WaitForExit(20s), std::optional<DWORD>(c.code)) << WideToUtf8(c.arguments);
    }
}

TEST(Harness, LoopbackServerRecordsRequestsInOrder) {
    LoopbackServer server;
    ASSERT_NE(server.Port(), 0) << server.Error();
    EXPECT_EQ(server.Url("/x"), "http://127.0.0.1:" + std::to_string(server.Port()) + "/x");

    const HttpAnswer first = WinHttpGet(server.Port(), L"/first");
    ASSERT_TRUE(first.error.empty()) << first.error;
    EXPECT_EQ(first.status, 200u);
    EXPECT_NE(first.body.find("<html>"), std::string::npos);
    const HttpAnswer second = WinHttpGet(server.Port(), L"/second?q=1");
    EXPECT_EQ(second.status, 200u);

    const std::string raw = RawExchange(server.Port(), "GET /raw HTTP/1.0\r\nHost: x\r\n\r\n");
    EXPECT_EQ(raw.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << raw;
    EXPECT_NE(raw.find("Connection: close\r\n"), std::string::npos);

    ASSERT_TRUE(server.WaitForRequests(3, 5s));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(server.Paths(), (std::vector<std::string>{"/first", "/second?q=1", "/raw"}));
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_LE(requests[0].at, requests[1].at);
    EXPECT_LE(requests[1].at, requests[2].at);

    server.Clear();
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_FALSE(server.WaitForRequests(1, 100ms));
}

TEST(Harness, UnixCommandsReportStatusAndOutput) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "Linux commands exist only under Wine";
    }
    const auto status = RunUnix("echo hello; exit 3");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->exitCode, 3);
    EXPECT_EQ(status->output, "hello\n");

    // Quotes, backslashes and non-ASCII text arrive as written.
    const auto quoted = RunUnix(R"(printf '%s|' "a b" 'c"d' 'e\f' 世界)");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->output, "a b|c\"d|e\\f|世界|");

    const auto geometry = RunXdotool("getdisplaygeometry");
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->output, "1280 1024\n");

    const auto sleeper = StartUnix("sleep 60");
    ASSERT_TRUE(sleeper);
    const auto running = RunUnix("kill -0 " + std::to_string(*sleeper));
    ASSERT_TRUE(running);
    EXPECT_EQ(running->exitCode, 0);
    EXPECT_TRUE(StopUnix(*sleeper));
}

TEST(Harness, XdotoolKeysReachTheForegroundWineWindow) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "xdotool exists only under Wine";
    }
    LumorraProcess notepad(Notepad());
    ASSERT_TRUE(notepad.Main()) << notepad.Error();
    HWND edit = FindDescendantByClass(notepad.Main(), L"Edit");
    ASSERT_TRUE(edit);
    ASSERT_TRUE(BringToForeground(notepad.Main()));
    ASSERT_TRUE(Click(edit));

    const auto typed = RunXdotool("type --delay 30 xyz");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->exitCode, 0) << typed->output;
    EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == L"xyz"; }, 5s)) << WideToUtf8(TextOf(edit));

    const auto key = RunXdotool("key BackSpace");
    ASSERT_TRUE(key);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == L"xy"; }, 5s)) << WideToUtf8(TextOf(edit));
}

// A tray icon of this test process, with the mouse messages its window receives.
class TestTrayIcon {
  public:
    static constexpr UINT kCallback = WM_APP + 7;

    TestTrayIcon() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LumorraHarnessTray";
        RegisterClassW(&windowClass);
        window_ = CreateWindowW(windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        NOTIFYICONDATAW data = Data();
        data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        data.uCallbackMessage = kCallback;
        data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        lstrcpynW(data.szTip, L"harness", ARRAYSIZE(data.szTip));
        added_ = Shell_NotifyIconW(NIM_ADD, &data);
    }
    ~TestTrayIcon() {
        NOTIFYICONDATAW data = Data();
        Shell_NotifyIconW(NIM_DELETE, &data);
        DestroyWindow(window_);
    }
    bool Added() const { return added_; }
    bool Received(UINT message) const {
        for (UINT m : messages_) {
            if (m == message) {
                return true;
            }
        }
        return false;
    }

  private:
    NOTIFYICONDATAW Data() const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = window_;
        data.uID = 100;
        return data;
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestTrayIcon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == kCallback) {
            self->messages_.push_back(LOWORD(lParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    bool added_ = false;
    std::vector<UINT> messages_;
};

TEST(Harness, TrayIconsDockAndTakeXClicks) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "the X notification area exists only under Wine";
    }
    ASSERT_TRUE(DockedTrayIcons().empty()) << "an icon of an earlier program is still docked";
    {
        TestTrayIcon icon;
        ASSERT_TRUE(icon.Added());
        const auto icons = WaitForDockedTrayIcons(1, 10s);
        ASSERT_EQ(icons.size(), 1u) << "no icon docked: is trayer running?";
        EXPECT_GT(icons[0].top, 1024 / 2) << "trayer sits at the bottom of the screen";

        ASSERT_TRUE(ClickTrayIcon(icons[0], MouseButton::Left));
        EXPECT_TRUE(WaitUntil([&] { return icon.Received(WM_LBUTTONUP); }, 5s));
        EXPECT_TRUE(icon.Received(WM_LBUTTONDOWN));
        ASSERT_TRUE(ClickTrayIcon(icons[0], MouseButton::Right));
        EXPECT_TRUE(WaitUntil([&] { return icon.Received(WM_RBUTTONUP); }, 5s));
    }
    EXPECT_TRUE(WaitForDockedTrayIcons(0, 10s).empty()) << "the deleted icon stayed docked";
}

} // namespace
} // namespace lumorra::test
