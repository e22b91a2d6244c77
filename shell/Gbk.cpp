// Code page 936 conversions through the system's tables.
#include "shell/Gbk.h"

#include <windows.h>

#include <climits>

namespace lumorra::shell {
namespace {

constexpr UINT kGbk = 936;

} // namespace

std::wstring GbkToWide(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX) return {};
    const int length = static_cast<int>(gbk.size());
    const int needed = MultiByteToWideChar(kGbk, 0, gbk.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk.data(), length, wide.data(), needed);
    return wide;
}

std::string WideToGbk(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(kGbk, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string gbk(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kGbk, 0, wide.data(), length, gbk.data(), needed, nullptr, nullptr);
    return gbk;
}

} // namespace lumorra::shell
