// The range boxes and spinners, the address bar's Enter, and the cycle's pages seen by a loopback
// server: real keys and clicks, results read from the windows, config.ini and the server.
#include "ShellTest.h"

#include <algorithm>
#include <vector>

namespace lumorra::test {
namespace {

using namespace std::chrono;

class Running : public ::testing::Test {
  protected:
    void Start(std::optional<std::string> ini = Ini("Second1=5\r\nSecond2=5")) {
        program = std::make_unique<LumorraProcess>(WithConfig(std::move(ini)));
        ASSERT_STARTED(*program);
        ASSERT_TRUE(BringToForeground(program->Main()));
    }
    HWND Control(int id) const { return program->Control(id); }
    std::wstring Text(int id) const { return TextOf(Control(id)); }
    std::optional<std::string> Stored(std::string_view key) const { return IniValue(program->ReadConfig(), key); }
    bool Eventually(std::string_view key, const std::string& value) const {
        return WaitUntil([&] { return Stored(key) == value; }, 3s);
    }
    // Replaces a box's whole text with typed keys.
    void TypeInto(int id, std::wstring_view text) {
        Click(Control(id));
        PressKey('A', kCtrl);
        PressKey(VK_DELETE);
        TypeText(text);
        PumpMessagesFor(200ms);
    }
    // Puts text into a box as a paste does: not filtered.
    void Paste(int id, const wchar_t* text) {
        SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    // Clicks the upper or the lower half of a spinner.
    void Step(int spinner, bool up) {
        RECT r{};
        GetWindowRect(Control(spinner), &r);
        ClickAt({(r.left + r.right) / 2, up ? r.top + (r.bottom - r.top) / 4 : r.bottom - (r.bottom - r.top) / 4});
        PumpMessagesFor(300ms);
    }
    std::unique_ptr<LumorraProcess> program;
};

TEST_F(Running, RangeBoxesTakeDigitsAndMinusOnly) {
    Start();
    TypeInto(ids::编辑框2, L"2.5a +-中");
    EXPECT_EQ(Text(ids::编辑框2), L"25-");
    EXPECT_TRUE(Eventually("Second1", "25-")) << "each change is stored at once";
    TypeInto(ids::编辑框3, L"0");
    EXPECT_TRUE(Eventually("Second2", "0"));
    Click(Control(ids::列表)); // losing the focus normalises both
    EXPECT_TRUE(WaitUntil([&] { return Text(ids::编辑框3).empty(); }, 3s));
    EXPECT_TRUE(Eventually("Second2", ""));
    EXPECT_EQ(Text(ids::编辑框2), L"25");
    EXPECT_TRUE(Eventually("Second1", "25"));
}

TEST_F(Running, ABoxIsNormalisedWhenItLosesTheFocus) {
    Start();
    const struct {
        const wchar_t* pasted;
        const wchar_t* shown;
    } cases[] = {{L"007", L"7"},
                 {L"12abc", L"12"},
                 {L"2.5", L"2"},
                 {L"abc", L""},
                 {L"-0", L""},
                 {L"-5", L"-5"},
                 {L"99999999999", L"2147483647"},
                 {L"ｆ７", L""}};
    for (const auto& c : cases) {
        Paste(ids::编辑框2, c.pasted);
        // Apart by more than the double-click time: a second click on the same spot would be a
        // double click, which selects a word and does not move the focus.
        PumpMessagesFor(milliseconds(GetDoubleClickTime() + 100));
        Click(Control(ids::编辑框2));
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return Text(ids::编辑框2) == c.shown; }, 3s))
            << WideToUtf8(c.pasted) << " shows " << WideToUtf8(Text(ids::编辑框2));
        EXPECT_TRUE(Eventually("Second1", WideToGbk(c.shown)));
    }
}

TEST_F(Running, SpinnersStepTheRangeAndStoreIt) {
    Start(Ini("Second1=5\r\nSecond2=5"));
    Step(ids::调节器1, true);
    EXPECT_EQ(Text(ids::编辑框2), L"6");
    EXPECT_EQ(Text(ids::编辑框3), L"6");
    EXPECT_TRUE(Eventually("Second1", "6"));
    EXPECT_TRUE(Eventually("Second2", "6"));
    Step(ids::调节器2, false);
    EXPECT_EQ(Text(ids::编辑框3), L"6") << "the upper end is raised back to the lower";
    Paste(ids::编辑框2, L"1");
    Step(ids::调节器1, false);
    EXPECT_EQ(Text(ids::编辑框2), L"1") << "the floor of the lower end";
    Step(ids::调节器2, true);
    EXPECT_EQ(Text(ids::编辑框3), L"7");
    EXPECT_TRUE(Eventually("Second2", "7"));
}

TEST_F(Running, ClickingStartRightAfterTypingUsesTheNormalisedBox) {
    Start(Ini("Second1=3\r\nSecond2=3", "URL=x"));
    TypeInto(ids::编辑框3, L"012");
    Click(Control(ids::按钮3));
    EXPECT_TRUE(WaitUntil([&] { return Text(ids::按钮3) == L"停止"; }, 3s));
    EXPECT_EQ(Text(ids::编辑框3), L"12");
    EXPECT_EQ(Stored("Second2"), "12");
    const int drawn = _wtoi(Text(ids::标签10).c_str());
    EXPECT_GE(drawn, 3);
    EXPECT_LE(drawn, 12);
}

TEST_F(Running, EnterInTheAddressBarVisitsTheTypedAddress) {
    LoopbackServer server;
    ASSERT_NE(server.Port(), 0) << server.Error();
    Start();
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    TypeInto(ids::编辑框1, Utf8ToWide(host + "/typed"));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Text(ids::编辑框1) == Utf8ToWide("http://" + host + "/typed"); }, 3s));
    ASSERT_TRUE(server.WaitForRequests(1, 10s));
    EXPECT_EQ(server.Paths().back(), "/typed");

    // Ctrl, Shift and Alt with Enter, and the keypad's Enter, visit too; the prefix is not added twice.
    const struct {
        unsigned modifiers;
        bool keypad;
    } enters[] = {{kCtrl, false}, {kShift, false}, {kAlt, false}, {kNoModifiers, true}};
    std::size_t seen = server.RequestCount();
    for (const auto& enter : enters) {
        if (enter.keypad) {
            INPUT keys[2] = {};
            for (INPUT& key : keys) {
                key.type = INPUT_KEYBOARD;
                key.ki.wVk = VK_RETURN;
                key.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
            }
            keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
        } else {
            PressKey(VK_RETURN, enter.modifiers);
        }
        EXPECT_TRUE(server.WaitForRequests(seen + 1, 10s)) << "modifiers " << enter.modifiers;
        seen = server.RequestCount();
    }
    EXPECT_EQ(Text(ids::编辑框1), Utf8ToWide("http://" + host + "/typed"));
    // Any other key only edits the box.
    PressKey('X');
    PumpMessagesFor(1s);
    EXPECT_EQ(server.RequestCount(), seen);
}

// The server's view of the cycle: the paths in order and the gaps between them.
struct Seen {
    std::vector<std::string> paths;
    std::vector<double> gaps; // seconds
};

Seen WatchCycle(const LoopbackServer& server, std::size_t count) {
    Seen seen;
    server.WaitForRequests(count, 30s);
    const auto requests = server.Requests();
    for (std::size_t i = 0; i < requests.size() && i < count; ++i) {
        seen.paths.push_back(requests[i].path);
        if (i > 0) seen.gaps.push_back(duration<double>(requests[i].at - requests[i - 1].at).count());
    }
    return seen;
}

TEST_F(Running, TheCycleShowsEachStoredAddressInTurnAndWraps) {
    for (const int seconds : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "range " << seconds << " to " << seconds);
        LoopbackServer server;
        ASSERT_NE(server.Port(), 0) << server.Error();
        const std::string list = server.Url("/first") + "*" + server.Url("/second") + "*" + server.Url("/third");
        const std::string range = "Second1=" + std::to_string(seconds) + "\r\nSecond2=" + std::to_string(seconds);
        Start(Ini("Autorun=1\r\n" + range, "URL=" + list));
        const Seen seen = WatchCycle(server, 4);
        EXPECT_EQ(seen.paths, (std::vector<std::string>{"/first", "/second", "/third", "/first"}));
        for (const double gap : seen.gaps) {
            EXPECT_GT(gap, seconds - 0.5);
            EXPECT_LT(gap, seconds + 1.5);
        }
        EXPECT_EQ(Text(ids::编辑框1).substr(0, 7), L"http://");
        program.reset();
    }
}

} // namespace
} // namespace lumorra::test
