#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>

#include "UiTestSupport.h"
#include "shell/Preferences.h"
#include "toolkit/CaptionButton.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/window/DeviceMainDlg.h"
#include "ui/window/MainFrame.h"

namespace quorvel {
namespace {

using test::Control;
using test::OnNextModal;

class DeviceMainDlgTest : public test::UiTest {};

TEST_F(DeviceMainDlgTest, FrameFollowsTheDesign) {
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    window.show();
    window.resize(DeviceMainDlg::kDesignSize);
    const std::pair<int, QRect> cases[] = {
        {38, Ltrb(1350, 10, 1380, 40)},   // close
        {39, Ltrb(1318, 10, 1348, 40)},   // minimise
        {41, Ltrb(1286, 10, 1316, 40)},   // maximise
        {40, Ltrb(1254, 10, 1284, 40)},   // settings
        {35, Ltrb(570, 10, 830, 40)},     // title
        {36, Ltrb(25, 750, 225, 776)},    // version label
        {37, Ltrb(300, 750, 1000, 776)},  // bottom text, clear of the device buttons at the right
    };
    for (const auto& [id, rect] : cases) {
        ASSERT_NE(Control(&window, id), nullptr) << id;
        EXPECT_EQ(Control(&window, id)->geometry(), rect) << id;
    }
    EXPECT_EQ(Control<QLabel>(&window, 35)->text(), "Quorvel Mouse");
    EXPECT_EQ(Control<QLabel>(&window, 36)->text(), "Version: v1.0.0");
    EXPECT_DOUBLE_EQ(window.LayoutScale(), 1.0);

    window.resize(1050, 591);  // right and bottom edges move; the scale follows the height
    EXPECT_EQ(Control(&window, 38)->geometry(), Ltrb(1000, 10, 1030, 40));
    EXPECT_EQ(Control(&window, 36)->geometry(), Ltrb(25, 553, 225, 579));
    // The pages get the scale of what the sidebar and the bars leave them: 461 of 658 design pixels.
    EXPECT_NEAR(window.LayoutScale(), 461 / 658.0, 0.001);
}

TEST_F(DeviceMainDlgTest, CloseButtonMinimisesOrEndsByTheExitModeWithoutATray) {
    // exit_mode: 1 keeps the program running (no tray here: the window is minimised, so it stays
    // reachable); absent, 0 or any other value ends the program.
    const std::pair<const char*, bool> cases[] = {{nullptr, false}, {"0", false}, {"1", true}, {"2", false}};
    for (const auto& [mode, keeps] : cases) {
        ReadExitMode();  // creates the preference store, as the language choice does on a first start
        if (mode) WritePreferenceText("exit_mode", mode);
        DeviceMainDlg window("Quorvel Mouse", "1.0.0");
        QSignalSpy exits(&window, &DeviceMainDlg::ExitRequested);
        window.show();
        Control<QAbstractButton>(&window, MainFrame::kClose)->click();
        EXPECT_TRUE(window.isVisible()) << (mode ? mode : "absent");
        EXPECT_EQ(window.isMinimized(), keeps) << (mode ? mode : "absent");
        EXPECT_EQ(exits.count(), keeps ? 0 : 1) << (mode ? mode : "absent");

        window.ShowFromOutside();
        window.close();  // the window manager's close acts the same
        EXPECT_EQ(exits.count(), keeps ? 0 : 2);
    }
}

TEST_F(DeviceMainDlgTest, HandOverShowsAHiddenOrMinimisedWindow) {
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    EXPECT_FALSE(window.isVisible());
    window.ShowFromOutside();
    EXPECT_TRUE(window.isVisible());
    window.showMinimized();
    window.ShowFromOutside();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(DeviceMainDlgTest, MaximiseButtonTurnsIntoRestore) {
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    window.show();
    auto* maximise = Control<CaptionButton>(&window, MainFrame::kMaximise);
    EXPECT_EQ(maximise->Kind(), CaptionKind::Maximise);
    maximise->click();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(maximise->Kind(), CaptionKind::Restore);
    maximise->click();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(maximise->Kind(), CaptionKind::Maximise);
}

TEST_F(DeviceMainDlgTest, AboutIsReachableWithTheReleaseOfTheSource) {
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    window.SetReleaseSource([] { return 0x1003u; });
    window.show();
    for (int id : {MainFrame::kSettings, MainFrame::kLogo}) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            ASSERT_NE(qobject_cast<AboutDlg*>(modal), nullptr);
            shown = Control<QLabel>(modal, AboutDlg::kFirmwareVersion)->text();
            Control<QAbstractButton>(modal, AboutDlg::kClose)->click();
        });
        if (id == MainFrame::kLogo) {
            QWidget* logo = Control(&window, id);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), logo->mapToGlobal(QPointF(5, 5)),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(logo, &release);
        } else {
            Control<QAbstractButton>(&window, id)->click();
        }
        EXPECT_EQ(shown, "Firmware: v1.03") << id;
    }
}

}  // namespace
}  // namespace quorvel
