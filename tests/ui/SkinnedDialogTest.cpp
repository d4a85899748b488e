// The base of the frameless dialogs: the way out when the device changes, and where it shows. Every
// dialog of the program takes the same way out, modal or not.

#include <QSignalSpy>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/common/SkinnedDialog.h"
#include "ui/common/TextIds.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/dialogs/RecordEditDlg.h"
#include "ui/dialogs/SaveWaitDlg.h"
#include "ui/dialogs/UpdateProcessDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"

namespace quorvel {
namespace {

class SkinnedDialogTest : public test::UiTest {};

TEST_F(SkinnedDialogTest, ADeviceChangeClosesEveryDialogWithResultTwo) {
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    const std::pair<const char*, std::function<SkinnedDialog*()>> dialogs[] = {
        {"message box",
         [&] { return new CUIMessageBox(&owner, txt::kPerformance, txt::kChangeNotSaved, kBoxOkCancel); }},
        {"palette", [&] { return new MousePaletteDlg(&owner, 0x123456); }},
        {"record edit", [&] { return new RecordEditDlg(&owner); }},
        {"download", [&] { return new UpdateProcessDlg(&owner); }},
        {"firmware update", [&] { return new UpdateTipDlg(&owner); }},
        {"saving indicator", [&] { return new SaveWaitDlg(&owner); }},
        {"DPI indicator", [&] { return new DPIMsgDlg(&owner); }},
    };
    for (const auto& [what, make] : dialogs) {
        SkinnedDialog* dialog = make();
        QSignalSpy finished(dialog, &QDialog::finished);
        dialog->open();
        ASSERT_TRUE(dialog->isVisible()) << what;
        dialog->closeForDeviceChange();
        EXPECT_FALSE(dialog->isVisible()) << what;
        ASSERT_EQ(finished.count(), 1) << what;
        EXPECT_EQ(finished.first().first().toInt(), SkinnedDialog::kClosedForDevice) << what;
        delete dialog;
    }
}

TEST_F(SkinnedDialogTest, ShowsCentredOverItsOwnersWindowWhenAsked) {
    QWidget window;
    window.setGeometry(100, 100, 800, 600);
    auto* child = new QWidget(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    SkinnedDialog dialog(child, Qt::Dialog, "Probe", QSize(200, 100));
    dialog.SetPlacement(SkinnedDialog::Placement::OverOwner);
    dialog.show();
    EXPECT_EQ(dialog.frameGeometry().center(), window.frameGeometry().center());
    EXPECT_EQ(dialog.size(), QSize(200, 100));
    EXPECT_EQ(dialog.objectName(), "Probe");
}

}  // namespace
}  // namespace quorvel
