// Profile (INI) text: reading a value the way the Windows profile functions read it, and
// rewriting one key's line while keeping every other byte. Pure functions over the file's bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumorra::profile {

// The value of `key` in the first section named `section` (names compared without regard to
// ASCII letter case and surrounding blanks; blanks around the value and one pair of surrounding
// quotes removed; lines starting with ';' are comments). Nothing when the section or key is missing.
std::optional<std::string> Read(std::string_view file, std::string_view section, std::string_view key);

// The file with `key` set to `value`: the key's line is replaced, or the key is added at the end of
// its section, or the section is added at the end of the file. Every other byte is kept. The value
// is quoted only when the readers would otherwise change it (surrounding blanks or quotes); a line
// break in it is written as a space so that a value can never add lines to the file.
std::string Write(std::string_view file, std::string_view section, std::string_view key, std::string_view value);

} // namespace lumorra::profile
