// config.ini beside the executable: where it is, whether it exists, reading and writing one key.
// Each call opens, reads or replaces, and closes the file; nothing is cached between calls.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumorra {

// The directory part of the executable's path, without a trailing separator ("C:" for an
// executable in a drive's root).
std::filesystem::path ExecutableDirectory(const std::filesystem::path& executable);

class Settings {
  public:
    explicit Settings(std::filesystem::path directory) : directory_(std::move(directory)) {}

    // The directory, the platform's separator, then "config.ini"; built anew for every access.
    std::filesystem::path SettingsPath() const;

    // Whether an entry of that name exists; a folder of that name counts.
    bool SettingsExist() const;

    // The key's whole value; an empty text when the file, section or key is missing or unreadable.
    std::string ReadSetting(std::string_view section, std::string_view key) const;

    // Sets the key, creating file and section as needed and keeping the rest of the file. The file
    // is replaced atomically; a failed write changes nothing and is not reported.
    void WriteSetting(std::string_view section, std::string_view key, std::string_view value) const;

    // An option is on only when the file exists and its value in Settings is exactly "1".
    bool OptionOn(std::string_view key) const;

  private:
    std::filesystem::path directory_;
};

} // namespace lumorra
