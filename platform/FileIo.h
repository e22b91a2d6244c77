// Whole-file reads and crash-safe whole-file replacement, one implementation per platform.
// Nothing here knows the settings format; it moves bytes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumorra::platform {

// True when an entry of that name exists, whatever it is (a folder counts).
bool PathExists(const std::filesystem::path& path);

// The file's bytes, or nothing when it is missing, a folder, or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside `path`, flushes it to the disk and renames it over
// `path`, so a crash leaves either the old file or the new one. On failure the old file is intact
// and the temporary file is removed. Returns whether the new bytes are in place.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace lumorra::platform
