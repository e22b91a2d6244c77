// Conversions between UTF-8 (the tests' source text), UTF-16 (Win32) and GBK (code page 936: the program's
// text on screen and in config.ini). Invalid input converts with the system's replacement rules; nothing throws.
#pragma once

#include <string>
#include <string_view>

namespace lumorra::test {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring GbkToWide(std::string_view gbk);
std::string WideToGbk(std::wstring_view wide);

// "开始" in a test's source is UTF-8; the program compares GBK bytes.
std::string Utf8ToGbk(std::string_view utf8);
// For readable failure messages of GBK bytes.
std::string GbkToUtf8(std::string_view gbk);

} // namespace lumorra::test
