#include <QAbstractButton>
#include <QLabel>

#include "UiTestSupport.h"
#include "ui/dialogs/AboutDlg.h"

namespace quorvel {
namespace {

using test::Control;

class AboutDlgTest : public test::UiTest {};

TEST(ReleaseVersionTextTest, FirstHexDigitAndTheLastTwo) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0x103, "1.03"},
        {0x1003, "1.03"},
        {0x105, "1.05"},
        {0x210, "2.10"},
        {0xabc, "a.bc"},
        {0x12345, "1.45"},
        // Fewer than three digits read as if zero-padded (there is no digit before the last two).
        {0x10, "0.10"},
        {0x5, "0.05"},
        {0, "0.00"},
    };
    for (const auto& [release, text] : cases)
        EXPECT_EQ(ReleaseVersionText(release), text) << std::hex << release;
}

TEST_F(AboutDlgTest, ShowsFirmwareAndSoftwareVersionsAndClosesWithOk) {
    for (const uint32_t release : {0x103u, 0x1003u}) {
        AboutDlg about(nullptr, release, "1.0.0");
        EXPECT_EQ(about.windowTitle(), "About Window");
        EXPECT_EQ(about.size(), QSize(500, 300));
        EXPECT_EQ(Control<QLabel>(&about, 34)->text(), "Firmware: v1.03");
        EXPECT_EQ(Control<QLabel>(&about, 33)->text(), "Version: v1.0.0");
        EXPECT_EQ(Control<QLabel>(&about, 35)->text(), "Copyright © Quorvel. All rights reserved.");
        EXPECT_EQ(Control(&about, 34)->geometry(), Ltrb(150, 150, 350, 185));
        EXPECT_EQ(Control(&about, 33)->geometry(), Ltrb(150, 185, 350, 220));
        EXPECT_EQ(Control(&about, 30)->geometry(), Ltrb(460, 15, 479, 34));
        EXPECT_EQ(Control(&about, 30)->toolTip(), "Close");

        about.open();
        Control<QAbstractButton>(&about, 30)->click();
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), 1);
    }
}

}  // namespace
}  // namespace quorvel
