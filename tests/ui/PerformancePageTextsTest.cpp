// The performance page's texts: every visible text is bound to its language text, and an open page follows
// a change of language.

#include <QAbstractButton>
#include <QLabel>

#include "PerformanceFixture.h"
#include "shell/Localisation.h"
#include "ui/pages/performance/PowerPanel.h"
#include "ui/pages/performance/LiftOffPanel.h"
#include "ui/pages/performance/SensorPanel.h"

namespace quorvel::test {
namespace {

class PerformancePageTexts : public PerformancePageTest {};

TEST_F(PerformancePageTexts, EveryVisibleTextIsBound) {
    OpenPage("102:wired");
    const TextRegistry& texts = host->Texts();
    int checked = 0;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        if (!text.isEmpty()) {
            ++checked;
            EXPECT_FALSE(texts.IdsOf(w).empty())
                << text.toStdString() << " on " << w->objectName().toStdString();
        }
        if (!w->toolTip().isEmpty()) {
            EXPECT_FALSE(texts.IdsOf(w).empty()) << "tooltip of " << w->objectName().toStdString();
        }
    }
    EXPECT_GT(checked, 12);
}

TEST_F(PerformancePageTexts, TheOpenPageFollowsTheLanguage) {
    OpenPage("102:wired", [this] { Set("sleep_light", "6"); });
    struct Case {
        int id;
        QString english, chinese;
    };
    const Case cases[] = {
        {PerformancePage::kCaption, "Performance", "性能设置"},
        {DpiPanel::kTitle, "DPI Settings", "DPI 设置"},
        {DpiPanel::kSend, "Apply", "应用"},
        {LiftOffPanel::kHigh, "2.0mm", "2.0mm"},
        {PowerPanel::kWake, "Wake on motion", "移动唤醒"},
    };
    const auto shown = [this](int id) {
        QWidget* w = Find(id);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        return qobject_cast<QAbstractButton*>(w)->text();
    };
    auto* sleep = Find<QComboBox>(PowerPanel::kSleep);
    for (const Case& c : cases) EXPECT_EQ(shown(c.id), c.english) << c.id;
    EXPECT_EQ(sleep->currentText(), "1 min");
    ChangeUiLanguage(kLcidChinese);
    for (const Case& c : cases) EXPECT_EQ(shown(c.id), c.chinese) << c.id;
    EXPECT_EQ(sleep->currentText(), "1 分钟");
    EXPECT_EQ(sleep->itemText(0), "10 秒");
    EXPECT_TRUE(Find(SensorPanel::kHelp)->toolTip().startsWith("传感器选项\n直线修正\n"));
    ChangeUiLanguage(kLcidEnglish);
    EXPECT_EQ(sleep->currentText(), "1 min");
}

}  // namespace
}  // namespace quorvel::test
