// The main window: built from its form, it is the engine's window (Controls by name), binds every
// control event to the engine or the shell, lays itself out at each size change and applies the
// window's own key rules. The tray, the boss key and the about window live in their own files.
#pragma once

#include "engine/Controls.h"
#include "engine/Engine.h"
#include "platform/WebView.h"
#include "shell/Form.h"
#include "shell/Handles.h"
#include "shell/Tray.h"

#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace lumorra::shell {

class MainWindow final : public Controls {
  public:
    // The refresh state exists from here on; the window does not yet.
    explicit MainWindow(const std::filesystem::path& directory);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds the window hidden, centred on the screen, with every control of the form, then runs
    // its creation event, its moved and size-changed events, and shows and activates it.
    // False when the window or one of its controls cannot be created.
    bool Open(HINSTANCE instance);

    HWND Window() const { return window_; }

    // The window's own key rules and the web view's turn at keys, for the message loop.
    // True when the message was taken and must not be dispatched.
    bool PreTranslate(MSG& message);

    // Controls: the engine's view of the window.
    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, std::string_view text) override;
    std::string Caption(std::string_view control) const override;
    void SetCaption(std::string_view control, std::string_view caption) override;
    bool Ticked(std::string_view control) const override;
    void SetTicked(std::string_view control, bool ticked) override;
    void SetUrl(std::string_view control, std::string_view url) override;
    void SetSilent(std::string_view control, bool silent) override;

  private:
    struct Control {
        const ControlSpec* spec;
        HWND window;
    };
    // The last text the program wrote into an edit box, as bytes and as shown: reading it back
    // gives the very bytes written, even those code page 936 cannot show.
    struct WrittenText {
        std::string gbk;
        std::wstring wide;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GroupBoxProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK RangeBoxProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK AddressBarProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static void BossKeyToggle(HWND window);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Build(HINSTANCE instance);
    bool CreateControls(HINSTANCE instance);
    HWND CreateControl(HINSTANCE instance, const ControlSpec& spec, HWND parent);
    void ApplyStacking();

    // Events.
    void InitMainWindow();
    void ReapplyTrayOption();
    void OnCommand(int id, int code);
    LRESULT OnNotify(const NMHDR& header);
    void OnActivate(WPARAM wParam);
    LRESULT OnControlColour(HDC dc, HWND control);
    bool AllowClose();
    void DestroyMainWindow();
    void QuitWithConfirm();
    void LayOut();
    void OnBossKeyPressed();

    void NormaliseRangeBox(HWND box);
    void MoveFocus(int step);

    const Control* Find(std::string_view name) const;
    const Control* Find(HWND window) const;
    HWND WindowOf(std::string_view name) const;

    Engine engine_;
    HWND window_ = nullptr;
    std::map<std::string, Control, std::less<>> controls_;
    std::map<HWND, WrittenText> written_;
    std::unique_ptr<platform::WebView> webView_;
    UniqueMenu systemMenu_; // the hidden menu 系统, shown only as the tray pop-up
    std::unique_ptr<Tray> tray_;
    UniqueIcon largeIcon_, smallIcon_;
    HWND lastFocus_ = nullptr;
    int suppressChange_ = 0; // program writes raise the text-change handler themselves, once
    bool built_ = false;
    bool activatedOnce_ = false;
};

} // namespace lumorra::shell
