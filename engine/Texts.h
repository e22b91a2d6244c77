// The few user-visible texts and settings names the engine writes or compares, as GBK bytes.
#pragma once

#include <string_view>

namespace lumorra::texts {

inline constexpr std::string_view kStart = "\xBF\xAA\xCA\xBC"; // 开始
inline constexpr std::string_view kStop = "\xCD\xA3\xD6\xB9";  // 停止
inline constexpr std::string_view kDefaultRangeEnd = "100";
inline constexpr std::string_view kOn = "1";
inline constexpr std::string_view kOff = "0";
inline constexpr std::string_view kHttp = "http://";
inline constexpr std::string_view kHttps = "https://";

} // namespace lumorra::texts

namespace lumorra::keys {

inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kData = "Data";
inline constexpr std::string_view kSecond1 = "Second1";
inline constexpr std::string_view kSecond2 = "Second2";
inline constexpr std::string_view kTrayIcon = "TrayIcon";
inline constexpr std::string_view kBossKey = "BossKey";
inline constexpr std::string_view kAutorun = "Autorun";
inline constexpr std::string_view kUrl = "URL";

} // namespace lumorra::keys
