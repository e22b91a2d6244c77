// The settings file operations over the profile text rules and the platform's file I/O.
#include "engine/Settings.h"

#include "engine/Profile.h"
#include "engine/Texts.h"
#include "platform/FileIo.h"

namespace lumorra {
namespace {

bool IsSeparator(std::filesystem::path::value_type c) {
    return c == std::filesystem::path::preferred_separator || c == '/';
}

} // namespace

std::filesystem::path ExecutableDirectory(const std::filesystem::path& executable) {
    const auto& native = executable.native();
    std::size_t cut = native.size();
    while (cut > 0 && !IsSeparator(native[cut - 1]))
        --cut;
    if (cut == 0) return {};
    return std::filesystem::path(native.substr(0, cut - 1));
}

std::filesystem::path Settings::SettingsPath() const {
    // Concatenated, not joined with operator/: a bare drive "C:" must give "C:\config.ini",
    // not the drive-relative "C:config.ini".
    auto native = directory_.native();
    native += std::filesystem::path::preferred_separator;
    native += std::filesystem::path("config.ini").native();
    return std::filesystem::path(std::move(native));
}

bool Settings::SettingsExist() const {
    return platform::PathExists(SettingsPath());
}

std::string Settings::ReadSetting(std::string_view section, std::string_view key) const {
    const auto file = platform::ReadWholeFile(SettingsPath());
    if (!file) return {};
    return profile::Read(*file, section, key).value_or(std::string());
}

void Settings::WriteSetting(std::string_view section, std::string_view key, std::string_view value) const {
    const std::filesystem::path path = SettingsPath();
    auto file = platform::ReadWholeFile(path);
    // An entry that exists but cannot be read (a folder, a locked file) is never replaced:
    // writing over it would lose whatever it holds.
    if (!file && platform::PathExists(path)) return;
    platform::ReplaceFileAtomically(path, profile::Write(file.value_or(std::string()), section, key, value));
}

bool Settings::OptionOn(std::string_view key) const {
    return SettingsExist() && ReadSetting(keys::kSettings, key) == texts::kOn;
}

} // namespace lumorra
