// Macro list actions: names, renaming with the buttons that play the macro, deleting, macro files.

#include "ActionsFixture.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

class MacroActions : public ActionsTest {
protected:
    void SetUp() override {
        Make("102:wired");
        Offline(102);
    }
    std::string Desc(int profile, int keyCode) {
        KeyAssignmentRecord r;
        if (!db_.GetKeyAssignment(profile, keyCode, r)) return "none";
        return std::to_string(r.macro_type) + " " + std::to_string(r.macro_value) + " " + r.macro_desc;
    }
    void AddEvents(int macroId) {
        std::vector<MacroEventRecord> events;
        for (int i = 0; i < 3; ++i) {
            MacroEventRecord e;
            e.macro_id = macroId;
            e.type = i == 1 ? 1 : 2 + (i == 2);
            e.record_index = i;
            e.value = i == 1 ? 10 : 0x41;
            e.delay_time = 7;
            e.desc = i == 1 ? "10 ms" : (i == 0 ? "↓  A" : "↑  A");
            events.push_back(e);
        }
        db_.AddMacroEvents(events);
    }
};

TEST_F(MacroActions, ShownNames) {
    // The copy word's blank is the one already before it: "Macro Copy" is not shown with two.
    const std::pair<const char*, const char*> cases[] = {
        {"Custom 1", "T351 1"},          {"自定义 2", "T351 2"},     {"Macro Copy", "Macro T31"},
        {"Custom 3 复制", "T351 3 T31"}, {"MacroCopy", "Macro T31"}, {"Copy", "T31"},
        {"Copy of x", "Copy of x"},      {"Other", "Other"},
    };
    for (const auto& [stored, shown] : cases) EXPECT_EQ(ShownMacroName(ctx(), stored), shown) << stored;
}

TEST_F(MacroActions, NewMacrosAreNamedAsTheEditorNamesThem) {
    int first = 0, second = 0, named = 0;
    EXPECT_ACCEPTED(NewMacro(ctx(), std::nullopt, &first));
    EXPECT_ACCEPTED(NewMacro(ctx(), std::nullopt, &second));
    EXPECT_ACCEPTED(NewMacro(ctx(), std::string("Burst"), &named));
    EXPECT_REFUSED(NewMacro(ctx(), std::string("")), "cannot be empty");
    std::vector<MacroInfo> macros;
    ASSERT_TRUE(ListMacros(ctx(), &macros).ok);
    ASSERT_EQ(macros.size(), 3u);
    EXPECT_EQ(macros[0].macro.macro_id, first);
    EXPECT_EQ(macros[0].macro.name, "T351 1");
    EXPECT_EQ(macros[1].macro.name, "T351 2");
    EXPECT_EQ(macros[2].macro.macro_id, named);
    EXPECT_EQ(macros[2].macro.name, "Burst");
    EXPECT_EQ(macros[2].macro.play_times, 1);
    EXPECT_EQ(macros[2].macro.delay_type, 1);
}

TEST_F(MacroActions, RenamingRewordsTheButtonsOfTheCurrentProfileOnly) {
    const int id = db_.AddMacro("Old");
    EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 3, kMacroFunction, id), kTaskWriteKeys);
    EXPECT_ACCEPTED(SwitchProfile(ctx(), 2), kTaskWriteProfile);
    EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 4, kMacroFunction, id), kTaskWriteKeys);
    EXPECT_ACCEPTED(SwitchProfile(ctx(), 1), kTaskWriteProfile);

    EXPECT_ACCEPTED(RenameMacro(ctx(), id, "New"));
    EXPECT_EQ(Desc(1, 3), "4 " + std::to_string(id) + " New");
    EXPECT_EQ(Desc(2, 4), "4 " + std::to_string(id) + " Old");
    MacroRecord m;
    ASSERT_TRUE(db_.GetMacro(id, m));
    EXPECT_EQ(m.name, "New");

    EXPECT_REFUSED(RenameMacro(ctx(), id, ""), "cannot be empty");
    EXPECT_REFUSED(RenameMacro(ctx(), id + 1, "X"), "no macro with id");
    ASSERT_TRUE(db_.GetMacro(id, m));
    EXPECT_EQ(m.name, "New");
}

TEST_F(MacroActions, DeletingLeavesTheButtonsAndNamesThem) {
    const int id = db_.AddMacro("Gone");
    AddEvents(id);
    EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 3, kMacroFunction, id), kTaskWriteKeys);
    EXPECT_ACCEPTED(SwitchProfile(ctx(), 2), kTaskWriteProfile);
    EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 4, kMacroFunction, id), kTaskWriteKeys);

    const ActionResult r = DeleteMacro(ctx(), id);
    EXPECT_ACCEPTED(r);
    EXPECT_NE(r.message.find("profile 1: 3; profile 2: 4"), std::string::npos) << r.message;
    MacroRecord m;
    EXPECT_FALSE(db_.GetMacro(id, m));
    std::vector<MacroEventRecord> events;
    EXPECT_EQ(db_.ListMacroEvents(id, events), 0);
    EXPECT_EQ(Desc(1, 3), "4 " + std::to_string(id) + " Gone");  // left as it was
    const std::vector<MissingMacroAssignment> missing = AssignmentsWithoutMacro(ctx(), 2);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(std::make_tuple(missing[0].keyCode, missing[0].macroId, missing[0].description),
              std::make_tuple(4, id, std::string("Gone")));

    EXPECT_REFUSED(DeleteMacro(ctx(), id), "no macro with id");
    EXPECT_REFUSED(DeleteMacro(ctx(), 0), "no macro with id 0");
    const int other = db_.AddMacro("Unbound");
    const ActionResult quiet = DeleteMacro(ctx(), other);
    EXPECT_ACCEPTED(quiet);
    EXPECT_EQ(quiet.message, "");
}

TEST_F(MacroActions, ShowAndFilesRoundTrip) {
    const int id = db_.AddMacro("Custom 1");
    AddEvents(id);
    MacroDetails details;
    ASSERT_TRUE(ShowMacro(ctx(), id, &details).ok);
    EXPECT_EQ(details.info.shownName, "T351 1");
    ASSERT_EQ(details.events.size(), 3u);
    EXPECT_EQ(details.events[1].desc, "10 ms");
    EXPECT_REFUSED(ShowMacro(ctx(), id + 5, &details), "no macro with id");

    const std::string one = (Root() / "one.xml").string();
    const std::string all = (Root() / "all.xml").string();
    EXPECT_ACCEPTED(ExportMacroFile(ctx(), id, one));
    EXPECT_ACCEPTED(ExportAllMacrosFile(ctx(), all));
    EXPECT_REFUSED(ExportMacroFile(ctx(), id + 5, one), "no macro with id");

    std::vector<MacroInfo> imported;
    EXPECT_ACCEPTED(ImportMacroFile(ctx(), one, &imported));
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_NE(imported[0].macro.macro_id, id);
    MacroDetails copy;
    ASSERT_TRUE(ShowMacro(ctx(), imported[0].macro.macro_id, &copy).ok);
    ASSERT_EQ(copy.events.size(), 3u);
    EXPECT_EQ(copy.events[2].desc, "↑  A");

    EXPECT_ACCEPTED(ImportAllMacrosFile(ctx(), all, &imported));
    EXPECT_EQ(imported.size(), 1u);
    std::vector<MacroInfo> macros;
    ListMacros(ctx(), &macros);
    EXPECT_EQ(macros.size(), 3u);

    const ActionResult bad = ImportMacroFile(ctx(), (Root() / "missing.xml").string());
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.message.empty());
    ListMacros(ctx(), &macros);
    EXPECT_EQ(macros.size(), 3u);
}

}  // namespace
}  // namespace quorvel::test
