// Every text the user sees, in one place: the two forms, the tray menu and the message boxes.
// UTF-16 literals, shown through the wide window functions on every display language.
#pragma once

namespace lumorra::texts::ui {

// Main window.
inline constexpr wchar_t kMainTitle[] = L"Lumorra1.0 Made By Kestavin";
inline constexpr wchar_t k标签2[] = L"当前网址：(可输入网址,回车访问)";
inline constexpr wchar_t k老板键[] = L"老板键:Alt+F1";
inline constexpr wchar_t k打开置系统托盘[] = L"打开时置系统托盘";
inline constexpr wchar_t k打开自动刷新[] = L"打开时自动刷新";
inline constexpr wchar_t k分组框1[] = L"刷新设置";
inline constexpr wchar_t k标签1[] = L"网页列表：";
inline constexpr wchar_t k标签11[] = L"0";
inline constexpr wchar_t k标签10[] = L"0";
inline constexpr wchar_t k标签9[] = L"秒";
inline constexpr wchar_t k标签8[] = L"秒";
inline constexpr wchar_t k标签7[] = L"离下次刷新还有：";
inline constexpr wchar_t k标签6[] = L"本次取得随机数：";
inline constexpr wchar_t k标签5[] = L"秒刷新";
inline constexpr wchar_t k标签4[] = L"至";
inline constexpr wchar_t k标签3[] = L"每";
inline constexpr wchar_t k按钮4[] = L"相关信息";
inline constexpr wchar_t k按钮3[] = L"开始";
inline constexpr wchar_t k按钮2[] = L"退出";
inline constexpr wchar_t k按钮1[] = L"置系统托盘";

// The hidden menu 系统, shown as the tray pop-up.
inline constexpr wchar_t kMenuShow[] = L"显示(Y)";
inline constexpr wchar_t kMenuExit[] = L"退出(Z)";
inline constexpr wchar_t kTrayTip[] = L"Lumorra";

// Message boxes.
inline constexpr wchar_t kExitQuestion[] = L"是否退出Lumorra";
inline constexpr wchar_t kExitCaption[] = L"提示";
inline constexpr wchar_t kErrorCaption[] = L"错误";
inline constexpr wchar_t kStartupError[] = L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n";

// About window.
inline constexpr wchar_t kAboutTitle[] = L"Lumorra1.0";
inline constexpr wchar_t kAbout按钮1[] = L"OK";
inline constexpr wchar_t kAbout标签3[] = L"请到lumorra.cn中相应板块留言，谢谢！";
inline constexpr wchar_t kAbout标签2[] = L"如果您在使用过程中发现问题";
inline constexpr wchar_t kAbout标签1[] = L"本工具由Kestavin制作。";

} // namespace lumorra::texts::ui
