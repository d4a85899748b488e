// Lighting page actions: default rows, the mode made active, row changes by the mode's sections.

#include "ActionsFixture.h"

namespace quorvel::test {
namespace {

// Changes spelt out: designated initialisers would leave members unnamed.
LightChange Bright(int b) {
    LightChange c;
    c.brightness = b;
    return c;
}
LightChange Speed(int v) {
    LightChange c;
    c.speed = v;
    return c;
}
LightChange Colour(std::optional<int> colour, std::optional<int> slot = std::nullopt) {
    LightChange c;
    c.colour = colour;
    c.colourSlot = slot;
    return c;
}

class LightingActions : public ActionsTest {
protected:
    LightModeRecord Mode(int mode) {
        LightModeRecord r;
        EXPECT_TRUE(db_.GetLightMode(Profile(), mode, r)) << mode;
        return r;
    }
    void SetSections(int mode, int configFunc) {
        LightModeRecord r = Mode(mode);
        r.config_func = configFunc;
        ASSERT_TRUE(db_.UpdateLightMode(mode, r));
    }
    std::vector<int> Colours(int mode) {
        const LightModeRecord r = Mode(mode);
        return std::vector<int>(std::begin(r.color_value), std::end(r.color_value));
    }
};

TEST_F(LightingActions, ListCreatesTheDefaultRowsOnce) {
    Make("102:wired");
    Offline(102);
    std::vector<LightModeInfo> modes;
    ASSERT_TRUE(ListLightModes(ctx(), &modes).ok);
    std::vector<std::string> shown;
    for (const LightModeInfo& m : modes)
        shown.push_back(std::to_string(m.row.mode) + " " + m.caption + (m.active ? " *" : ""));
    EXPECT_EQ(shown, (std::vector<std::string>{"1 T280 *", "2 T281", "3 T282", "4 T283", "5 T284", "0 T285"}));
    ASSERT_TRUE(ListLightModes(ctx(), &modes).ok);
    EXPECT_EQ(modes.size(), 6u);
}

TEST_F(LightingActions, ChangingAModeMakesItActiveAndStoresItsRow) {
    Make("102:wired");
    Offline(102);
    LightChange change;
    change.brightness = 2;
    change.speed = kLightSpeedMax;
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 2, change), kTaskWriteLighting);
    const LightModeRecord r = Mode(2);
    EXPECT_EQ(r.brightness, 2);
    EXPECT_EQ(r.speed, kLightSpeedMax);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(db_.GetActiveLightMode(Profile()), 2);
    EXPECT_EQ(core_->Snapshot().currentLightMode, 2);
    EXPECT_EQ(Mode(1).brightness, 4);  // untouched
    // Choosing a mode alone still sends it.
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 0), kTaskWriteLighting);
    EXPECT_EQ(db_.GetActiveLightMode(Profile()), 0);
}

TEST_F(LightingActions, ChangesAMustFitTheModesSections) {
    Make("102:wired");
    Offline(102);
    struct Case {
        int mode;
        LightChange change;
        const char* why;
    };
    const Case cases[] = {
        {9, LightChange{}, "no lighting mode 9 (modes: 1, 2, 3, 4, 5, 0)"},
        {3, Speed(1), "no speed setting"},
        {0, Bright(1), "no brightness setting"},
        {1, Bright(5), "out of range (0-4)"},
        {1, Bright(-1), "out of range (0-4)"},
        {1, Speed(5), "out of range (0-4)"},
        {1, Colour(255), "no colour setting"},
        {1, Colour(std::nullopt, 2), "needs a colour"},
    };
    for (const Case& c : cases) EXPECT_REFUSED(ChangeLightMode(ctx(), c.mode, c.change), c.why);
    EXPECT_EQ(db_.GetActiveLightMode(Profile()), 1);
    EXPECT_EQ(core_->Snapshot().currentLightMode, 0);
}

TEST_F(LightingActions, ColoursGoToTheFirstSlotOrTheChosenOne) {
    Make("102:wired");
    Offline(102);
    std::vector<LightModeInfo> modes;
    ASSERT_TRUE(ListLightModes(ctx(), &modes).ok);
    const std::vector<int> defaults = Colours(4);
    ASSERT_EQ(defaults, (std::vector<int>{255, 65280, 16711680, 16776960, 65535, 16711935, 16777215}));

    SetSections(4, kLightColourRow | kLightBrightness);
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 4, Colour(0x123456, 3)), kTaskWriteLighting);
    std::vector<int> expected = defaults;
    expected[2] = 0x123456;
    EXPECT_EQ(Colours(4), expected);
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 4, Colour(0)), kTaskWriteLighting);
    expected[0] = 0;
    EXPECT_EQ(Colours(4), expected);
    EXPECT_REFUSED(ChangeLightMode(ctx(), 4, Colour(1, 8)), "slot 8");

    SetSections(5, kLightSingleColour);
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 5, Colour(0xABCDEF)), kTaskWriteLighting);
    expected = defaults;
    expected[0] = 0xABCDEF;
    EXPECT_EQ(Colours(5), expected);
    EXPECT_REFUSED(ChangeLightMode(ctx(), 5, Colour(1, 2)), "no row of colour slots");
    EXPECT_REFUSED(ChangeLightMode(ctx(), 5, Colour(0x1000000)), "not an RGB colour");
}

// The sample product's descriptor gives breathing a row of seven colours and steady one colour; the other
// modes keep what they have without it.
TEST_F(LightingActions, SteadyAndBreathingOfTheSampleModelTakeAColour) {
    Make("102:wired");
    Offline(102);
    std::vector<LightModeInfo> modes;
    ASSERT_TRUE(ListLightModes(ctx(), &modes).ok);
    std::vector<std::pair<int, int>> sections;
    for (const LightModeInfo& m : modes) sections.emplace_back(m.row.mode, m.row.config_func);
    EXPECT_EQ(sections,
              (std::vector<std::pair<int, int>>{{1, 3}, {2, 0x813}, {3, 0x11}, {4, 3}, {5, 3}, {0, 0}}));

    const std::vector<int> defaults = Colours(3);
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 3, Colour(0x0080FF)), kTaskWriteLighting);
    std::vector<int> expected = defaults;
    expected[0] = 0x0080FF;
    EXPECT_EQ(Colours(3), expected);
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 2, Colour(0x00FF00, 7)), kTaskWriteLighting);
    EXPECT_EQ(Colours(2)[6], 0x00FF00);
}

TEST_F(LightingActions, FeatureFamilyTakesNoColours) {
    Make("201:wired");
    Offline(201);
    std::vector<LightModeInfo> modes;
    ASSERT_TRUE(ListLightModes(ctx(), &modes).ok);
    EXPECT_EQ(modes.size(), 4u);  // F1 enables zones 1, 2, 3 and 6
    SetSections(1, kLightSingleColour | kLightBrightness);
    EXPECT_REFUSED(ChangeLightMode(ctx(), 1, Colour(255)), "no lighting colours");
    EXPECT_ACCEPTED(ChangeLightMode(ctx(), 1, Bright(0)), kTaskWriteLighting);
    EXPECT_ACCEPTED(ResetLighting(ctx()), kTaskResetLighting);
}

TEST_F(LightingActions, ModelsWithoutLightingRefuse) {
    Make("103:wired");
    Offline(103);
    EXPECT_REFUSED(ListLightModes(ctx(), nullptr), "no lighting");
    EXPECT_REFUSED(ChangeLightMode(ctx(), 1), "no lighting");
    EXPECT_REFUSED(ResetLighting(ctx()), "no lighting");
    EXPECT_EQ(db_.CountLightModes(Profile()), 0);
}

}  // namespace
}  // namespace quorvel::test
