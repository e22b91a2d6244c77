// The tray icon and its menu, the boss key and the about window of lumorra.exe under Wine, driven
// by real input (SendInput; X clicks and keys through xdotool). Not the main form or the cycle.
#include "ShellTest.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace lumorra::test {
namespace {

using namespace std::chrono;

constexpr UINT kTrayMessage = WM_APP + 100; // the icon's notifications to the main window
constexpr wchar_t kAboutTitle[] = L"Lumorra1.0";
constexpr wchar_t kAboutClass[] = L"LumorraAboutWindow";

// A small visible window of the test itself: the window in front when Alt+F1 is pressed while
// the program's windows are hidden, as a user's press goes through whatever program is in front.
class FocusWindow {
  public:
    FocusWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LumorraTestFocus";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"focus", WS_POPUP | WS_BORDER | WS_VISIBLE, 16, 16,
                                  160, 60, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~FocusWindow() { DestroyWindow(window_); }
    FocusWindow(const FocusWindow&) = delete;
    FocusWindow& operator=(const FocusWindow&) = delete;
    HWND Get() const { return window_; }
    POINT Spot() const { return CentreOf(window_); }

  private:
    HWND window_ = nullptr;
};

// A spot of the main window's client area where a click does nothing (right of the check boxes).
POINT BlankSpotOf(HWND main) {
    POINT spot{460, 12};
    ClientToScreen(main, &spot);
    return spot;
}

// One press of Alt+F1 at the X level. Wine takes X keys only through the window holding the X
// focus, and that moves with an X click: the press is made after a click on a spot that does
// nothing. This thread turns X events into Wine's input for its own window, so it pumps after the
// press; a press that should change nothing has had its chance by the time this returns.
bool PressBossKeyAfterClickAt(POINT spot) {
    const auto clicked = RunXdotool("mousemove " + std::to_string(spot.x) + " " + std::to_string(spot.y) + " click 1");
    PumpMessagesFor(200ms);
    const auto pressed = RunXdotool("key alt+F1");
    PumpMessagesFor(500ms);
    return clicked && clicked->exitCode == 0 && pressed && pressed->exitCode == 0;
}

std::vector<RECT> WaitForIcons(size_t count) {
    return WaitForDockedTrayIcons(count, 10s);
}

// The window is hidden with exactly one icon docked; the icon, or an empty rectangle.
RECT WaitUntilInTray(HWND main) {
    const auto icons = WaitForIcons(1);
    if (!WaitUntil([&] { return !IsShown(main); }, 5s) || icons.size() != 1) return {};
    return icons[0];
}

bool WaitUntilShownWithoutIcon(HWND main) {
    return WaitUntil([&] { return IsShown(main); }, 5s) && WaitForIcons(0).empty();
}

// Whether a click at the control's centre reaches it: a window just shown or restored takes a
// moment to be back in place.
bool Reachable(HWND control) {
    return WaitUntil([&] { return WindowFromPoint(CentreOf(control)) == control; }, 3s);
}

// 按钮1 "置系统托盘", clicked; the docked icon, or an empty rectangle.
RECT HideToTrayByButton(const LumorraProcess& program) {
    const HWND button = program.Control(ids::按钮1);
    if (!BringToForeground(program.Main()) || !Reachable(button) || !Click(button)) return {};
    return WaitUntilInTray(program.Main());
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left;
}

HWND TrayMenu(const LumorraProcess& program) {
    return program.FindTopLevel([](HWND w) { return ClassOf(w) == L"#32768" && IsWindowVisible(w); });
}

// Whether a visible window lies over this one (the icon's tip, say).
bool Covered(HWND window) {
    RECT mine{};
    GetWindowRect(window, &mine);
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT r{}, common{};
        if (IsWindowVisible(above) && GetWindowRect(above, &r) && IntersectRect(&common, &mine, &r)) return true;
    }
    return false;
}

// Right-clicks the docked icon and returns the tray menu once it is open, drawn and bare: the
// pointer moves straight off the icon (up, clear of the menu, which lies left of the pointer) and
// any tip the icon showed has gone.
HWND OpenTrayMenu(const LumorraProcess& program, const RECT& icon) {
    if (!ClickTrayIcon(icon, MouseButton::Right)) return nullptr;
    const int x = (icon.left + icon.right) / 2, y = (icon.top + icon.bottom) / 2;
    RunXdotool("mousemove " + std::to_string(x) + " " + std::to_string(y - 300));
    const HWND menu = program.WaitForTopLevel([](HWND w) { return ClassOf(w) == L"#32768" && IsWindowVisible(w); }, 5s);
    if (!menu || !WaitUntil([&] { return !Covered(menu); }, 10s)) return nullptr;
    PumpMessagesFor(300ms);
    return menu;
}

// The screen pixels of a window, row by row.
std::vector<COLORREF> PixelsOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
        pixels.clear();
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A pop-up menu of this test with the given items, shown as the tray menu shows its own
// (right-aligned at a point), and its size and pixels once drawn. Menus are drawn by the system:
// the tray menu looks exactly like this one when it holds exactly these items.
struct MenuPicture {
    SIZE size{};
    std::vector<COLORREF> pixels;
};

MenuPicture* taking = nullptr;

// The menu's own loop runs the timer: the menu has been drawn by then.
void CALLBACK TakeMenuPicture(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, 1);
    for (HWND w : TopLevelWindowsOf(GetCurrentProcessId()))
        if (ClassOf(w) == L"#32768" && IsWindowVisible(w)) {
            taking->size = OuterSize(w);
            taking->pixels = PixelsOf(w);
        }
    EndMenu();
}

MenuPicture ReferenceMenu(std::initializer_list<const wchar_t*> items) {
    MenuPicture picture;
    taking = &picture;
    FocusWindow owner;
    HMENU menu = CreatePopupMenu();
    UINT id = 1;
    for (const wchar_t* item : items)
        AppendMenuW(menu, MF_STRING, id++, item);
    SetForegroundWindow(owner.Get());
    SetTimer(owner.Get(), 1, 500, &TakeMenuPicture);
    TrackPopupMenu(menu, TPM_RIGHTALIGN, 600, 300, 0, owner.Get(), nullptr);
    DestroyMenu(menu);
    taking = nullptr;
    return picture;
}

// Wine answers GetGuiResources with 0. It keeps one table of USER objects (windows, menus, icons)
// for all processes of the session, and the upper word of a handle counts the uses of its slot:
// menus made here take the free slots first, and the first one in a never-used slot (count 1)
// gives the table's end. Objects in use = end - free slots. The smallest of a few readings drops
// objects that other programs hold for a moment.
int WineUserObjectsInUse() {
    int least = -1;
    for (int reading = 0; reading < 3; ++reading) {
        std::vector<HMENU> made;
        int inUse = -1;
        while (made.size() < 60000) {
            const HMENU menu = CreatePopupMenu();
            if (!menu) break;
            made.push_back(menu);
            const auto value = reinterpret_cast<uintptr_t>(menu);
            if (((value >> 16) & 0xFFFF) == 1) {
                inUse = static_cast<int>(((value & 0xFFFF) - 0x20) >> 1) - static_cast<int>(made.size() - 1);
                break;
            }
        }
        for (HMENU menu : made)
            DestroyMenu(menu);
        if (inUse >= 0 && (least < 0 || inUse < least)) least = inUse;
        PumpMessagesFor(100ms);
    }
    return least;
}

class Shell : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!RunningUnderWine()) GTEST_SKIP() << "the X notification area and X keys exist only under Wine";
        ASSERT_TRUE(DockedTrayIcons().empty()) << "an icon of an earlier program is still docked";
    }
    void Start(std::optional<std::string> ini = Ini("Second1=50\r\nSecond2=50")) {
        program = std::make_unique<LumorraProcess>(WithConfig(std::move(ini)));
        ASSERT_STARTED(*program);
    }
    HWND Main() const { return program->Main(); }
    HWND Control(int id) const { return program->Control(id); }
    std::optional<std::string> Stored(std::string_view key) const { return IniValue(program->ReadConfig(), key); }

    std::unique_ptr<LumorraProcess> program;
};

// --- Tray icon and menu ---------------------------------------------------------------------------

using Tray = Shell;

TEST_F(Tray, ButtonHidesToOneIconAndALeftClickBringsTheWindowBack) {
    Start();
    RECT before{};
    GetWindowRect(Main(), &before);
    const RECT icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon)) << "hidden with one icon docked";

    // A second hide while hidden adds nothing.
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::按钮1, BN_CLICKED), reinterpret_cast<LPARAM>(Control(ids::按钮1)));
    PumpMessagesFor(500ms);
    EXPECT_EQ(DockedTrayIcons().size(), 1u);

    ASSERT_TRUE(ClickTrayIcon(icon, MouseButton::Left));
    ASSERT_TRUE(WaitUntilShownWithoutIcon(Main()));
    RECT after{};
    GetWindowRect(Main(), &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "back at its place and size";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); }, 3s)) << "and active";
    EXPECT_EQ(TrayMenu(*program), nullptr);
}

TEST_F(Tray, StartsInTheTrayWhenTheOptionIsOn) {
    Start(Ini("TrayIcon=1"));
    const RECT icon = WaitUntilInTray(Main());
    ASSERT_FALSE(IsEmpty(icon));
    PumpMessagesFor(500ms);
    EXPECT_EQ(DockedTrayIcons().size(), 1u) << "one icon, though the option is applied twice at start-up";
    EXPECT_TRUE(IsChecked(Control(ids::打开置系统托盘)));
    ASSERT_TRUE(ClickTrayIcon(icon, MouseButton::Left));
    EXPECT_TRUE(WaitUntilShownWithoutIcon(Main()));
}

TEST_F(Tray, RightClickOpensTheMenuWithShowAndExitAtThePointer) {
    const MenuPicture expected = ReferenceMenu({L"显示(Y)", L"退出(Z)"});
    ASSERT_FALSE(expected.pixels.empty()) << "the reference menu was not drawn";
    Start();
    const RECT icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    const HWND menu = OpenTrayMenu(*program, icon);
    ASSERT_NE(menu, nullptr);

    const SIZE size = OuterSize(menu);
    EXPECT_EQ(size.cx, expected.size.cx);
    EXPECT_EQ(size.cy, expected.size.cy);
    EXPECT_TRUE(PixelsOf(menu) == expected.pixels) << "the menu shows other items than 显示(Y) and 退出(Z)";

    // Its top-right corner 5 pixels left of the pointer; moved up where it would leave the screen.
    POINT pointer{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    RECT place{};
    GetWindowRect(menu, &place);
    EXPECT_EQ(place.right, pointer.x - 5);
    EXPECT_LE(place.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(place.top, 0);

    // The items have no shortcut keys: Y and Z choose nothing.
    PressKey('Y');
    PressKey('Z');
    PumpMessagesFor(500ms);
    EXPECT_TRUE(IsWindowVisible(menu));
    EXPECT_TRUE(program->Running());
    EXPECT_FALSE(IsShown(Main()));

    // Esc closes it and leaves everything in the tray.
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return TrayMenu(*program) == nullptr; }, 3s));
    EXPECT_FALSE(IsShown(Main()));
    EXPECT_EQ(DockedTrayIcons().size(), 1u);
}

TEST_F(Tray, MenuChoices) {
    enum class Way { Click, Keys };
    const struct {
        const char* name;
        int item; // 0 "显示(Y)", 1 "退出(Z)"
        Way way;
    } cases[] = {
        {"显示(Y) clicked", 0, Way::Click},
        {"显示(Y) by keys", 0, Way::Keys},
        {"退出(Z) clicked", 1, Way::Click},
        {"退出(Z) by keys", 1, Way::Keys},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        const RECT icon = HideToTrayByButton(*program);
        ASSERT_FALSE(IsEmpty(icon));
        const HWND menu = OpenTrayMenu(*program, icon);
        ASSERT_NE(menu, nullptr);
        if (c.way == Way::Click) {
            // Two items of equal height fill the menu inside its border.
            RECT r{};
            GetWindowRect(menu, &r);
            const int height = r.bottom - r.top;
            ClickAt({(r.left + r.right) / 2, r.top + height / 4 + c.item * height / 2});
        } else {
            for (int i = 0; i <= c.item; ++i)
                PressKey(VK_DOWN);
            PressKey(VK_RETURN);
        }
        if (c.item == 0) {
            EXPECT_TRUE(WaitUntilShownWithoutIcon(Main()));
            EXPECT_TRUE(WaitUntil([&] { return TrayMenu(*program) == nullptr; }, 3s));
            EXPECT_TRUE(program->Running());
        } else {
            bool asked = false;
            EXPECT_TRUE(WaitUntil(
                [&] {
                    asked = asked || ExitQuestion(*program) != nullptr;
                    return !program->Running();
                },
                10s));
            EXPECT_FALSE(asked) << "no exit question";
            EXPECT_EQ(program->WaitForExit(5s), 0u);
            EXPECT_TRUE(WaitForIcons(0).empty()) << "the icon goes with the program";
        }
        program.reset();
    }
}

TEST_F(Tray, ADoubleClickRestoresAtTheFirstReleaseAndDoesNothingMore) {
    Start();
    RECT icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    const std::string at =
        std::to_string((icon.left + icon.right) / 2) + " " + std::to_string((icon.top + icon.bottom) / 2);
    const auto clicked = RunXdotool("mousemove " + at + " click --repeat 2 --delay 80 1");
    ASSERT_TRUE(clicked && clicked->exitCode == 0);
    ASSERT_TRUE(WaitUntilShownWithoutIcon(Main()));
    PumpMessagesFor(700ms);
    EXPECT_TRUE(IsShown(Main())) << "the second click did not hide it again";
    EXPECT_EQ(TrayMenu(*program), nullptr);

    // The icon is gone before the second click, so Wine sends no double-click notification: it is
    // sent here as the notification area would. Only a left release and the menu's buttons act.
    icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    const struct {
        const char* name;
        UINT mouse;
    } ignored[] = {{"double click", WM_LBUTTONDBLCLK},
                   {"left press", WM_LBUTTONDOWN},
                   {"move", WM_MOUSEMOVE},
                   {"right press", WM_RBUTTONDOWN},
                   {"middle release", WM_MBUTTONUP}};
    for (const auto& c : ignored) {
        SCOPED_TRACE(c.name);
        PostMessageW(Main(), kTrayMessage, 100, c.mouse);
        PumpMessagesFor(300ms);
        EXPECT_FALSE(IsShown(Main()));
        EXPECT_EQ(TrayMenu(*program), nullptr);
    }
    EXPECT_EQ(DockedTrayIcons().size(), 1u);
    // The keyboard's context-menu notification opens the menu like a right click.
    PostMessageW(Main(), kTrayMessage, 100, WM_CONTEXTMENU);
    const HWND menu =
        program->WaitForTopLevel([](HWND w) { return ClassOf(w) == L"#32768" && IsWindowVisible(w); }, 5s);
    EXPECT_NE(menu, nullptr);
    if (menu) PressKey(VK_ESCAPE);
}

// The shell sends "TaskbarCreated" to every top-level window when it starts anew (Explorer
// restarted). Wine's own notification area never goes away, so the message is sent here as the
// shell sends it, once after the icon has been lost as with a new shell and once while it is
// still there.
TEST_F(Tray, TaskbarCreatedPutsALostIconBackAndNeverAddsASecond) {
    Start();
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    const auto broadcast = [&] {
        SendNotifyMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
        PumpMessagesFor(700ms);
    };

    // Shown, there is no icon to put back.
    broadcast();
    EXPECT_TRUE(IsShown(Main()));
    EXPECT_TRUE(DockedTrayIcons().empty());

    ASSERT_FALSE(IsEmpty(HideToTrayByButton(*program)));
    NOTIFYICONDATAW lost{};
    lost.cbSize = NOTIFYICONDATAW_V1_SIZE;
    lost.hWnd = Main();
    lost.uID = 100;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost));
    ASSERT_TRUE(WaitForIcons(0).empty());
    broadcast();
    EXPECT_FALSE(IsShown(Main()));
    auto icons = WaitForIcons(1);
    ASSERT_EQ(icons.size(), 1u) << "the lost icon is back";

    // Still shown: it stays one icon, the window stays in the tray, and the icon keeps working.
    broadcast();
    broadcast();
    EXPECT_FALSE(IsShown(Main()));
    icons = WaitForIcons(1);
    ASSERT_EQ(icons.size(), 1u);
    ASSERT_TRUE(ClickTrayIcon(icons[0], MouseButton::Left));
    EXPECT_TRUE(WaitUntilShownWithoutIcon(Main())) << "the icon went with the restore";

    // And the next trip to the tray works as ever.
    const RECT icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    ASSERT_TRUE(ClickTrayIcon(icon, MouseButton::Left));
    EXPECT_TRUE(WaitUntilShownWithoutIcon(Main()));
}

// Wine's notification area takes every icon, even with no X tray at all (it then shows a tray
// window of its own). It refuses a second icon of the same window and number: that one is taken
// here by the test before the program adds its own.
TEST_F(Tray, AnIconTheNotificationAreaRefusesLeavesTheWindowOnScreen) {
    Start();
    NOTIFYICONDATAW taken{};
    taken.cbSize = NOTIFYICONDATAW_V1_SIZE;
    taken.hWnd = Main();
    taken.uID = 100;
    taken.uFlags = NIF_ICON;
    taken.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &taken));
    struct Release {
        NOTIFYICONDATAW* data;
        ~Release() { Shell_NotifyIconW(NIM_DELETE, data); }
    } release{&taken};
    ASSERT_EQ(WaitForIcons(1).size(), 1u);

    ASSERT_TRUE(BringToForeground(Main()));
    ASSERT_TRUE(Click(Control(ids::按钮1)));
    PumpMessagesFor(700ms);
    EXPECT_TRUE(IsShown(Main())) << "hidden with no icon of its own to bring it back";
    EXPECT_EQ(DockedTrayIcons().size(), 1u);

    // Once the notification area takes it, the tray works as ever.
    Shell_NotifyIconW(NIM_DELETE, &taken);
    ASSERT_TRUE(WaitForIcons(0).empty());
    const RECT icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    ASSERT_TRUE(ClickTrayIcon(icon, MouseButton::Left));
    EXPECT_TRUE(WaitUntilShownWithoutIcon(Main()));
}

TEST_F(Tray, RoundTripsLeaveNoObjectsBehind) {
    Start();
    const HANDLE process = program->ProcessHandle();
    const auto trip = [&] {
        const RECT icon = HideToTrayByButton(*program);
        return !IsEmpty(icon) && ClickTrayIcon(icon, MouseButton::Left) && WaitUntilShownWithoutIcon(Main());
    };
    // The first trip makes what the tray keeps for the rest of the run.
    ASSERT_TRUE(trip());
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const int session = WineUserObjectsInUse();
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(trip()) << "trip " << i;
    const DWORD gdiAfter = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(process, GR_USEROBJECTS);
    const int sessionAfter = WineUserObjectsInUse();
    std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, USER objects of the Wine session %d -> %d\n", gdi,
                gdiAfter, user, userAfter, session, sessionAfter);
    EXPECT_LE(gdiAfter, gdi + 10);
    EXPECT_LE(userAfter, user + 10);
    ASSERT_GE(session, 0) << "the session's USER objects could not be counted";
    EXPECT_LE(sessionAfter, session + 10);
}

// --- Boss key --------------------------------------------------------------------------------------

using BossKey = Shell;

TEST_F(BossKey, OnItHidesAndShowsAndBringsTheWindowOutOfTheTray) {
    Start(Ini("BossKey=1"));
    FocusWindow other;
    RECT place{};
    GetWindowRect(Main(), &place);

    ASSERT_TRUE(PressBossKeyAfterClickAt(BlankSpotOf(Main())));
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(Main()); }, 3s));
    EXPECT_TRUE(DockedTrayIcons().empty()) << "nothing in the notification area";
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(Main()); }, 3s));
    RECT back{};
    GetWindowRect(Main(), &back);
    EXPECT_TRUE(EqualRect(&place, &back));
    EXPECT_TRUE(DockedTrayIcons().empty());

    // A minimised window comes back minimised.
    PostMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(Main()) != FALSE; }, 3s));
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(Main()); }, 3s));
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(Main()); }, 3s));
    EXPECT_TRUE(IsIconic(Main()));
    PostMessageW(Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(Main()); }, 3s));

    // From the tray: the window comes back and the icon goes.
    ASSERT_FALSE(IsEmpty(HideToTrayByButton(*program)));
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_TRUE(WaitUntilShownWithoutIcon(Main()));
}

TEST_F(BossKey, OffItChangesNothingAndLeavesTheTrayIcon) {
    Start(Ini("BossKey=0"));
    FocusWindow other;
    ASSERT_TRUE(PressBossKeyAfterClickAt(BlankSpotOf(Main())));
    EXPECT_TRUE(IsShown(Main()));
    EXPECT_TRUE(DockedTrayIcons().empty());

    RECT icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_FALSE(IsShown(Main()));
    const auto icons = DockedTrayIcons();
    ASSERT_EQ(icons.size(), 1u) << "the icon is the way back while the key is off";
    ASSERT_TRUE(ClickTrayIcon(icons[0], MouseButton::Left));
    ASSERT_TRUE(WaitUntilShownWithoutIcon(Main()));

    // The option is read at each press: switched on in config.ini while in the tray, the next
    // press brings the window back.
    icon = HideToTrayByButton(*program);
    ASSERT_FALSE(IsEmpty(icon));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Settings", L"BossKey", L"1", program->ConfigPath().c_str()));
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_TRUE(WaitUntilShownWithoutIcon(Main()));
}

TEST_F(BossKey, TheBoxTakesEffectAtTheNextPress) {
    Start(Ini("Second1=50"));
    FocusWindow other;
    const HWND box = Control(ids::老板键);
    ASSERT_FALSE(IsChecked(box));
    ASSERT_TRUE(PressBossKeyAfterClickAt(BlankSpotOf(Main())));
    EXPECT_TRUE(IsShown(Main()));

    ASSERT_TRUE(BringToForeground(Main()));
    ASSERT_TRUE(Click(box));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(box); }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return Stored("BossKey") == "1"; }, 3s));
    ASSERT_TRUE(PressBossKeyAfterClickAt(BlankSpotOf(Main())));
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(Main()); }, 3s));
    ASSERT_TRUE(PressBossKeyAfterClickAt(other.Spot()));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(Main()); }, 3s));

    ASSERT_TRUE(BringToForeground(Main()));
    ASSERT_TRUE(Click(box));
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(box); }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return Stored("BossKey") == "0"; }, 3s));
    ASSERT_TRUE(PressBossKeyAfterClickAt(BlankSpotOf(Main())));
    EXPECT_TRUE(IsShown(Main()));
}

// --- About window ------------------------------------------------------------------------------------

using About = Shell;

HWND AboutWindow(const LumorraProcess& program) {
    return program.FindTopLevel([](HWND w) { return ClassOf(w) == kAboutClass; });
}

int AboutWindowCount(const LumorraProcess& program) {
    const auto windows = TopLevelWindowsOf(program.ProcessId());
    return static_cast<int>(
        std::count_if(windows.begin(), windows.end(), [](HWND w) { return ClassOf(w) == kAboutClass; }));
}

// Opens the about window with a real click on 按钮4; nullptr when it does not come.
HWND OpenAbout(const LumorraProcess& program) {
    const HWND button = program.Control(ids::按钮4);
    if (!BringToForeground(program.Main()) || !Reachable(button) || !Click(button)) return nullptr;
    const HWND about = program.WaitForTopLevel(
        [](HWND w) { return IsWindowVisible(w) && ClassOf(w) == kAboutClass && TitleOf(w) == kAboutTitle; }, 5s);
    if (about) PumpMessagesFor(300ms);
    return about;
}

TEST_F(About, FormPlaceFrameAndOwner) {
    Start();
    const HWND about = OpenAbout(*program);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TitleOf(about), L"Lumorra1.0");

    RECT r{};
    GetWindowRect(about, &r);
    EXPECT_EQ(r.right - r.left, 344);
    EXPECT_EQ(r.bottom - r.top, 200);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 344) / 2) << "centred on the screen, not on the main window";
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);

    const LONG_PTR style = GetWindowLongPtrW(about, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(GetMenu(about), nullptr);
    // No taskbar button: owned by an invisible window of the program, not the main window.
    const HWND owner = GetWindow(about, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_NE(owner, Main());
    EXPECT_FALSE(IsWindowVisible(owner));
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    EXPECT_EQ(ownerProcess, program->ProcessId());
    EXPECT_FALSE(GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    // The main window keeps its own.
    EXPECT_EQ(GetWindow(Main(), GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(Main(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    const struct {
        int id;
        const wchar_t* className;
        Placement place;
    } controls[] = {
        // Topmost first.
        {ids::关于按钮1, L"Button", {112, 136, 80, 32}},
        {ids::关于标签3, L"Static", {27, 104, 261, 24}},
        {ids::关于标签2, L"Static", {24, 59, 240, 24}},
        {ids::关于标签1, L"Static", {24, 24, 168, 24}},
    };
    HWND child = GetWindow(about, GW_CHILD);
    for (const auto& c : controls) {
        SCOPED_TRACE(testing::Message() << "control id " << c.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), c.id);
        EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), c.className), 0);
        EXPECT_EQ(PlacementOf(child), c.place);
        EXPECT_TRUE(IsWindowVisible(child));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no other controls";

    const HWND ok = GetDlgItem(about, ids::关于按钮1);
    EXPECT_EQ(TextOf(ok), L"OK");
    EXPECT_EQ(GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON) << "no default button";
    EXPECT_EQ(TextOf(GetDlgItem(about, ids::关于标签1)), L"本工具由Kestavin制作。");
    EXPECT_EQ(TextOf(GetDlgItem(about, ids::关于标签2)), L"如果您在使用过程中发现问题");
    const std::wstring where = TextOf(GetDlgItem(about, ids::关于标签3));
    EXPECT_EQ(where.rfind(L"请到", 0), 0u) << WideToUtf8(where);
    EXPECT_TRUE(where.size() > 13 && where.ends_with(L"中相应板块留言，谢谢！")) << WideToUtf8(where);
    for (int label : {ids::关于标签1, ids::关于标签2, ids::关于标签3})
        EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(about, label), GWL_STYLE) & SS_TYPEMASK, SS_LEFT);

    EXPECT_EQ(FocusOf(about), ok) << "OK has the focus";
    EXPECT_EQ(GetForegroundWindow(), about);
}

// Finds the close box by asking the frame what lies along its title bar.
std::optional<POINT> CloseBoxOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    for (int y = r.top + 2; y < r.top + 40; y += 2)
        for (int x = r.right - 2; x > r.right - 80; x -= 2) {
            const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) return POINT{x - 4, y + 2};
        }
    return std::nullopt;
}

TEST_F(About, ModalUntilClosedInEveryWay) {
    Start();
    enum class Way { OkClick, Space, CloseBoxClick, SystemClose, AltF4, Escape };
    const struct {
        const char* name;
        Way way;
    } cases[] = {{"OK clicked", Way::OkClick},
                 {"Space on OK", Way::Space},
                 {"close box", Way::CloseBoxClick},
                 {"system menu's Close", Way::SystemClose},
                 {"Alt+F4", Way::AltF4},
                 {"Esc", Way::Escape}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Opened by a real click each time: the main window is usable again after each close.
        const HWND about = OpenAbout(*program);
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(IsWindowEnabled(Main()));
        ASSERT_TRUE(BringToForeground(about));
        switch (c.way) {
        case Way::OkClick:
            Click(GetDlgItem(about, ids::关于按钮1));
            break;
        case Way::Space:
            PressKey(VK_SPACE);
            break;
        case Way::CloseBoxClick: {
            const auto box = CloseBoxOf(about);
            ASSERT_TRUE(box.has_value()) << "no close box";
            ClickAt(*box);
            break;
        }
        case Way::SystemClose:
            PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Way::AltF4:
            PressKey(VK_F4, kAlt);
            break;
        case Way::Escape:
            PressKey(VK_ESCAPE);
            break;
        }
        EXPECT_TRUE(WaitUntil([&] { return AboutWindow(*program) == nullptr; }, 5s));
        EXPECT_TRUE(IsWindowEnabled(Main()));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); }, 3s)) << "activation comes back";
        EXPECT_TRUE(program->Running());
        EXPECT_EQ(ExitQuestion(*program), nullptr);
    }
}

TEST_F(About, KeepsTheMainWindowFromInputAndStaysSingle) {
    Start();
    const HWND about = OpenAbout(*program);
    ASSERT_NE(about, nullptr);

    // Enter and Shift+Esc do not close it.
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE, kShift);
    PumpMessagesFor(500ms);
    EXPECT_EQ(AboutWindow(*program), about);

    // Clicks on the main window do nothing: neither a trip to the tray nor a second about window.
    ClickAt(CentreOf(Control(ids::按钮1)));
    ClickAt(CentreOf(Control(ids::按钮4)));
    PumpMessagesFor(700ms);
    EXPECT_TRUE(IsShown(Main()));
    EXPECT_TRUE(DockedTrayIcons().empty());
    EXPECT_EQ(AboutWindowCount(*program), 1);

    // Activating the main window activates the about window instead. (Wine's X focus events
    // follow a change of the foreground window a little later, and can undo a newer change: each
    // change is let settle first.)
    FocusWindow other;
    ASSERT_TRUE(BringToForeground(other.Get()));
    PumpMessagesFor(300ms);
    SetForegroundWindow(Main());
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }, 3s));

    // Asked to open again while open, it comes to the front and no second one is built.
    ASSERT_TRUE(BringToForeground(other.Get()));
    PumpMessagesFor(300ms);
    ASSERT_EQ(GetForegroundWindow(), other.Get());
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::按钮4, BN_CLICKED), reinterpret_cast<LPARAM>(Control(ids::按钮4)));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }, 3s));
    PumpMessagesFor(300ms);
    EXPECT_EQ(AboutWindowCount(*program), 1);
    EXPECT_EQ(AboutWindow(*program), about);

    // One OK closes it, and the main window takes clicks again.
    ASSERT_TRUE(BringToForeground(about));
    Click(GetDlgItem(about, ids::关于按钮1));
    ASSERT_TRUE(WaitUntil([&] { return AboutWindowCount(*program) == 0; }, 5s));
    EXPECT_TRUE(IsWindowEnabled(Main()));
    EXPECT_FALSE(IsEmpty(HideToTrayByButton(*program)));
}

TEST_F(About, TheCycleKeepsFetchingPagesWhileItIsOpen) {
    LoopbackServer server;
    ASSERT_NE(server.Port(), 0) << server.Error();
    Start(Ini("Autorun=1\r\nSecond1=1\r\nSecond2=1", "URL=" + server.Url("/a") + "*" + server.Url("/b")));
    const HWND about = OpenAbout(*program);
    ASSERT_NE(about, nullptr);
    server.Clear();
    const auto seen = [&](const char* path) {
        const auto paths = server.Paths();
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
    EXPECT_TRUE(WaitUntil([&] { return seen("/a") && seen("/b"); }, 10s))
        << server.RequestCount() << " requests while the about window was open";
    EXPECT_EQ(AboutWindow(*program), about) << "still open";
}

// --- The boss key and the about window ---------------------------------------------------------------

TEST_F(BossKey, HidesOnlyTheMainWindowAndLeavesTheAboutWindow) {
    Start(Ini("BossKey=1"));
    const HWND about = OpenAbout(*program);
    ASSERT_NE(about, nullptr);
    RECT place{};
    GetWindowRect(about, &place);
    POINT blank{310, 20}; // right of the labels
    ClientToScreen(about, &blank);
    ASSERT_TRUE(PressBossKeyAfterClickAt(blank));
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(Main()); }, 3s));
    EXPECT_TRUE(IsWindowVisible(about));
    ASSERT_TRUE(PressBossKeyAfterClickAt(blank));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(Main()); }, 3s));
    EXPECT_TRUE(IsWindowVisible(about));
    RECT still{};
    GetWindowRect(about, &still);
    EXPECT_TRUE(EqualRect(&place, &still));
    EXPECT_FALSE(IsWindowEnabled(Main())) << "still modal";
    EXPECT_TRUE(DockedTrayIcons().empty());
}

// Held down, the key's auto-repeat toggles again at every repeat (X repeats at 25 a second after
// 660 ms here). The about window holds the X focus throughout, so every repeat reaches Wine: the
// main window, disabled while it is open, hands activation straight back to it when shown.
TEST_F(BossKey, HeldDownItTogglesAtEveryRepeat) {
    Start(Ini("BossKey=1"));
    const HWND about = OpenAbout(*program);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(BringToForeground(about));
    // Counted on a thread of its own: the changes come 40 ms apart while this one waits for the key.
    std::atomic<bool> done{false};
    std::atomic<int> changes{0};
    const HWND main = Main();
    std::thread watcher([&] {
        bool shown = IsShown(main);
        while (!done) {
            if (IsShown(main) != shown) {
                shown = !shown;
                ++changes;
            }
            Sleep(1);
        }
    });
    const auto held = RunUnix("xdotool keydown alt+F1; sleep 1.5; xdotool keyup alt+F1");
    PumpMessagesFor(500ms);
    done = true;
    watcher.join();
    ASSERT_TRUE(held && held->exitCode == 0);
    std::printf("%d changes while Alt+F1 was held for 1.5 s\n", changes.load());
    EXPECT_GE(changes, 10) << "the press and the repeats of most of a second";
    EXPECT_EQ(IsShown(main), changes % 2 == 0) << "every change seen";
    EXPECT_TRUE(IsWindowVisible(about));
}

} // namespace
} // namespace lumorra::test
