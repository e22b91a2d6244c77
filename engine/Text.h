// Conversions and scans over GBK byte text shared by every rule of the engine.
// Nothing here touches a control or a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumorra {

// Numbers read from controls differ only when they differ by more than this.
inline constexpr double kTolerance = 0.0000001;

inline bool IsPositive(double x) {
    return x > kTolerance;
}
inline bool IsZero(double x) {
    return x <= kTolerance && x >= -kTolerance;
}
inline bool IsGreater(double a, double b) {
    return a - b > kTolerance;
}

// A byte of 128 or more starts a double-byte character: scans step over both bytes as one.
inline std::size_t CharLength(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
}

// A control's text read as a real: full-width ASCII forms and the ideographic space become
// ASCII first, then the longest leading decimal number is read; no number reads as 0.
double TextToNumber(std::string_view text);

// "%d" of a whole number.
std::string WholeToText(std::int64_t value);

// "%.13g", with the exponent written with at least three digits (1e+013), as the tool always has.
std::string RealToText(double value);

// Cuts toward zero and holds the result within the 32-bit signed range (NaN gives 0).
std::int32_t CutToInt32(double value);

// 1-based position of the first match of `mark`, never starting inside a double-byte
// character, or -1.
std::int64_t FindText(std::string_view text, std::string_view mark);

// Every occurrence of `from` replaced by `to`, left to right, stepping over double-byte characters.
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to);

} // namespace lumorra
