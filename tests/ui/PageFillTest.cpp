// When the window says the picked mouse's page is filled in: the device view turns on at the pick, while
// the worker may still be switching the model or reading the mouse, so the view alone does not say it.

#include <QAbstractButton>

#include "MainWindowFixture.h"
#include "sim/VirtualBackend.h"
#include "toolkit/CDeviceList.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/MainFrame.h"
#include "ui/window/PageFill.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

class PageFillTest : public MainWindowTest {
protected:
    // Built before the worker starts, as the program does: discovery's read is the first it sees.
    void BeforeStart() override {
        fill = new PageFill(*window, [this] { return session->Core().CurrentDeviceType(); });  // the window's
        // The first list shown, as the user sees it: before anything reported after it has arrived.
        QObject::connect(
            &window->Events(), &DeviceEvents::deviceListView, window.get(),
            [this] {
                if (pickOnList) pickOnList();
            },
            Qt::SingleShotConnection);
    }
    // A click on the model's card; the window's own reaction happens within it.
    void Pick(int deviceType) { emit window->Home().List().deviceClicked(deviceType); }

    PageFill* fill = nullptr;
    std::function<void()> pickOnList;
};

// The socket is served before the window is attached, and a start-up that fails there shows a box.
TEST_F(PageFillTest, AWindowNotAttachedIsNotFilled) {
    DeviceMainDlg unattached("Quorvel Mouse", "1.0.0");
    PageFill early(unattached, [] { return 102; });
    EXPECT_FALSE(early.Filled());
}

TEST_F(PageFillTest, FilledOnlyOnTheDeviceViewOnceThePickedModelWasRead) {
    OpenWindow("102:wired;201:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    EXPECT_FALSE(fill->Filled()) << "the list shows no page";

    Pick(102);  // discovery has read it already
    EXPECT_TRUE(fill->Filled());
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    EXPECT_FALSE(fill->Filled()) << "the settings page lies over the pages";
    Find<QAbstractButton>(SettingsPage::kLeave)->click();
    EXPECT_TRUE(fill->Filled());
    PickTab(MainTabs::kHomeItem);
    EXPECT_FALSE(fill->Filled());

    // Another model: the pages show the previous one until the switch and its read have reached them.
    HoldWorker();
    Pick(201);
    ASSERT_EQ(CurrentView(), View::Device);
    EXPECT_FALSE(fill->Filled()) << "the switch waits behind another task";
    ReleaseWorker();
    ASSERT_TRUE(WaitForTask(kTaskSelectDevice));
    EXPECT_EQ(session->Core().CurrentDeviceType(), 201);
    EXPECT_TRUE(fill->Filled());
}

// A user quicker than discovery: the list shows before the mouse's read has reached the pages, and a pick
// of the model being read turns the view to its pages at once, with the values stored before the read.
TEST_F(PageFillTest, APickMadeWhileDiscoveryReadsWaitsForTheRead) {
    View viewAtPick = View::Starting;
    bool filledAtPick = true;
    pickOnList = [&] {
        Pick(102);
        viewAtPick = CurrentView();
        filledAtPick = fill->Filled();
    };
    OpenWindow("102:wired");  // until discovery's task has ended
    EXPECT_EQ(viewAtPick, View::Device);
    EXPECT_FALSE(filledAtPick) << "filled before the read reached the pages";
    EXPECT_EQ(window->PendingPick(), 0) << "no switch: the model being read was picked";
    EXPECT_TRUE(fill->Filled());
}

}  // namespace
}  // namespace quorvel::test
