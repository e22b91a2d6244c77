// Hiding the main window to the notification area and bringing it back.
#include "shell/Tray.h"

#include "resources/FormTexts.h"
#include "resources/resource.h"

#include <shellapi.h>

#include <cwchar>

namespace lumorra::shell {
namespace {

UniqueIcon LoadTrayImage() {
    // Without LR_SHARED every call gives a new handle of our own, destroyed when it is replaced.
    return UniqueIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), LUMORRA_ICON_NAME, IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}

} // namespace

Tray::Tray(HWND window, HMENU systemMenu) : window_(window), systemMenu_(systemMenu) {}

Tray::~Tray() {
    RemoveTrayIcon();
}

NOTIFYICONDATAW Tray::Record() const {
    NOTIFYICONDATAW record{};
    // The first version of the record: every system takes it, and it carries all we set.
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window_;
    record.uID = kTrayIconId;
    std::wcsncpy(record.szTip, texts::ui::kTrayTip, 63);
    record.szTip[63] = L'\0';
    return record;
}

void Tray::ShowTrayIcon() {
    UniqueIcon image = LoadTrayImage();
    if (!image) {
        RemoveTrayIcon();
        return;
    }
    NOTIFYICONDATAW record = Record();
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.hIcon = image.get();
    record.uCallbackMessage = kTrayMessage;
    if (icon_) {
        Shell_NotifyIconW(NIM_MODIFY, &record);
        icon_ = std::move(image); // the previous image is destroyed here
        return;
    }
    if (!Shell_NotifyIconW(NIM_ADD, &record)) {
        // The notification area refused the icon: a hidden window without an icon would be out of
        // reach, so it stays on screen instead.
        ShowWindow(window_, SW_SHOW);
        return;
    }
    icon_ = std::move(image);
}

void Tray::RemoveTrayIcon() {
    if (!icon_) return;
    NOTIFYICONDATAW record = Record();
    Shell_NotifyIconW(NIM_DELETE, &record);
    icon_.reset();
}

void Tray::HideToTray() {
    if (!HasVisibleStyle(window_)) return;
    ShowWindow(window_, SW_HIDE);
    ShowTrayIcon();
}

void Tray::RestoreFromTray() {
    ShowWindow(window_, SW_SHOW);
    RemoveTrayIcon();
}

void Tray::PopUpTrayMenu() {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return;
    const int items = GetMenuItemCount(systemMenu_);
    for (int i = 0; i < items; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(systemMenu_, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        AppendMenuW(popup.get(), MF_STRING, GetMenuItemID(systemMenu_, i), text);
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    // The menu closes properly only when its owner is the foreground window while it tracks, and
    // the WM_NULL after it makes the next pop-up work at the first click.
    SetForegroundWindow(window_);
    TrackPopupMenu(popup.get(), TPM_RIGHTALIGN, pointer.x - 5, pointer.y - 5, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
}

void Tray::OnTrayEvent(int event) {
    if (event == 1)
        RestoreFromTray();
    else if (event == 3)
        PopUpTrayMenu();
}

int Tray::TrayEventFor(LPARAM mouseMessage) {
    switch (LOWORD(mouseMessage)) {
    case WM_LBUTTONUP:
        return 1;
    case WM_LBUTTONDBLCLK:
        return 2;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        return 3;
    default:
        return 0;
    }
}

void Tray::OnTaskbarCreated() {
    if (!icon_) return;
    // A new taskbar has lost the icon and takes the add. One that still shows it refuses a second
    // add of the same window and number; the icon is then kept as it is, with its image.
    NOTIFYICONDATAW record = Record();
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.hIcon = icon_.get();
    record.uCallbackMessage = kTrayMessage;
    if (Shell_NotifyIconW(NIM_ADD, &record) || Shell_NotifyIconW(NIM_MODIFY, &record)) return;
    // The notification area takes the icon neither way: the window comes back instead of staying
    // hidden out of reach.
    icon_.reset();
    ShowWindow(window_, SW_SHOW);
}

UINT Tray::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

} // namespace lumorra::shell
