// The one converter pair between the engine's GBK bytes and the window's UTF-16, code page 936
// explicitly, so texts are right whatever the system's own code page is.
#pragma once

#include <string>
#include <string_view>

namespace lumorra::shell {

std::wstring GbkToWide(std::string_view gbk);
std::string WideToGbk(std::wstring_view wide);

} // namespace lumorra::shell
