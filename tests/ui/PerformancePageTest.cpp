// The performance page on virtual mice of both families: what each control stores, what it queues and the
// bytes that reach the mouse, compared with the HID trace.

#include <sys/stat.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <thread>

#include "PerformanceFixture.h"
#include "actions/DpiRounding.h"
#include "platform/TempHome.h"
#include "store/SettingsCatalogue.h"
#include "toolkit/ReporteCtrl.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/pages/performance/PowerPanel.h"
#include "ui/pages/performance/ReportRatePanel.h"
#include "ui/pages/performance/LiftOffPanel.h"
#include "ui/pages/performance/SensorPanel.h"

namespace quorvel::test {
namespace {

class PerformancePageChanges : public PerformancePageTest {
protected:
    // Six levels of 800 DPI, level 1 active: every byte of a DPI command is known before a change.
    void OpenSix(const std::string& mice) {
        OpenPage(mice, [this] {
            Set("dpi_count", "6");
            Set("dpi_index", "0");
            for (int i = 0; i < 6; ++i) Set(DpiValueKey(i), "800");
        });
    }
};

TEST_F(PerformancePageChanges, TypedValuesAreRoundedForTheSensorAndSent) {
    struct Case {
        const char* mice;
        const char* typed;
        const char* stored;
        int raw;     // the level's code in the DPI command
        int raw800;  // the code of the other levels' 800 DPI
    };
    const Case cases[] = {
        {"102:wired,sensor=5", "12345", "12000", 184, 16},
        {"102:wired,sensor=5", "49", "50", 1, 16},
        {"102:wired,sensor=5", "175", "150", 3, 16},
        {"102:wired,sensor=17", "11050", "11000", 210, 16},
        {"102:wired,sensor=17", "17999", "17000", 225, 16},
        {"102:wired,sensor=17", "19000", "18000", 226, 16},
        {"102:wired,sensor=17", "10025", "10000", 200, 16},
        {"102:wired,sensor=38", "150", "200", 1, 7},
        {"102:wired,sensor=38", "9999", "9900", 59, 7},
        {"102:wired,sensor=4", "30", "100", 1, 8},
        {"102:wired,sensor=150", "27500", "27000", 520, 15},
        {"102:wired", "26049", "26000", 519, 15},  // sensor 149
        {"102:wired", "", "50", 0, 15},            // nothing typed reads as 0: the smallest value
        {"201:wired", "16050", "16000", 160, 8},   // the feature family's sensor 53
        {"201:wired", "150", "100", 1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mice) + " typed \"" + c.typed + "\"");
        OpenSix(c.mice);
        const bool feature = std::string(c.mice).rfind("201", 0) == 0;
        const int sequence = NextSequence();
        ClickLevel(2);          // level 3 becomes active: sent once, the indicator shows its value
        ASSERT_TRUE(Settle());  // the worker reads the settings when it sends: one change at a time
        TypeLevel(2, c.typed);
        EXPECT_EQ(Get(DpiValueKey(2)), c.stored);
        EXPECT_EQ(Get("dpi_index"), "2");
        EXPECT_EQ(QString::number(Levels()->GetDPIValue(2)).toStdString(), c.stored);
        EXPECT_EQ(host->queued, 2u);
        EXPECT_EQ(host->dpiShown, std::vector<int>{800});  // the click; the edit kept the active level
        ASSERT_TRUE(Settle());
        std::vector<int> raws(6, c.raw800);
        const std::vector<int> clicked = raws;
        raws[2] = c.raw;
        const std::vector<std::string> expected =
            feature ? std::vector<std::string>{FeatureDpiLine(sequence, 2, 6, clicked),
                                               FeatureDpiLine(sequence + 1, 2, 6, raws)}
                    : std::vector<std::string>{ReportDpiLine(2, 6, clicked), ReportDpiLine(2, 6, raws)};
        EXPECT_EQ(SentSinceLastCall(), expected);
        EXPECT_EQ(Issues(), std::vector<std::string>{});
        ClosePage();
    }
}

// The edit of a level that is not the active one makes it active with the same single command.
TEST_F(PerformancePageChanges, EditingAnotherLevelSendsOnce) {
    OpenSix("102:wired,sensor=4");
    // The mouse switched to level 5 while the value of level 2 was being typed.
    Levels()->EditItem(1);
    ASSERT_TRUE(Settle());
    SentSinceLastCall();
    host->dpiShown.clear();
    Set("dpi_index", "4");  // as the worker stores a switch on the mouse
    session->Core().SetDpiLevelState(6, 4);
    page->SelectDpiLevel(4, 800, 4);
    host->dpiShown.clear();
    const size_t queued = host->queued;
    Levels()->findChild<QLineEdit*>()->setText("1250");
    Levels()->EndEdit();
    EXPECT_EQ(host->queued, queued + 1);
    EXPECT_EQ(Get("dpi_index"), "1");
    EXPECT_EQ(Levels()->GetSelectItem(), 1);
    EXPECT_EQ(host->dpiShown, std::vector<int>{1200});
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SentSinceLastCall(), std::vector<std::string>{ReportDpiLine(1, 6, {8, 12, 8, 8, 8, 8})});
}

TEST_F(PerformancePageChanges, ReclickingTheActiveLevelQueuesNothing) {
    OpenSix("102:wired");
    ClickLevel(0);
    EXPECT_EQ(Get("dpi_index"), "0");
    EXPECT_EQ(host->queued, 0u);
    EXPECT_EQ(host->savingShown, 0);
    EXPECT_TRUE(host->dpiShown.empty());
    ClickLevel(3);
    EXPECT_EQ(host->queued, 1u);
    EXPECT_EQ(host->dpiShown, std::vector<int>{800});
    ClickLevel(3);
    EXPECT_EQ(host->queued, 1u);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SentSinceLastCall(), std::vector<std::string>{ReportDpiLine(3, 6, std::vector<int>(6, 15))});
}

TEST_F(PerformancePageChanges, ACountBelowTheActiveLevelMakesTheLastOneActive) {
    for (const char* mice : {"102:wired", "201:wired"}) {
        SCOPED_TRACE(mice);
        OpenSix(mice);
        const bool feature = std::string(mice) == "201:wired";
        ClickLevel(4);
        ASSERT_TRUE(Settle());
        SentSinceLastCall();
        const int sequence = NextSequence();
        ChooseCount(3);
        EXPECT_EQ(Get("dpi_count"), "3");
        EXPECT_EQ(Get("dpi_index"), "2");
        EXPECT_EQ(Get(DpiValueKey(4)), "800");  // the levels beyond the count keep their values
        EXPECT_EQ(Levels()->GetItemCount(), 3);
        EXPECT_EQ(Levels()->GetSelectItem(), 2);
        EXPECT_EQ(Device().dpiLevelSelected, 2);
        ASSERT_TRUE(Settle());
        const int raw800 = feature ? 8 : 15;
        EXPECT_EQ(
            SentSinceLastCall(),
            std::vector<std::string>{feature ? FeatureDpiLine(sequence, 2, 3, std::vector<int>(6, raw800))
                                             : ReportDpiLine(2, 3, std::vector<int>(6, raw800))});
        // Raising it again brings the levels back with their values.
        ChooseCount(5);
        EXPECT_EQ(Levels()->GetItemCount(), 5);
        EXPECT_EQ(Levels()->GetDPIValue(4), 800);
        EXPECT_EQ(Get("dpi_index"), "2");
        ASSERT_TRUE(Settle());
        ClosePage();
    }
}

TEST_F(PerformancePageChanges, DraggingStoresAndTheReleaseSendsOnce) {
    OpenSix("102:wired,sensor=4");  // positions 1-80, 100 DPI each
    DPISlider* slider = Slider();
    ASSERT_EQ(slider->GetMinimum(), 1);
    ASSERT_EQ(slider->GetMaximum(), 80);
    EXPECT_EQ(slider->GetProgress(), 8);
    const auto xOf = [slider](int position) {
        const qreal thumb = 26, left = thumb / 2 + 1, width = slider->width() - thumb - 2;
        return qRound(left + width * (position - 1) / 79.0);
    };
    const int y = (slider->height() - 22) / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(xOf(20), y));
    EXPECT_EQ(Get(DpiValueKey(0)), "2000");
    QTest::mouseMove(slider, QPoint(xOf(30), y));
    EXPECT_EQ(Get(DpiValueKey(0)), "3000");
    EXPECT_EQ(Levels()->GetDPIValue(0), 3000);
    EXPECT_EQ(host->queued, 0u);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(xOf(30), y));
    EXPECT_EQ(host->queued, 1u);
    EXPECT_EQ(host->savingShown, 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SentSinceLastCall(), std::vector<std::string>{ReportDpiLine(0, 6, {30, 8, 8, 8, 8, 8})});

    // A thumb pressed and let go where it stands changes and sends nothing.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(xOf(30), y));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(xOf(30), y));
    EXPECT_EQ(host->queued, 1u);
    EXPECT_EQ(Get(DpiValueKey(0)), "3000");
}

TEST_F(PerformancePageChanges, ClosingThePickerChangesNothingAndAColourIsSent) {
    OpenSix("102:wired");
    const std::string before = Get(DpiColorKey(1));
    QTest::mouseClick(Levels(), Qt::LeftButton, {}, SwatchPoint(1));
    auto* picker = qobject_cast<MousePaletteDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->Colour(), Levels()->GetDPIColorValue(1));
    Control<QAbstractButton>(picker, MousePaletteDlg::kClose)->click();
    QApplication::processEvents();
    EXPECT_EQ(Get(DpiColorKey(1)), before);
    EXPECT_EQ(Get("dpi_index"), "0");  // the swatch does not select its level
    EXPECT_EQ(host->queued, 0u);
    EXPECT_TRUE(host->dpiShown.empty());

    // Pure black cannot be chosen: it is the picker's "no choice".
    QTest::mouseClick(Levels(), Qt::LeftButton, {}, SwatchPoint(1));
    picker = qobject_cast<MousePaletteDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(picker, nullptr);
    for (int id : {MousePaletteDlg::kRed, MousePaletteDlg::kGreen, MousePaletteDlg::kBlue}) {
        auto* field = Control<QLineEdit>(picker, id);
        field->clear();
        QTest::keyClicks(field, "0");
    }
    Control<QAbstractButton>(picker, MousePaletteDlg::kApply)->click();
    QApplication::processEvents();
    EXPECT_EQ(Get(DpiColorKey(1)), before);
    EXPECT_EQ(host->queued, 0u);

    // The last preset (white), applied.
    QTest::mouseClick(Levels(), Qt::LeftButton, {}, SwatchPoint(1));
    picker = qobject_cast<MousePaletteDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(picker, nullptr);
    Control<QAbstractButton>(picker, MousePaletteDlg::kFirstPreset + 7)->click();
    Control<QAbstractButton>(picker, MousePaletteDlg::kApply)->click();
    QApplication::processEvents();
    EXPECT_EQ(Get(DpiColorKey(1)), std::to_string(0xFFFFFF));
    EXPECT_EQ(Levels()->GetDPIColorValue(1), 0xFFFFFF);
    EXPECT_EQ(host->queued, 1u);
    EXPECT_EQ(host->dpiShown, std::vector<int>{800});
    ASSERT_TRUE(Settle());
    std::string colours;
    for (int i = 0; i < 6; ++i) {
        const int c = std::stoi(Get(DpiColorKey(i)));
        colours += " " + Hex(c) + " " + Hex(c >> 8) + " " + Hex(c >> 16);
    }
    EXPECT_EQ(SentSinceLastCall(), std::vector<std::string>{ReportWrite("00 04 00 01 12" + colours)});
}

TEST_F(PerformancePageChanges, ResetAsksFirst) {
    OpenSix("102:wired");
    Find<QAbstractButton>(DpiPanel::kReset)->click();
    auto* box = qobject_cast<CUIMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    Control<QAbstractButton>(box, CUIMessageBox::kSecondButton)->click();
    QApplication::processEvents();
    EXPECT_EQ(host->queued, 0u);

    Find<QAbstractButton>(DpiPanel::kReset)->click();
    box = qobject_cast<CUIMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    Control<QAbstractButton>(box, CUIMessageBox::kFirstButton)->click();
    QApplication::processEvents();
    EXPECT_EQ(host->queued, 1u);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Get(DpiValueKey(0)), "400");  // the descriptor's first level
    // The worker asks the page to reload (the bridge passes it on).
    page->ReloadDpiControls();
    EXPECT_EQ(Levels()->GetDPIValue(0), 400);
    EXPECT_EQ(Levels()->GetItemCount(), 5);
}

TEST_F(PerformancePageChanges, ReportRatesFollowTheMousesCapability) {
    struct Case {
        const char* mice;
        int entries;
    };
    const Case cases[] = {
        {"102:wired,rate_cap=0x20", 4}, {"102:wired,rate_cap=0x10", 4}, {"102:wired,rate_cap=0x40", 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mice);
        OpenPage(c.mice);
        auto* rates = Find<ReporteCtrl>(ReportRatePanel::kRates);
        ASSERT_EQ(rates->GetItemCount(), c.entries);
        EXPECT_EQ(rates->GetItemText(c.entries - 1).toStdString(), c.entries == 4 ? "1000Hz" : "8000Hz");
        EXPECT_EQ(rates->GetItemKeyValue(rates->GetSelectItem()), std::stoi(Get("report_rate")));
        ClosePage();
    }
}

// One click on each of the other groups, on both families: stored, and the bytes sent.
TEST_F(PerformancePageChanges, EachGroupSendsItsCommand) {
    for (const char* mice : {"102:wired", "201:wired"}) {
        SCOPED_TRACE(mice);
        OpenPage(mice, [this] {
            Set("report_rate", "1");
            Set("report_rate_wireless", "1");
            Set("sensor_flag", "53");  // bits 1 and 32 are not the page's
            Set("liftoff_height", "1");
            Set("sleep_light", "1");
            Set("move_wakeup", "1");
            Set("move_closelight", "0");
            Set("button_respondtime", "8");
        });
        const bool feature = std::string(mice) == "201:wired";
        const int s = NextSequence();
        auto* rates = Find<ReporteCtrl>(ReportRatePanel::kRates);
        // Segments keep the width of seven (gaps of 8): the third is 500 Hz.
        const qreal segment = (rates->width() - 8 * 6) / 7.0;
        QTest::mouseClick(rates, Qt::LeftButton, {},
                          QPoint(qRound(2 * (segment + 8) + segment / 2), rates->height() / 2));
        EXPECT_EQ(rates->GetItemText(rates->GetSelectItem()), "500Hz");
        EXPECT_EQ(Get("report_rate"), "2");
        EXPECT_EQ(Get("report_rate_wireless"), "2");
        ASSERT_TRUE(Settle());
        Find<QRadioButton>(LiftOffPanel::kHigh)->click();
        EXPECT_EQ(Get("liftoff_height"), "2");
        ASSERT_TRUE(Settle());
        auto* rippleControl = Find<QCheckBox>(SensorPanel::kFirstOption + 1);
        EXPECT_FALSE(rippleControl->isChecked());
        rippleControl->click();
        EXPECT_EQ(Get("sensor_flag"), "28");  // 4 + 8 + 16
        ASSERT_TRUE(Settle());
        auto* responseTime = Find<QLineEdit>(PowerPanel::kResponseTime);
        EXPECT_EQ(responseTime->text(), "8");
        responseTime->selectAll();
        QTest::keyClicks(responseTime, "35");
        QTest::keyClick(responseTime, Qt::Key_Return);
        EXPECT_EQ(responseTime->text(), "20");
        EXPECT_EQ(Get("button_respondtime"), "20");
        ASSERT_TRUE(Settle());
        auto* sleep = Find<QComboBox>(PowerPanel::kSleep);
        EXPECT_EQ(sleep->currentText(), "10 sec");
        sleep->setCurrentIndex(4);  // 5 min
        emit sleep->activated(4);
        EXPECT_EQ(Get("sleep_light"), "30");
        ASSERT_TRUE(Settle());
        Find<QCheckBox>(PowerPanel::kLightsOff)->click();
        EXPECT_EQ(Get("move_closelight"), "1");
        EXPECT_EQ(host->queued, 6u);
        ASSERT_TRUE(Settle());
        const std::vector<std::string> expected =
            feature
                ? std::vector<std::string>{FeatureSend("0C 01 07 00 " + Hex(s) + " 01 01 02"),
                                           FeatureSend("0C 01 07 00 " + Hex(s + 1) + " 01 02 02 01"),
                                           FeatureSend("0C 01 07 00 " + Hex(s + 2) + " 01 02 02 01"),
                                           FeatureSend("0C 01 0B 00 " + Hex(s + 3) + " 01 02 01 00"),
                                           FeatureSend("0C 01 0C 00 " + Hex(s + 4) + " 01 01 00"),
                                           FeatureSend("0C 01 0B 00 " + Hex(s + 5) + " 01 02 1E 00"),
                                           FeatureSend("0C 01 0C 00 " + Hex(s + 6) + " 01 01 00"),
                                           FeatureSend("0C 01 0B 00 " + Hex(s + 7) + " 01 02 1E 01"),
                                           FeatureSend("0C 01 0C 00 " + Hex(s + 8) + " 01 01 00")}
                : std::vector<std::string>{
                      ReportWrite("00 02 00 01 01 02"),          ReportWrite("00 06 00 01 05 02 00 01"),
                      ReportWrite("00 06 00 01 05 02 01 01"),    ReportWrite("00 07 00 01 04 01 01 00 14"),
                      ReportWrite("00 07 00 01 04 1E 01 00 14"), ReportWrite("00 07 00 01 04 1E 01 01 14")};
        EXPECT_EQ(SentSinceLastCall(), expected);
        EXPECT_EQ(Issues(), std::vector<std::string>{});
        ClosePage();
    }
}

TEST_F(PerformancePageChanges, ResponseTimeBelowZeroShowsZero) {
    OpenPage("102:wired");
    auto* responseTime = Find<QLineEdit>(PowerPanel::kResponseTime);
    responseTime->selectAll();
    QTest::keyClicks(responseTime, "-3");
    QTest::keyClick(responseTime, Qt::Key_Return);
    EXPECT_EQ(responseTime->text(), "0");
    EXPECT_EQ(Get("button_respondtime"), "0");
    // Leaving the field after Enter sends nothing more.
    emit responseTime->editingFinished();
    EXPECT_EQ(host->queued, 1u);
    ASSERT_TRUE(Settle());
}

TEST_F(PerformancePageChanges, TheDpiButtonOnTheMouseShowsTheIndicator) {
    for (const char* mice : {"102:wired", "201:wired"}) {
        SCOPED_TRACE(mice);
        OpenSix(mice);
        Set(DpiValueKey(1), "1600");
        MouseMemory memory = Mice().Mouse(0).Memory();  // the mouse on level 1 of 6, as the page shows it
        memory.dpiCount = 6;
        memory.dpiIndex = 0;
        Mice().Mouse(0).SetMemory(memory);
        Mice().Mouse(0).PressDpiButton();  // level 1 -> level 2
        const std::optional<DpiReportView::Level> reported = reports->WaitForLevel();
        ASSERT_TRUE(reported);
        EXPECT_EQ(reported->level, 1);
        EXPECT_EQ(reported->value, 1600);
        // What the window's bridge does with the report, on the UI thread.
        page->SelectDpiLevel(reported->level, reported->value, reported->sensor);
        EXPECT_EQ(Levels()->GetSelectItem(), 1);
        EXPECT_EQ(Slider()->GetProgress(), DpiToSliderPosition(reported->sensor, 1600));
        EXPECT_EQ(host->dpiShown, std::vector<int>{1600});
        EXPECT_TRUE(Indicator().isVisible());
        EXPECT_EQ(Indicator().Value(), 1600);
        EXPECT_TRUE(Indicator().HideTimer()->isActive());
        // The timer hides it; nothing went back to the mouse.
        QMetaObject::invokeMethod(Indicator().HideTimer(), "timeout");
        EXPECT_FALSE(Indicator().isVisible());
        EXPECT_EQ(host->queued, 0u);
        EXPECT_TRUE(SentSinceLastCall().empty());
        ClosePage();
    }
}

TEST_F(PerformancePageChanges, TheModelDecidesTheSensorGroups) {
    OpenPage("103:wired");  // lift-off shown, sensor options not
    EXPECT_TRUE(Find(LiftOffPanel::kTitle)->isVisibleTo(page));
    EXPECT_FALSE(Find(SensorPanel::kTitle)->isVisibleTo(page));
    // Power takes the width the sensor group leaves.
    QWidget* power = Find(PowerPanel::kTitle)->parentWidget();
    EXPECT_EQ(power->geometry().left(), 250 + 12);
    EXPECT_EQ(power->geometry().right(), PerformancePage::kDesignSize.width() - 1);
    ModelState all;
    page->ModelLoaded(all);
    EXPECT_TRUE(Find(SensorPanel::kTitle)->isVisibleTo(page));
    EXPECT_EQ(power->geometry().left(), 250 + 12 + 300 + 12);
}

TEST_F(PerformancePageChanges, ATransientCloseDropsTheEditAndThePicker) {
    OpenSix("102:wired");
    Levels()->EditItem(0);
    Levels()->findChild<QLineEdit*>()->setText("5000");
    QTest::mouseClick(Levels(), Qt::LeftButton, {}, SwatchPoint(2));
    ASSERT_NE(qobject_cast<MousePaletteDlg*>(QApplication::activeModalWidget()), nullptr);
    page->CloseTransient();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(Levels()->IsEditing());
    EXPECT_EQ(Get(DpiValueKey(0)), "800");
    EXPECT_EQ(host->queued, 0u);
}

// The desktop's mouse settings: the button shows only where the desktop has a program for them, starts it,
// and says so when it cannot.
TEST_F(PerformancePageChanges, TheDesktopsMouseSettings) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string bin = dir.path().toStdString() + "/bin", out = dir.path().toStdString() + "/args";
    quorvel::testing::ScopedEnv env;
    env.Set("PATH", bin);
    env.Set("XDG_CURRENT_DESKTOP", "XFCE");
    OpenPage("102:wired");
    EXPECT_FALSE(Find(PerformancePage::kMouseSettings)->isVisibleTo(page));
    EXPECT_FALSE(Find(PerformancePage::kMouseSettingsLabel)->isVisibleTo(page));

    const std::string tool = bin + "/xfce4-mouse-settings";
    quorvel::testing::WriteFileBytes(
        tool, "#!/bin/sh\necho started > '" + out + ".part'\n/bin/mv '" + out + ".part' '" + out + "'\n");
    ::chmod(tool.c_str(), 0700);
    page->Refresh();
    EXPECT_TRUE(Find(PerformancePage::kMouseSettings)->isVisibleTo(page));
    EXPECT_TRUE(Find(PerformancePage::kMouseSettingsLabel)->isVisibleTo(page));
    Find<QAbstractButton>(PerformancePage::kMouseSettings)->click();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The started program writes its file; the limit only guards against a hang.
    for (int i = 0; i < 1000 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(quorvel::testing::ReadFileBytes(out), "started\n");

    // The program went away after the page was shown.
    std::filesystem::remove(tool);
    Find<QAbstractButton>(PerformancePage::kMouseSettings)->click();
    auto* box = qobject_cast<CUIMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Control<QLabel>(box, CUIMessageBox::kMessage)->text(),
              "The system mouse settings could not be opened.");
    Control<QAbstractButton>(box, CUIMessageBox::kFirstButton)->click();
    QApplication::processEvents();
    EXPECT_EQ(host->queued, 0u);
    EXPECT_TRUE(SentSinceLastCall().empty());
}

}  // namespace
}  // namespace quorvel::test
