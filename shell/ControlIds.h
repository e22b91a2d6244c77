// Control identifiers of both forms. Tests find a control by these, as GetDlgCtrlID reports them;
// names are those of the forms. Plain C++ so the Windows tests can include it.
#pragma once

namespace lumorra::ids {

// Main window.
inline constexpr int 时钟1 = 1; // timer id, not a window
inline constexpr int 编辑框1 = 101;
inline constexpr int 标签2 = 102;
inline constexpr int 超文本浏览框1 = 103;
inline constexpr int 老板键 = 104;
inline constexpr int 打开置系统托盘 = 105;
inline constexpr int 打开自动刷新 = 106;
inline constexpr int 列表 = 107;
inline constexpr int 分组框1 = 108;
inline constexpr int 标签1 = 109;
inline constexpr int 标签11 = 110;
inline constexpr int 标签10 = 111;
inline constexpr int 标签9 = 112;
inline constexpr int 标签8 = 113;
inline constexpr int 标签7 = 114;
inline constexpr int 标签6 = 115;
inline constexpr int 调节器2 = 116;
inline constexpr int 标签5 = 117;
inline constexpr int 标签4 = 118;
inline constexpr int 调节器1 = 119;
inline constexpr int 编辑框3 = 120;
inline constexpr int 编辑框2 = 121;
inline constexpr int 标签3 = 122;
inline constexpr int 按钮4 = 123;
inline constexpr int 按钮3 = 124;
inline constexpr int 按钮2 = 125;
inline constexpr int 按钮1 = 126;

// Items of the hidden menu 系统, sent as WM_COMMAND by the tray pop-up.
inline constexpr int 菜单显示 = 201; // "显示(Y)"
inline constexpr int 菜单退出 = 202; // "退出(Z)"

// About window.
inline constexpr int 关于按钮1 = 301;
inline constexpr int 关于标签3 = 302;
inline constexpr int 关于标签2 = 303;
inline constexpr int 关于标签1 = 304;

} // namespace lumorra::ids
