// The main window: building the form, the engine's controls by name, events, layout and keys.
#include "shell/MainWindow.h"

#include "engine/ControlNames.h"
#include "engine/Texts.h"
#include "resources/FormTexts.h"
#include "resources/resource.h"
#include "shell/AboutWindow.h"
#include "shell/BossKey.h"
#include "shell/ControlIds.h"
#include "shell/Exit.h"
#include "shell/Gbk.h"
#include "shell/MainForm.h"

#include <commctrl.h>

#include <algorithm>

namespace lumorra::shell {
namespace {

constexpr wchar_t kClassName[] = L"LumorraMainWindow";
constexpr int kMaxMeasure = 32627; // places and sizes are held within this bound
constexpr UINT kDestroyRequest = WM_APP + 1;

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

int FunctionKeys() {
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return (down(VK_CONTROL) ? 1 : 0) + (down(VK_SHIFT) ? 2 : 0) + (down(VK_MENU) ? 4 : 0);
}

struct KindStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

KindStyle StyleOf(const ControlSpec& spec) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD centre = spec.align == Align::Centre ? SS_CENTER : SS_LEFT;
    switch (spec.kind) {
    case Kind::EditBox:
    case Kind::WholeNumberEditBox:
        return {WC_EDITW, child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::MultiLineEditBox:
        return {WC_EDITW,
                child | WS_TABSTOP | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                    WS_HSCROLL | WS_VSCROLL,
                WS_EX_CLIENTEDGE};
    case Kind::Label:
        return {WC_STATICW, child | centre | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case Kind::Button:
        return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0};
    case Kind::CheckBox:
        return {WC_BUTTONW, child | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE | BS_VCENTER, 0};
    // Its controls are its children: clip them so the frame does not paint over them.
    case Kind::GroupBox:
        return {WC_BUTTONW, child | BS_GROUPBOX | WS_CLIPCHILDREN, 0};
    case Kind::Spin:
        return {UPDOWN_CLASSW, child, 0};
    case Kind::HtmlViewer:
        break;
    }
    return {WC_STATICW, child, 0};
}

bool IsEditBox(Kind kind) {
    return kind == Kind::EditBox || kind == Kind::MultiLineEditBox || kind == Kind::WholeNumberEditBox;
}

// A one-line box lower than a line of its font plus the 3D edges is made that high.
int EditHeight(HWND box, HFONT font, int height) {
    HDC dc = GetDC(box);
    if (!dc) return height;
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return std::max(height, static_cast<int>(metrics.tmHeight) + 2 * GetSystemMetrics(SM_CYEDGE));
}

void SetWidthOf(HWND control, int width) {
    RECT r{};
    GetWindowRect(control, &r);
    SetWindowPos(control, nullptr, 0, 0, std::clamp(width, 0, kMaxMeasure), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetHeightOf(HWND control, int height) {
    RECT r{};
    GetWindowRect(control, &r);
    SetWindowPos(control, nullptr, 0, 0, r.right - r.left, std::clamp(height, 0, kMaxMeasure),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetLeftOf(HWND control, int left) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, std::clamp(left, -kMaxMeasure, kMaxMeasure), r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

MainWindow::MainWindow(const std::filesystem::path& directory) : engine_(*this, Settings(directory)) {}

MainWindow::~MainWindow() {
    tray_.reset();
    webView_.reset();
    if (window_) DestroyWindow(window_);
}

bool MainWindow::Open(HINSTANCE instance) {
    if (!Build(instance)) {
        // A half-built window goes at once, quietly: the error box comes next.
        tray_.reset();
        webView_.reset();
        if (window_) DestroyWindow(window_);
        return false;
    }
    built_ = true;
    InitMainWindow();
    if (!IsWindow(window_)) return true;
    LayOut(); // the moved event has no handler; the size-changed event lays the window out
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    return true;
}

bool MainWindow::Build(HINSTANCE instance) {
    largeIcon_.reset(static_cast<HICON>(LoadImageW(instance, LUMORRA_ICON_NAME, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                   GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageW(instance, LUMORRA_ICON_NAME, IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = largeIcon_.get();
    windowClass.hIconSm = smallIcon_.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    // Centred on the whole screen; the division cuts toward zero.
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kMainHeight) / 2;
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    if (!CreateWindowExW(0, kClassName, texts::ui::kMainTitle, style, left, top, kMainWidth, kMainHeight, nullptr,
                         nullptr, instance, this))
        return false;
#ifdef LUMORRA_TEST_FAIL_FORM
    // A build for the tests of the fatal start-up error: its form cannot be built.
    return false;
#endif
    if (!CreateControls(instance)) return false;
    systemMenu_.reset(CreatePopupMenu());
    if (!systemMenu_) return false;
    AppendMenuW(systemMenu_.get(), MF_STRING, ids::菜单显示, texts::ui::kMenuShow);
    AppendMenuW(systemMenu_.get(), MF_STRING, ids::菜单退出, texts::ui::kMenuExit);
    tray_ = std::make_unique<Tray>(window_, systemMenu_.get());
    return true;
}

bool MainWindow::CreateControls(HINSTANCE instance) {
    for (const ControlSpec& spec : kMainForm) {
        const HWND parent = spec.parent.empty() ? window_ : WindowOf(spec.parent);
        const HWND control = parent ? CreateControl(instance, spec, parent) : nullptr;
        if (!control) return false;
        controls_.emplace(std::string(spec.name), Control{&spec, control});
    }
    ApplyStacking();
    return true;
}

HWND MainWindow::CreateControl(HINSTANCE instance, const ControlSpec& spec, HWND parent) {
    const Box& box = spec.place;
    if (spec.kind == Kind::HtmlViewer) {
        webView_ = platform::WebView::Create(
            parent, RECT{box.left, box.top, box.left + box.width, box.top + box.height}, spec.id);
        return webView_ ? webView_->Window() : nullptr;
    }
    const KindStyle kind = StyleOf(spec);
    const HWND control =
        CreateWindowExW(kind.exStyle, kind.className, spec.text, kind.style, box.left, box.top, box.width, box.height,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (!control) return nullptr;
    const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (IsEditBox(spec.kind)) {
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0); // no length limit
        if (spec.kind != Kind::MultiLineEditBox) {
            const int height = EditHeight(control, font, box.height);
            if (height != box.height) SetHeightOf(control, height);
        }
    }
    const auto self = reinterpret_cast<DWORD_PTR>(this);
    switch (spec.kind) {
    case Kind::GroupBox:
        SetWindowSubclass(control, &MainWindow::GroupBoxProc, 0, self);
        break;
    case Kind::WholeNumberEditBox:
        SetWindowSubclass(control, &MainWindow::RangeBoxProc, 0, self);
        break;
    case Kind::EditBox:
        SetWindowSubclass(control, &MainWindow::AddressBarProc, 0, self);
        break;
    case Kind::Spin: {
        // No range of its own matters: it sits mid-range and every step is refused, so it only
        // reports directions. One step per repeat, whatever the speed.
        SendMessageW(control, UDM_SETRANGE32, 0, 100);
        SendMessageW(control, UDM_SETPOS32, 0, 50);
        UDACCEL accel{0, 1};
        SendMessageW(control, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
        break;
    }
    default:
        break;
    }
    return control;
}

void MainWindow::ApplyStacking() {
    // The form lists each parent's controls topmost first: sending each to the bottom in turn
    // leaves the first on top.
    for (const ControlSpec& spec : kMainForm)
        SetWindowPos(WindowOf(spec.name), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// --- The window procedure -----------------------------------------------------------------------

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == Tray::TaskbarCreatedMessage() && tray_) {
        tray_->OnTaskbarCreated();
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
        if (wParam == static_cast<WPARAM>(ids::时钟1)) engine_.CountDown();
        return 0;
    case WM_SIZE:
        if (built_) LayOut();
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        if (AllowClose()) DestroyWindow(window_);
        return 0;
    case WM_QUERYENDSESSION:
        return AllowClose() ? TRUE : FALSE;
    case WM_HOTKEY:
        return 0; // the boss key's procedure has run the toggle already
    case kDestroyRequest:
        DestroyWindow(window_);
        return 0;
    case kTrayMessage:
        if (tray_) tray_->OnTrayEvent(Tray::TrayEventFor(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(window_, ids::时钟1);
        if (tray_) tray_->RemoveTrayIcon();
        webView_.reset();
        // Only an opened window ends the loop; a half-built one must leave the error box alone.
        if (built_) PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        window_ = nullptr;
        built_ = false;
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::GroupBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    // The group box is the parent of its controls; their notifications belong to the main window.
    switch (message) {
    case WM_ERASEBKGND: {
        // A group box leaves its inside to its parent, which clips its children: paint it here.
        RECT inside{};
        GetClientRect(box, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return SendMessageW(reinterpret_cast<MainWindow*>(self)->window_, message, wParam, lParam);
    default:
        return DefSubclassProc(box, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindow::RangeBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    if (message == WM_CHAR && !AcceptsTypedChar(static_cast<std::uint32_t>(wParam))) return 0; // dropped silently
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_KILLFOCUS) reinterpret_cast<MainWindow*>(self)->NormaliseRangeBox(box);
    return result;
}

LRESULT CALLBACK MainWindow::AddressBarProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: // Alt+Enter comes this way
        reinterpret_cast<MainWindow*>(self)->engine_.VisitTypedAddress(static_cast<int>(wParam), FunctionKeys());
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        // A one-line box has no use for Enter's character; passed on, it only beeps.
        if (wParam == L'\r' || wParam == L'\n') return 0;
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// --- Events ---------------------------------------------------------------------------------------

void MainWindow::InitMainWindow() {
    RegisterBossKey(window_, MOD_ALT, VK_F1, &MainWindow::BossKeyToggle);
    BossToggleDone = 1;
    SetTimer(window_, ids::时钟1, 1000, nullptr);
    engine_.ApplyStoredSettings([this] { tray_->HideToTray(); });
}

void MainWindow::ReapplyTrayOption() {
    if (engine_.TrayOptionOn()) tray_->HideToTray();
}

void MainWindow::OnCommand(int id, int code) {
    if (!built_) return;
    if (id == ids::菜单显示) return tray_->RestoreFromTray();
    if (id == ids::菜单退出) return DestroyMainWindow();
    const Control* control = nullptr;
    for (const auto& [name, c] : controls_)
        if (c.spec->id == id) control = &c;
    if (!control) return;
    const std::string_view name = control->spec->name;
    if (code == EN_CHANGE && suppressChange_ == 0) return engine_.OnTextChanged(name);
    if (code != BN_CLICKED) return;
    if (name == names::按钮1) return tray_->HideToTray();
    if (name == names::按钮2) return QuitWithConfirm();
    if (name == names::按钮4) return AboutWindow::Open(window_);
    engine_.OnClicked(name); // 按钮3 and the three option boxes
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.code != UDN_DELTAPOS) return 0;
    const auto& step = reinterpret_cast<const NMUPDOWN&>(header);
    const int direction = step.iDelta > 0 ? 1 : -1;
    if (header.idFrom == static_cast<UINT_PTR>(ids::调节器1))
        engine_.StepLowerEnd(direction);
    else if (header.idFrom == static_cast<UINT_PTR>(ids::调节器2))
        engine_.StepUpperEnd(direction);
    return TRUE; // the spinner's own position never moves
}

void MainWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        return;
    }
    if (AboutWindow::IsOpen()) return AboutWindow::BringToFront();
    if (HIWORD(wParam)) return; // minimised: no focus to give
    const HWND target =
        lastFocus_ && IsWindow(lastFocus_) && IsChild(window_, lastFocus_) ? lastFocus_ : WindowOf(names::列表);
    SetFocus(target);
    if (!activatedOnce_) {
        activatedOnce_ = true;
        ReapplyTrayOption();
    }
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
    const Control* c = Find(control);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, c ? c->spec->textColour : RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool MainWindow::AllowClose() {
    return ConfirmExit();
}

void MainWindow::DestroyMainWindow() {
    // Destroyed when the loop next runs, after the handler that asked; no question is asked.
    PostMessageW(window_, kDestroyRequest, 0, 0);
}

void MainWindow::QuitWithConfirm() {
    if (ConfirmExit()) EndProgram(tray_.get());
}

void MainWindow::LayOut() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWidthOf(WindowOf(names::列表), width - 300);
    SetWidthOf(WindowOf(names::编辑框1), width - 300);
    SetLeftOf(WindowOf("分组框1"), width - 270);
    SetWidthOf(WindowOf(names::超文本浏览框1), width - 20);
    SetHeightOf(WindowOf(names::超文本浏览框1), height - 260);
}

void MainWindow::BossKeyToggle(HWND window) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->built_) self->OnBossKeyPressed();
}

void MainWindow::OnBossKeyPressed() {
    if (!engine_.settings().OptionOn(keys::kBossKey)) {
        // With the option off a press changes nothing: the tray icon, if shown, is the way back.
        return;
    }
    BossToggleDone = 0;
    if (!HasVisibleStyle(window_) && BossToggleDone == 0) {
        ShowWindow(window_, SW_SHOW);
        BossToggleDone = 1;
    }
    if (HasVisibleStyle(window_) && BossToggleDone == 0) {
        ShowWindow(window_, SW_HIDE);
        BossToggleDone = 1;
    }
    tray_->RemoveTrayIcon();
}

void MainWindow::NormaliseRangeBox(HWND box) {
    const Control* control = Find(box);
    if (!control || !built_) return;
    const NormalisedRange normal = NormaliseRangeText(Text(control->spec->name));
    if (!normal.changed) return;
    DWORD selectionStart = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    SetText(control->spec->name, normal.text);
    SendMessageW(box, EM_SETSEL, selectionStart, selectionStart);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

// --- Keys -----------------------------------------------------------------------------------------

bool MainWindow::PreTranslate(MSG& message) {
    if (!built_ || !(message.hwnd == window_ || IsChild(window_, message.hwnd))) return false;
    const HWND view = webView_ ? webView_->Window() : nullptr;
    const bool inView = view && (message.hwnd == view || IsChild(view, message.hwnd));
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        // The browser, when it has the focus, sees keys first and may take them itself.
        if (inView && webView_->TranslateAccelerator(&message)) return true;
        const int keys = FunctionKeys();
        if (message.wParam == VK_TAB && (keys & ~2) == 0) {
            MoveFocus(keys & 2 ? -1 : 1);
            return true;
        }
        if (message.wParam == VK_ESCAPE && keys == 0) {
            SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); // exactly as the close box
            return true;
        }
        return false;
    }
    return inView && webView_->TranslateAccelerator(&message);
}

void MainWindow::MoveFocus(int step) {
    const HWND focus = GetFocus();
    const int count = static_cast<int>(kMainFocusCycle.size());
    int at = -1;
    for (int i = 0; i < count && at < 0; ++i) {
        const HWND candidate = WindowOf(kMainFocusCycle[static_cast<std::size_t>(i)]);
        if (candidate == focus || IsChild(candidate, focus)) at = i;
    }
    if (at < 0) at = step > 0 ? count - 1 : 0;
    for (int n = 1; n <= count; ++n) {
        const int next = ((at + step * n) % count + count) % count;
        const HWND candidate = WindowOf(kMainFocusCycle[static_cast<std::size_t>(next)]);
        if (IsWindowVisible(candidate) && IsWindowEnabled(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
}

// --- Controls by name -------------------------------------------------------------------------------

const MainWindow::Control* MainWindow::Find(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

const MainWindow::Control* MainWindow::Find(HWND window) const {
    for (const auto& [name, control] : controls_)
        if (control.window == window) return &control;
    return nullptr;
}

HWND MainWindow::WindowOf(std::string_view name) const {
    const Control* control = Find(name);
    return control ? control->window : nullptr;
}

std::string MainWindow::Text(std::string_view control) const {
    const HWND box = WindowOf(control);
    if (!box) return {};
    const std::wstring shown = WindowText(box);
    const auto written = written_.find(box);
    if (written != written_.end() && written->second.wide == shown) return written->second.gbk;
    return WideToGbk(shown);
}

void MainWindow::SetText(std::string_view control, std::string_view text) {
    const HWND box = WindowOf(control);
    if (!box) return;
    std::wstring wide = GbkToWide(text);
    ++suppressChange_;
    SetWindowTextW(box, wide.c_str());
    --suppressChange_;
    written_[box] = WrittenText{std::string(text), WindowText(box)};
    // Exactly one text-change event per write, whether or not the box itself reported one.
    engine_.OnTextChanged(control);
}

std::string MainWindow::Caption(std::string_view control) const {
    const HWND window = WindowOf(control);
    return window ? WideToGbk(WindowText(window)) : std::string();
}

void MainWindow::SetCaption(std::string_view control, std::string_view caption) {
    if (const HWND window = WindowOf(control)) SetWindowTextW(window, GbkToWide(caption).c_str());
}

bool MainWindow::Ticked(std::string_view control) const {
    const HWND box = WindowOf(control);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetTicked(std::string_view control, bool ticked) {
    if (const HWND box = WindowOf(control)) SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::SetUrl(std::string_view control, std::string_view url) {
    if (webView_ && control == names::超文本浏览框1) webView_->Navigate(GbkToWide(url));
}

void MainWindow::SetSilent(std::string_view control, bool silent) {
    if (webView_ && control == names::超文本浏览框1) webView_->SetSilent(silent);
}

} // namespace lumorra::shell
