// The web view's window and the small OLE container that keeps the WebBrowser control in-place active in it.
// No document-host customisation (context menu, borders, scripting) and no browser events: the engine's defaults stand.
#include "platform/WebView.h"

#include <exdisp.h>
#include <ole2.h>
#include <wrl/client.h>

#include <climits>
#include <new>

namespace lumorra::platform {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kClassName[] = L"LumorraWebView";

// The browser's magnification steps run 0 to 4; 2 is the middle, normal size.
constexpr LONG kFontSize = 2;

// The client site, in-place site and in-place frame in one object, since the browser needs all three
// and none of them carries state beyond the host window. It owns nothing of the browser, so no cycle
// of references keeps either alive; the browser's references keep it alive for as long as it calls in.
class Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
  public:
    explicit Site(HWND host) : host_(host) {}

    // Late calls from a browser that has not yet dropped its references must not reach a dead window.
    void Detach() { host_ = nullptr; }

    // IUnknown. The browser lives on the window's single-threaded apartment, so a plain count suffices.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IOleClientSite)) {
            *object = static_cast<IOleClientSite*>(this);
        } else if (iid == __uuidof(IOleWindow) || iid == __uuidof(IOleInPlaceSite)) {
            *object = static_cast<IOleInPlaceSite*>(this);
        } else if (iid == __uuidof(IOleInPlaceUIWindow) || iid == __uuidof(IOleInPlaceFrame)) {
            *object = static_cast<IOleInPlaceFrame*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IOleClientSite: the browser is never saved, linked or given a container.
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker != nullptr) {
            *moniker = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        if (container != nullptr) {
            *container = nullptr;
        }
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, shared by the site and the frame: both are the view's window, which keeps the
    // browser's menus and borders out of the main window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr) {
            return E_POINTER;
        }
        *window = host_;
        return host_ != nullptr ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite.
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return host_ != nullptr ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override {
        if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || frameInfo == nullptr) {
            return E_POINTER;
        }
        *frame = nullptr;
        *document = nullptr; // no separate document window: the frame plays that part
        if (host_ == nullptr || !GetClientRect(host_, position)) {
            return E_FAIL;
        }
        *clip = *position;
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = host_;
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    // The view alone decides the browser's place: it always fills the client area.
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no toolbars, menus or status bar to share.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override {
        return widths == nullptr ? S_OK : INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  private:
    ~Site() = default;

    // Born unowned: the first ComPtr takes the first reference (see Browser::Activate).
    ULONG references_ = 0;
    HWND host_;
};

struct BstrFree {
    void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFree>;

HINSTANCE ThisModule() {
    // The module that holds this code, which is also right should the library ever live in a DLL.
    static const char marker = 0;
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&marker), &module)) {
        return GetModuleHandleW(nullptr);
    }
    return module;
}

VARIANT IntVariant(LONG value) {
    VARIANT variant;
    VariantInit(&variant);
    V_VT(&variant) = VT_I4;
    V_I4(&variant) = value;
    return variant;
}

VARIANT NullStringVariant() {
    VARIANT variant;
    VariantInit(&variant);
    V_VT(&variant) = VT_BSTR;
    V_BSTR(&variant) = nullptr;
    return variant;
}

bool RegisterViewClass(HINSTANCE module, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    // IDC_ARROW is a resource number, typed narrow or wide by UNICODE.
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // Shows where pages would be while no browser covers the area.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

// The browser's interfaces, all taken from one object, and our own reference to the site; the
// browser holds references of its own to the site while it is attached.
struct WebView::Browser {
    ComPtr<Site> site;
    ComPtr<IOleObject> object;
    ComPtr<IOleInPlaceObject> inPlace;
    ComPtr<IOleInPlaceActiveObject> active;
    ComPtr<IWebBrowser2> web;

    static std::unique_ptr<Browser> Embed(HWND host) {
        std::unique_ptr<Browser> browser(new (std::nothrow) Browser);
        if (!browser) {
            return nullptr;
        }
        if (!browser->Activate(host)) {
            browser->TakeDown();
            return nullptr;
        }
        browser->ApplyDefaults();
        return browser;
    }

    bool Activate(HWND host) {
        // Assigned, not attached: mingw-w64's ComPtr::Attach adds a reference where MSVC's does not,
        // so only an object born with no references is counted right by both.
        site = new (std::nothrow) Site(host);
        if (!site) {
            return false;
        }
        if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(object.GetAddressOf())))) {
            return false;
        }
        // The site must be known before activation: the browser asks it for its window and place.
        if (FAILED(object->SetClientSite(site.Get()))) {
            return false;
        }
        RECT area{};
        if (!GetClientRect(host, &area)) {
            return false;
        }
        if (FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, host, &area))) {
            return false;
        }
        return SUCCEEDED(object.As(&inPlace)) && SUCCEEDED(object.As(&active)) && SUCCEEDED(object.As(&web));
    }

    // The view's settings at creation. Each one stands alone and the view works without any of them,
    // so a refusal is passed over: before the first page there is no document to zoom, for instance,
    // and the middle zoom step is the engine's own default anyway.
    void ApplyDefaults() {
        VARIANT zoom = IntVariant(kFontSize);
        static_cast<void>(web->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr));
        static_cast<void>(web->put_Silent(VARIANT_FALSE));
        static_cast<void>(web->put_Offline(VARIANT_FALSE));
    }

    // Once a page is loaded, UI activation hands the keyboard to it; before that the browser's own
    // window takes the focus, so that it visibly leaves the control that had it.
    void TakeFocus(HWND host) {
        const ComPtr<IOleObject> keptObject = object;
        const ComPtr<IOleInPlaceObject> keptInPlace = inPlace;
        RECT area{};
        if (!GetClientRect(host, &area)) {
            return;
        }
        if (SUCCEEDED(keptObject->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.Get(), 0, host, &area)) &&
            GetFocus() != host) {
            return;
        }
        HWND inner = nullptr;
        if (SUCCEEDED(keptInPlace->GetWindow(&inner)) && inner != nullptr) {
            SetFocus(inner);
        }
    }

    // The one teardown, in the reverse order of Activate and safe on a half-built browser: leave the
    // window, close the document, cut the browser's link to our site, then let go of everything.
    // Failures are passed over, since each later step still frees what it can.
    void TakeDown() {
        if (inPlace) {
            static_cast<void>(inPlace->InPlaceDeactivate());
        }
        if (object) {
            static_cast<void>(object->Close(OLECLOSE_NOSAVE));
            static_cast<void>(object->SetClientSite(nullptr));
        }
        web.Reset();
        active.Reset();
        inPlace.Reset();
        object.Reset();
        if (site) {
            site->Detach();
            site.Reset();
        }
    }
};

std::unique_ptr<WebView> WebView::Create(HWND parent, const RECT& rect, int controlId) {
    const HINSTANCE module = ThisModule();
    if (!RegisterViewClass(module, &WebView::WindowProc)) {
        return nullptr;
    }
    std::unique_ptr<WebView> view(new (std::nothrow) WebView());
    if (!view) {
        return nullptr;
    }
    // WM_NCCREATE ties the window to the view and sets window_.
    const HWND window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
                                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), module, view.get());
    if (window == nullptr) {
        return nullptr;
    }
    view->browser_ = Browser::Embed(window);
    return view;
}

WebView::WebView() = default;

// The browser goes first, while its windows and ours still exist; destroying our window would do the
// same at WM_DESTROY, which covers a parent destroyed before the view.
WebView::~WebView() {
    ReleaseBrowser();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

HWND WebView::Window() const {
    return window_;
}

bool WebView::HasBrowser() const {
    return browser_ != nullptr;
}

void WebView::Navigate(const std::wstring& url) {
    if (!browser_ || url.size() > UINT_MAX) {
        return;
    }
    const UniqueBstr address(SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
    if (!address) {
        return;
    }
    VARIANT flags = IntVariant(0);
    VARIANT targetFrame = NullStringVariant();
    VARIANT postData;
    VariantInit(&postData);
    VARIANT headers = NullStringVariant();
    // Kept alive across the call in case the browser pumps messages that destroy the view.
    const ComPtr<IWebBrowser2> web = browser_->web;
    // The load goes on after the call returns; a page that does not load goes unnoticed.
    static_cast<void>(web->Navigate(address.get(), &flags, &targetFrame, &postData, &headers));
}

void WebView::SetSilent(bool silent) {
    if (!browser_) {
        return;
    }
    const ComPtr<IWebBrowser2> web = browser_->web;
    static_cast<void>(web->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE));
}

bool WebView::TranslateAccelerator(MSG* msg) {
    if (!browser_ || msg == nullptr || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
        return false;
    }
    if (msg->hwnd != window_ && !IsChild(window_, msg->hwnd)) {
        return false;
    }
    const ComPtr<IOleInPlaceActiveObject> active = browser_->active;
    return active->TranslateAccelerator(msg) == S_OK;
}

LRESULT CALLBACK WebView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = static_cast<WebView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        view->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<WebView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->HandleMessage(message, wParam, lParam);
}

LRESULT WebView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_DESTROY:
        ReleaseBrowser();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The browser does not watch its container's size: it has to be told every new place.
void WebView::OnSize() {
    if (!browser_) {
        return;
    }
    RECT area{};
    if (!GetClientRect(window_, &area)) {
        return;
    }
    const ComPtr<IOleInPlaceObject> inPlace = browser_->inPlace;
    static_cast<void>(inPlace->SetObjectRects(&area, &area));
}

void WebView::OnSetFocus() {
    // Handing the focus on can bring it back here for a moment; that return is not handed on again.
    if (!browser_ || passingFocus_) {
        return;
    }
    passingFocus_ = true;
    browser_->TakeFocus(window_);
    passingFocus_ = false;
}

void WebView::ReleaseBrowser() {
    // Moved out first so that a call arriving during the teardown finds no browser rather than half of one.
    const std::unique_ptr<Browser> browser = std::move(browser_);
    if (browser) {
        browser->TakeDown();
    }
}

} // namespace lumorra::platform
