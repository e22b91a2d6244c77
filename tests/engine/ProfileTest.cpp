// The profile text rules: what we write reads back byte for byte, files written by other
// programs read as the Windows profile functions read them, and a write touches one line only.
#include "engine/Profile.h"

#include <gtest/gtest.h>

namespace lumorra::profile {
namespace {

TEST(Profile, EveryValueReadsBackUnchanged) {
    const std::string values[] = {
        "",
        " ",
        "  lead",
        "trail\t",
        "\"quoted\"",
        "'single'",
        "\"",
        "\"\"",
        "'",
        "a\"b'",
        "=",
        "a=b=c",
        ";not a comment",
        "[Data]",
        "[",
        "]",
        "100",
        "\xBF\xAA\xCA\xBC",
        "http://a/?q=1;x=[2]*http://b",
        std::string(20000, 'x') + "*" + std::string(20000, '\xB0'),
        std::string("nul\0inside", 10),
    };
    for (const std::string& value : values) {
        const std::string file = Write("", "Settings", "Second1", value);
        EXPECT_EQ(Read(file, "Settings", "Second1"), value) << file.substr(0, 80);
        // A second write over the first keeps it a single line.
        const std::string again = Write(file, "Settings", "Second1", value);
        EXPECT_EQ(again, file);
    }
}

TEST(Profile, QuotesOnlyWhatWouldNotSurviveBare) {
    EXPECT_EQ(Write("", "Settings", "Second1", "15"), "[Settings]\r\nSecond1=15\r\n");
    EXPECT_EQ(Write("", "Settings", "Second2", ""), "[Settings]\r\nSecond2=\r\n");
    EXPECT_EQ(Write("", "Data", "URL", " a "), "[Data]\r\nURL=\" a \"\r\n");
    EXPECT_EQ(Write("", "Data", "URL", "\"a\""), "[Data]\r\nURL=\"\"a\"\"\r\n");
    EXPECT_EQ(Write("", "Data", "URL", "a\"b"), "[Data]\r\nURL=a\"b\r\n");
}

TEST(Profile, ReadsHandEditedFilesLikeTheWindowsFunctions) {
    const struct {
        const char* file;
        std::optional<std::string> value;
    } cases[] = {
        {"[settings]\r\nsecond1=5\r\n", "5"},               // names without regard to case
        {"  [ Settings ]  \r\n  Second1  =  5  \r\n", "5"}, // blanks around names and values
        {"[Settings]\r\nSecond1=\"5 \"\r\n", "5 "},         // one pair of quotes removed
        {"[Settings]\r\nSecond1='x'\r\n", "x"},
        {"[Settings]\r\nSecond1=\"x'\r\n", "\"x'"},           // unmatched quotes stay
        {"[Settings]\r\n;Second1=1\r\nSecond1=2\r\n", "2"},   // comment lines ignored
        {"[Settings]\nSecond1=lf\n", "lf"},                   // LF-only lines
        {"[Settings]\rSecond1=cr\r", "cr"},                   // CR-only lines
        {"[Settings]\r\nSecond1=last", "last"},               // no final line break
        {"\xEF\xBB\xBF[Settings]\r\nSecond1=bom\r\n", "bom"}, // UTF-8 byte order mark
        {"[Settings]\r\nSecond1=first\r\nSecond1=second\r\n", "first"},
        {"[Data]\r\nSecond1=elsewhere\r\n", std::nullopt},   // wrong section
        {"Second1=outside\r\n[Settings]\r\n", std::nullopt}, // before any section
        {"[Settings]\r\nSecond10=5\r\n", std::nullopt},
        {"[Settings]\r\nSecond1\r\n", std::nullopt}, // a line without "=" is no value
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.file, "Settings", "Second1"), c.value) << c.file;
}

TEST(Profile, WriteChangesOnlyItsKeysLine) {
    const std::string file = "; written by hand\n[Other]\nkey=value\n\n[settings]\rTrayIcon=0\rSecond1 = old \r\n"
                             "unknown line\r\n\r\n[Data]\r\nURL=a*b";
    EXPECT_EQ(Write(file, "Settings", "Second1", "7"),
              "; written by hand\n[Other]\nkey=value\n\n[settings]\rTrayIcon=0\rSecond1=7\r\n"
              "unknown line\r\n\r\n[Data]\r\nURL=a*b");
    // A new key goes after the section's last line, above its trailing blank lines.
    EXPECT_EQ(Write(file, "Settings", "BossKey", "1"),
              "; written by hand\n[Other]\nkey=value\n\n[settings]\rTrayIcon=0\rSecond1 = old \r\n"
              "unknown line\r\nBossKey=1\r\n\r\n[Data]\r\nURL=a*b");
    // The last line of a file without a final break gets one before anything is added after it.
    EXPECT_EQ(Write(file, "Data", "Extra", "x"),
              "; written by hand\n[Other]\nkey=value\n\n[settings]\rTrayIcon=0\rSecond1 = old \r\n"
              "unknown line\r\n\r\n[Data]\r\nURL=a*b\r\nExtra=x\r\n");
    EXPECT_EQ(Write("x=1", "Data", "URL", "u"), "x=1\r\n[Data]\r\nURL=u\r\n");
}

TEST(Profile, ALineBreakInAValueCannotAddLines) {
    const std::string file = Write("", "Data", "URL", "a\r\n[Settings]\nAutorun=1");
    EXPECT_EQ(Read(file, "Settings", "Autorun"), std::nullopt);
    EXPECT_EQ(Read(file, "Data", "URL"), "a  [Settings] Autorun=1");
}

TEST(Profile, BinaryGarbageNeitherCrashesNorLosesBytes) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    const std::string written = Write(garbage, "Settings", "Second1", "5");
    EXPECT_EQ(Read(written, "Settings", "Second1"), "5");
    EXPECT_EQ(written.substr(0, garbage.size()), garbage);
}

} // namespace
} // namespace lumorra::profile
