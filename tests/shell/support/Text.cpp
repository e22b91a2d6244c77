// Code-page conversions of the test support, on MultiByteToWideChar/WideCharToMultiByte.
#include "Text.h"

#include <windows.h>

#include <climits>

namespace lumorra::test {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(unsigned codePage, std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
    return ToWide(CP_UTF8, utf8);
}
std::string WideToUtf8(std::wstring_view wide) {
    return FromWide(CP_UTF8, wide);
}
std::wstring GbkToWide(std::string_view gbk) {
    return ToWide(kGbkCodePage, gbk);
}
std::string WideToGbk(std::wstring_view wide) {
    return FromWide(kGbkCodePage, wide);
}
std::string Utf8ToGbk(std::string_view utf8) {
    return WideToGbk(Utf8ToWide(utf8));
}
std::string GbkToUtf8(std::string_view gbk) {
    return WideToUtf8(GbkToWide(gbk));
}

} // namespace lumorra::test
