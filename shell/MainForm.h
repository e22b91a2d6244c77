// The main window's form: every control, in stacking order (topmost first) within its parent.
#pragma once

#include "resources/FormTexts.h"
#include "shell/ControlIds.h"
#include "shell/Form.h"

#include <array>

namespace lumorra::shell {

inline constexpr int kMainWidth = 844;
inline constexpr int kMainHeight = 571;

namespace ui = texts::ui;

inline constexpr std::string_view k分组框1 = "分组框1";

inline constexpr std::array<ControlSpec, 26> kMainForm = {{
    {"编辑框1", Kind::EditBox, ids::编辑框1, {}, Place(8, 192, 544, 28), L""},
    {"标签2", Kind::Label, ids::标签2, {}, Place(8, 168, 192, 24), ui::k标签2},
    {"超文本浏览框1", Kind::HtmlViewer, ids::超文本浏览框1, {}, Place(8, 224, 816, 296), L""},
    {"老板键", Kind::CheckBox, ids::老板键, {}, Place(328, 0, 99, 24), ui::k老板键},
    {"打开置系统托盘", Kind::CheckBox, ids::打开置系统托盘, {}, Place(208, 0, 117, 24), ui::k打开置系统托盘},
    {"打开自动刷新", Kind::CheckBox, ids::打开自动刷新, {}, Place(96, 0, 104, 24), ui::k打开自动刷新},
    {"列表", Kind::MultiLineEditBox, ids::列表, {}, Place(8, 32, 544, 128), L""},
    {"分组框1", Kind::GroupBox, ids::分组框1, {}, Place(568, 25, 256, 195), ui::k分组框1},
    {"标签1", Kind::Label, ids::标签1, {}, Place(24, 0, 80, 24), ui::k标签1},
    {"标签11", Kind::Label, ids::标签11, k分组框1, Place(112, 89, 72, 24), ui::k标签11, Align::Centre, RGB(255, 0, 0)},
    {"标签10", Kind::Label, ids::标签10, k分组框1, Place(112, 60, 72, 24), ui::k标签10, Align::Centre},
    {"标签9", Kind::Label, ids::标签9, k分组框1, Place(192, 86, 48, 24), ui::k标签9},
    {"标签8", Kind::Label, ids::标签8, k分组框1, Place(192, 61, 80, 24), ui::k标签8},
    {"标签7", Kind::Label, ids::标签7, k分组框1, Place(16, 87, 88, 24), ui::k标签7},
    {"标签6", Kind::Label, ids::标签6, k分组框1, Place(16, 61, 104, 24), ui::k标签6},
    {"调节器2", Kind::Spin, ids::调节器2, k分组框1, Place(168, 24, 20, 20), L""},
    {"标签5", Kind::Label, ids::标签5, k分组框1, Place(192, 23, 80, 24), ui::k标签5},
    {"标签4", Kind::Label, ids::标签4, k分组框1, Place(104, 23, 16, 24), ui::k标签4},
    {"调节器1", Kind::Spin, ids::调节器1, k分组框1, Place(80, 23, 20, 20), L""},
    {"编辑框3", Kind::WholeNumberEditBox, ids::编辑框3, k分组框1, Place(120, 23, 69, 22), L""},
    {"编辑框2", Kind::WholeNumberEditBox, ids::编辑框2, k分组框1, Place(32, 23, 69, 22), L""},
    {"标签3", Kind::Label, ids::标签3, k分组框1, Place(16, 23, 16, 24), ui::k标签3},
    {"按钮4", Kind::Button, ids::按钮4, k分组框1, Place(124, 122, 80, 25), ui::k按钮4},
    {"按钮3", Kind::Button, ids::按钮3, k分组框1, Place(45, 123, 80, 25), ui::k按钮3},
    {"按钮2", Kind::Button, ids::按钮2, k分组框1, Place(124, 147, 80, 25), ui::k按钮2},
    {"按钮1", Kind::Button, ids::按钮1, k分组框1, Place(45, 147, 80, 25), ui::k按钮1},
}};

// Tab moves the focus forward through this cycle, Shift+Tab backward.
inline constexpr std::array<std::string_view, 12> kMainFocusCycle = {
    "列表",  "打开自动刷新", "打开置系统托盘", "老板键",  "按钮1",   "按钮2",
    "按钮3", "按钮4",        "超文本浏览框1",  "编辑框1", "编辑框2", "编辑框3",
};

} // namespace lumorra::shell
