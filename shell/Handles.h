// Owning wrappers for the Win32 handles the shell keeps: each is destroyed exactly once, with
// the function that matches its kind.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace lumorra::shell {

template <typename Handle, auto Destroy> struct HandleDeleter {
    using pointer = Handle;
    void operator()(Handle h) const {
        if (h) Destroy(h);
    }
};

template <typename Handle, auto Destroy>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, HandleDeleter<Handle, Destroy>>;

using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;

// OleInitialize for the life of the scope; the web view needs it on the window thread.
class OleScope {
  public:
    OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() {
        if (ok_) OleUninitialize();
    }

  private:
    bool ok_;
};

} // namespace lumorra::shell
