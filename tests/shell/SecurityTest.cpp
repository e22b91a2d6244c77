// A DLL planted beside the program (a downloads folder) is never loaded, and the texts are right
// whatever the system's own code page is.
#include "ShellTest.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace lumorra::test {
namespace {

// DLLs that the program, the web view and the system load while the program runs.
const wchar_t* const kPlantedNames[] = {
    L"urlmon.dll",   L"wininet.dll", L"mshtml.dll",    L"ieframe.dll",
    L"iertutil.dll", L"uxtheme.dll", L"version.dll",   L"winmm.dll",
    L"dwmapi.dll",   L"msimg32.dll", L"winhttp.dll",   L"secur32.dll",
    L"propsys.dll",  L"profapi.dll", L"cryptbase.dll", L"textinputframework.dll",
};

TEST(Security, DllsPlantedBesideTheProgramAreNeverLoaded) {
#ifndef LUMORRA_PLANTED_DLL
    GTEST_SKIP() << "no planted DLL built";
#else
    LoopbackServer server;
    ASSERT_NE(server.Port(), 0) << server.Error();
    LaunchOptions options = WithConfig(Ini("Autorun=1\r\nSecond1=1\r\nSecond2=1", "URL=" + server.Url("/page")));
    for (const wchar_t* name : kPlantedNames)
        options.extraFiles.emplace_back(Utf8ToWide(LUMORRA_PLANTED_DLL), name);
    LumorraProcess program(options);
    ASSERT_STARTED(program);
    // By the first page the web view and its network layers have all been loaded.
    ASSERT_TRUE(server.WaitForRequests(2, 15s));
    ASSERT_TRUE(BringToForeground(program.Main()));
    Click(program.Control(ids::按钮4)); // the about window, and what it loads
    PumpMessagesFor(1s);
    for (const wchar_t* name : kPlantedNames)
        EXPECT_FALSE(std::filesystem::exists(program.Dir() / (std::wstring(name) + L".loaded"))) << WideToUtf8(name);
#endif
}

// The program started from the Linux side with Wine settings of its own (locale, DLL overrides),
// which a Windows process cannot hand to a child.
class StartedFromLinux : public ::testing::Test {
  protected:
    void Start(const std::string& environment, const std::string& config) {
        if (!RunningUnderWine()) GTEST_SKIP() << "needs Wine settings for the program alone";
        using UnixName = char*(CDECL*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        ASSERT_NE(unixName, nullptr);
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::filesystem::path(temp) / (L"lumorra-cp-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(dir_);
        ASSERT_TRUE(CopyFileW(LumorraExe().c_str(), (dir_ / L"lumorra.exe").c_str(), FALSE));
        std::ofstream(dir_ / L"config.ini", std::ios::binary) << config;
        char* unixDir = unixName(dir_.c_str());
        ASSERT_NE(unixDir, nullptr);
        const std::string command =
            "cd '" + std::string(unixDir) + "' && exec env " + environment + " wine lumorra.exe";
        HeapFree(GetProcessHeap(), 0, unixDir);
        unixProcess_ = StartUnix(command);
        ASSERT_TRUE(unixProcess_.has_value());
        WaitUntil([&] { return (main_ = FindWindowW(L"LumorraMainWindow", nullptr)) != nullptr; }, 20s);
        ASSERT_NE(main_, nullptr);
        PumpMessagesFor(1s); // the controls are filled by the time the loop runs
    }
    void TearDown() override { Stop(); }
    void Stop() {
        DWORD processId = 0;
        if (main_ && GetWindowThreadProcessId(main_, &processId)) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 10000);
                CloseHandle(process);
            }
        }
        if (unixProcess_) StopUnix(*unixProcess_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::optional<std::string> StoredList() const {
        std::ifstream in(dir_ / L"config.ini", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return IniValue(bytes, "URL");
    }
    HWND Control(int id) const { return FindDescendantById(main_, id); }

    std::filesystem::path dir_;
    std::optional<int> unixProcess_;
    HWND main_ = nullptr;
};

// In a Western locale Wine gives the program code page 1252, not 936: an ANSI program would show the
// stored Chinese texts garbled and write them back so.
TEST_F(StartedFromLinux, ChineseTextsShowAndStoreAsGbkUnderAWesternCodePage) {
    const std::string stored_ = Utf8ToGbk("http://中文.test/*http://b.test/");
    ASSERT_NO_FATAL_FAILURE(Start("LC_ALL=C.UTF-8", Ini("", "URL=" + stored_)));
    if (IsSkipped()) return;
    EXPECT_EQ(TextOf(Control(ids::列表)), L"http://中文.test/\r\nhttp://b.test/");
    EXPECT_EQ(TextOf(Control(ids::按钮3)), L"开始");
    EXPECT_EQ(TitleOf(main_), L"Lumorra1.0 Made By Kestavin");
    EXPECT_EQ(StoredList(), stored_);
    // What the user types in Chinese is stored as GBK.
    ASSERT_TRUE(BringToForeground(main_));
    Click(Control(ids::列表));
    PressKey(VK_END, kCtrl);
    TypeText(L"\n页");
    EXPECT_TRUE(WaitUntil([&] { return StoredList() == stored_ + "*" + Utf8ToGbk("页"); }, 3s))
        << GbkToUtf8(StoredList().value_or(""));
}

TEST_F(StartedFromLinux, WithoutTheBrowserControlTheWindowAndTheCycleStillWork) {
    // ieframe holds the WebBrowser control: disabled, the control cannot be created.
    ASSERT_NO_FATAL_FAILURE(Start("WINEDLLOVERRIDES=ieframe=d",
                                  Ini("Autorun=1\r\nSecond1=1\r\nSecond2=1", "URL=http://a.test/*http://b.test/")));
    if (IsSkipped()) return;
    EXPECT_NE(Control(ids::超文本浏览框1), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(ids::编辑框1)) == L"http://a.test/"; }, 5s));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(ids::编辑框1)) == L"http://b.test/"; }, 5s));
    ASSERT_TRUE(BringToForeground(main_));
    Click(Control(ids::按钮3));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(ids::按钮3)) == L"开始"; }, 3s));
}

} // namespace
} // namespace lumorra::test
