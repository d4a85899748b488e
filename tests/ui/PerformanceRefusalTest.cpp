// A change the page cannot store is refused, and the group shows the stored value again: no refused
// choice stays on screen as if it were saved. The database refuses every settings write here (a trigger
// added beside the page's own connection), while reads go on.

#include <sqlite3.h>

#include <QCheckBox>
#include <QRadioButton>

#include "PerformanceFixture.h"
#include "toolkit/ReporteCtrl.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/performance/PowerPanel.h"
#include "ui/pages/performance/ReportRatePanel.h"
#include "ui/pages/performance/LiftOffPanel.h"
#include "ui/pages/performance/SensorPanel.h"

namespace quorvel::test {
namespace {

class PerformanceRefusal : public PerformancePageTest {
protected:
    // From now on every settings row write fails.
    void RefuseWrites() {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(db.Path().c_str(), &other), SQLITE_OK);
        char* error = nullptr;
        const int rc = sqlite3_exec(other,
                                    "CREATE TRIGGER refuse_update BEFORE UPDATE ON t_configdata BEGIN "
                                    "SELECT RAISE(ABORT, 'refused'); END;"
                                    "CREATE TRIGGER refuse_insert BEFORE INSERT ON t_configdata BEGIN "
                                    "SELECT RAISE(ABORT, 'refused'); END;",
                                    nullptr, nullptr, &error);
        const std::string why = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(other);
        ASSERT_EQ(rc, SQLITE_OK) << why;
    }
    // The refusal's notice closed, and the page's own refresh (queued) run.
    void AfterRefusal() {
        QCoreApplication::processEvents();
        EXPECT_EQ(CloseMessageBoxes(), 1) << "the user is told";
        QCoreApplication::processEvents();
    }
};

TEST_F(PerformanceRefusal, EveryGroupShowsTheStoredValueAgain) {
    OpenPage("102:wired", [this] {
        Set("dpi_count", "4");
        Set("dpi_index", "0");
        Set("report_rate", "1");
        Set("report_rate_wireless", "1");
        Set("liftoff_height", "1");
        Set("sensor_flag", "4");
        Set("move_closelight", "0");
    });
    RefuseWrites();
    auto* rates = Find<ReporteCtrl>(ReportRatePanel::kRates);
    auto* low = Find<QRadioButton>(LiftOffPanel::kLow);
    auto* sensorOption = Find<QCheckBox>(SensorPanel::kFirstOption + 1);
    auto* lightsOff = Find<QCheckBox>(PowerPanel::kLightsOff);
    const QString rateShown = rates->GetItemText(rates->GetSelectItem());
    ASSERT_EQ(rateShown.toStdString(), "1000Hz");  // code 1
    ASSERT_TRUE(low->isChecked());
    const bool sensorShown = sensorOption->isChecked();
    const bool lightsShown = lightsOff->isChecked();

    struct Case {
        const char* what;
        std::function<void()> click;
        std::function<bool()> showsStored;
    };
    const Case cases[] = {
        {"report rate",
         [&] {
             const qreal segment = (rates->width() - 8 * 6) / 7.0;
             QTest::mouseClick(rates, Qt::LeftButton, {},
                               QPoint(qRound(2 * (segment + 8) + segment / 2), rates->height() / 2));
         },
         [&] { return rates->GetItemText(rates->GetSelectItem()) == rateShown; }},
        {"lift-off", [&] { Find<QRadioButton>(LiftOffPanel::kHigh)->click(); },
         [&] { return low->isChecked(); }},
        {"sensor", [&] { sensorOption->click(); }, [&] { return sensorOption->isChecked() == sensorShown; }},
        {"power", [&] { lightsOff->click(); }, [&] { return lightsOff->isChecked() == lightsShown; }},
        {"DPI level", [&] { ClickLevel(2); }, [&] { return Levels()->GetSelectItem() == 0; }},
    };
    for (const Case& c : cases) {
        c.click();
        AfterRefusal();
        EXPECT_TRUE(c.showsStored()) << c.what;
    }
    EXPECT_EQ(host->queued, 0u) << "nothing refused goes to the mouse";
}

}  // namespace
}  // namespace quorvel::test
