// A fresh directory per test, removed afterwards, with helpers for config.ini inside it.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

namespace lumorra::test {

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ =
            std::filesystem::temp_directory_path() / ("lumorra-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path Ini() const { return path_ / "config.ini"; }

    void WriteIni(const std::string& bytes) const { std::ofstream(Ini(), std::ios::binary) << bytes; }
    std::optional<std::string> ReadIni() const {
        std::ifstream in(Ini(), std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

  private:
    std::filesystem::path path_;
};

} // namespace lumorra::test
