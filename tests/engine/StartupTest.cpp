// The writers that store every change at once, and the filling of the window from config.ini.
#include "EngineFixture.h"

namespace lumorra {
namespace {

using test::EngineTest;

TEST(ListEncoding, LineBreaksBecomeStarsAndBack) {
    EXPECT_EQ(EncodeUrlList("a\r\nb\r\n"), "a*b*");
    EXPECT_EQ(EncodeUrlList("a\r\n\r\nb"), "a**b");
    // Lone breaks (pasted text) are lines too, and may never reach the file raw.
    EXPECT_EQ(EncodeUrlList("a\nb\rc\r\r\nd"), "a*b*c**d");
    EXPECT_EQ(EncodeUrlList("\x81\r\n"), "\x81\r*"); // the CR belongs to the character before it
    EXPECT_EQ(DecodeUrlList("a*b*"), "a\r\nb\r\n");
    EXPECT_EQ(EncodeUrlList(DecodeUrlList("A**B*\xD6\xD0*")), "A**B*\xD6\xD0*");
}

TEST_F(EngineTest, EachChangeIsStoredAtOnce) {
    controls.SetText(names::编辑框2, "1");
    EXPECT_EQ(Stored("Settings", "Second1"), "1");
    controls.SetText(names::编辑框2, "15");
    EXPECT_EQ(Stored("Settings", "Second1"), "15");
    controls.SetText(names::编辑框3, "");
    EXPECT_NE(dir.ReadIni()->find("Second2=\r\n"), std::string::npos);
    controls.SetText(names::列表, "http://a\r\nhttp://b\r\n");
    EXPECT_EQ(Stored("Data", "URL"), "http://a*http://b*");
    controls.SetText(names::编辑框1, "not stored");
    EXPECT_EQ(dir.ReadIni()->find("not stored"), std::string::npos);

    for (bool ticked : {true, false}) {
        controls.ticked[std::string(names::老板键)] = ticked ? "1" : "0";
        engine.OnClicked(names::老板键);
        EXPECT_EQ(Stored("Settings", "BossKey"), ticked ? "1" : "0");
    }
    controls.ticked[std::string(names::打开自动刷新)] = "1";
    engine.OnClicked(names::打开自动刷新);
    controls.ticked[std::string(names::打开置系统托盘)] = "1";
    engine.OnClicked(names::打开置系统托盘);
    EXPECT_EQ(Stored("Settings", "Autorun"), "1");
    EXPECT_EQ(Stored("Settings", "TrayIcon"), "1");
}

struct StartupCase {
    const char* name;
    const char* ini; // nullptr: no config.ini
    bool tray, boss, autorun;
};

TEST_F(EngineTest, StoredOptionsAreAppliedAtStartUp) {
    const StartupCase cases[] = {
        {"none", nullptr, false, false, false},
        {"tray only", "[Settings]\r\nTrayIcon=1\r\n", true, false, false},
        {"autorun without boss key", "[Settings]\r\nAutorun=1\r\nBossKey=0\r\n", false, false, true},
        {"boss key", "[Settings]\r\nBossKey=1\r\n", false, true, false},
        {"other values", "[Settings]\r\nTrayIcon=true\r\nBossKey=01\r\nAutorun=yes\r\n", false, false, false},
        {"all", "[Settings]\r\nTrayIcon=1\r\nBossKey=1\r\nAutorun=1\r\nSecond1=2\r\nSecond2=2\r\n", true, true, true},
    };
    for (const StartupCase& c : cases) {
        test::TempDir folder;
        test::FakeControls window;
        Engine fresh(window, Settings(folder.path()));
        window.onTextChanged = [&](std::string_view control) { fresh.OnTextChanged(control); };
        window.captions[std::string(names::按钮3)] = std::string(texts::kStart);
        if (c.ini) folder.WriteIni(c.ini);
        int hidden = 0;
        fresh.ApplyStoredSettings([&] {
            EXPECT_FALSE(window.Ticked(names::打开置系统托盘)) << "the tray runs before the tick";
            ++hidden;
        });
        EXPECT_EQ(hidden, c.tray ? 1 : 0) << c.name;
        EXPECT_EQ(window.Ticked(names::打开置系统托盘), c.tray) << c.name;
        EXPECT_EQ(window.Ticked(names::老板键), c.boss) << c.name;
        EXPECT_EQ(window.Ticked(names::打开自动刷新), c.autorun) << c.name;
        EXPECT_EQ(fresh.state().Running, c.autorun) << c.name;
        EXPECT_EQ(window.Caption(names::按钮3), c.autorun ? texts::kStop : texts::kStart) << c.name;
        EXPECT_TRUE(fresh.state().ToggleDone);
        if (!c.ini) {
            EXPECT_TRUE(window.writes.empty());
            EXPECT_FALSE(folder.ReadIni().has_value());
        } else {
            // Missing keys come back as empty values.
            const std::string ini = *folder.ReadIni();
            EXPECT_NE(ini.find("URL="), std::string::npos) << c.name;
            EXPECT_NE(ini.find("Second1="), std::string::npos) << c.name;
            EXPECT_NE(ini.find("Second2="), std::string::npos) << c.name;
        }
    }
}

TEST_F(EngineTest, TheStoredListShowsOneAddressPerLineAndIsWrittenBackUnchanged) {
    const std::string stored = "http://\xD6\xD0\xCE\xC4.test/*B**C";
    dir.WriteIni("[Data]\r\nURL=" + stored + "\r\n[Settings]\r\nSecond1=2.9\r\nSecond2=abc\r\n");
    engine.ApplyStoredSettings({});
    EXPECT_EQ(Text(names::列表), "http://\xD6\xD0\xCE\xC4.test/\r\nB\r\n\r\nC");
    const auto listWrites = controls.WritesTo(names::列表);
    ASSERT_EQ(listWrites.size(), 2u);
    EXPECT_EQ(listWrites[0].value, stored);
    EXPECT_EQ(Stored("Data", "URL"), stored);
    // The range boxes take the stored texts as they are; only losing the focus rewrites them.
    EXPECT_EQ(Text(names::编辑框2), "2.9");
    EXPECT_EQ(Text(names::编辑框3), "abc");
}

TEST_F(EngineTest, AutorunWithAnEmptyRangeStoresTheDefault) {
    dir.WriteIni("[Data]\r\nURL=A\r\n[Settings]\r\nAutorun=1\r\n");
    engine.ApplyStoredSettings({});
    EXPECT_EQ(Stored("Settings", "Second1"), "100");
    EXPECT_EQ(Stored("Settings", "Second2"), "100");
    EXPECT_EQ(Caption(names::标签11), "100");
}

} // namespace
} // namespace lumorra
