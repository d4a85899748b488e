// The macro page's macro list and settings with the worker and a virtual mouse: new and delete, a rename
// (and the descriptions of the buttons that play the macro), play settings clamped by protocol family,
// macro files through the file-dialog seam (a refused file changes nothing and says why), and the texts
// of the page in both languages.

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>

#include "MacroPageFixture.h"
#include "actions/ButtonActions.h"
#include "store/ButtonCodes.h"
#include "ui/common/TextIds.h"

namespace quorvel::test {
namespace {

class MacroPageList : public MacroPageTest {
public:
    std::vector<std::string> StoredNames() {
        std::vector<MacroRecord> macros;
        db.ListMacros(macros);
        std::vector<std::string> names;
        for (const MacroRecord& m : macros) names.push_back(m.name);
        return names;
    }
    std::vector<QString> ShownNames() {
        std::vector<QString> names;
        for (int i = 0; i < Macros()->GetItemCount(); ++i) names.push_back(Macros()->GetItemText(i));
        return names;
    }
    MacroRecord Macro(int id) {
        MacroRecord m;
        db.GetMacro(id, m);
        return m;
    }
    // A rename in place: the row's editor, the text, Enter.
    void Rename(int row, const QString& text) {
        Macros()->EditItem(row);
        auto* editor = Macros()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    std::string File(const char* name) {
        return (std::filesystem::path(TracePath()).parent_path() / name).string();
    }
};

TEST_F(MacroPageList, NewAndDeleteKeepAMacroChosenAndShown) {
    OpenPage("102:wired");
    EXPECT_EQ(page->CurrentMacro(), 0);
    EXPECT_TRUE(Ctl<QLabel>(kEmptyHint)->isVisible());
    QSignalSpy changed(page, &MacroPage::macrosChanged);
    const int first = NewMacro(), second = NewMacro(), third = NewMacro();
    EXPECT_EQ(ShownNames(), (std::vector<QString>{"Custom 1", "Custom 2", "Custom 3"}));
    EXPECT_EQ(page->CurrentMacro(), third);
    EXPECT_FALSE(Ctl<QLabel>(kEmptyHint)->isVisible());
    Seed(first, {Ev(kMacroDelay, 77, 1)});

    // Deleting the second shows the first, with its events.
    ClickRow(Macros(), 1);
    EXPECT_EQ(page->CurrentMacro(), second);
    Click(kMacroDelete);
    EXPECT_EQ(page->CurrentMacro(), first);
    EXPECT_EQ(Macros()->GetCurSel(), 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1 77 77 ms"}));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Custom 1", "Custom 3"}));
    // Deleting the first: the one after it moves up and is shown.
    Click(kMacroDelete);
    EXPECT_EQ(page->CurrentMacro(), third);
    EXPECT_TRUE(Shown().empty());
    Click(kMacroDelete);
    EXPECT_EQ(page->CurrentMacro(), 0);
    EXPECT_FALSE(Ctl<QPushButton>(kMacroDelete)->isEnabled());
    EXPECT_EQ(changed.count(), 6);
    // A refresh keeps the chosen macro.
    const int kept = NewMacro();
    NewMacro();
    ClickRow(Macros(), 0);
    page->Refresh();
    EXPECT_EQ(page->CurrentMacro(), kept);
}

TEST_F(MacroPageList, ARenameRewordsTheButtonsThatPlayTheMacro) {
    OpenPage("102:wired");
    const int id = NewMacro();
    ASSERT_TRUE(AssignMenuFunction(ctx(), 3, kMacroFunction, id).ok);
    ASSERT_TRUE(AssignMenuFunction(ctx(), 4, kMacroFunction, id).ok);
    auto description = [&](int key) {
        std::vector<KeyAssignmentRecord> rows;
        db.ListKeyAssignments(session->Core().CurrentProfile(), rows);
        for (const KeyAssignmentRecord& r : rows)
            if (r.key_code == key) return r.macro_desc;
        return std::string("(none)");
    };
    EXPECT_EQ(description(3), "Custom 1");
    QSignalSpy changed(page, &MacroPage::macrosChanged);

    Rename(0, "Reload + Sprint");
    EXPECT_EQ(Macro(id).name, "Reload + Sprint");
    EXPECT_EQ(description(3), "Reload + Sprint");
    EXPECT_EQ(description(4), "Reload + Sprint");
    EXPECT_EQ(Macros()->GetItemText(0), "Reload + Sprint");
    EXPECT_EQ(changed.count(), 1);

    // An empty name puts the stored one back and changes nothing.
    Rename(0, "");
    EXPECT_EQ(Macros()->GetItemText(0), "Reload + Sprint");
    EXPECT_EQ(Macro(id).name, "Reload + Sprint");
    EXPECT_EQ(description(3), "Reload + Sprint");
    EXPECT_EQ(changed.count(), 1);
}

// Play and delay settings as the radios and edits store them; the play count is clamped to 1 and to the
// family's highest count.
void CheckPlaySettings(MacroPageList& t, int limit) {
    const int id = t.NewMacro();
    auto* count = t.Ctl<QLineEdit>(kPlayCountEdit);
    EXPECT_TRUE(count->isEnabled());  // a new macro plays once
    EXPECT_EQ(count->text(), "1");
    EXPECT_EQ(count->toolTip(), QString("1 to %1").arg(limit));
    t.Type(kPlayCountEdit, "0");
    EXPECT_EQ(count->text(), "1");
    EXPECT_EQ(t.Macro(id).play_times, 1);
    t.Type(kPlayCountEdit, "1500");
    EXPECT_EQ(count->text(), QString::number(limit));
    EXPECT_EQ(t.Macro(id).play_times, limit);
    EXPECT_EQ(t.Macro(id).play_type, 0);

    t.Click(kPlayWhileHeldRadio);
    EXPECT_FALSE(count->isEnabled());
    EXPECT_EQ(t.Macro(id).play_type, 1);
    EXPECT_EQ(t.Macro(id).play_times, 1);
    t.Click(kPlayUntilPressedRadio);
    EXPECT_EQ(t.Macro(id).play_type, 2);
    t.Click(kPlayCountRadio);
    EXPECT_TRUE(count->isEnabled());
    EXPECT_EQ(count->text(), "1");
    EXPECT_EQ(t.Macro(id).play_type, 0);

    auto* fixed = t.Ctl<QLineEdit>(kFixedDelayEdit);
    EXPECT_FALSE(fixed->isEnabled());  // measured delays by default
    t.Click(kDelayFixed);
    EXPECT_TRUE(fixed->isEnabled());
    EXPECT_EQ(fixed->text(), "10");
    EXPECT_EQ(t.Macro(id).delay_type, 2);
    EXPECT_EQ(t.Macro(id).delay_time, 10);
    t.Type(kFixedDelayEdit, "20000");
    EXPECT_EQ(fixed->text(), "10000");
    EXPECT_EQ(t.Macro(id).delay_time, 10000);
    t.Click(kDelayNone);
    EXPECT_FALSE(fixed->isEnabled());
    EXPECT_EQ(t.Macro(id).delay_type, 0);
    EXPECT_EQ(t.Macro(id).delay_time, 0);

    // Shown again as stored when the macro is chosen again.
    t.NewMacro();
    t.ClickRow(t.Macros(), 0);
    EXPECT_TRUE(t.Ctl<QRadioButton>(kDelayNone)->isChecked());
    EXPECT_TRUE(t.Ctl<QRadioButton>(kPlayCountRadio)->isChecked());
}

TEST_F(MacroPageList, PlaySettingsOnTheReportFamily) {
    OpenPage("102:wired");
    CheckPlaySettings(*this, 999);
}

TEST_F(MacroPageList, PlaySettingsOnTheFeatureFamily) {
    OpenPage("201:wired");
    CheckPlaySettings(*this, 255);
}

TEST_F(MacroPageList, MacroFilesGoThroughTheDialogsAndARefusedFileChangesNothing) {
    OpenPage("102:wired");
    const int id = NewMacro();
    Seed(id, {Ev(kMacroKeyDown, 0x41, 1), Ev(kMacroDelay, 30, 2), Ev(kMacroKeyUp, 0x41, 1)});
    ClickRow(Macros(), 0);

    // Export the chosen macro: the filter, suffix and proposed name of a macro file.
    const std::string single = File("one.xml");
    host->files.Answer(QString::fromStdString(single));
    ClickRow(Macros(), 0, true);
    Choose("MacroListMenu", kMenuExportMacro);
    ASSERT_EQ(host->files.asked.size(), 1u);
    EXPECT_TRUE(host->files.asked[0].save);
    EXPECT_EQ(host->files.asked[0].filter, "Macro (*.xml)");
    EXPECT_EQ(host->files.asked[0].suffix, "xml");
    EXPECT_EQ(host->files.asked[0].suggested, "Custom 1.xml");
    EXPECT_TRUE(std::filesystem::exists(single));

    // Imported: a second macro of that name with the same events, chosen and shown.
    QSignalSpy changed(page, &MacroPage::macrosChanged);
    host->files.Answer(QString::fromStdString(single));
    ClickRow(Macros(), 0, true);
    Choose("MacroListMenu", kMenuImportMacro);
    EXPECT_FALSE(host->files.asked.back().save);
    EXPECT_EQ(host->files.asked.back().filter, "Macro (*.xml)");
    EXPECT_EQ(ShownNames(), (std::vector<QString>{"Custom 1", "Custom 1"}));
    EXPECT_NE(page->CurrentMacro(), id);
    EXPECT_EQ(Stored(page->CurrentMacro()), Stored(id));
    EXPECT_EQ(Shown(), Stored(id));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(TakeBox(), std::make_pair(0, 0));

    // All macros as a list, imported again: the library doubles.
    const std::string all = File("all.xml");
    host->files.Answer(QString::fromStdString(all));
    ClickRow(Macros(), 0, true);
    Choose("MacroListMenu", kMenuExportAll);
    EXPECT_EQ(host->files.asked.back().suggested, "Macros.xml");
    host->files.Answer(QString::fromStdString(all));
    ClickRow(Macros(), 0, true);
    Choose("MacroListMenu", kMenuImportList);
    EXPECT_EQ(Macros()->GetItemCount(), 4);

    // Refused files change nothing and say why; a cancelled dialog does nothing at all.
    const std::string profile = File("profile.xml"), missing = File("missing.xml");
    std::ofstream(profile) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n</profile>\r\n";
    struct Refusal {
        std::string path;
        int item;
        std::pair<int, int> box;
    };
    const std::vector<Refusal> refusals = {
        {profile, kMenuImportMacro, {txt::kImport, txt::kNotMacroFile}},
        {profile, kMenuImportList, {txt::kImportMacroList, txt::kNotMacroFile}},
        {missing, kMenuImportMacro, {txt::kImport, txt::kFileNotFound}},
        {all, kMenuImportMacro, {txt::kImport, txt::kHoldsMacroList}},
        {single, kMenuImportList, {txt::kImportMacroList, txt::kHoldsSingleMacro}},
        {File("no-such-folder/out.xml"), kMenuExportMacro, {txt::kExport, txt::kFileNotWritten}},
        {File("no-such-folder/out.xml"), kMenuExportAll, {txt::kExportAllMacros, txt::kFileNotWritten}},
    };
    const std::vector<std::string> names = StoredNames();
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.path + " " + std::to_string(r.item));
        host->files.Answer(QString::fromStdString(r.path));
        ClickRow(Macros(), 0, true);
        Choose("MacroListMenu", r.item);
        EXPECT_EQ(TakeBox(), r.box);
        EXPECT_EQ(StoredNames(), names);
        EXPECT_EQ(Macros()->GetItemCount(), 4);
    }
    const size_t asked = host->files.asked.size();
    ClickRow(Macros(), 0, true);
    Choose("MacroListMenu", kMenuImportList);
    EXPECT_EQ(host->files.asked.size(), asked + 1);
    EXPECT_EQ(TakeBox(), std::make_pair(0, 0));
    EXPECT_EQ(StoredNames(), names);
}

TEST_F(MacroPageList, AnEmptyLibraryCanStillImportFromTheListsMenu) {
    OpenPage("102:wired");
    emit Macros()->customContextMenuRequested(QPoint(40, 40));
    QMenu* menu = Menu("MacroListMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().size(), 1);  // import only: there is nothing to export
    EXPECT_EQ(menu->actions()[0]->text(), Text(txt::kImport));
    menu->close();
}

TEST_F(MacroPageList, EveryTextFollowsALanguageChange) {
    OpenPage("102:wired");
    NewMacro();
    ChangeUiLanguage(kLcidChinese);
    EXPECT_EQ(Ctl<QLabel>(kMacroCaption)->text(), QString::fromUtf8("宏设置"));
    EXPECT_EQ(Ctl<QPushButton>(kRecordButton)->text(), QString::fromUtf8("录制"));
    EXPECT_EQ(Ctl<QLabel>(kFixedDelayUnit)->text(), QString::fromUtf8("毫秒"));
    EXPECT_EQ(Ctl<QComboBox>(kEditorButton)->itemText(0), Text(txt::kLeftClick));
    // Every label, button and tooltip of the page is a language text.
    for (QWidget* w : page->findChildren<QWidget*>()) {
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(w)) shown = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) shown = button->text();
        for (const QString& text : {shown, w->toolTip()}) {
            if (text.isEmpty()) continue;
            EXPECT_FALSE(host->Texts().IdsOf(w).empty())
                << w->objectName().toStdString() << ": " << text.toStdString();
        }
    }
    ChangeUiLanguage(kLcidEnglish);
    EXPECT_EQ(Ctl<QLabel>(kMacroCaption)->text(), "Macro Settings");
}

}  // namespace
}  // namespace quorvel::test
