// The base of the frameless dialogs: the way out when the device changes, Escape, and where it shows.
// Every dialog of the program takes the same way out, modal or not.

#include <QSignalSpy>
#include <QtTest/QTest>

#include "FocusWalk.h"
#include "UiTestSupport.h"
#include "ui/common/SkinnedDialog.h"
#include "ui/common/TextIds.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/dialogs/RecordEditDlg.h"
#include "ui/dialogs/SaveWaitDlg.h"
#include "ui/dialogs/UpdateProcessDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"

namespace quorvel {
namespace {

class SkinnedDialogTest : public test::UiTest {};

// What Escape does in a dialog: closes it, asks the running task to stop (the dialog closes when it has),
// or nothing (the record editor's key field takes Escape as a key to enter; once the firmware image goes
// to the mouse nothing may stop it). The indicators never take the focus, so no key reaches them.
enum class OnEscape { Closes, AsksToCancel, Nothing, NeverFocused };

// Every frameless dialog of the program.
struct DialogCase {
    const char* what;
    std::function<SkinnedDialog*(QWidget*)> make;
    OnEscape escape;
};
const std::vector<DialogCase>& Dialogs() {
    static const std::vector<DialogCase> dialogs = {
        {"message box",
         [](QWidget* o) {
             return new CUIMessageBox(o, txt::kPerformance, txt::kChangeNotSaved, kBoxOkCancel);
         },
         OnEscape::Closes},
        {"palette", [](QWidget* o) { return new MousePaletteDlg(o, 0x123456); }, OnEscape::Closes},
        {"record edit", [](QWidget* o) { return new RecordEditDlg(o); }, OnEscape::Nothing},
        {"download", [](QWidget* o) { return new UpdateProcessDlg(o); }, OnEscape::AsksToCancel},
        {"firmware download", [](QWidget* o) { return new UpdateTipDlg(o); }, OnEscape::AsksToCancel},
        {"firmware flash",
         [](QWidget* o) {
             auto* box = new UpdateTipDlg(o);
             box->SetStep(UpdateTipDlg::kTransferStep, QStringLiteral("flashing"));
             return box;
         },
         OnEscape::Nothing},
        {"saving indicator", [](QWidget* o) { return new SaveWaitDlg(o); }, OnEscape::NeverFocused},
        {"DPI indicator", [](QWidget* o) { return new DPIMsgDlg(o); }, OnEscape::NeverFocused},
    };
    return dialogs;
}

TEST_F(SkinnedDialogTest, ADeviceChangeClosesEveryDialogWithResultTwo) {
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    for (const DialogCase& c : Dialogs()) {
        std::unique_ptr<SkinnedDialog> dialog(c.make(&owner));
        QSignalSpy finished(dialog.get(), &QDialog::finished);
        dialog->open();
        ASSERT_TRUE(dialog->isVisible()) << c.what;
        dialog->closeForDeviceChange();
        EXPECT_FALSE(dialog->isVisible()) << c.what;
        ASSERT_EQ(finished.count(), 1) << c.what;
        EXPECT_EQ(finished.first().first().toInt(), SkinnedDialog::kClosedForDevice) << c.what;
    }
}

TEST_F(SkinnedDialogTest, EscapeLeavesTheDialogsThatMayBeLeft) {
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    for (const DialogCase& c : Dialogs()) {
        if (c.escape == OnEscape::NeverFocused) continue;
        std::unique_ptr<SkinnedDialog> dialog(c.make(&owner));
        QSignalSpy finished(dialog.get(), &QDialog::finished);
        int cancels = 0;
        if (auto* progress = qobject_cast<ProgressDialog*>(dialog.get()))
            QObject::connect(progress, &ProgressDialog::cancelRequested, [&cancels] { ++cancels; });
        dialog->open();
        ASSERT_TRUE(test::Activate(dialog.get())) << c.what;
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused && dialog->isAncestorOf(focused) ? focused : dialog.get(), Qt::Key_Escape);
        const bool closes = c.escape == OnEscape::Closes;
        EXPECT_EQ(dialog->isVisible(), !closes) << c.what;
        EXPECT_EQ(cancels, c.escape == OnEscape::AsksToCancel ? 1 : 0) << c.what;
        ASSERT_EQ(finished.count(), closes ? 1 : 0) << c.what;
        // The result of every way out that is not an answer, as for a device change.
        if (closes) {
            EXPECT_EQ(finished.first().first().toInt(), SkinnedDialog::kClosedForDevice) << c.what;
        }
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
