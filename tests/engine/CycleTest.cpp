// The refresh cycle: start and stop, the waits it draws, the pages it shows and in which order.
#include "EngineFixture.h"

#include <limits>

namespace lumorra {
namespace {

using test::EngineTest;
using test::Write;

const std::string kStart(texts::kStart), kStop(texts::kStop);

TEST(WaitGenerator, IsTheClassicLcgFromStateOne) {
    WaitGenerator g;
    EXPECT_EQ(g.Next(), 41);
    EXPECT_EQ(g.Next(), 18467);
    EXPECT_EQ(g.Next(), 6334);
    EXPECT_EQ(g.Next(), 26500);
}

TEST(DrawWhole, TakesEndsInEitherOrderAndNegativeEndsAsZero) {
    const struct {
        std::int32_t a, b, first;
    } cases[] = {
        {2, 2, 2}, // equal ends: no draw
        {10, 3, 3 + 41 % 8},
        {3, 10, 3 + 41 % 8},
        {-5, 2, 0 + 41 % 3},
        {-5, -1, 0},
        {0, std::numeric_limits<std::int32_t>::max(), 41}, // a span of 2^31 does not overflow
    };
    for (const auto& c : cases) {
        WaitGenerator g;
        EXPECT_EQ(DrawWhole(c.a, c.b, g), c.first) << c.a << ".." << c.b;
    }
}

TEST(DrawWhole, EqualEndsDoNotStepTheGenerator) {
    WaitGenerator g;
    DrawWhole(7, 7, g);
    EXPECT_EQ(DrawWhole(0, 32767, g), 41);
}

TEST(SplitUrlList, FollowsTheStarRule) {
    using V = std::vector<std::string>;
    const struct {
        const char* stored;
        V entries;
    } cases[] = {
        {"", {}},
        {"A*B", {"A", "B"}},
        {"A**B", {"A", "", "B"}},
        {"A*B*", {"A", "B"}},
        {"A*B**", {"A", "B", ""}},
        {"*", {""}},
        {"*A", {"", "A"}},
        {" A *B", {" A ", "B"}},
        {"\x81*B*C", {"\x81*B", "C"}}, // "*" as the second byte of a character is no delimiter
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitUrlList(c.stored), c.entries) << c.stored;
}

TEST_F(EngineTest, ShowsEachAddressInTurnAndWraps) {
    dir.WriteIni("[Data]\r\nURL=A*B*C\r\n");
    Range("2", "2");
    engine.ToggleCycle();
    EXPECT_EQ(Caption(names::按钮3), kStop);
    EXPECT_EQ(Caption(names::标签10), "2");
    EXPECT_EQ(Caption(names::标签11), "2");
    Tick();
    EXPECT_EQ(Caption(names::标签11), "1");
    EXPECT_TRUE(controls.Urls().empty()); // a start shows no page at once
    Tick();
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Text(names::编辑框1), "A");
    EXPECT_EQ(Caption(names::标签11), "2"); // the next wait, drawn in the same tick
    Tick(6);
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A", "B", "C", "A"}));
}

TEST_F(EngineTest, EachPageIsAddressBarThenViewThenSilent) {
    dir.WriteIni("[Data]\r\nURL=A\r\n");
    Range("1", "1");
    engine.ToggleCycle();
    controls.writes.clear();
    Tick();
    const std::vector<Write> expected = {
        {"caption", "标签11", "0"},       {"text", "编辑框1", "A"},   {"url", "超文本浏览框1", "A"},
        {"silent", "超文本浏览框1", "1"}, {"caption", "标签10", "1"}, {"caption", "标签11", "1"},
    };
    EXPECT_EQ(controls.writes, expected);
}

TEST_F(EngineTest, ARangeEndOfZeroBecomesOneHundredAtAStart) {
    const struct {
        const char* lower;
        const char* upper;
    } cases[] = {{"0", "5"}, {"7", "0"}, {"abc", "5"}, {"", ""}, {"0.00000005", "9"}};
    for (const auto& c : cases) {
        dir.WriteIni("[Data]\r\nURL=A\r\n");
        Range(c.lower, c.upper);
        controls.captions[std::string(names::按钮3)] = kStart;
        engine.ToggleCycle();
        EXPECT_EQ(Text(names::编辑框2), "100") << c.lower << ".." << c.upper;
        EXPECT_EQ(Text(names::编辑框3), "100");
        EXPECT_EQ(Stored("Settings", "Second1"), "100");
        EXPECT_EQ(Stored("Settings", "Second2"), "100");
        EXPECT_EQ(engine.state().DrawnSeconds, 100);
    }
}

TEST_F(EngineTest, WithoutConfigIniTheRangeAndListStayAsTheyAre) {
    Range("0", "0");
    engine.ToggleCycle();
    EXPECT_EQ(Text(names::编辑框2), "0");
    EXPECT_FALSE(dir.ReadIni().has_value());
    EXPECT_EQ(engine.state().UrlCount, 0);
}

TEST_F(EngineTest, WaitsAreDrawnFromTheCutRange) {
    const struct {
        const char* lower;
        const char* upper;
        int low, high;
    } cases[] = {{"10", "3", 3, 10}, {"-5", "2", 0, 2}, {"2.9", "3.9", 2, 3}, {"1e12", "3e12", 2147483647, 2147483647}};
    dir.WriteIni("[Data]\r\nURL=A\r\n");
    for (const auto& c : cases) {
        Range(c.lower, c.upper);
        for (int i = 0; i < 50; ++i) {
            engine.DrawWait();
            EXPECT_GE(engine.state().DrawnSeconds, c.low) << c.lower << ".." << c.upper;
            EXPECT_LE(engine.state().DrawnSeconds, c.high) << c.lower << ".." << c.upper;
        }
    }
}

TEST(EngineRuns, EveryRunDrawsTheSameWaits) {
    const auto run = [] {
        test::TempDir dir;
        test::FakeControls controls;
        Engine engine(controls, Settings(dir.path()));
        controls.texts[std::string(names::编辑框2)] = "1";
        controls.texts[std::string(names::编辑框3)] = "1000";
        std::vector<int> drawn;
        for (int i = 0; i < 5; ++i) {
            engine.DrawWait();
            drawn.push_back(engine.state().DrawnSeconds);
        }
        return drawn;
    };
    const std::vector<int> first = run();
    EXPECT_EQ(first.front(), 1 + 41 % 1000);
    EXPECT_EQ(run(), first);
}

TEST_F(EngineTest, TwoClicksMakeExactlyTwoTransitions) {
    dir.WriteIni("[Data]\r\nURL=A\r\n[Settings]\r\n");
    Range("5", "5");
    engine.OnClicked(names::按钮3);
    EXPECT_TRUE(engine.state().Running);
    engine.OnClicked(names::按钮3);
    EXPECT_FALSE(engine.state().Running);
    std::vector<std::string> captions;
    for (const Write& w : controls.WritesTo(names::按钮3))
        captions.push_back(w.value);
    EXPECT_EQ(captions, (std::vector<std::string>{kStop, kStart}));
}

TEST_F(EngineTest, StoppingFreezesAndAStartBeginsAgainAtTheFirstAddress) {
    dir.WriteIni("[Data]\r\nURL=A*B*C\r\n");
    Range("2", "2");
    engine.ToggleCycle();
    Tick(3); // A shown, one second into the next wait
    engine.ToggleCycle();
    const std::string frozen = Caption(names::标签11);
    Tick(10);
    EXPECT_EQ(Caption(names::标签11), frozen);
    EXPECT_EQ(controls.Urls().size(), 1u);

    dir.WriteIni("[Data]\r\nURL=X*Y\r\n");
    engine.ToggleCycle();
    Tick(2);
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A", "X"}));
}

TEST_F(EngineTest, TheStoredListIsReadOnlyAtAStart) {
    dir.WriteIni("[Data]\r\nURL=A*B\r\n");
    Range("1", "1");
    engine.ToggleCycle();
    dir.WriteIni("[Data]\r\nURL=X*Y\r\n");
    Tick(3);
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A", "B", "A"}));
    // With the file gone, a start keeps the list of the previous start.
    std::filesystem::remove(dir.Ini());
    engine.ToggleCycle();
    engine.ToggleCycle();
    Tick(1);
    EXPECT_EQ(controls.Urls().back(), "A");
}

TEST_F(EngineTest, AnEmptyEntryEmptiesTheAddressBar) {
    dir.WriteIni("[Data]\r\nURL=A**B*\r\n");
    Range("1", "1");
    engine.ToggleCycle();
    Tick(4);
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A", "", "B", "A"}));
    EXPECT_EQ(engine.state().UrlCount, 3);
}

TEST_F(EngineTest, AnEmptyListShowsNoPageAndKeepsCounting) {
    dir.WriteIni("[Data]\r\nURL=\r\n");
    Range("1", "1");
    engine.ToggleCycle();
    Tick(5);
    EXPECT_TRUE(controls.Urls().empty());
    EXPECT_TRUE(controls.WritesTo(names::编辑框1).empty());
    EXPECT_TRUE(engine.state().Running);
    EXPECT_EQ(Caption(names::标签11), "1");
}

TEST_F(EngineTest, AWaitOfZeroEndsAtTheNextTick) {
    dir.WriteIni("[Data]\r\nURL=A*B\r\n");
    Range("-5", "0.5"); // both ends cut to 0; 0.5 is not zero, so no default applies
    engine.ToggleCycle();
    EXPECT_EQ(Caption(names::标签11), "0");
    Tick();
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A"}));
    Tick();
    EXPECT_EQ(controls.Urls(), (std::vector<std::string>{"A", "B"}));
    for (const Write& w : controls.WritesTo(names::标签11))
        EXPECT_EQ(w.value, "0");
}

TEST_F(EngineTest, EditingTheRangeWhileRunningTakesEffectAtTheNextDraw) {
    dir.WriteIni("[Data]\r\nURL=A\r\n");
    Range("3", "3");
    engine.ToggleCycle();
    Tick();
    Range("1", "1");
    Tick();
    EXPECT_EQ(Caption(names::标签11), "1");
    EXPECT_TRUE(controls.Urls().empty());
    Tick();
    EXPECT_EQ(controls.Urls().size(), 1u);
    EXPECT_EQ(Caption(names::标签10), "1");
}

} // namespace
} // namespace lumorra
