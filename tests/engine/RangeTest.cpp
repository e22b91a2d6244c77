// The range boxes: spinner steps, the typing filter and the normalisation on losing the focus.
#include "EngineFixture.h"

namespace lumorra {
namespace {

using test::EngineTest;

struct StepCase {
    const char* lower;
    const char* upper;
    bool upperSpinner;
    int direction;
    const char* lowerAfter;
    const char* upperAfter;
    std::vector<std::string> textsWritten; // every text written to either box, in order
};

TEST_F(EngineTest, SpinnerStepsKeepTheRangeInOrder) {
    const StepCase cases[] = {
        {"5", "5", false, 1, "6", "6", {"6", "6"}},
        {"1", "9", false, -1, "1", "9", {"0", "1"}},
        {"0.5", "9", false, -1, "1", "9", {"-0.5", "1"}},
        {"1.5", "9", false, -1, "0.5", "9", {"0.5"}},
        {"3", "3", true, -1, "3", "3", {"2", "3"}},
        {"10", "3", true, 1, "10", "10", {"4", "10"}},
        {"10", "3", true, -1, "10", "10", {"2", "10"}},
        {"0", "1", true, -1, "0", "1", {"0", "1"}},
        {"", "", true, 1, "", "1", {"1"}},
        {"abc", "9", false, -1, "1", "9", {"-1", "1"}},
        {"\xA3\xB7", "9", false, 1, "8", "9", {"8"}}, // a full-width seven
        {"2.5", "2.5", false, 1, "3.5", "3.5", {"3.5", "3.5"}},
        {"05", "9", false, 1, "6", "9", {"6"}},
        {"-3", "9", false, -1, "1", "9", {"-4", "1"}},
        {"7", "9", false, 2, "7", "9", {}}, // only 1 and -1 are steps
        {"7", "9", true, 0, "7", "9", {}},
    };
    for (const StepCase& c : cases) {
        Range(c.lower, c.upper);
        controls.writes.clear();
        if (c.upperSpinner)
            engine.StepUpperEnd(c.direction);
        else
            engine.StepLowerEnd(c.direction);
        const std::string label = std::string(c.lower) + ".." + c.upper + (c.upperSpinner ? " upper " : " lower ") +
                                  std::to_string(c.direction);
        EXPECT_EQ(Text(names::编辑框2), c.lowerAfter) << label;
        EXPECT_EQ(Text(names::编辑框3), c.upperAfter) << label;
        std::vector<std::string> written;
        for (const auto& w : controls.writes)
            written.push_back(w.value);
        EXPECT_EQ(written, c.textsWritten) << label;
    }
}

TEST_F(EngineTest, EveryIntermediateStepTextIsStoredAndTheLastOneStays) {
    Range("1", "9");
    engine.StepLowerEnd(-1);
    EXPECT_EQ(Stored("Settings", "Second1"), "1");
    Range("5", "5");
    engine.StepLowerEnd(1);
    EXPECT_EQ(Stored("Settings", "Second1"), "6");
    EXPECT_EQ(Stored("Settings", "Second2"), "6");
}

TEST(TypingFilter, AcceptsDigitsMinusAndControlKeysOnly) {
    for (char c : std::string("0123456789-"))
        EXPECT_TRUE(AcceptsTypedChar(static_cast<unsigned char>(c))) << c;
    for (std::uint32_t control : {8u, 3u, 22u, 24u, 1u, 26u})
        EXPECT_TRUE(AcceptsTypedChar(control)) << control;
    for (char c : std::string(".+ aZ,e"))
        EXPECT_FALSE(AcceptsTypedChar(static_cast<unsigned char>(c))) << c;
    for (std::uint32_t wide : {0xFF17u, 0x4E00u, 0x3000u, 127u, 0xB0u})
        EXPECT_FALSE(AcceptsTypedChar(wide)) << wide;
}

TEST(Normalise, GivesThePlainWholeNumberOrNothing) {
    const struct {
        const char* text;
        const char* result;
        bool changed;
    } cases[] = {
        {"007", "7", true},
        {"12abc", "12", true},
        {"1-2", "1", true},
        {"2.5", "2", true},
        {"abc", "", true},
        {"0", "", true},
        {"-0", "", true},
        {"-5", "-5", false},
        {"15", "15", false},
        {"", "", false},
        {"+8", "8", true},
        {"  \t9", "9", true},
        {"99999999999", "2147483647", true},
        {"-99999999999", "-2147483648", true},
        {"2147483648", "2147483647", true},
        {"99999999999999999999999999999", "2147483647", true}, // beyond 64 bits
        {"-99999999999999999999999999999", "-2147483648", true},
        {"\xA3\xB7", "", true}, // full-width digits are no digits here
    };
    for (const auto& c : cases) {
        const NormalisedRange r = NormaliseRangeText(c.text);
        EXPECT_EQ(r.text, c.result) << c.text;
        EXPECT_EQ(r.changed, c.changed) << c.text;
    }
}

} // namespace
} // namespace lumorra
