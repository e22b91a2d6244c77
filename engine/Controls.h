// The window as the engine sees it: controls addressed by their form names, holding GBK byte text.
// No window handles, no wide strings and no platform types cross this seam.
#pragma once

#include <string>
#include <string_view>

namespace lumorra {

class Controls {
  public:
    virtual ~Controls() = default;

    // EditBox text. A write replaces the whole text and runs the box's text-change handler
    // exactly once before it returns, even when the new text equals the old one.
    virtual std::string Text(std::string_view control) const = 0;
    virtual void SetText(std::string_view control, std::string_view text) = 0;

    // Label, Button, CheckBox or GroupBox caption. A write raises nothing.
    virtual std::string Caption(std::string_view control) const = 0;
    virtual void SetCaption(std::string_view control, std::string_view caption) = 0;

    // CheckBox state. A write raises no click.
    virtual bool Ticked(std::string_view control) const = 0;
    virtual void SetTicked(std::string_view control, bool ticked) = 0;

    // HtmlViewer: setting the address starts loading it and returns at once.
    virtual void SetUrl(std::string_view control, std::string_view url) = 0;
    virtual void SetSilent(std::string_view control, bool silent) = 0;
};

} // namespace lumorra
