// The home page's cards and the status title in the whole window: a refused pick leaves the highlight
// where it was, and the status title of the mouse in use stays readable over the settings page.

#include <QAbstractButton>
#include <QDialog>

#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

class HomePageCards : public MainWindowTest {
protected:
    CDeviceList& List() { return window->Home().List(); }
    // Moves the list's highlight one card on with the arrow key and picks that card with Enter, as a user
    // without a pointer does; a notice it brings is answered and its title returned.
    QString PickNextCard() {
        List().setFocus(Qt::OtherFocusReason);
        QTest::keyClick(&List(), Qt::Key_Right);
        QString title;
        OnNextModal([&title](QWidget* box) {
            title = Control<QLabel>(box, CUIMessageBox::kTitle)->text();
            qobject_cast<QDialog*>(box)->reject();
        });
        QTest::keyClick(&List(), Qt::Key_Return);
        WaitFor([&] { return !title.isEmpty(); });
        return title;
    }
};

// Only the R2 is plugged in and in use: picking the card of a mouse that is not there says so, and the
// highlight goes back to the R2's card.
TEST_F(HomePageCards, ARefusedPickLeavesTheHighlightOnTheCardInUse) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    ASSERT_EQ(List().GetDeviceType(0), 102);
    ASSERT_GT(List().GetDeviceCount(), 1);
    emit List().deviceClicked(102);
    ASSERT_EQ(CurrentView(), View::Device);
    PickTab(MainTabs::kHomeItem);
    ASSERT_EQ(List().GetSelectDevice(), 102);

    EXPECT_EQ(PickNextCard(), "Device not connected");
    EXPECT_EQ(List().GetSelectDevice(), 102);
    EXPECT_EQ(CurrentView(), View::DeviceList);
}

// With the mouse in use, the settings page opened over the pages leaves the status title shown, on top:
// nothing of the settings page covers it.
TEST_F(HomePageCards, TheStatusTitleShowsAboveTheSettingsPage) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    emit List().deviceClicked(102);
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    Settle();
    ASSERT_TRUE(Shown(SettingsPage::kContainer));
    auto* title = Find<QLabel>(MainFrame::kStatusTitle);
    ASSERT_TRUE(title->isVisible());
    EXPECT_EQ(title->text(), "Wired connection");
    const QRect area = title->geometry();
    EXPECT_TRUE(window->rect().contains(area));
    // Above the page: later among the window's children (the title lets the pointer through, so the
    // widget under a point does not tell).
    const QObjectList& stack = window->children();
    EXPECT_GT(stack.indexOf(title), stack.indexOf(Find(SettingsPage::kContainer)));
    // No control of the settings page shares its place.
    for (QWidget* w : Find(SettingsPage::kContainer)->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window.get()) || w->objectName().isEmpty()) continue;
        const QRect placed(w->mapTo(window.get(), QPoint(0, 0)), w->size());
        EXPECT_FALSE(placed.intersects(area)) << w->objectName().toStdString();
    }

    // Leaving the settings page, and on the home tab, the title is as before.
    Find<QAbstractButton>(SettingsPage::kLeave)->click();
    EXPECT_TRUE(title->isVisible());
    PickTab(MainTabs::kHomeItem);
    EXPECT_FALSE(title->isVisible()) << "the device list view has no status title";
}

}  // namespace
}  // namespace quorvel::test
