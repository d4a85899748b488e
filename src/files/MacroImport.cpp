// Macro import, both forms. The whole file is read first; a file refused for its form or its size adds
// nothing. Then each macro is added under a new number with its events one by one; a macro or event the
// database refuses is skipped and counted, as the library has always done.

#include <string>
#include <utility>
#include <vector>

#include "files/FileInput.h"
#include "files/MacroFields.h"
#include "files/MacroFile.h"
#include "store/DeviceDatabase.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace {

struct MacroPlan {
    MacroRecord macro;
    std::vector<MacroEventRecord> events;
};

FileResult TooMany(std::string_view source, std::string_view what, std::size_t cap) {
    return {FileStatus::kTooManyItems,
            "'" + std::string(source) + "' holds more than " + std::to_string(cap) + " " + std::string(what)};
}

// The macro attributes of the current element; without a current element every value reads 0 or empty.
MacroRecord ReadMacro(const XmlDoc& doc) {
    MacroRecord macro;
    macro.name = doc.GetAttribute("macro_name");
    macro.play_type = AttributeInt(doc, "macro_type");
    macro.play_times = AttributeInt(doc, "play_times");
    macro.delay_type = AttributeInt(doc, "delay_type");
    macro.delay_time = AttributeInt(doc, "delay_time");
    return macro;
}

// The `item` children of the current element (the event group). *total counts events across the file.
FileResult ReadEvents(XmlDoc& doc, std::string_view source, std::size_t* total, std::vector<MacroEventRecord>* out) {
    doc.Descend();
    while (doc.FindNext("item")) {
        if (out->size() == kMaxEventsPerMacro) return TooMany(source, "events in one macro", kMaxEventsPerMacro);
        if (*total == kMaxEventsPerFile) return TooMany(source, "events", kMaxEventsPerFile);
        ++*total;
        MacroEventRecord event;
        event.desc = doc.GetAttribute("desc");
        event.record_index = AttributeInt(doc, "index");
        event.type = AttributeInt(doc, "type");
        event.value = AttributeInt(doc, "value");
        event.delay_time = AttributeInt(doc, "timestamp");
        out->push_back(std::move(event));
    }
    doc.Ascend();
    return {};
}

// Whether the root element has a child of that name anywhere (the readers only look forward).
bool RootHasChild(std::string_view bytes, std::string_view name) {
    XmlDoc doc;
    return doc.LoadBytes(bytes) && doc.FindNext(kMacroRoot) && doc.Descend() && doc.FindNext(name);
}

FileResult OtherForm(std::string_view source, bool severalMacros) {
    return {FileStatus::kWrongForm,
            "'" + std::string(source) + "' " +
                (severalMacros ? "holds several macros: import it as a macro list"
                               : "holds a single macro: import it as a single macro, not as a macro list")};
}

FileResult ReadSingle(std::string_view bytes, std::string_view source, std::vector<MacroPlan>* plans) {
    XmlDoc doc;
    FileResult loaded = LoadImportDocument(bytes, kMacroRoot, source, &doc);
    if (!loaded.ok()) return loaded;
    // A macro list read as a single macro would add one empty, unnamed macro.
    if (!RootHasChild(bytes, kSingleInfo) && !RootHasChild(bytes, kSingleEvents) &&
        RootHasChild(bytes, kMultiMacro))
        return OtherForm(source, true);
    doc.Descend();
    doc.FindNext(kSingleInfo);  // missing: an unnamed macro with zero settings, still with its events
    MacroPlan plan;
    plan.macro = ReadMacro(doc);
    std::size_t total = 0;
    if (doc.FindNext(kSingleEvents)) {
        FileResult events = ReadEvents(doc, source, &total, &plan.events);
        if (!events.ok()) return events;
    }
    plans->push_back(std::move(plan));
    return {};
}

FileResult ReadMulti(std::string_view bytes, std::string_view source, std::vector<MacroPlan>* plans) {
    XmlDoc doc;
    FileResult loaded = LoadImportDocument(bytes, kMacroRoot, source, &doc);
    if (!loaded.ok()) return loaded;
    doc.Descend();
    std::size_t total = 0;
    while (doc.FindNext(kMultiMacro)) {
        if (plans->size() == kMaxMacrosPerFile) return TooMany(source, "macros", kMaxMacrosPerFile);
        MacroPlan plan;
        plan.macro = ReadMacro(doc);
        doc.Descend();
        if (doc.FindNext(kMultiEvents)) {
            FileResult events = ReadEvents(doc, source, &total, &plan.events);
            if (!events.ok()) return events;
        }
        doc.Ascend();
        plans->push_back(std::move(plan));
    }
    // A single-macro file read as a list would add nothing and say nothing.
    if (plans->empty() && (RootHasChild(bytes, kSingleInfo) || RootHasChild(bytes, kSingleEvents)))
        return OtherForm(source, false);
    return {};
}

// Each macro is stored under the lock, which is given up between macros: every event is its own commit, and
// the device worker should not wait for a whole library.
void Store(DeviceDatabase& db, std::vector<MacroPlan>& plans, std::string_view source, MacroImportResult* result) {
    if (!db.IsOpen()) {
        result->status = FileStatus::kNoDatabase;
        result->message = "no device database is open";
        return;
    }
    for (MacroPlan& plan : plans) {
        auto hold = db.Hold();
        const int id = db.AddMacroWithSettings(plan.macro);
        if (id <= 0) {
            ++result->skippedMacros;
            continue;
        }
        for (MacroEventRecord& event : plan.events) {
            event.macro_id = id;
            if (db.AddMacroEvent(event) == 0) ++result->skippedEvents;
        }
        result->macros.push_back({id, std::move(plan.macro.name)});
    }
    if (result->skippedMacros > 0 || result->skippedEvents > 0) {
        result->status = FileStatus::kDatabaseFailed;
        result->message = "the database refused " + std::to_string(result->skippedMacros) + " macro(s) and " +
                          std::to_string(result->skippedEvents) + " event(s) of '" + std::string(source) + "'; " +
                          std::to_string(result->macros.size()) + " macro(s) were added";
    }
}

using Reader = FileResult (*)(std::string_view, std::string_view, std::vector<MacroPlan>*);

MacroImportResult ImportBytes(DeviceDatabase& db, std::string_view bytes, std::string_view source, Reader read) {
    MacroImportResult result;
    std::vector<MacroPlan> plans;
    FileResult parsed = read(bytes, source, &plans);
    if (!parsed.ok()) {
        static_cast<FileResult&>(result) = std::move(parsed);
        return result;
    }
    Store(db, plans, source, &result);
    return result;
}

MacroImportResult ImportPath(DeviceDatabase& db, const std::string& path, Reader read) {
    std::string bytes;
    FileResult loaded = ReadImportFile(path, &bytes);
    if (!loaded.ok()) {
        MacroImportResult result;
        static_cast<FileResult&>(result) = std::move(loaded);
        return result;
    }
    return ImportBytes(db, bytes, path, read);
}

}  // namespace

MacroImportResult ImportSingleMacroBytes(DeviceDatabase& db, std::string_view bytes, std::string_view source) {
    return ImportBytes(db, bytes, source, ReadSingle);
}

MacroImportResult ImportMultiMacroBytes(DeviceDatabase& db, std::string_view bytes, std::string_view source) {
    return ImportBytes(db, bytes, source, ReadMulti);
}

MacroImportResult ImportSingleMacroFile(DeviceDatabase& db, const std::string& path) {
    return ImportPath(db, path, ReadSingle);
}

MacroImportResult ImportMultiMacroFile(DeviceDatabase& db, const std::string& path) {
    return ImportPath(db, path, ReadMulti);
}

}  // namespace quorvel
