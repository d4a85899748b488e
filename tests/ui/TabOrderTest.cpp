// Tab goes through each view of the main window in its reading order.

#include <QAbstractButton>

#include "FocusWalk.h"
#include "MainWindowFixture.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

class TabOrder : public MainWindowTest {
protected:
    QStringList Walk() {
        QStringList names;
        for (QWidget* w : WalkTab(window.get())) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
            const QRect r(w->mapTo(window.get(), QPoint(0, 0)), w->size());
            names << StopName(w) + " " + StopName(w->parentWidget()) + " " + text + QString(" %1,%2").arg(r.x()).arg(r.y());
        }
        return names;
    }
};

TEST_F(TabOrder, Explore) {
    OpenWindow("102:wired;103:wireless");
    ASSERT_TRUE(Activate(window.get()));
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    qWarning() << "HOME" << Walk();
    emit window->Home().List().deviceClicked(102);
    qWarning() << "BUTTONS" << Walk();
    for (int item : {MainTabs::kPerformanceItem, MainTabs::kMacrosItem, MainTabs::kLightingItem,
                     MainTabs::kDeviceInfoItem}) {
        PickTab(item);
        qWarning() << item << Walk();
    }
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    qWarning() << "SETTINGS" << Walk();
}

}  // namespace
}  // namespace quorvel::test
