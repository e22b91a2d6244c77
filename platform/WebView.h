// The embedded web view: a child window that hosts the system's WebBrowser control and lets the
// program load addresses and switch the engine's own dialog boxes off. It reads nothing back and
// handles none of the browser's events, so the engine's defaults govern links, new windows and downloads.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace lumorra::platform {

class WebView {
  public:
    // Creates the view's own child window (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, with
    // `controlId` as its control id) in `parent` at `rect`, and in it the WebBrowser control, in-place
    // active and filling the window's client area. Returns nullptr only when the child window cannot
    // be created. When the browser control cannot be created the window still stands and Navigate and
    // SetSilent do nothing, so the program keeps working without pages.
    // The thread must have called OleInitialize.
    static std::unique_ptr<WebView> Create(HWND parent, const RECT& rect, int controlId);

    // Takes the browser down (InPlaceDeactivate, Close, SetClientSite(nullptr), Release) while its
    // windows still exist, then destroys the child window. Destroying the parent window first is
    // fine too: the child window takes the browser down itself at its WM_DESTROY.
    ~WebView();

    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    // The child window. Move or resize it with SetWindowPos; the browser follows at every WM_SIZE.
    // Focus given to it passes on to the browser. A window with the focus "inside the view" is this
    // window or one of its descendants (IsChild).
    HWND Window() const;

    bool HasBrowser() const;

    // Starts loading `url` and returns at once; the outcome is not looked at. The text is passed as it
    // stands, an empty one included, and the same address twice loads the page anew.
    void Navigate(const std::wstring& url);

    // While true the engine shows none of its own dialog boxes.
    void SetSilent(bool silent);

    // For the message loop, after the window's own key rules (Tab, Esc) have had their turn: lets the
    // in-place active browser see a key message first when it is meant for a window inside the view.
    // Returns true when the browser took the message, which must then not be dispatched.
    // <windows.h> renames this member to TranslateAcceleratorW or ...A by UNICODE, so every file that
    // uses it must agree with this library on UNICODE.
    bool TranslateAccelerator(MSG* msg);

  private:
    struct Browser;

    WebView();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSize();
    void OnSetFocus();
    void ReleaseBrowser();

    HWND window_ = nullptr;
    std::unique_ptr<Browser> browser_;
    bool passingFocus_ = false;
};

} // namespace lumorra::platform
