// Owning wrappers for the kernel handles the test support keeps (processes, threads, jobs, files).
// Window handles are not owned: windows belong to the program under test.
#pragma once

#include <windows.h>

#include <utility>

namespace lumorra::test {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    // Both "no handle" spellings of the Win32 API (nullptr and INVALID_HANDLE_VALUE) become empty.
    explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HANDLE handle = nullptr) {
        if (handle_) {
            CloseHandle(handle_);
        }
        handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

} // namespace lumorra::test
