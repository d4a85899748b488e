// Macro files in both forms: exports against hand-written fixtures, imports under new numbers, refusals.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/FilesTestSupport.h"
#include "files/MacroFile.h"

namespace quorvel::testing {
namespace {

using Events = std::vector<std::tuple<int, int, int, int, std::string>>;  // index, type, value, delay, desc

class MacroFileTest : public DatabaseTest {
protected:
    int AddMacro(const std::string& name, int playType, int playTimes, int delayType, int delayTime,
                 const Events& events) {
        MacroRecord macro;
        macro.name = name;
        macro.play_type = playType;
        macro.play_times = playTimes;
        macro.delay_type = delayType;
        macro.delay_time = delayTime;
        const int id = db_.AddMacroWithSettings(macro);
        std::vector<MacroEventRecord> records;
        for (const auto& [index, type, value, delay, desc] : events) {
            MacroEventRecord event;
            event.macro_id = id;
            event.record_index = index;
            event.type = type;
            event.value = value;
            event.delay_time = delay;
            event.desc = desc;
            records.push_back(event);
        }
        db_.AddMacroEvents(records);
        return id;
    }

    // The three macros of macro_multi.xml; the first alone is macro_single.xml.
    void AddFixtureMacros() {
        reload_ = AddMacro("Reload & Go", 0, 3, 1, 0,
                           {{0, 2, 82, 1001, "↓  R"}, {1, 1, 50, 1002, "50 ms"}, {2, 3, 82, 1003, "↑  R"},
                            {3, 4, 1, 1004, "↓  LB"}, {4, 5, 1, 1004, "↑  LB"}});
        AddMacro("Empty", 1, 1, 0, 0, {});
        AddMacro("宏 3", 2, 1, 2, 20, {{0, 2, 16, 7, "↓  Shift"}, {1, 1, 20, 8, "20 ms"}, {2, 3, 16, 9, "↑  Shift"}});
    }

    MacroImportResult ImportSingleText(const std::string& text) {
        return ImportSingleMacroBytes(db_, Crlf(text), "test.xml");
    }

    int reload_ = 0;
};

TEST_F(MacroFileTest, ExportsMatchFixtures) {
    AddFixtureMacros();
    ASSERT_TRUE(ExportSingleMacroFile(db_, reload_, std::nullopt, File("single.xml")).ok());
    EXPECT_EQ(ReadBytes(File("single.xml")), ReadBytes(FixturePath("macro_single.xml")));
    ASSERT_TRUE(ExportMultiMacroFile(db_, File("multi.xml")).ok());
    EXPECT_EQ(ReadBytes(File("multi.xml")), ReadBytes(FixturePath("macro_multi.xml")));
}

TEST_F(MacroFileTest, SingleExportWritesTheShownName) {
    AddFixtureMacros();
    std::string text;
    ASSERT_TRUE(BuildSingleMacroDocument(db_, reload_, std::string("Shown \"1\""), &text).ok());
    std::string expected = ReadBytes(FixturePath("macro_single.xml"));
    expected.replace(expected.find("Reload &amp; Go"), 15, "Shown &quot;1&quot;");
    EXPECT_EQ(text, expected);
}

TEST_F(MacroFileTest, EmptyLibraryAndEmptyMacro) {
    std::string text;
    ASSERT_TRUE(BuildMultiMacroDocument(db_, &text).ok());
    EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro/>\r\n");

    const int id = AddMacro("Nothing", 0, 1, 1, 0, {});
    ASSERT_TRUE(BuildSingleMacroDocument(db_, id, std::nullopt, &text).ok());
    EXPECT_EQ(text, Crlf("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<macro>\n"
                         "<macroinfo macro_name=\"Nothing\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
                         "delay_time=\"0\"/>\n<macroitems/>\n</macro>\n"));
}

TEST_F(MacroFileTest, ExportRefusals) {
    EXPECT_EQ(ExportSingleMacroFile(db_, 42, std::nullopt, File("x.xml")).status, FileStatus::kNoMacro);
    EXPECT_FALSE(std::filesystem::exists(File("x.xml")));
    EXPECT_EQ(ExportMultiMacroFile(db_, File("no/such/folder.xml")).status, FileStatus::kWriteFailed);
    db_.CloseDevice();
    EXPECT_EQ(ExportMultiMacroFile(db_, File("x.xml")).status, FileStatus::kNoDatabase);
}

TEST_F(MacroFileTest, SingleImportAddsACopyUnderANewNumber) {
    AddFixtureMacros();
    const DbSnapshot before = Snapshot(db_);
    const MacroImportResult result = ImportSingleMacroFile(db_, FixturePath("macro_single.xml"));
    ASSERT_TRUE(result.ok()) << result.message;
    ASSERT_EQ(result.macros.size(), 1u);
    const int id = result.macros[0].macroId;
    EXPECT_GT(id, 3);
    EXPECT_EQ(result.macros[0].name, "Reload & Go");

    DbSnapshot after = Snapshot(db_);
    ASSERT_EQ(after.macros.size(), 4u);
    EXPECT_EQ(after.macros[3], std::make_tuple(id, std::string("Reload & Go"), 0, 3, 1, 0));
    EXPECT_EQ(after.events[id], before.events.at(reload_));  // index -> record_index, timestamp -> delay_time
    after.macros.pop_back();
    after.events.erase(id);
    EXPECT_EQ(after, before);  // nothing stored was changed

    const MacroImportResult again = ImportSingleMacroFile(db_, FixturePath("macro_single.xml"));
    ASSERT_EQ(again.macros.size(), 1u);
    EXPECT_GT(again.macros[0].macroId, id);
}

TEST_F(MacroFileTest, MultiExportImportDoublesTheLibrary) {
    AddFixtureMacros();
    ASSERT_TRUE(ExportMultiMacroFile(db_, File("all.xml")).ok());
    const DbSnapshot before = Snapshot(db_);
    const MacroImportResult result = ImportMultiMacroFile(db_, File("all.xml"));
    ASSERT_TRUE(result.ok()) << result.message;
    ASSERT_EQ(result.macros.size(), 3u);

    DbSnapshot after = Snapshot(db_);
    ASSERT_EQ(after.macros.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [oldId, name, playType, playTimes, delayType, delayTime] = before.macros[i];
        const auto& copy = after.macros[i + 3];
        EXPECT_EQ(std::get<0>(copy), result.macros[i].macroId);
        EXPECT_GT(std::get<0>(copy), 3);
        EXPECT_EQ(copy, std::make_tuple(std::get<0>(copy), name, playType, playTimes, delayType, delayTime));
        EXPECT_EQ(result.macros[i].name, name);
        EXPECT_EQ(after.events[std::get<0>(copy)], before.events.count(oldId) ? before.events.at(oldId) : Events{});
    }
}

TEST_F(MacroFileTest, SingleImportReadsWhatItFinds) {
    struct Case {
        const char* name;
        const char* body;  // inside the root `macro`
        std::tuple<std::string, int, int, int, int> macro;
        Events events;
    };
    const Case cases[] = {
        {"no macroinfo",
         "<macroitems>\n<item desc=\"a\" index=\"0\" type=\"1\" value=\"10\" timestamp=\"3\"/>\n</macroitems>\n",
         {"", 0, 0, 0, 0},
         {{0, 1, 10, 3, "a"}}},
        {"item without index, events kept in index order",
         "<macroinfo macro_name=\"m\" macro_type=\"1\" play_times=\"2\" delay_type=\"2\" delay_time=\"15\"/>\n"
         "<macroitems>\n<item desc=\"late\" index=\"5\" type=\"2\" value=\"65\"/>\n"
         "<item desc=\"none\" type=\"3\" value=\"65\"/>\n</macroitems>\n",
         {"m", 1, 2, 2, 15},
         {{0, 3, 65, 0, "none"}, {5, 2, 65, 0, "late"}}},
        {"macroitems before macroinfo is not seen",
         "<macroitems>\n<item desc=\"a\" index=\"0\" type=\"1\" value=\"10\"/>\n</macroitems>\n"
         "<macroinfo macro_name=\"after\"/>\n",
         {"after", 0, 0, 0, 0},
         {}},
        {"no groups at all", "", {"", 0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MacroImportResult result =
            ImportSingleText(std::string("<?xml version=\"1.0\"?>\n<macro>\n") + c.body + "</macro>\n");
        ASSERT_TRUE(result.ok()) << result.message;
        ASSERT_EQ(result.macros.size(), 1u);
        const int id = result.macros[0].macroId;
        MacroRecord stored;
        ASSERT_TRUE(db_.GetMacro(id, stored));
        EXPECT_EQ(std::make_tuple(stored.name, stored.play_type, stored.play_times, stored.delay_type, stored.delay_time),
                  c.macro);
        EXPECT_EQ(Snapshot(db_).events[id], c.events);
    }
}

TEST_F(MacroFileTest, MultiImportMacroWithoutRecordItemHasNoEvents) {
    const MacroImportResult result = ImportMultiMacroBytes(
        db_,
        Crlf("<macro>\n<macro_item macro_name=\"a\"/>\n<other/>\n"
             "<macro_item macro_name=\"b\">\n<record_item>\n<item desc=\"x\" index=\"1\" type=\"1\" value=\"5\"/>\n"
             "</record_item>\n</macro_item>\n</macro>\n"),
        "inline");
    ASSERT_TRUE(result.ok()) << result.message;
    ASSERT_EQ(result.macros.size(), 2u);
    DbSnapshot after = Snapshot(db_);
    EXPECT_EQ(after.events.count(result.macros[0].macroId), 0u);
    EXPECT_EQ(after.events[result.macros[1].macroId], (Events{{1, 1, 5, 0, "x"}}));
}

std::string ManyMacroItems(std::size_t macros, std::size_t eventsEach) {
    std::string text = "<macro>\r\n";
    for (std::size_t m = 0; m < macros; ++m) {
        text += "<macro_item macro_name=\"m\">\r\n<record_item>\r\n";
        for (std::size_t e = 0; e < eventsEach; ++e) text += "<item type=\"1\" value=\"1\"/>\r\n";
        text += "</record_item>\r\n</macro_item>\r\n";
    }
    return text + "</macro>\r\n";
}

std::string ManySingleEvents(std::size_t events) {
    std::string text = "<macro>\r\n<macroinfo macro_name=\"m\"/>\r\n<macroitems>\r\n";
    for (std::size_t e = 0; e < events; ++e) text += "<item type=\"1\" value=\"1\"/>\r\n";
    return text + "</macroitems>\r\n</macro>\r\n";
}

TEST_F(MacroFileTest, RefusedFilesAddNothing) {
    AddFixtureMacros();
    const DbSnapshot before = Snapshot(db_);
    const std::string profile = ReadBytes(FixturePath("profile_custom.xml"));
    struct Case {
        const char* name;
        bool multi;
        std::string bytes;
        FileStatus status;
    };
    const Case cases[] = {
        {"profile file, single", false, profile, FileStatus::kWrongRoot},
        {"profile file, multi", true, profile, FileStatus::kWrongRoot},
        {"not well-formed", false, "<macro><macroinfo></macro>", FileStatus::kNotWellFormed},
        {"empty", true, "", FileStatus::kNotWellFormed},
        // The other form would add nothing, or one empty unnamed macro.
        {"single-macro file as a list", true, ReadBytes(FixturePath("macro_single.xml")),
         FileStatus::kWrongForm},
        {"macro list as a single macro", false, ReadBytes(FixturePath("macro_multi.xml")),
         FileStatus::kWrongForm},
        {"too many events in one macro", false, ManySingleEvents(kMaxEventsPerMacro + 1),
         FileStatus::kTooManyItems},
        {"too many events in one of many", true, ManyMacroItems(2, kMaxEventsPerMacro + 1),
         FileStatus::kTooManyItems},
        {"too many macros", true, ManyMacroItems(kMaxMacrosPerFile + 1, 0), FileStatus::kTooManyItems},
        {"too many events in the file", true,
         ManyMacroItems(kMaxEventsPerFile / kMaxEventsPerMacro + 1, kMaxEventsPerMacro),
         FileStatus::kTooManyItems},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MacroImportResult result =
            c.multi ? ImportMultiMacroBytes(db_, c.bytes, c.name) : ImportSingleMacroBytes(db_, c.bytes, c.name);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result.message.empty());
        EXPECT_TRUE(result.macros.empty());
        EXPECT_EQ(Snapshot(db_), before);
    }
    EXPECT_EQ(ImportSingleMacroFile(db_, File("absent.xml")).status, FileStatus::kNotFound);
    EXPECT_EQ(ImportMultiMacroFile(db_, dir_.path()).status, FileStatus::kUnreadable);
    EXPECT_EQ(Snapshot(db_), before);
}

TEST_F(MacroFileTest, ImportWithoutDatabaseIsReported) {
    db_.CloseDevice();
    const MacroImportResult result = ImportSingleMacroFile(db_, FixturePath("macro_single.xml"));
    EXPECT_EQ(result.status, FileStatus::kNoDatabase);
    EXPECT_TRUE(result.macros.empty());
}

}  // namespace
}  // namespace quorvel::testing
