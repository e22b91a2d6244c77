// A form described as data: each control's kind, name, parent, place, size and text. The window
// that owns a form builds it in one loop and registers each control under its name.
#pragma once

#include <windows.h>

#include <string_view>

namespace lumorra::shell {

enum class Kind { EditBox, MultiLineEditBox, WholeNumberEditBox, Label, Button, CheckBox, GroupBox, Spin, HtmlViewer };

enum class Align { Left, Centre };

struct Box {
    int left, top, width, height;
};

struct ControlSpec {
    std::string_view name; // the form name, as engine and shell address the control
    Kind kind;
    int id;                  // GetDlgCtrlID, for WM_COMMAND and for tests
    std::string_view parent; // empty: the window itself; else a group box of the same form
    Box place;               // within the parent's client area
    const wchar_t* text;
    Align align = Align::Left;
    COLORREF textColour = RGB(0, 0, 0);
};

constexpr Box Place(int left, int top, int width, int height) {
    return Box{left, top, width, height};
}

} // namespace lumorra::shell
