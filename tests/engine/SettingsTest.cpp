// config.ini on disk: its place, existence, whole-value reads, atomic writes and bad input.
#include "engine/Settings.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace lumorra {
namespace {

using test::TempDir;

TEST(SettingsPath, IsTheExecutablesDirectoryPlusConfigIni) {
    EXPECT_EQ(ExecutableDirectory("/opt/lumorra/lumorra.exe"), "/opt/lumorra");
    EXPECT_EQ(Settings(ExecutableDirectory("/opt/lumorra/lumorra.exe")).SettingsPath(), "/opt/lumorra/config.ini");
    // An executable in the root: an empty directory part, and the separator still comes before the name.
    EXPECT_EQ(Settings(ExecutableDirectory("/lumorra")).SettingsPath(), "/config.ini");
}

TEST(Settings, MissingFileReadsEmptyAndTheFirstWriteCreatesOnlyThatKey) {
    TempDir dir;
    const Settings settings(dir.path());
    EXPECT_FALSE(settings.SettingsExist());
    EXPECT_EQ(settings.ReadSetting("Settings", "Second1"), "");
    EXPECT_FALSE(settings.OptionOn("BossKey"));
    settings.WriteSetting("Settings", "BossKey", "1");
    EXPECT_TRUE(settings.SettingsExist());
    EXPECT_EQ(dir.ReadIni(), "[Settings]\r\nBossKey=1\r\n");
    EXPECT_TRUE(settings.OptionOn("BossKey"));
}

TEST(Settings, AnOptionIsOnOnlyForExactlyOne) {
    TempDir dir;
    const Settings settings(dir.path());
    for (const char* value : {"0", "yes", "2", "01", "true", "", " 1x"}) {
        settings.WriteSetting("Settings", "TrayIcon", value);
        EXPECT_FALSE(settings.OptionOn("TrayIcon")) << value;
    }
    settings.WriteSetting("Settings", "TrayIcon", "1");
    EXPECT_TRUE(settings.OptionOn("TrayIcon"));
}

TEST(Settings, ReadsWholeValuesOfAnyLength) {
    // Longer than the 10,239 bytes a fixed read buffer would keep: nothing may be cut.
    TempDir dir;
    const Settings settings(dir.path());
    std::string list;
    for (int i = 0; i < 2000; ++i)
        list += "http://example.test/page" + std::to_string(i) + "*";
    ASSERT_GT(list.size(), 10239u);
    settings.WriteSetting("Data", "URL", list);
    EXPECT_EQ(settings.ReadSetting("Data", "URL"), list);
}

TEST(Settings, WriteLeavesNoTemporaryFileBehind) {
    TempDir dir;
    const Settings settings(dir.path());
    settings.WriteSetting("Settings", "Second1", "5");
    settings.WriteSetting("Settings", "Second1", "6");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(Settings, AFolderNamedConfigIniExistsButIsNeitherReadNorReplaced) {
    TempDir dir;
    std::filesystem::create_directory(dir.Ini());
    std::ofstream(dir.Ini() / "keep.txt") << "mine";
    const Settings settings(dir.path());
    EXPECT_TRUE(settings.SettingsExist());
    EXPECT_EQ(settings.ReadSetting("Settings", "Second1"), "");
    settings.WriteSetting("Settings", "Second1", "5");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Ini()));
    EXPECT_TRUE(std::filesystem::exists(dir.Ini() / "keep.txt"));
}

TEST(Settings, AFailedWriteKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    dir.WriteIni("[Settings]\r\nSecond1=5\r\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const Settings settings(dir.path());
    settings.WriteSetting("Settings", "Second1", "9");
    EXPECT_EQ(settings.ReadSetting("Settings", "Second1"), "5");
}

TEST(Settings, AWriteThatCannotFinishKeepsTheOldFile) {
    // Works for root too: the temporary file cannot be created where a folder of its name stands.
    TempDir dir;
    dir.WriteIni("[Settings]\r\nSecond1=5\r\n");
    std::filesystem::create_directory(dir.path() / ("config.ini.tmp-" + std::to_string(::getpid())));
    Settings(dir.path()).WriteSetting("Settings", "Second1", "9");
    EXPECT_EQ(dir.ReadIni(), "[Settings]\r\nSecond1=5\r\n");
}

TEST(Settings, AnUnreadableFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
    TempDir dir;
    dir.WriteIni("[Settings]\r\nSecond1=5\r\n");
    std::filesystem::permissions(dir.Ini(), std::filesystem::perms::none);
    Settings(dir.path()).WriteSetting("Settings", "Second1", "9");
    std::filesystem::permissions(dir.Ini(), std::filesystem::perms::owner_all);
    EXPECT_EQ(dir.ReadIni(), "[Settings]\r\nSecond1=5\r\n");
}

TEST(Settings, ManyMegabytesOfGarbageAreKept) {
    TempDir dir;
    std::string garbage(8 << 20, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 2654435761u) >> 24);
    dir.WriteIni(garbage);
    const Settings settings(dir.path());
    settings.WriteSetting("Settings", "Second1", "5");
    EXPECT_EQ(settings.ReadSetting("Settings", "Second1"), "5");
    EXPECT_EQ(dir.ReadIni()->substr(0, garbage.size()), garbage);
}

} // namespace
} // namespace lumorra
