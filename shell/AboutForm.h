// The about window's form, in stacking order (topmost first).
#pragma once

#include "resources/FormTexts.h"
#include "shell/ControlIds.h"
#include "shell/Form.h"

#include <array>

namespace lumorra::shell {

inline constexpr int kAboutWidth = 344;
inline constexpr int kAboutHeight = 200;

inline constexpr std::array<ControlSpec, 4> kAboutForm = {{
    {"按钮1", Kind::Button, ids::关于按钮1, {}, Place(112, 136, 80, 32), texts::ui::kAbout按钮1},
    {"标签3", Kind::Label, ids::关于标签3, {}, Place(27, 104, 261, 24), texts::ui::kAbout标签3},
    {"标签2", Kind::Label, ids::关于标签2, {}, Place(24, 59, 240, 24), texts::ui::kAbout标签2},
    {"标签1", Kind::Label, ids::关于标签1, {}, Place(24, 24, 168, 24), texts::ui::kAbout标签1},
}};

} // namespace lumorra::shell
