// Enter in the address bar: completing a bare address with "http://" and visiting it.
#include "EngineFixture.h"

namespace lumorra {
namespace {

using test::EngineTest;

TEST_F(EngineTest, EnterCompletesAndVisitsTheTypedAddress) {
    const struct {
        const char* typed;
        const char* visited;
    } cases[] = {
        {"example.test", "http://example.test"},
        {"http://a.test/", "http://a.test/"},
        {"https://a.test/", "https://a.test/"},
        {"HTTP://A.TEST", "http://HTTP://A.TEST"},
        {"ftp://a.test", "http://ftp://a.test"},
        {"a.test/?next=http://b.test", "a.test/?next=http://b.test"},
        {" a.test", "http:// a.test"},
        {"", "http://"},
        {"\xD6\xD0\xCE\xC4.test", "http://\xD6\xD0\xCE\xC4.test"},
        {"\x81http://x", "http://\x81http://x"}, // the mark inside a double-byte character does not count
    };
    for (const auto& c : cases) {
        controls.texts[std::string(names::编辑框1)] = c.typed;
        controls.writes.clear();
        engine.VisitTypedAddress(13, 0);
        EXPECT_EQ(Text(names::编辑框1), c.visited) << c.typed;
        EXPECT_EQ(controls.Urls(), std::vector<std::string>{c.visited}) << c.typed;
    }
}

TEST_F(EngineTest, EnterWithAnyModifiersVisitsAndOtherKeysDoNot) {
    controls.texts[std::string(names::编辑框1)] = "a.test";
    for (int modifiers = 0; modifiers <= 7; ++modifiers)
        engine.VisitTypedAddress(13, modifiers);
    EXPECT_EQ(controls.Urls().size(), 8u);
    EXPECT_EQ(Text(names::编辑框1), "http://a.test"); // the prefix is added once
    controls.writes.clear();
    for (int key : {10, 32, 65, 108, 0x0D + 256})
        engine.VisitTypedAddress(key, 0);
    EXPECT_TRUE(controls.writes.empty());
}

TEST_F(EngineTest, EnterLeavesTheCycleAlone) {
    dir.WriteIni("[Data]\r\nURL=A\r\n");
    Range("3", "3");
    engine.ToggleCycle();
    Tick();
    controls.texts[std::string(names::编辑框1)] = "typed.test";
    engine.VisitTypedAddress(13, 0);
    EXPECT_EQ(Caption(names::标签11), "2");
    Tick(2);
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"http://typed.test", "A"}));
}

} // namespace
} // namespace lumorra
