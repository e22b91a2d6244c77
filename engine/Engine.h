// The refresh engine: the cycle through the address list, the handlers that store every change in
// config.ini, the range spinners and the address bar's Enter. It works only on named controls
// (Controls) and the settings file; the window binds its events to these operations.
#pragma once

#include "engine/Controls.h"
#include "engine/Settings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorra {

// Linear congruential generator: state 1 at start and never seeded again, so every run of the
// program draws the same sequence of waits.
class WaitGenerator {
  public:
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

  private:
    std::uint32_t state_ = 1;
};

// A whole number between two ends, in either order; ends below 0 count as 0; equal ends do not
// step the generator.
std::int32_t DrawWhole(std::int32_t a, std::int32_t b, WaitGenerator& generator);

// Splits a stored list at "*": a text ending in one "*" has no empty last entry.
std::vector<std::string> SplitUrlList(std::string_view stored);

// The list box's text as stored: each line break (CR LF, and a lone CR or LF) becomes "*".
std::string EncodeUrlList(std::string_view listText);

// The stored list as the list box shows it: each "*" becomes CR LF.
std::string DecodeUrlList(std::string_view stored);

// The range boxes accept a typed character only when it is a digit or "-"; control characters
// (Backspace, Ctrl+V, ...) pass, every other character is dropped.
bool AcceptsTypedChar(std::uint32_t character);

// A range box's text once it loses the focus: the leading whole number, held within 32 bits,
// "%d", and "0" shown as empty.
struct NormalisedRange {
    std::string text;
    bool changed;
};
NormalisedRange NormaliseRangeText(std::string_view text);

// The process-wide state of the cycle.
struct RefreshState {
    std::vector<std::string> UrlList;
    std::int32_t UrlCount = 0;
    std::int32_t NextIndex = 0;
    bool Running = false;
    std::int32_t DrawnSeconds = 0;
    std::int32_t SecondsLeft = 0;
    bool ToggleDone = false;
};

class Engine {
  public:
    Engine(Controls& controls, Settings settings) : controls_(controls), settings_(std::move(settings)) {}

    const Settings& settings() const { return settings_; }
    const RefreshState& state() const { return state_; }

    // The cycle.
    void ToggleCycle();
    void LoadUrlList();
    void DrawWait();
    void CountDown();
    void ShowNextPage();

    // Control events bound by the form: text changes of 列表, 编辑框2, 编辑框3 and clicks of the
    // three option boxes store the new value at once. Other controls are ignored here.
    void OnTextChanged(std::string_view control);
    void OnClicked(std::string_view control);

    // Spinners 调节器1 and 调节器2: direction 1 or -1, anything else does nothing.
    void StepLowerEnd(int direction);
    void StepUpperEnd(int direction);

    // Key-pressed in the address bar 编辑框1: Enter visits the typed address.
    void VisitTypedAddress(int keyCode, int functionKeys);

    // The engine's share of the main window's creation: resets the guard and the count, then fills
    // the boxes from config.ini, writing each value straight back, ticks the stored options and
    // starts the cycle for "Autorun".
    // `hideToTray` runs when "TrayIcon" is on, before its box is ticked.
    void ApplyStoredSettings(const std::function<void()>& hideToTray);

    // First activation: whether the window should go to the tray.
    bool TrayOptionOn() const;

  private:
    Controls& controls_;
    Settings settings_;
    RefreshState state_;
    WaitGenerator generator_;
};

} // namespace lumorra
