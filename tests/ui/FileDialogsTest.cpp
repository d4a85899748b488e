// The program's open and save dialogs: Qt's own dialog (drawn in the program's dark look, not the
// desktop's), opening in the user's documents folder, or the home folder when there is none. Each dialog
// is answered from its own event loop, so nothing waits for a user.

#include <QDir>
#include <QFileDialog>
#include <filesystem>

#include "UiTestSupport.h"
#include "ui/common/FileDialogs.h"

namespace quorvel::test {
namespace {

class FileDialogsTest : public UiTest {
protected:
    struct Seen {
        QString folder;
        bool ownDialog = false;
        int windowLightness = 255;
        QString filter;
    };
    // Runs `open` and records the dialog it showed; the dialog is cancelled.
    Seen Show(const std::function<QString()>& open) {
        Seen seen;
        OnNextModal([&seen](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return;
            seen.folder = dialog->directory().absolutePath();
            seen.ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
            seen.windowLightness = dialog->palette().color(QPalette::Window).lightness();
            seen.filter = dialog->selectedNameFilter();
            dialog->reject();
        });
        EXPECT_TRUE(open().isEmpty()) << "cancelled";
        return seen;
    }
};

TEST_F(FileDialogsTest, OpenAndSaveStartInTheDocumentsFolderInTheProgramsLook) {
    const QString home = QString::fromStdString(home_.Root());
    const QString documents = home + QStringLiteral("/Documents");
    QtFileDialogs files;
    const QString filter = QStringLiteral("Profile files (*.xml)");
    struct Case {
        const char* name;
        bool documentsExist;
        QString expected;
    };
    const Case cases[] = {{"documents folder", true, documents}, {"no documents folder: home", false, home}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.documentsExist)
            QDir().mkpath(documents);
        else
            QDir(documents).removeRecursively();
        const Seen opened = Show([&] { return files.OpenFile(nullptr, QStringLiteral("Import"), filter); });
        const Seen saved = Show([&] {
            return files.SaveFile(nullptr, QStringLiteral("Export"), QStringLiteral("Mine.xml"), filter,
                                  QStringLiteral("xml"));
        });
        for (const Seen& seen : {opened, saved}) {
            EXPECT_EQ(QDir(seen.folder).canonicalPath(), QDir(c.expected).canonicalPath());
            EXPECT_TRUE(seen.ownDialog) << "the desktop's dialog ignores the program's look";
            EXPECT_LT(seen.windowLightness, 128) << "dark like the program";
            EXPECT_EQ(seen.filter, filter);
        }
    }
}

}  // namespace
}  // namespace quorvel::test
