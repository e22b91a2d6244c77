// Start-up from config.ini, and every way the program ends, with its exit codes.
#include "ShellTest.h"

#include <thread>

namespace lumorra::test {
namespace {

struct StartupCase {
    const char* name;
    std::optional<std::string> ini;
    bool tray, boss, autorun;
};

TEST(StartUp, StoredOptionsAreAppliedAndTheBoxesWrittenBack) {
    const StartupCase cases[] = {
        {"no config.ini", std::nullopt, false, false, false},
        {"tray only", Ini("TrayIcon=1"), true, false, false},
        {"autorun, boss key 0", Ini("Autorun=1\r\nBossKey=0\r\nSecond1=3\r\nSecond2=3", "URL=http://127.0.0.1:9/"),
         false, false, true},
        {"boss key", Ini("BossKey=1"), false, true, false},
        {"values other than 1", Ini("TrayIcon=true\r\nBossKey=01\r\nAutorun=yes"), false, false, false},
    };
    for (const StartupCase& c : cases) {
        SCOPED_TRACE(c.name);
        LumorraProcess program(WithConfig(c.ini));
        ASSERT_STARTED(program);
        EXPECT_TRUE(WaitUntil([&] { return IsShown(program.Main()) == !c.tray; }, 5s))
            << "visible when not in the tray";
        PumpMessagesFor(300ms);
        EXPECT_EQ(IsShown(program.Main()), !c.tray);
        EXPECT_EQ(IsChecked(program.Control(ids::打开置系统托盘)), c.tray);
        EXPECT_EQ(IsChecked(program.Control(ids::老板键)), c.boss);
        EXPECT_EQ(IsChecked(program.Control(ids::打开自动刷新)), c.autorun);
        EXPECT_EQ(TextOf(program.Control(ids::按钮3)), c.autorun ? L"停止" : L"开始");
        const auto ini = program.ReadConfig();
        if (!c.ini) {
            EXPECT_FALSE(ini.has_value()) << "nothing is written at start-up without config.ini";
            continue;
        }
        // Missing keys come back with empty values; present ones unchanged.
        EXPECT_TRUE(IniValue(ini, "URL").has_value());
        EXPECT_TRUE(IniValue(ini, "Second1").has_value());
        EXPECT_TRUE(IniValue(ini, "Second2").has_value());
        if (c.autorun) {
            EXPECT_EQ(TextOf(program.Control(ids::标签10)), L"3");
            // 标签11 counts down once a second.
            EXPECT_TRUE(WaitUntil([&] { return TextOf(program.Control(ids::标签11)) == L"2"; }, 3s));
        }
    }
}

TEST(StartUp, GbkAddressesShowOneAPerLineAndStayStoredUnchanged) {
    const std::string stored = Utf8ToGbk("http://中文.test/页面*http://b.test/**http://c.test/");
    LumorraProcess program(WithConfig(Ini("Second1=2.9\r\nSecond2=abc", "URL=" + stored)));
    ASSERT_STARTED(program);
    EXPECT_EQ(TextOf(program.Control(ids::列表)), L"http://中文.test/页面\r\nhttp://b.test/\r\n\r\nhttp://c.test/");
    EXPECT_EQ(IniValue(program.ReadConfig(), "URL"), stored);
    // The range boxes take the stored texts as they stand.
    EXPECT_EQ(TextOf(program.Control(ids::编辑框2)), L"2.9");
    EXPECT_EQ(TextOf(program.Control(ids::编辑框3)), L"abc");
}

TEST(StartUp, BytesThatCodePage936CannotShowAreNotRewritten) {
    // A hand-edited file may hold bytes that are no GBK text; start-up writes the list back, and must
    // write back what it read.
    const std::string stored = "http://a.test/\x80\xFF*http://b.test/\xC3\xA9";
    LumorraProcess program(WithConfig(Ini("", "URL=" + stored)));
    ASSERT_STARTED(program);
    EXPECT_EQ(IniValue(program.ReadConfig(), "URL"), stored);
}

TEST(Exit, QuitButtonYesEndsWithCodeZeroAndOneQuestion) {
    LumorraProcess program;
    ASSERT_STARTED(program);
    ASSERT_TRUE(BringToForeground(program.Main()));
    Click(program.Control(ids::按钮2));
    HWND question = WaitForExitQuestion(program);
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(HasText(question, L"是否退出Lumorra"));
    EXPECT_EQ(GetWindow(question, GW_OWNER), nullptr) << "the question has no owner";
    EXPECT_FALSE(IsWindowEnabled(program.Main())) << "modal to the whole program";
    ASSERT_TRUE(Answer(question, IDYES));
    EXPECT_EQ(program.WaitForExit(10s), 0u);
}

TEST(Exit, QuitButtonNoKeepsTheCycleCounting) {
    LumorraProcess program(WithConfig(Ini("Autorun=1\r\nSecond1=50\r\nSecond2=50", "URL=x")));
    ASSERT_STARTED(program);
    ASSERT_TRUE(BringToForeground(program.Main()));
    Click(program.Control(ids::按钮2));
    const HWND question = WaitForExitQuestion(program);
    ASSERT_NE(question, nullptr);
    // The cycle goes on behind the question.
    EXPECT_TRUE(WaitUntil([&] { return TextOf(program.Control(ids::标签11)) == L"48"; }, 5s));
    ASSERT_TRUE(Answer(question, IDNO));
    EXPECT_TRUE(WaitUntil([&] { return ExitQuestion(program) == nullptr; }, 5s));
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindowEnabled(program.Main()));
}

TEST(Exit, CloseBoxAndAltF4AskAndYesEndsTheProgram) {
    for (const bool altF4 : {false, true}) {
        SCOPED_TRACE(altF4 ? "Alt+F4" : "close box");
        LumorraProcess program;
        ASSERT_STARTED(program);
        ASSERT_TRUE(BringToForeground(program.Main()));
        if (altF4)
            PressKey(VK_F4, kAlt);
        else
            PostMessageW(program.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        HWND question = WaitForExitQuestion(program);
        ASSERT_NE(question, nullptr);
        ASSERT_TRUE(Answer(question, IDNO));
        EXPECT_TRUE(WaitUntil([&] { return ExitQuestion(program) == nullptr; }, 5s));
        EXPECT_TRUE(program.Running());
        PostMessageW(program.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        question = WaitForExitQuestion(program);
        ASSERT_NE(question, nullptr);
        ASSERT_TRUE(Answer(question, IDYES));
        EXPECT_EQ(program.WaitForExit(10s), 0u);
    }
}

TEST(Exit, LogOffQueryAsksAndNoRefusesIt) {
    LumorraProcess program;
    ASSERT_STARTED(program);
    LRESULT answer = -1;
    std::thread query([&] { answer = SendMessageW(program.Main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); });
    const HWND question = WaitForExitQuestion(program);
    if (question) Answer(question, IDNO);
    query.join();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(answer, FALSE);
    EXPECT_TRUE(program.Running());
}

TEST(Exit, AWindowThatCannotBeBuiltShowsTheErrorAndEndsWithMinusOne) {
#ifndef LUMORRA_FAILING_FORM_EXE
    GTEST_SKIP() << "no build with a failing form";
#else
    LaunchOptions options;
    options.exe = Utf8ToWide(LUMORRA_FAILING_FORM_EXE);
    options.waitForMainWindow = false;
    LumorraProcess program(options);
    ASSERT_TRUE(program.Started()) << program.Error();
    const HWND error = program.WaitForTopLevel([](HWND w) { return IsWindowVisible(w) && TitleOf(w) == L"错误"; }, 10s);
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(HasText(error, L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n") ||
                HasText(error, L"运行时出错!\n\n错误信息：载入启动窗口失败\n"));
    ASSERT_TRUE(Answer(error, IDOK));
    EXPECT_EQ(program.WaitForExit(10s), 0xFFFFFFFFu);
#endif
}

} // namespace
} // namespace lumorra::test
