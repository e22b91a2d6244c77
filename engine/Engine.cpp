// The refresh cycle, the settings writers, the range spinners and the address bar's Enter.
#include "engine/Engine.h"

#include "engine/ControlNames.h"
#include "engine/Text.h"
#include "engine/Texts.h"

#include <algorithm>
#include <limits>

namespace lumorra {
namespace {

constexpr int kEnter = 13;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view OnOff(bool ticked) {
    return ticked ? texts::kOn : texts::kOff;
}

} // namespace

std::int32_t DrawWhole(std::int32_t a, std::int32_t b, WaitGenerator& generator) {
    const std::int64_t low = std::max<std::int32_t>(std::min(a, b), 0);
    const std::int64_t high = std::max<std::int32_t>(std::max(a, b), 0);
    if (low == high) return static_cast<std::int32_t>(low);
    // The span may be 2^31 when the ends are 0 and the largest 32-bit number: count in 64 bits.
    return static_cast<std::int32_t>(low + generator.Next() % (high - low + 1));
}

std::vector<std::string> SplitUrlList(std::string_view stored) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t i = 0; i < stored.size(); i += CharLength(stored, i)) {
        if (stored[i] != '*') continue;
        entries.emplace_back(stored.substr(start, i - start));
        start = i + 1;
    }
    if (start < stored.size()) entries.emplace_back(stored.substr(start));
    return entries;
}

std::string EncodeUrlList(std::string_view listText) {
    std::string out;
    out.reserve(listText.size());
    for (std::size_t i = 0; i < listText.size();) {
        if (listText.compare(i, 2, "\r\n") == 0) {
            out += '*';
            i += 2;
        } else if (listText[i] == '\r' || listText[i] == '\n') {
            // A lone break (text pasted from elsewhere) is a line to the user too; written raw it
            // would split the stored line and the addresses after it would be lost.
            out += '*';
            ++i;
        } else {
            const std::size_t n = CharLength(listText, i);
            out.append(listText.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string DecodeUrlList(std::string_view stored) {
    return ReplaceText(stored, "*", "\r\n");
}

bool AcceptsTypedChar(std::uint32_t character) {
    return character < 32 || (character >= '0' && character <= '9') || character == '-';
}

NormalisedRange NormaliseRangeText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate the magnitude, saturating: more digits than 64 bits hold still give the
    // 32-bit bound once clamped.
    std::uint64_t magnitude = 0;
    constexpr std::uint64_t kCap = std::uint64_t{1} << 32;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(kCap, magnitude * 10 + static_cast<unsigned>(text[i] - '0'));
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    const std::int64_t clamped = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max());
    std::string result = clamped == 0 ? std::string() : WholeToText(clamped);
    const bool changed = result != text;
    return {std::move(result), changed};
}

void Engine::ToggleCycle() {
    state_.ToggleDone = false;
    if (controls_.Caption(names::按钮3) == texts::kStart && !state_.ToggleDone) {
        controls_.SetCaption(names::按钮3, texts::kStop);
        LoadUrlList();
        state_.Running = true;
        state_.NextIndex = 1;
        state_.ToggleDone = true;
    }
    if (controls_.Caption(names::按钮3) == texts::kStop && !state_.ToggleDone) {
        controls_.SetCaption(names::按钮3, texts::kStart);
        state_.Running = false;
        state_.ToggleDone = true;
    }
}

void Engine::LoadUrlList() {
    if (settings_.SettingsExist()) {
        const double lower = TextToNumber(controls_.Text(names::编辑框2));
        const double upper = TextToNumber(controls_.Text(names::编辑框3));
        if (IsZero(lower) || IsZero(upper)) {
            controls_.SetText(names::编辑框2, texts::kDefaultRangeEnd);
            controls_.SetText(names::编辑框3, controls_.Text(names::编辑框2));
        }
        state_.UrlList = SplitUrlList(settings_.ReadSetting(keys::kData, keys::kUrl));
    }
    state_.UrlCount = static_cast<std::int32_t>(
        std::min<std::size_t>(state_.UrlList.size(), std::numeric_limits<std::int32_t>::max()));
    DrawWait();
}

void Engine::DrawWait() {
    const std::int32_t lower = CutToInt32(TextToNumber(controls_.Text(names::编辑框2)));
    const std::int32_t upper = CutToInt32(TextToNumber(controls_.Text(names::编辑框3)));
    const std::int32_t drawn = DrawWhole(lower, upper, generator_);
    state_.DrawnSeconds = drawn;
    state_.SecondsLeft = drawn;
    const std::string text = WholeToText(drawn);
    controls_.SetCaption(names::标签10, text);
    controls_.SetCaption(names::标签11, text);
}

void Engine::CountDown() {
    if (!state_.Running) return;
    // A wait of 0 ends at the next tick instead of counting on below zero, where it would never end.
    state_.SecondsLeft = std::max(state_.SecondsLeft - 1, 0);
    controls_.SetCaption(names::标签11, WholeToText(state_.SecondsLeft));
    if (state_.SecondsLeft == 0) ShowNextPage();
}

void Engine::ShowNextPage() {
    // With an empty list there is no page to show: the cycle keeps running and draws again.
    if (state_.NextIndex >= 1 && static_cast<std::size_t>(state_.NextIndex) <= state_.UrlList.size()) {
        const std::string entry = state_.UrlList[static_cast<std::size_t>(state_.NextIndex) - 1];
        controls_.SetText(names::编辑框1, entry);
        controls_.SetUrl(names::超文本浏览框1, entry);
        controls_.SetSilent(names::超文本浏览框1, true);
        ++state_.NextIndex;
    }
    if (state_.UrlCount < state_.NextIndex) state_.NextIndex = 1;
    DrawWait();
}

void Engine::OnTextChanged(std::string_view control) {
    if (control == names::列表)
        settings_.WriteSetting(keys::kData, keys::kUrl, EncodeUrlList(controls_.Text(names::列表)));
    else if (control == names::编辑框2)
        settings_.WriteSetting(keys::kSettings, keys::kSecond1, controls_.Text(names::编辑框2));
    else if (control == names::编辑框3)
        settings_.WriteSetting(keys::kSettings, keys::kSecond2, controls_.Text(names::编辑框3));
}

void Engine::OnClicked(std::string_view control) {
    if (control == names::按钮3)
        ToggleCycle();
    else if (control == names::老板键)
        settings_.WriteSetting(keys::kSettings, keys::kBossKey, OnOff(controls_.Ticked(control)));
    else if (control == names::打开自动刷新)
        settings_.WriteSetting(keys::kSettings, keys::kAutorun, OnOff(controls_.Ticked(control)));
    else if (control == names::打开置系统托盘)
        settings_.WriteSetting(keys::kSettings, keys::kTrayIcon, OnOff(controls_.Ticked(control)));
}

void Engine::StepLowerEnd(int direction) {
    const auto lower = [&] { return TextToNumber(controls_.Text(names::编辑框2)); };
    const auto upper = [&] { return TextToNumber(controls_.Text(names::编辑框3)); };
    if (direction == 1) {
        controls_.SetText(names::编辑框2, RealToText(lower() + 1));
        if (IsGreater(lower(), upper())) controls_.SetText(names::编辑框3, controls_.Text(names::编辑框2));
    } else if (direction == -1) {
        controls_.SetText(names::编辑框2, RealToText(lower() - 1));
        if (!IsPositive(lower())) controls_.SetText(names::编辑框2, "1");
    }
}

void Engine::StepUpperEnd(int direction) {
    const auto lower = [&] { return TextToNumber(controls_.Text(names::编辑框2)); };
    const auto upper = [&] { return TextToNumber(controls_.Text(names::编辑框3)); };
    if (direction != 1 && direction != -1) return;
    controls_.SetText(names::编辑框3, RealToText(upper() + direction));
    if (IsGreater(lower(), upper())) controls_.SetText(names::编辑框3, controls_.Text(names::编辑框2));
    if (direction == -1 && !IsPositive(upper())) controls_.SetText(names::编辑框3, "1");
}

void Engine::VisitTypedAddress(int keyCode, int /*functionKeys: Ctrl, Shift, Alt with Enter count as Enter*/) {
    if (keyCode != kEnter) return;
    const std::string typed = controls_.Text(names::编辑框1);
    if (FindText(typed, texts::kHttp) < 0 && FindText(typed, texts::kHttps) < 0)
        controls_.SetText(names::编辑框1, std::string(texts::kHttp) + typed);
    controls_.SetUrl(names::超文本浏览框1, controls_.Text(names::编辑框1));
}

void Engine::ApplyStoredSettings(const std::function<void()>& hideToTray) {
    state_.ToggleDone = true;
    state_.UrlCount = 0;
    if (!settings_.SettingsExist()) return;
    const auto read = [&](std::string_view section, std::string_view key) {
        return settings_.ReadSetting(section, key);
    };
    controls_.SetText(names::列表, read(keys::kData, keys::kUrl));
    controls_.SetText(names::列表, DecodeUrlList(controls_.Text(names::列表)));
    controls_.SetText(names::编辑框2, read(keys::kSettings, keys::kSecond1));
    controls_.SetText(names::编辑框3, read(keys::kSettings, keys::kSecond2));
    if (read(keys::kSettings, keys::kTrayIcon) == texts::kOn) {
        if (hideToTray) hideToTray();
        controls_.SetTicked(names::打开置系统托盘, true);
    }
    if (read(keys::kSettings, keys::kBossKey) == texts::kOn) controls_.SetTicked(names::老板键, true);
    if (read(keys::kSettings, keys::kAutorun) == texts::kOn) {
        controls_.SetTicked(names::打开自动刷新, true);
        ToggleCycle();
    }
}

bool Engine::TrayOptionOn() const {
    return settings_.OptionOn(keys::kTrayIcon);
}

} // namespace lumorra
