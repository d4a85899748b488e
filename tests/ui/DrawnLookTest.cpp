// With no skin images at all every window still paints its own look: never a blank window.

#include "UiTestSupport.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/window/DeviceMainDlg.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {
namespace {

using test::DistinctColours;

class DrawnLookTest : public test::UiTest {};

TEST_F(DrawnLookTest, EveryWindowPaintsWithoutASkin) {
    DeviceMainDlg window("Quorvel Mouse", "1.0.0");
    window.resize(DeviceMainDlg::kDesignSize);
    CUIMessageBox box(nullptr, 57, 56, kBoxOkCancel);
    AboutDlg about(nullptr, 0x103, "1.0.0");
    const std::pair<const char*, QWidget*> windows[] = {
        {"main window", &window}, {"message box", &box}, {"about", &about}};
    for (const auto& [name, w] : windows) {
        const QImage image = w->grab().toImage();
        EXPECT_EQ(image.size(), w->size()) << name;
        // Background, bars or outline, text and buttons: many colours, not one.
        EXPECT_GE(DistinctColours(image), 16) << name;
    }
}

}  // namespace
}  // namespace quorvel
