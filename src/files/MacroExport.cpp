// Macro export, both forms: built under the database lock, written without it.

#include <string>
#include <vector>

#include "files/FileProblem.h"
#include "files/MacroFields.h"
#include "files/MacroFile.h"
#include "store/DeviceDatabase.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace {

void SetInt(XmlDoc& doc, std::string_view name, int value) { doc.SetAttribute(name, std::to_string(value)); }

void SetMacroAttributes(XmlDoc& doc, const MacroRecord& macro, const std::string& name) {
    doc.SetAttribute("macro_name", name);
    SetInt(doc, "macro_type", macro.play_type);
    SetInt(doc, "play_times", macro.play_times);
    SetInt(doc, "delay_type", macro.delay_type);
    SetInt(doc, "delay_time", macro.delay_time);
}

// One `item` per event under the current level, in record_index order.
void AddEvents(XmlDoc& doc, const std::vector<MacroEventRecord>& events) {
    for (const MacroEventRecord& event : events) {
        doc.AddElement("item");
        doc.SetAttribute("desc", event.desc);
        SetInt(doc, "index", event.record_index);
        SetInt(doc, "type", event.type);
        SetInt(doc, "value", event.value);
        SetInt(doc, "timestamp", event.delay_time);
    }
}

FileResult BuildSingle(DeviceDatabase& db, int macroId, const std::optional<std::string>& shownName, XmlDoc& doc) {
    auto hold = db.Hold();
    if (!db.IsOpen()) return {FileStatus::kNoDatabase, "no device database is open"};
    MacroRecord macro;
    if (!db.GetMacro(macroId, macro))
        return {FileStatus::kNoMacro, "macro " + std::to_string(macroId) + " does not exist"};
    std::vector<MacroEventRecord> events;
    db.ListMacroEvents(macroId, events);

    doc.SetText(XmlDoc::kDeclaration);
    doc.AddElement(kMacroRoot);
    doc.Descend();
    doc.AddElement(kSingleInfo);
    SetMacroAttributes(doc, macro, shownName ? *shownName : macro.name);
    doc.AddElement(kSingleEvents);
    doc.Descend();
    AddEvents(doc, events);
    return {};
}

FileResult BuildMulti(DeviceDatabase& db, XmlDoc& doc) {
    auto hold = db.Hold();
    if (!db.IsOpen()) return {FileStatus::kNoDatabase, "no device database is open"};
    std::vector<MacroRecord> macros;
    db.ListMacros(macros);

    doc.SetText(XmlDoc::kDeclaration);
    doc.AddElement(kMacroRoot);
    doc.Descend();
    for (const MacroRecord& macro : macros) {
        doc.AddElement(kMultiMacro);
        SetMacroAttributes(doc, macro, macro.name);
        std::vector<MacroEventRecord> events;
        db.ListMacroEvents(macro.macro_id, events);
        if (events.empty()) continue;  // a macro without events gets no record_item
        doc.Descend();
        doc.AddElement(kMultiEvents);
        doc.Descend();
        AddEvents(doc, events);
        doc.Ascend();
        doc.Ascend();
    }
    return {};
}

FileResult Save(const XmlDoc& doc, const std::string& path) {
    if (!doc.SaveFile(path)) return WriteFailed(path);
    return {};
}

}  // namespace

FileResult BuildSingleMacroDocument(DeviceDatabase& db, int macroId, const std::optional<std::string>& shownName,
                                    std::string* text) {
    XmlDoc doc;
    FileResult result = BuildSingle(db, macroId, shownName, doc);
    *text = result.ok() ? doc.Text() : std::string();
    return result;
}

FileResult ExportSingleMacroFile(DeviceDatabase& db, int macroId, const std::optional<std::string>& shownName,
                                 const std::string& path) {
    XmlDoc doc;
    FileResult result = BuildSingle(db, macroId, shownName, doc);
    return result.ok() ? Save(doc, path) : result;
}

FileResult BuildMultiMacroDocument(DeviceDatabase& db, std::string* text) {
    XmlDoc doc;
    FileResult result = BuildMulti(db, doc);
    *text = result.ok() ? doc.Text() : std::string();
    return result;
}

FileResult ExportMultiMacroFile(DeviceDatabase& db, const std::string& path) {
    XmlDoc doc;
    FileResult result = BuildMulti(db, doc);
    return result.ok() ? Save(doc, path) : result;
}

}  // namespace quorvel
