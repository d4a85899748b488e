// The lighting page on virtual mice: the mode list, the sections a mode's config_func names, the page
// height, the brightness and speed rows, the colours stored and sent, the feature family, and the lighting
// task queued at most once while one waits.

#include <gmock/gmock.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>

#include "PageFixture.h"
#include "actions/PerformanceActions.h"
#include "actions/ProfileActions.h"
#include "store/DeviceDatabase.h"
#include "toolkit/CColorButton.h"
#include "toolkit/LightSlider.h"
#include "toolkit/MPalette.h"
#include "toolkit/MPicture.h"
#include "ui/pages/lighting/LightColours.h"
#include "ui/pages/lighting/LightingPage.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel::test {
namespace {

using Ids = LightingPage::Id;
using ColourIds = LightColours::Id;

// The seven default colours as the mouse receives them (R, G, B).
const std::vector<std::string> kDefaultRgb = {"FF 00 00", "00 FF 00", "00 00 FF", "00 FF FF",
                                              "FF FF 00", "FF 00 FF", "FF FF FF"};

std::string Join(const std::vector<std::string>& parts) {
    std::string all;
    for (const std::string& p : parts) all += (all.empty() ? "" : " ") + p;
    return all;
}

struct SectionCase {
    int configFunc;
    bool brightness, speed, settings, colourRow, single;
    int height;  // at scale 1
};

class LightingPageTest : public PageTest {
protected:
    LightingPage* OpenPage(const std::string& mice) {
        OpenMice(mice);
        host->Window()->show();
        page = new LightingPage(*host, host->Window());
        page->setGeometry(200, 80, 1180, 658);
        page->Refresh();
        return page;
    }
    // Gives the mode's row of the current profile these sections, and shows the page again.
    void SetSections(int mode, int configFunc) {
        LightModeRecord row;
        ASSERT_TRUE(db.GetLightMode(ctx().Profile(), mode, row)) << mode;
        row.config_func = configFunc;
        ASSERT_TRUE(db.UpdateLightMode(mode, row));
    }
    void Choose(int mode) {
        auto* list = Control<QComboBox>(page, Ids::kModeList);
        const int index = list->findData(mode);
        ASSERT_GE(index, 0) << mode;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // Waits for every queued task's end and hands each end to the page, as the main window does, until
    // nothing more is queued.
    bool Settle() {
        for (;;) {
            const size_t count = 1 + host->queued;
            const std::vector<TaskEnd> ends = gate.WaitForEnds(count);
            if (ends.size() != count) return false;
            for (size_t i = forwarded_; i < count; ++i)
                page->TaskFinished(ends[i].id, ends[i].request, ends[i].result);
            forwarded_ = count;
            if (1 + host->queued == count) return true;
        }
    }
    void ExpectSections(const std::vector<SectionCase>& cases);
    LightModeRecord Row(int mode) {
        LightModeRecord row;
        EXPECT_TRUE(db.GetLightMode(ctx().Profile(), mode, row));
        return row;
    }
    bool Shown(int id) {
        QWidget* w = Control(page, id);
        EXPECT_NE(w, nullptr) << id;
        return w && !w->isHidden();
    }
    QString LabelText(int id) { return Control<QLabel>(page, id)->text(); }
    CColorButton* Colour(int id) { return Control<CColorButton>(page, id); }
    QLineEdit* Edit(int id) { return Control<QLineEdit>(page, id); }

    LightingPage* page = nullptr;

private:
    size_t forwarded_ = 1;  // task 1 is the session's
};

TEST_F(LightingPageTest, ModesInListOrderWithTheActiveOneShown) {
    OpenPage("102:wired");
    auto* list = Control<QComboBox>(page, Ids::kModeList);
    ASSERT_EQ(list->count(), 6);
    const std::pair<int, const char*> expected[] = {{1, "Flowing"}, {2, "Breathing"},    {3, "Steady"},
                                                    {4, "Neon"},    {5, "Rainbow Wave"}, {0, "Off"}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list->itemData(i).toInt(), expected[i].first);
        EXPECT_EQ(list->itemText(i), expected[i].second);
    }
    // The read-back took the mouse's own mode (2) as the active one; a profile never read shows mode 1.
    EXPECT_EQ(list->currentData().toInt(), 2);
    EXPECT_EQ(page->CurrentMode(), 2);
    ASSERT_TRUE(SwitchProfile(ctx(), 3).ok);
    page->Refresh();
    EXPECT_EQ(list->currentData().toInt(), 1);
    EXPECT_EQ(page->CurrentMode(), 1);
    EXPECT_EQ(session->Core().Snapshot().currentLightMode, 1);
    EXPECT_EQ(host->queued, 0u) << "showing the page sends nothing";

    // The names follow the language.
    ChangeUiLanguage(kLcidChinese);
    EXPECT_EQ(list->itemText(0), QStringLiteral("流光"));
    EXPECT_EQ(LabelText(Ids::kTitle), QStringLiteral("灯光设置"));
    ChangeUiLanguage(kLcidEnglish);
    EXPECT_EQ(list->itemText(5), "Off");
}

// What each config_func shows, and how tall the page background is.
void LightingPageTest::ExpectSections(const std::vector<SectionCase>& cases) {
    for (const SectionCase& c : cases) {
        SCOPED_TRACE("config_func " + std::to_string(c.configFunc));
        SetSections(3, c.configFunc);
        Choose(3);
        EXPECT_EQ(Shown(Ids::kBrightness), c.brightness);
        EXPECT_EQ(Shown(Ids::kBrightnessValue), c.brightness);
        EXPECT_EQ(Shown(Ids::kSpeed), c.speed);
        EXPECT_EQ(Shown(Ids::kSpeedValue), c.speed);
        EXPECT_EQ(Shown(Ids::kSettingsPanel), c.settings);
        EXPECT_EQ(Shown(Ids::kSettingsCaption), c.settings);
        EXPECT_EQ(Shown(ColourIds::kSlotLabel), c.colourRow);
        for (int id = ColourIds::kFirstSlot; id < ColourIds::kFirstSlot + 7; ++id)
            EXPECT_EQ(Shown(id), c.colourRow);
        for (int id : {int(Ids::kColourPanel), int(ColourIds::kPresetLabel), int(ColourIds::kFirstPreset) + 7,
                       int(ColourIds::kPalette), int(ColourIds::kPreview), int(ColourIds::kRed) + 2})
            EXPECT_EQ(Shown(id), c.single) << id;
        EXPECT_EQ(Control(page, Ids::kBackground)->height(), c.height);
        EXPECT_TRUE(Shown(Ids::kModeList));
    }
}

TEST_F(LightingPageTest, SectionsFollowConfigFunc) {
    OpenPage("102:wired");
    ExpectSections({
        {0x3, true, true, true, false, false, 430},
        {0x1, true, false, true, false, false, 430},
        {0x0, false, false, false, false, false, 170},
        {0x11, true, false, true, false, true, 658},
        {0x803, true, true, true, true, false, 430},
        {0x813, true, true, true, true, true, 658},
        // Speed alone still sits on its panel.
        {0x2, false, true, true, false, false, 430},
    });
}

TEST_F(LightingPageTest, FeatureFamilyShowsNoColours) {
    OpenPage("201:wired");
    // Neither colour section, and no room kept for them.
    ExpectSections({
        {0x813, true, true, true, false, false, 430},
        {0x11, true, false, true, false, false, 430},
        {0x10, false, false, false, false, false, 170},
    });
}

TEST_F(LightingPageTest, BackgroundHeightFollowsTheLayoutScale) {
    OpenPage("102:wired");
    page->UISize(1.25);
    const std::pair<int, int> cases[] = {{0x11, 822}, {0x1, 537}, {0x0, 212}};
    for (const auto& [configFunc, height] : cases) {
        SetSections(3, configFunc);
        Choose(3);
        EXPECT_EQ(Control(page, Ids::kBackground)->height(), height) << configFunc;
        EXPECT_EQ(Control(page, Ids::kBackground)->width(), 625);
    }
}

TEST_F(LightingPageTest, BrightnessAndSpeed) {
    OpenPage("102:wired");
    // Brightness 2 reads 50 %; anything outside 0-3 reads 100 %.
    LightModeRecord row = Row(2);
    row.brightness = 2;
    db.UpdateLightMode(2, row);
    Choose(2);
    EXPECT_EQ(LabelText(Ids::kBrightnessValue), "Brightness: 50%");
    EXPECT_EQ(LabelText(Ids::kSpeedValue), "Speed: 2");
    ASSERT_TRUE(Settle());
    row.brightness = 7;  // (not sent: the mouse takes 0-4)
    db.UpdateLightMode(2, row);
    page->Refresh();
    EXPECT_EQ(LabelText(Ids::kBrightnessValue), "Brightness: 100%");
    ASSERT_TRUE(Settle());
    SentSinceLastCall();

    // Moving the thumb only shows the position; releasing stores and sends it.
    auto* brightness = Control<LightSlider>(page, Ids::kBrightness);
    emit brightness->progressMoved(3);
    EXPECT_EQ(LabelText(Ids::kBrightnessValue), "Brightness: 75%");
    EXPECT_EQ(Row(2).brightness, 7);
    brightness->SetProgress(1);
    emit brightness->progressReleased(1);
    EXPECT_EQ(LabelText(Ids::kBrightnessValue), "Brightness: 25%");
    EXPECT_EQ(Row(2).brightness, 1);
    EXPECT_EQ(host->queued, 2u);
    ASSERT_TRUE(Settle());

    auto* speed = Control<LightSlider>(page, Ids::kSpeed);
    emit speed->progressMoved(3);
    EXPECT_EQ(LabelText(Ids::kSpeedValue), "Speed: 3");
    EXPECT_EQ(Row(2).speed, 2);
    speed->SetProgress(3);
    emit speed->progressReleased(3);
    EXPECT_EQ(LabelText(Ids::kSpeedValue), "Speed: 3");
    EXPECT_EQ(Row(2).speed, 3);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(host->savingShown, 3);
    const std::string colours = Join(kDefaultRgb);
    EXPECT_EQ(SentSinceLastCall(),
              (std::vector<std::string>{ReportWrite("00 05 00 01 18 02 12 07 " + colours),
                                        ReportWrite("00 05 00 01 18 02 13 07 " + colours)}));
    EXPECT_THAT(Mice().AllIssues(), ::testing::IsEmpty());
}

// Every way to choose a colour, what it stores in the row and what goes to the mouse (mode 2 carries the
// seven colours, mode 3 the first).
TEST_F(LightingPageTest, ColoursStoredAndSent) {
    OpenPage("102:wired");
    struct Case {
        const char* name;
        int mode, configFunc;
        std::function<void()> choose;
        std::array<int, 7> stored;
        size_t writes;     // lighting writes after the mode's choice
        std::string last;  // the last of them (an earlier one may carry a colour passed on the way)
    };
    const std::array<int, 7> defaults = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
    auto with = [&](int slot, int colour) {
        std::array<int, 7> colours = defaults;
        colours[slot - 1] = colour;
        return colours;
    };
    auto preset = [this](int index) {
        return [this, index] { Colour(ColourIds::kFirstPreset + index)->click(); };
    };
    const std::string colours = Join(kDefaultRgb);
    const Case cases[] = {
        {"preset on a single-colour mode", 3, 0x11, preset(0), with(1, 0x0000FF), 1,
         ReportWrite("00 05 00 01 05 03 42 FF 00 00")},
        {"preset into the checked slot", 2, 0x803,
         [&] {
             Colour(ColourIds::kFirstSlot + 2)->click();
             preset(3)();
         },
         // Mode 2 is at the brightness the mouse reported (2).
         with(3, 0xFCFF00), 1,
         ReportWrite(
             "00 05 00 01 18 02 22 07 FF 00 00 00 FF 00 00 FF FC 00 FF FF FF FF 00 FF 00 FF FF FF FF")},
        {"no slot checked: nothing stored, the mode sent again", 2, 0x803,
         [&] {
             for (int i = 0; i < 7; ++i) Colour(ColourIds::kFirstSlot + i)->SetCheck(false);
             preset(4)();
         },
         defaults, 1, ReportWrite("00 05 00 01 18 02 22 07 " + colours)},
        {"typed red above 255", 3, 0x11,
         [&] {
             Edit(ColourIds::kRed + 1)->setText("10");
             Edit(ColourIds::kRed + 2)->setText("20");
             Edit(ColourIds::kRed)->clear();
             const size_t before = host->queued;
             QTest::keyClicks(Edit(ColourIds::kRed), "300");
             EXPECT_EQ(Edit(ColourIds::kRed)->text(), "255");
             EXPECT_EQ(host->queued, before + 1) << "one task while it waits, not one per key";
         },
         // Three keys, two tasks: the keys typed while the first waited go out with one more run.
         with(1, 0x140AFF), 2, ReportWrite("00 05 00 01 05 03 42 FF 0A 14")},
        {"palette", 3, 0x11,
         [&] {
             preset(1)();
             auto* palette = Control<MPalette>(page, ColourIds::kPalette);
             emit palette->colorChanging(0x00FF80);
             EXPECT_FALSE(Colour(ColourIds::kFirstPreset + 1)->GetCheck());
             EXPECT_EQ(Edit(ColourIds::kRed)->text(), "128");
             emit palette->colorPicked(0x00FF80);
         },
         with(1, 0x00FF80), 2, ReportWrite("00 05 00 01 05 03 42 80 FF 00")},
        {"colour picker", 3, 0x11,
         [&] {
             page->SetColourPicker([](QWidget*, int start) {
                 EXPECT_EQ(start, 0x0000FF);  // the preview's: the mode's stored colour
                 return 0x332211;
             });
             Colour(ColourIds::kPreview)->click();
             EXPECT_EQ(Edit(ColourIds::kRed + 2)->text(), "51");
             page->SetColourPicker([](QWidget*, int) { return 0; });  // cancelled: nothing happens
             Colour(ColourIds::kPreview)->click();
         },
         with(1, 0x332211), 1, ReportWrite("00 05 00 01 05 03 42 11 22 33")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LightModeRecord row = Row(c.mode);
        std::copy(defaults.begin(), defaults.end(), row.color_value);
        row.config_func = c.configFunc;
        db.UpdateLightMode(c.mode, row);
        Choose(c.mode);
        ASSERT_TRUE(Settle());
        SentSinceLastCall();

        c.choose();
        ASSERT_TRUE(Settle());
        const LightModeRecord stored = Row(c.mode);
        EXPECT_EQ(std::vector<int>(stored.color_value, stored.color_value + 7),
                  std::vector<int>(c.stored.begin(), c.stored.end()));
        const std::vector<std::string> sent = SentSinceLastCall();
        ASSERT_EQ(sent.size(), c.writes);
        EXPECT_EQ(sent.back(), c.last);
    }
    EXPECT_THAT(Mice().AllIssues(), ::testing::IsEmpty());
}

// The preview and the red, green and blue edits start at the mode's stored colour, whichever colour was
// shown before (another mode's, another profile's, the start colour).
TEST_F(LightingPageTest, TheColourShownIsTheStoredOne) {
    OpenPage("102:wired");
    const auto store = [this](int mode, int colour) {
        LightModeRecord row = Row(mode);
        row.color_value[0] = colour;
        row.config_func = 0x11;
        ASSERT_TRUE(db.UpdateLightMode(mode, row));
    };
    store(3, 0x332211);
    store(2, 0x0A0B0C);
    struct Case {
        const char* name;
        std::function<void()> show;
        int colour;
    };
    const Case cases[] = {
        {"a mode chosen", [this] { Choose(3); }, 0x332211},
        {"another mode", [this] { Choose(2); }, 0x0A0B0C},
        {"a refresh", [this] { page->Refresh(); }, 0x0A0B0C},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.show();
        ASSERT_TRUE(Settle());
        EXPECT_EQ(Colour(ColourIds::kPreview)->GetColor(), c.colour);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(Edit(ColourIds::kRed + channel)->text().toInt(), (c.colour >> (8 * channel)) & 0xFF)
                << channel;
    }
}

// The feature family gets the mode and its brightness and speed; the colour it keeps is the stored one.
// Keys typed while a lighting task waits are sent with one more run once it ends; after a switch to
// another profile that run would send the old profile's lighting over the new one's, so it is dropped.
TEST_F(LightingPageTest, AFollowUpIsDroppedWhenTheProfileChanges) {
    OpenPage("102:wired");
    Choose(3);
    ASSERT_TRUE(Settle());
    Edit(ColourIds::kRed)->clear();
    QTest::keyClicks(Edit(ColourIds::kRed), "30");  // one task, the second key waits for a follow-up
    const size_t queued = host->queued;
    session->Core().SetCurrentProfile(2);  // the switch sends the new profile itself
    ASSERT_TRUE(Settle());
    EXPECT_EQ(host->queued, queued) << "the old profile's lighting was sent again";
}

TEST_F(LightingPageTest, FeatureFamilyTrace) {
    OpenPage("201:wired");
    ASSERT_TRUE(Settle());
    SentSinceLastCall();
    Choose(3);
    ASSERT_TRUE(Settle());
    auto* brightness = Control<LightSlider>(page, Ids::kBrightness);
    brightness->SetProgress(2);
    emit brightness->progressReleased(2);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SentSinceLastCall(),
              (std::vector<std::string>{FeatureSend("0C 01 08 00 00 01 05 03 42 FF 00 00"),
                                        FeatureSend("0C 01 08 00 01 01 05 03 22 FF 00 00")}));
    EXPECT_THAT(Mice().AllIssues(), ::testing::IsEmpty());
}

TEST_F(LightingPageTest, ResetAsksFirst) {
    OpenPage("102:wired");
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "confirmed" : "cancelled");
        OnNextModal([confirm](QWidget* box) {
            Control<QAbstractButton>(box,
                                     confirm ? CUIMessageBox::kFirstButton : CUIMessageBox::kSecondButton)
                ->click();
        });
        Control<QAbstractButton>(page, Ids::kReset)->click();
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QApplication::processEvents();
        EXPECT_EQ(host->queued, confirm ? 1u : 0u);
    }
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SentSinceLastCall(),
              (std::vector<std::string>{ReportWrite("00 0E 00 01 01 01"), ReportWrite("00 15")}));
}

}  // namespace
}  // namespace quorvel::test
