#include <gtest/gtest.h>

#include <QFontMetrics>
#include <functional>

#include "ToolkitTestSupport.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/MTabCtrl.h"

namespace quorvel {
namespace {

TEST(CaptionButton, KindsNameTheirSkinImages) {
    struct Case {
        CaptionKind kind;
        const char* image;
        Glyph glyph;
    } cases[] = {
        {CaptionKind::Close, "sysbtn_close.png", Glyph::Close},
        {CaptionKind::Minimise, "sysbtn_min.png", Glyph::Minimise},
        {CaptionKind::Maximise, "sysbtn_maximize.png", Glyph::Maximise},
        {CaptionKind::Restore, "sysbtn_restore.png", Glyph::Restore},
        {CaptionKind::Settings, "sysbtn_setting.png", Glyph::Settings},
    };
    for (const Case& c : cases) {
        CaptionButton button(c.kind);
        EXPECT_EQ(button.Image(), QString(c.image));
        EXPECT_EQ(button.GetGlyph(), c.glyph);
    }
    CaptionButton max(CaptionKind::Maximise);
    max.SetKind(CaptionKind::Restore);
    EXPECT_EQ(max.Image(), QString("sysbtn_restore.png"));
}

TEST(CaptionButton, ClickIsTheClickSignal) {
    CaptionButton button(CaptionKind::Close);
    button.resize(30, 30);
    test::SignalLog clicked(&button, &QAbstractButton::clicked);
    test::Click(button, {15, 15});
    EXPECT_EQ(clicked.count(), 1);
    button.setEnabled(false);
    test::Click(button, {15, 15});
    EXPECT_EQ(clicked.count(), 1);
}

// The main window's strip: six items, the lighting one hidden on a model without lighting.
class TabStrip : public ::testing::Test {
protected:
    void SetUp() override {
        const int ids[] = {1, 2, 3, 4, 5, 7};
        for (int id : ids)
            tabs.InsertItem(id, QString("Tab %1").arg(id), QString("icon\\tab_%1.png").arg(id));
        tabs.resize(190, 360);
    }
    // Centre of the n-th visible row.
    QPoint Row(int n) const { return QPoint(95, 60 * n + 30); }
    MTabCtrl tabs;
};

TEST_F(TabStrip, ItemsById) {
    EXPECT_EQ(tabs.GetItemCount(), 6);
    EXPECT_EQ(tabs.GetItemId(5), 7);
    EXPECT_EQ(tabs.IndexOfItem(7), 5);
    EXPECT_EQ(tabs.IndexOfItem(6), -1);
    EXPECT_EQ(tabs.GetItemId(6), -1);
    tabs.SetItemText(2, "Performance");
    EXPECT_EQ(tabs.GetItemText(2), QString("Performance"));
    EXPECT_EQ(tabs.GetCurSel(), -1);
}

TEST_F(TabStrip, ClicksAndCodeSelections) {
    test::SignalLog clicked(&tabs, &MTabCtrl::tabClicked);
    test::SignalLog changed(&tabs, &MTabCtrl::currentChanged);
    struct Step {
        const char* what;
        std::function<void()> act;
        int current;
        QList<int> clickedArgs;  // tabClicked emissions of this step
        int changedCount;        // currentChanged emissions of this step
    } steps[] = {
        {"code selects index 1", [&] { tabs.SetCurSel(1); }, 1, {}, 1},
        {"same index again", [&] { tabs.SetCurSel(1); }, 1, {}, 0},
        {"click row 3", [&] { test::Click(tabs, Row(3)); }, 3, {3}, 1},
        {"click the current row", [&] { test::Click(tabs, Row(3)); }, 3, {3}, 0},
        {"hide lighting (index 4)", [&] { tabs.SetItemVisible(4, false); }, 3, {}, 0},
        {"row 4 is now the information tab", [&] { test::Click(tabs, Row(4)); }, 5, {5}, 1},
        {"below the last row", [&] { test::Click(tabs, Row(5)); }, 5, {}, 0},
        {"key up skips the hidden item", [&] { test::KeyClick(tabs, Qt::Key_Up); }, 3, {3}, 1},
        {"key down skips it too", [&] { test::KeyClick(tabs, Qt::Key_Down); }, 5, {5}, 1},
        {"key down at the end", [&] { test::KeyClick(tabs, Qt::Key_Down); }, 5, {}, 0},
        {"out of range selects nothing", [&] { tabs.SetCurSel(9); }, -1, {}, 1},
    };
    for (const Step& s : steps) {
        clicked.clear();
        changed.clear();
        s.act();
        EXPECT_EQ(tabs.GetCurSel(), s.current) << s.what;
        QList<int> got;
        for (const auto& args : clicked.calls) got << args.at(0).toInt();
        EXPECT_EQ(got, s.clickedArgs) << s.what;
        EXPECT_EQ(changed.count(), s.changedCount) << s.what;
    }
}

// Selecting a tab sets its name in bold; a name that fits on one line must not move onto a second one
// for that (the bold font shrinks instead). A name too long for the strip wraps, selected or not.
TEST(TabText, SelectingANameNeverWrapsIt) {
    // The strip's own font may carry a weight: unselected names are set in the regular one.
    for (const QFont::Weight weight : {QFont::Normal, QFont::DemiBold}) {
        QFont base;
        base.setPixelSize(15);
        base.setWeight(weight);
        QFont regularFont = base;
        regularFont.setBold(false);
        const QFontMetrics regular(regularFont);
        for (const QString& name : {QStringLiteral("Device Information"), QStringLiteral("设备信息"),
                                    QStringLiteral("Performance Settings and More")}) {
            const qreal exact = regular.horizontalAdvance(name);
            for (const qreal width : {exact, exact + 2, 120.0}) {
                SCOPED_TRACE(name.toStdString() + " in " + std::to_string(width) + ", weight " +
                             std::to_string(weight));
                const TabText plain = FitTabText(base, false, name, width);
                const TabText chosen = FitTabText(base, true, name, width);
                EXPECT_EQ(plain.wrap, exact > width);
                EXPECT_EQ(chosen.wrap, plain.wrap);
                EXPECT_TRUE(chosen.font.bold());
                EXPECT_FALSE(plain.font.bold());
                if (!chosen.wrap) {
                    EXPECT_LE(QFontMetrics(chosen.font).horizontalAdvance(name), width);
                }
            }
        }
    }
}

}  // namespace
}  // namespace quorvel
