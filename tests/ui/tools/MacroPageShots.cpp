// Screenshots of the macro page for docs/images, in English and Chinese: the editor with a recorded macro
// and its event editor open, the insert menu, the key dialog and a recording under way. The menu and
// the dialog are windows of their own, so the picture is taken from the screen.

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "Shots.h"
#include "toolkit/Theme.h"
#include "ui/MacroPageFixture.h"
#include "ui/common/UiFonts.h"
#include "ui/dialogs/RecordEditDlg.h"

namespace quorvel::test {
namespace {

class MacroPageScreenshots : public MacroPageTest {
protected:
    void SetUp() override {
        dir_ = ShotDir();
        ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("xcb")) << "needs an X display";
        MacroPageTest::SetUp();
        UseShippedSkin();
    }

    // The page on its backdrop at the top left of the screen, with macros and a recorded one chosen.
    void Build() {
        OpenMice("102:wired");
        backdrop_ = std::make_unique<Backdrop>();
        backdrop_->setGeometry(0, 0, 1220, 698);
        page = new MacroPage(*host, backdrop_.get());
        page->setGeometry(20, 20, 1180, 658);
        page->UISize(1.0);
        clock = 1000;
        page->SetRecordingClock([this] { return clock; });
        backdrop_->show();
        page->Refresh();
        for (int i = 0; i < 3; ++i) NewMacro();
        Rename(0, "Reload + Sprint");
        Rename(2, "Burst fire");
        ClickRow(Macros(), 0);
        // Recorded with measured delays: R, then Shift held over W.
        Click(kDelayMeasured);
        Click(kRecordButton);
        Key(Qt::Key_R);
        clock += 120;
        Press(Qt::Key_Shift);
        clock += 35;
        Key(Qt::Key_W);
        clock += 20;
        Release(Qt::Key_Shift);
        clock += 80;
        Click(kRecordButton);
        Type(kPlayCountEdit, "3");
    }
    void Rename(int row, const QString& name) {
        Macros()->EditItem(row);
        auto* editor = Macros()->findChild<QLineEdit*>();
        editor->setText(name);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    void Language(int lcid) {
        ChangeUiLanguage(lcid);
        QApplication::processEvents();
    }
    void Save(const QString& name) {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 1220, 698);
        const QString suffix = CurrentLanguage() == kLcidChinese ? "-zh" : "-en";
        QDir().mkpath(dir_);
        ASSERT_TRUE(shot.save(QDir(dir_).filePath(name + suffix + ".png")));
    }

    QString dir_;
    std::unique_ptr<Backdrop> backdrop_;
};

TEST_F(MacroPageScreenshots, EditorInsertMenuKeyDialogAndRecording) {
    Build();
    for (int lcid : {kLcidEnglish, kLcidChinese}) {
        Language(lcid);
        // The recorded macro with an event chosen in the editor.
        ClickRow(Events(), 4);
        Save("macro-page");

        // The insert menu over the list.
        Click(kEventInsert);
        // The picture is taken from the screen: the menu's window must be up first.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Menu("InsertMenu")));
        Save("macro-page-insert-menu");
        Menu("InsertMenu")->close();

        // The key dialog with a key captured.
        Click(kEventInsert);
        Choose("InsertMenu", kInsertKey);
        RecordEditDlg* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<RecordEditDlg*>(w); d && d->isVisible()) dialog = d;
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog->findChild<QLineEdit*>(ControlName(RecordEditDlg::kKeyField)), Qt::Key_F13);
        Save("macro-page-key-dialog");
        dialog->reject();

        // A recording under way, into the second macro.
        ClickRow(Macros(), 1);
        Click(kDelayMeasured);
        Click(kRecordButton);
        Key(Qt::Key_Q);
        clock += 180;
        Key(Qt::Key_E);
        Save("macro-page-recording");
        Click(kRecordButton);
        Click(kEventClear);
        ClickRow(Macros(), 0);
    }
    Language(kLcidEnglish);
}

}  // namespace
}  // namespace quorvel::test
