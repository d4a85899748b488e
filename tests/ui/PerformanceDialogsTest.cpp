// The performance page's small windows: the DPI indicator (never takes the focus, placed at the bottom
// right of the work area, hidden by its timer), the saving indicator, and the colour picker.

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "toolkit/CColorButton.h"
#include "toolkit/MPalette.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/dialogs/SaveWaitDlg.h"

namespace quorvel {
namespace {

using test::Control;

class PerformanceDialogs : public test::UiTest {};

void Expire(QTimer* timer) {
    QMetaObject::invokeMethod(timer, "timeout");
}

// Whether a shown window takes the focus is the window system's business: PerformancePageOnX shows the
// indicator beside a focused window on a real X server. Here: what asks the window system not to.
TEST_F(PerformanceDialogs, TheDpiIndicatorAsksNotToTakeTheFocus) {
    QWidget owner;
    DPIMsgDlg indicator(&owner);
    const Qt::WindowFlags flags = indicator.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(indicator.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(indicator.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(indicator.parentWidget(), nullptr);  // shown also while the main window is hidden

    indicator.ShowValue(3200);
    EXPECT_TRUE(indicator.isVisible());
    EXPECT_EQ(Control<QLabel>(&indicator, DPIMsgDlg::kValue)->text(), "3200");
    EXPECT_EQ(Control<QLabel>(&indicator, DPIMsgDlg::kUnit)->text(), "DPI");
    EXPECT_EQ(Control<QProgressBar>(&indicator, DPIMsgDlg::kBar)->value(), 3200);
    // Bottom right of the work area, 2 pixels in.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(indicator.geometry(), QRect(area.right() - 301, area.bottom() - 131, 300, 130));
}

TEST_F(PerformanceDialogs, TheDpiIndicatorHidesAfterTwoSeconds) {
    QWidget owner;
    DPIMsgDlg indicator(&owner);
    QTimer* timer = indicator.HideTimer();
    EXPECT_EQ(timer->objectName(), "timer100");
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_TRUE(timer->isSingleShot());
    indicator.ShowValue(800);
    EXPECT_TRUE(timer->isActive());
    Expire(timer);
    EXPECT_FALSE(indicator.isVisible());

    // The close button hides it at once and the timer has nothing left to do.
    indicator.ShowValue(800);
    Control<QAbstractButton>(&indicator, DPIMsgDlg::kClose)->click();
    EXPECT_FALSE(indicator.isVisible());
    EXPECT_FALSE(timer->isActive());
}

TEST_F(PerformanceDialogs, TheDpiIndicatorsBarTakesEveryValue) {
    QWidget owner;
    DPIMsgDlg indicator(&owner);
    auto* bar = Control<QProgressBar>(&indicator, DPIMsgDlg::kBar);
    indicator.ShowValue(800);
    indicator.ShowValue(26000);  // above the bar's first range: full, not left at 800
    EXPECT_EQ(bar->value(), 16000);
    indicator.SetMaximum(26000);
    indicator.ShowValue(26000);
    EXPECT_EQ(bar->value(), 26000);
    EXPECT_EQ(Control<QLabel>(&indicator, DPIMsgDlg::kValue)->text(), "26000");
}

TEST_F(PerformanceDialogs, TheDpiIndicatorGoesWithItsOwner) {
    auto* owner = new QWidget;
    QPointer<DPIMsgDlg> indicator = new DPIMsgDlg(owner);
    indicator->ShowValue(400);
    delete owner;
    EXPECT_TRUE(indicator.isNull());
}

TEST_F(PerformanceDialogs, TheSavingIndicator) {
    QWidget owner;
    owner.setGeometry(100, 100, 1400, 788);
    owner.show();
    SaveWaitDlg saving(&owner);
    EXPECT_TRUE(saving.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(saving.windowFlags().testFlag(Qt::WindowTransparentForInput));
    saving.ShowSaving();
    EXPECT_TRUE(saving.isVisible());
    EXPECT_EQ(saving.size(), QSize(500, 200));
    EXPECT_EQ(saving.frameGeometry().center(), owner.frameGeometry().center());
    EXPECT_EQ(Control<QLabel>(&saving, SaveWaitDlg::kText)->text(), "Saving...");
    EXPECT_EQ(saving.Bar()->value(), 0);
    EXPECT_EQ(saving.HideTimer()->interval(), 1000);
    EXPECT_TRUE(saving.HideTimer()->isActive());
    Expire(saving.HideTimer());
    EXPECT_FALSE(saving.isVisible());
}

// The picker on its own: what each control does to the colour it ends with.
TEST_F(PerformanceDialogs, ThePickersControls) {
    MousePaletteDlg picker(nullptr, 0x336699);
    auto field = [&](int id) { return Control<QLineEdit>(&picker, id); };
    // Starts from the colour: red 0x99, green 0x66, blue 0x33.
    EXPECT_EQ(field(MousePaletteDlg::kRed)->text(), "153");
    EXPECT_EQ(field(MousePaletteDlg::kGreen)->text(), "102");
    EXPECT_EQ(field(MousePaletteDlg::kBlue)->text(), "51");
    EXPECT_EQ(Control<MPalette>(&picker, MousePaletteDlg::kPalette)->GetSelectColor(), 0x336699);
    EXPECT_EQ(picker.Colour(), 0x336699);

    // Typing 300 into red shows 255 and takes red 255.
    field(MousePaletteDlg::kRed)->clear();
    QTest::keyClicks(field(MousePaletteDlg::kRed), "300");
    EXPECT_EQ(field(MousePaletteDlg::kRed)->text(), "255");
    EXPECT_EQ(picker.Colour(), 0x3366FF);
    EXPECT_EQ(Control<MPalette>(&picker, MousePaletteDlg::kPalette)->GetSelectColor(), 0x3366FF);

    // A preset: its colour, its bytes in the fields, the palette set to it.
    auto* preset = Control<CColorButton>(&picker, MousePaletteDlg::kFirstPreset + 2);
    preset->click();
    EXPECT_EQ(picker.Colour(), 0x00FF00);
    EXPECT_EQ(field(MousePaletteDlg::kGreen)->text(), "255");
    EXPECT_TRUE(preset->GetCheck());
    EXPECT_EQ(Control<MPalette>(&picker, MousePaletteDlg::kPalette)->GetSelectColor(), 0x00FF00);

    // The palette's colour, while dragging too; the preset is no longer the choice.
    emit Control<MPalette>(&picker, MousePaletteDlg::kPalette)->colorChanging(0x102030);
    EXPECT_EQ(picker.Colour(), 0x102030);
    EXPECT_EQ(field(MousePaletteDlg::kRed)->text(), "48");
    EXPECT_FALSE(preset->GetCheck());

    const std::vector<int> presets(MousePaletteDlg::kPresets.begin(), MousePaletteDlg::kPresets.end());
    std::vector<int> shown;
    for (int i = 0; i < 8; ++i)
        shown.push_back(Control<CColorButton>(&picker, MousePaletteDlg::kFirstPreset + i)->GetColor());
    EXPECT_EQ(shown, presets);
}

TEST_F(PerformanceDialogs, OnlyApplyGivesAColour) {
    struct Case {
        const char* way;
        std::function<void(QWidget*)> act;
        int result;
    };
    const auto click = [](int id) { return [id](QWidget* w) { Control<QAbstractButton>(w, id)->click(); }; };
    const Case cases[] = {
        {"apply", click(MousePaletteDlg::kApply), 0x123456},
        {"last preset, apply",
         [click](QWidget* w) {
             click(MousePaletteDlg::kFirstPreset + 7)(w);
             click(MousePaletteDlg::kApply)(w);
         },
         0xFFFFFF},
        {"close button", click(MousePaletteDlg::kClose), 0},
        {"Esc", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, 0},
        {"closed from outside", [](QWidget*) { EXPECT_EQ(MousePaletteDlg::CloseAll(), 1); }, 0},
    };
    QWidget owner;
    owner.show();
    for (const Case& c : cases) {
        test::OnNextModal(c.act);
        EXPECT_EQ(MousePaletteDlg::Pick(&owner, 0x123456), c.result) << c.way;
    }
    // Without a nested loop, the same result reaches the callback.
    int picked = -1;
    MousePaletteDlg::Open(&owner, 0x00FF00, [&picked](int colour) { picked = colour; });
    auto* picker = qobject_cast<MousePaletteDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->objectName(), "PaletteDlg");
    EXPECT_EQ(picker->size(), QSize(330, 320));
    Control<QAbstractButton>(picker, MousePaletteDlg::kApply)->click();
    EXPECT_EQ(picked, 0x00FF00);
}

}  // namespace
}  // namespace quorvel
