// Line-level parsing of profile text. Lines end in CR LF, LF or a lone CR; a UTF-8 byte order
// mark before the first line is skipped for parsing and kept on writing.
#include "engine/Profile.h"

#include "engine/Text.h"

#include <vector>

namespace lumorra::profile {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && IsQuote(s.front()) && s.back() == s.front();
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Double-byte characters are compared exactly: their trail byte may look like an ASCII letter.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = CharLength(a, i);
        if (n == 2 ? a.substr(i, 2) != b.substr(i, 2) : AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        i += n;
    }
    return true;
}

enum class Kind { Other, Section, Key };

struct Line {
    std::size_t begin = 0;      // first byte of the line
    std::size_t contentEnd = 0; // first byte of its line break
    std::size_t end = 0;        // first byte after its line break
    Kind kind = Kind::Other;
    bool blank = true;      // nothing but blanks: new keys go above such trailing lines
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed, not yet unquoted
};

Line Classify(std::string_view file, std::size_t begin, std::size_t contentEnd, std::size_t end) {
    Line line;
    line.begin = begin;
    line.contentEnd = contentEnd;
    line.end = end;
    std::string_view content = file.substr(begin, contentEnd - begin);
    if (begin == 0 && content.substr(0, kBom.size()) == kBom) content.remove_prefix(kBom.size());
    const std::string_view trimmed = Trim(content);
    line.blank = trimmed.empty();
    if (line.blank || trimmed.front() == ';') return line;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        line.kind = Kind::Section;
        line.name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return line;
    }
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) return line;
    line.kind = Kind::Key;
    line.name = Trim(trimmed.substr(0, eq));
    line.value = Trim(trimmed.substr(eq + 1));
    return line;
}

std::vector<Line> SplitLines(std::string_view file) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < file.size()) {
        const std::size_t brk = file.find_first_of("\r\n", begin);
        if (brk == std::string_view::npos) {
            lines.push_back(Classify(file, begin, file.size(), file.size()));
            break;
        }
        const std::size_t end = file.compare(brk, 2, kLineEnd) == 0 ? brk + 2 : brk + 1;
        lines.push_back(Classify(file, begin, brk, end));
        begin = end;
    }
    return lines;
}

// Where a section's lines are: its header, its first key of the name, its last non-empty line.
struct SectionSpan {
    const Line* header = nullptr;
    const Line* key = nullptr;
    const Line* last = nullptr;
};

SectionSpan FindSection(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    SectionSpan span;
    for (const Line& line : lines) {
        if (line.kind == Kind::Section) {
            if (span.header) break;
            if (SameName(line.name, section)) span.header = span.last = &line;
            continue;
        }
        if (!span.header) continue;
        if (!line.blank) span.last = &line;
        if (line.kind == Kind::Key && !span.key && SameName(line.name, key)) span.key = &line;
    }
    return span;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string safe(value);
    for (char& c : safe)
        if (c == '\r' || c == '\n') c = ' ';
    const bool quote = !safe.empty() && (IsBlank(safe.front()) || IsBlank(safe.back()) || IsQuoted(safe));
    std::string line(key);
    line += '=';
    if (quote) line += '"';
    line += safe;
    if (quote) line += '"';
    line += kLineEnd;
    return line;
}

bool EndsWithLineBreak(std::string_view s) {
    return !s.empty() && (s.back() == '\n' || s.back() == '\r');
}

} // namespace

std::optional<std::string> Read(std::string_view file, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = SplitLines(file);
    const SectionSpan span = FindSection(lines, section, key);
    if (!span.key) return std::nullopt;
    std::string_view value = span.key->value;
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string Write(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
    const std::vector<Line> lines = SplitLines(file);
    const SectionSpan span = FindSection(lines, section, key);
    const std::string keyLine = KeyLine(key, value);
    std::string out;
    out.reserve(file.size() + keyLine.size() + section.size() + 8);
    if (span.key) {
        out.append(file.substr(0, span.key->begin)).append(keyLine).append(file.substr(span.key->end));
        return out;
    }
    if (span.header) {
        const Line& after = *span.last;
        out.append(file.substr(0, after.end));
        if (after.end == after.contentEnd) out.append(kLineEnd); // the last line of a file without a final break
        out.append(keyLine).append(file.substr(after.end));
        return out;
    }
    out.append(file);
    if (!out.empty() && !EndsWithLineBreak(out)) out.append(kLineEnd);
    out.append("[").append(section).append("]").append(kLineEnd).append(keyLine);
    return out;
}

} // namespace lumorra::profile
