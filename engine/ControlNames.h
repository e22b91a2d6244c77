// The main window's control names, the keys by which engine and shell address controls.
// Names are UTF-8 in the source; they are identifiers, never shown to the user.
#pragma once

#include <string_view>

namespace lumorra::names {

inline constexpr std::string_view 列表 = "列表";
inline constexpr std::string_view 编辑框1 = "编辑框1";
inline constexpr std::string_view 编辑框2 = "编辑框2";
inline constexpr std::string_view 编辑框3 = "编辑框3";
inline constexpr std::string_view 超文本浏览框1 = "超文本浏览框1";
inline constexpr std::string_view 标签10 = "标签10";
inline constexpr std::string_view 标签11 = "标签11";
inline constexpr std::string_view 按钮1 = "按钮1";
inline constexpr std::string_view 按钮2 = "按钮2";
inline constexpr std::string_view 按钮3 = "按钮3";
inline constexpr std::string_view 按钮4 = "按钮4";
inline constexpr std::string_view 打开自动刷新 = "打开自动刷新";
inline constexpr std::string_view 打开置系统托盘 = "打开置系统托盘";
inline constexpr std::string_view 老板键 = "老板键";
inline constexpr std::string_view 调节器1 = "调节器1";
inline constexpr std::string_view 调节器2 = "调节器2";

} // namespace lumorra::names
