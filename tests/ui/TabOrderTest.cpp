// Tab goes through each view of the main window in its reading order: the tab strip, the page (panel by
// panel, each from its top left), then the bottom bar's buttons; the walk comes round to where it began.

#include <QAbstractButton>

#include "FocusWalk.h"
#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "ui/pages/home/HomePage.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

class TabOrder : public MainWindowTest {
protected:
    QStringList Walk() {
        QStringList names;
        for (QWidget* w : WalkTab(window.get())) names << StopName(w);
        return names;
    }
};

TEST_F(TabOrder, EveryViewInReadingOrder) {
    OpenWindow("102:wired;103:wireless");
    ASSERT_TRUE(Activate(window.get()));
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    EXPECT_EQ(Walk(), QStringList{"id57"}) << "home: the cards";

    const QStringList bottomBar = {"id46", "id45"};  // reset, then profile
    emit window->Home().List().deviceClicked(102);
    EXPECT_EQ(Walk(), QStringList({"id48",
                                   // the button list and its reset, the picture
                                   "id68", "id67", "id108",
                                   // the function panel: reset, the menus, set, set, disable
                                   "id71", "id73", "id75", "id77", "id79", "id81", "id83", "id85", "id87", "id89"}) +
                          bottomBar)
        << "buttons";

    struct Page {
        int item;
        const char* what;
        QStringList stops;
    };
    const Page pages[] = {
        {MainTabs::kPerformanceItem,
         "performance",
         {// DPI: the title row (level count, help, reset), the levels, the slider, apply
          "id120", "id114", "id115", "id116", "id117", "id118",
          // report rate: help, reset, the rates
          "id123", "id124", "id125",
          // lift-off, sensor and power, left to right; the mouse on a cable has no sleep time and no wake-up
          "id128", "id129", "id133", "id134", "id135", "id136", "id139", "id144"}},
        {MainTabs::kMacrosItem,
         "macros",
         {// the macro list and New, the events and their buttons, the play options
          "id156", "id157", "id166", "id167", "id168", "id169", "id172", "id174", "id181", "id184"}},
        {MainTabs::kLightingItem,
         "lighting",
         {"id201", "id197", "id204", "id207", "id218", "id209", "id226", "id227", "id231", "id232", "id233"}},
        {MainTabs::kDeviceInfoItem, "device info", {"id248", "id250"}},
    };
    for (const Page& page : pages) {
        PickTab(page.item);
        EXPECT_EQ(Walk(), QStringList{"id48"} + page.stops + bottomBar) << page.what;
    }

    Find<QAbstractButton>(MainFrame::kSettings)->click();
    EXPECT_EQ(Walk(), QStringList({// back, language, start at log-in, the exit mode's chosen radio button
                                   "id273", "id279", "id281", "id286",
                                   // software check, About, the links
                                   "id276", "id717", "id289", "id290", "id291"}) +
                          bottomBar)
        << "settings";
}

}  // namespace
}  // namespace quorvel::test
