// The profile dialog on virtual mice: the list, switching, renaming in place, closing it from outside,
// import and export through the file seam, and the factory reset on both families.

#include <gmock/gmock.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <fstream>

#include "PageFixture.h"
#include "actions/ButtonActions.h"
#include "actions/ProfileActions.h"
#include "store/DeviceDatabase.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/ProfileDlg.h"
#include "ui/dialogs/ProfileList.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ProfileDlgTest : public PageTest {
public:
    void OpenMiceAndButton(const std::string& mice) {
        OpenMice(mice);
        host->Window()->show();
        anchor = new QPushButton(host->Window());
        anchor->setGeometry(1230, 750, 150, 26);
    }
    // Opens the dialog (as a click on the profile button does) and returns it.
    ProfileDlg* OpenDialog() {
        ProfileDlg::Open(*host, anchor);
        return host->Window()->findChild<ProfileDlg*>();
    }
    ProfileList* List(ProfileDlg* dialog) { return Control<ProfileList>(dialog, ProfileDlg::kList); }
    QStringList Names(ProfileDlg* dialog) {
        QStringList names;
        for (int row = 0; row < List(dialog)->count(); ++row) names << List(dialog)->item(row)->text();
        return names;
    }
    void ClickEntry(ProfileDlg* dialog, int row, bool onPencil = false) {
        ProfileList* list = List(dialog);
        const QRect rect = list->visualItemRect(list->item(row));
        const QPoint at =
            onPencil ? ProfileList::PencilRect(rect).center() : QPoint(rect.left() + 30, rect.center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    // Renames the entry in place: the pencil, the text, then Enter or (commit false) nothing more.
    void TypeName(ProfileDlg* dialog, int row, const QString& name, bool enter) {
        ClickEntry(dialog, row, true);
        auto* editor = List(dialog)->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(name);
        if (!enter) return;
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the view stores the text after the key
    }
    // Lets the dialog's end and what follows it run; true once the dialog is gone.
    bool Closed() {
        for (int i = 0; i < 200 && host->Window()->findChild<ProfileDlg*>(); ++i) {
            QApplication::processEvents();
            QTest::qWait(1);
        }
        QApplication::processEvents();
        return host->Window()->findChild<ProfileDlg*>() == nullptr;
    }
    std::string StoredName(int profile) {
        std::string name;
        db.GetProfileName(profile, name);
        return name;
    }
    // The task codes of everything queued through the host, once all have ended.
    std::vector<int> QueuedCodes() {
        EXPECT_TRUE(Drain());
        std::vector<int> codes;
        const std::vector<TaskEnd> ends = gate.WaitForEnds(1 + host->queued);
        for (size_t i = 1; i < ends.size(); ++i) codes.push_back(ends[i].request.code);
        return codes;
    }

    // The text of the next message box, which is then closed (the captured text stays empty until then).
    QString& AnswerNextBox() {
        said_ = QString();
        OnNextModal([this](QWidget* box) {
            said_ = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
            Control<QPushButton>(box, CUIMessageBox::kFirstButton)->click();
        });
        return said_;
    }

    QPushButton* anchor = nullptr;

private:
    QString said_;
};

TEST_F(ProfileDlgTest, ListsTheProfilesAboveTheButton) {
    OpenMiceAndButton("102:wired");
    ProfileDlg* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_THAT(Names(dialog), ElementsAre("Profile 1", "Profile 2", "Profile 3", "Profile 4"));
    EXPECT_EQ(List(dialog)->currentRow(), 0);
    // Right above the button, its right edge on the button's.
    const QRect button(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    EXPECT_EQ(dialog->frameGeometry().bottom(), button.top() - 6);
    EXPECT_EQ(dialog->geometry().right(), button.right());
    dialog->close();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(host->queued, 0u) << "closing without a change switches nothing";

    // Stored default names are shown in the current language.
    ChangeUiLanguage(kLcidChinese);
    dialog = OpenDialog();
    EXPECT_THAT(Names(dialog), ElementsAre("配置 1", "配置 2", "配置 3", "配置 4"));
    dialog->close();
    EXPECT_TRUE(Closed());
}

// What each way through the dialog does: the profile in use, the tasks, the names stored.
struct WayCase {
    const char* name;
    std::function<void(ProfileDlgTest&, ProfileDlg*)> act;
    int current;
    std::vector<int> tasks;
    std::vector<std::string> names;
    int profileChanges;
};
std::ostream& operator<<(std::ostream& os, const WayCase& c) {
    return os << c.name;
}

const std::vector<std::string> kDefaultNames = {"Profile 1", "Profile 2", "Profile 3", "Profile 4"};

const WayCase kWays[] = {
    {"ClickAnotherEntry",
     [](ProfileDlgTest& t, ProfileDlg* d) { t.ClickEntry(d, 2); },
     3,
     {kTaskWriteProfile},
     kDefaultNames,
     1},
    // The active profile again: every setting goes to the mouse again.
    {"ClickTheActiveEntry",
     [](ProfileDlgTest& t, ProfileDlg* d) { t.ClickEntry(d, 0); },
     1,
     {kTaskWriteProfile},
     kDefaultNames,
     1},
    {"RenameThenClickOutside",
     [](ProfileDlgTest& t, ProfileDlg* d) {
         t.TypeName(d, 2, "Work", true);
         EXPECT_TRUE(d->isVisible()) << "a rename keeps the dialog open";
         d->close();
     },
     3,
     {kTaskWriteProfile},
     {"Profile 1", "Profile 2", "Work", "Profile 4"},
     1},
    {"RenameStillTypedWhenClickingOutside",
     [](ProfileDlgTest& t, ProfileDlg* d) {
         t.TypeName(d, 1, "Aim", false);
         d->close();
     },
     2,
     {kTaskWriteProfile},
     {"Profile 1", "Aim", "Profile 3", "Profile 4"},
     1},
    {"EmptyName",
     [](ProfileDlgTest& t, ProfileDlg* d) {
         t.TypeName(d, 3, "  ", true);
         EXPECT_EQ(t.List(d)->item(3)->text(), "Profile 4");
         d->close();
     },
     1,
     {},
     kDefaultNames,
     0},
    {"Escape",
     [](ProfileDlgTest&, ProfileDlg* d) { QTest::keyClick(d, Qt::Key_Escape); },
     1,
     {},
     kDefaultNames,
     0},
};

class ProfileDlgWays : public ProfileDlgTest, public ::testing::WithParamInterface<WayCase> {};

TEST_P(ProfileDlgWays, EndsAsExpected) {
    const WayCase& c = GetParam();
    OpenMiceAndButton("102:wired");
    ProfileDlg* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    c.act(*this, dialog);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(ctx().Profile(), c.current);
    EXPECT_EQ(db.GetActiveProfile(), c.current);
    EXPECT_EQ(QueuedCodes(), c.tasks);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(StoredName(p), c.names[p - 1]) << p;
    EXPECT_EQ(host->profileChanges, c.profileChanges);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProfileDlgWays, ::testing::ValuesIn(kWays),
                         [](const auto& info) { return std::string(info.param.name); });

// While a profile is renamed its row shows the editor alone: the old name is not drawn under the new one.
TEST_F(ProfileDlgTest, TheOldNameDoesNotShowUnderTheRename) {
    OpenMiceAndButton("102:wired");
    ProfileDlg* dialog = OpenDialog();
    ClickEntry(dialog, 1, true);
    auto* editor = List(dialog)->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->clear();  // an empty editor: any text in it would be the old name
    const QImage shot = List(dialog)->viewport()->grab(editor->geometry().adjusted(4, 4, -4, -4)).toImage();
    // Columns with light (text) pixels; the text cursor alone takes one or two.
    int columns = 0;
    for (int x = 0; x < shot.width(); ++x) {
        for (int y = 0; y < shot.height(); ++y) {
            if (shot.pixelColor(x, y).lightness() > 100) {
                ++columns;
                break;
            }
        }
    }
    EXPECT_LE(columns, 3);
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(ProfileDlgTest, ExportAndImportThroughTheFileDialogs) {
    OpenMiceAndButton("102:wired");
    const std::string folder =
        std::filesystem::temp_directory_path() / ("quorvel-profiles-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const QString file = QString::fromStdString(folder + "/Fast aim.xml");
    ASSERT_TRUE(SwitchProfile(ctx(), 2).ok);  // stored only: the dialog opens on profile 2
    ASSERT_TRUE(AssignFixedFunction(ctx(), 3).ok);

    // Export after renaming profile 2: it becomes the current profile first, then it is saved.
    ProfileDlg* dialog = OpenDialog();
    TypeName(dialog, 1, "Mine", true);
    host->files.Answer(file);
    QString& said = AnswerNextBox();
    Control<QPushButton>(dialog, ProfileDlg::kExport)->click();
    ASSERT_TRUE(Closed());
    QTRY_VERIFY(!said.isEmpty());
    EXPECT_EQ(said, "The profile was exported to " + file + ".") << "where the file went";
    EXPECT_EQ(ctx().Profile(), 2);
    ASSERT_EQ(host->files.asked.size(), 1u);
    EXPECT_TRUE(host->files.asked[0].save);
    EXPECT_EQ(host->files.asked[0].filter, "Profile files (*.xml)");
    EXPECT_EQ(host->files.asked[0].suggested, "Mine.xml");
    EXPECT_EQ(host->files.asked[0].suffix, "xml");
    std::ifstream written(file.toStdString());
    std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_THAT(text, HasSubstr("<profileinfo name=\"Mine\">"));
    EXPECT_EQ(QueuedCodes(), std::vector<int>{kTaskWriteProfile});

    // Import into profile 2 after a change: the file's settings come back, the profile takes its name.
    ASSERT_TRUE(ResetAllButtons(ctx()).ok);
    dialog = OpenDialog();
    host->files.Answer(file);
    said = AnswerNextBox();
    Control<QPushButton>(dialog, ProfileDlg::kImport)->click();
    ASSERT_TRUE(Closed());
    QTRY_VERIFY(!said.isEmpty());
    EXPECT_EQ(said, "The profile was imported from " + file + ".");
    ASSERT_EQ(host->files.asked.size(), 2u);
    EXPECT_FALSE(host->files.asked[1].save);
    EXPECT_EQ(host->files.asked[1].filter, host->files.asked[0].filter) << "one name for the file type";
    EXPECT_EQ(StoredName(2), "Fast aim");
    KeyAssignmentRecord key;
    EXPECT_TRUE(db.GetKeyAssignment(2, 3, key));
    EXPECT_EQ(QueuedCodes(), (std::vector<int>{kTaskWriteProfile, kTaskWriteProfile}));
    EXPECT_EQ(host->profileChanges, 2);

    // A cancelled file dialog does nothing and says nothing.
    dialog = OpenDialog();
    Control<QPushButton>(dialog, ProfileDlg::kImport)->click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(host->files.asked.size(), 3u);
    EXPECT_EQ(host->profileChanges, 2);
    EXPECT_EQ(qobject_cast<CUIMessageBox*>(QApplication::activeModalWidget()), nullptr);
    std::filesystem::remove_all(folder);
}

// A file that is refused, or an export that cannot be written, is explained; a refused import changes
// nothing.
TEST_F(ProfileDlgTest, RefusedFilesAreExplained) {
    OpenMiceAndButton("102:wired");
    const std::string folder =
        std::filesystem::temp_directory_path() / ("quorvel-refused-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder + "/a folder.xml");
    std::ofstream(folder + "/macro.xml") << "<?xml version=\"1.0\"?>\r\n<macro/>\r\n";
    std::ofstream(folder + "/broken.xml") << "<profile><profileinfo>";
    ASSERT_TRUE(AssignFixedFunction(ctx(), 3).ok);
    struct Case {
        ProfileDlg::Id button;
        std::string path;
        const char* message;
    };
    const Case cases[] = {
        {ProfileDlg::kImport, folder + "/macro.xml",
         "The file was not imported. The profile is unchanged.\nmacro.xml: The file is not a profile file."},
        {ProfileDlg::kImport, folder + "/broken.xml",
         "The file was not imported. The profile is unchanged.\nbroken.xml: The file is not a valid XML "
         "document."},
        {ProfileDlg::kImport, folder + "/gone.xml",
         "The file was not imported. The profile is unchanged.\ngone.xml: The file does not exist."},
        {ProfileDlg::kExport, folder + "/a folder.xml", "The profile could not be exported.\na folder.xml: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ProfileDlg* dialog = OpenDialog();
        host->files.Answer(QString::fromStdString(c.path));
        QString shown;
        OnNextModal([&shown](QWidget* box) {
            shown = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
            Control<QPushButton>(box, CUIMessageBox::kFirstButton)->click();
        });
        Control<QPushButton>(dialog, c.button)->click();
        ASSERT_TRUE(Closed());
        QTRY_VERIFY(!shown.isEmpty());
        EXPECT_TRUE(shown.startsWith(QString::fromUtf8(c.message))) << shown.toStdString();
    }
    EXPECT_EQ(StoredName(1), "Profile 1");
    KeyAssignmentRecord key;
    EXPECT_TRUE(db.GetKeyAssignment(1, 3, key));
    EXPECT_EQ(host->queued, 0u);
    EXPECT_EQ(host->profileChanges, 0);
    std::filesystem::remove_all(folder);
}

TEST_F(ProfileDlgTest, WithoutAMouseOnlyTheNotice) {
    // No mouse: the session runs, discovery finds nothing.
    Open("");
    session->Start(&gate);
    ASSERT_EQ(gate.WaitForEnds(1).size(), 1u);
    host = std::make_unique<TestPageHost>(*session);
    anchor = new QPushButton(host->Window());
    for (int which = 0; which < 2; ++which) {
        QString title, message;
        OnNextModal([&](QWidget* box) {
            title = Control<QLabel>(box, CUIMessageBox::kTitle)->text();
            message = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
            Control<QPushButton>(box, CUIMessageBox::kFirstButton)->click();
        });
        if (which == 0)
            EXPECT_EQ(OpenDialog(), nullptr);
        else
            ConfirmFactoryReset(*host);
        QTRY_VERIFY(!title.isEmpty());
        EXPECT_EQ(title, "Notice");
        EXPECT_EQ(message, "Device not connected");
    }
    EXPECT_EQ(host->queued, 0u);
}

// The factory reset asks first; on yes the model's data is made anew and the mouse reset, byte for byte
// as the family wants it.
struct ResetCase {
    const char* name;
    const char* mice;
    std::vector<std::string> sent;
};
std::ostream& operator<<(std::ostream& os, const ResetCase& c) {
    return os << c.name;
}

const ResetCase kResets[] = {
    {"ReportFamily",
     "102:wired",
     {ReportWrite("00 0F 00 01 01 FF"), ReportWrite("00 11"), ReportWrite("00 12"), ReportWrite("00 13"),
      ReportWrite("00 13"), ReportWrite("00 14"), ReportWrite("00 15"), ReportWrite("00 16"),
      ReportWrite("00 17")}},
    // The mouse's reset, then lighting mode 2 of the new first profile at brightness 2, speed 2.
    {"FeatureFamily",
     "201:wired",
     {FeatureSend("0C 01 0F 00 00 01 01 FF"),
      FeatureSend(
          "0C 01 08 00 01 01 18 02 22 07 FF 00 00 00 FF 00 00 00 FF 00 FF FF FF FF 00 FF 00 FF FF FF FF")}},
};

class FactoryReset : public ProfileDlgTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(FactoryReset, AsksThenResets) {
    const ResetCase& c = GetParam();
    OpenMiceAndButton(c.mice);
    ASSERT_TRUE(RenameProfile(ctx(), 1, "Old").ok);
    ASSERT_TRUE(SwitchProfile(ctx(), 3).ok);  // (stored only: nothing queued)

    // Cancelled: nothing.
    OnNextModal([](QWidget* box) { Control<QPushButton>(box, CUIMessageBox::kSecondButton)->click(); });
    ConfirmFactoryReset(*host);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QApplication::processEvents();
    EXPECT_EQ(host->queued, 0u);
    EXPECT_EQ(StoredName(1), "Old");

    OnNextModal([](QWidget* box) { Control<QPushButton>(box, CUIMessageBox::kFirstButton)->click(); });
    ConfirmFactoryReset(*host);
    QTRY_COMPARE(host->queued, size_t{1});
    EXPECT_EQ(host->profileChanges, 1);
    EXPECT_EQ(StoredName(1), "Profile 1");
    EXPECT_EQ(ctx().Profile(), 1);
    EXPECT_EQ(QueuedCodes(), std::vector<int>{kTaskFactoryReset});
    EXPECT_EQ(SentSinceLastCall(), c.sent);
    EXPECT_THAT(Mice().AllIssues(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, FactoryReset, ::testing::ValuesIn(kResets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::test
