// Conversions between control text and numbers, and double-byte aware scans.
#include "engine/Text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lumorra {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Full-width forms (0xA3 0xA1..0xFE) become their ASCII form, the ideographic space a space.
std::string NarrowFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLength(text, i);
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto trail = n == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (n == 2 && lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out += static_cast<char>(trail - 0x80);
        else if (n == 2 && lead == 0xA1 && trail == 0xA1)
            out += ' ';
        else
            out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

// Length of the longest decimal number at the start of `s`: sign, digits with an optional
// point, optional exponent. 0 when there is none.
std::size_t LeadingNumberLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace

double TextToNumber(std::string_view text) {
    const std::string narrow = NarrowFullWidth(text);
    std::string_view s = narrow;
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    const std::size_t length = LeadingNumberLength(s);
    if (length == 0) return 0;
    // The token holds only sign, digits, point and exponent, so strtod reads all of it in the
    // C locale the program never leaves; overflow gives infinity as it should.
    const std::string token(s.substr(0, length));
    return std::strtod(token.c_str(), nullptr);
}

std::string WholeToText(std::int64_t value) {
    return std::to_string(value);
}

std::string RealToText(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    std::string text = buffer;
    const std::size_t e = text.find('e');
    if (e == std::string::npos) return text;
    // e, sign, then the exponent's digits padded to three.
    const std::size_t digitsAt = e + 2;
    const std::size_t digits = text.size() - digitsAt;
    if (digits < 3) text.insert(digitsAt, 3 - digits, '0');
    return text;
}

std::int32_t CutToInt32(double value) {
    if (std::isnan(value)) return 0;
    const double cut = std::trunc(value);
    if (cut >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (cut <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(cut);
}

std::int64_t FindText(std::string_view text, std::string_view mark) {
    if (mark.empty()) return text.empty() ? -1 : 1;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (text.substr(i, mark.size()) == mark) return static_cast<std::int64_t>(i) + 1;
    }
    return -1;
}

std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (!from.empty() && text.substr(i, from.size()) == from) {
            out.append(to);
            i += from.size();
            continue;
        }
        const std::size_t n = CharLength(text, i);
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

} // namespace lumorra
