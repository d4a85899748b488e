// macro list | show ID | new [NAME] | rename ID NAME | delete ID | import FILE | import-all FILE |
// export ID FILE | export-all FILE. Macros live in the model's database; none of these talks to the mouse.

#include "actions/MacroActions.h"
#include "cli/Commands.h"
#include "cli/MacroEventText.h"

namespace quorvel::cli {

namespace {

Json MacroJson(const MacroInfo& m) {
    return {{"macro_id", m.macro.macro_id},     {"name", m.macro.name},
            {"shown_name", m.shownName},        {"play_type", m.macro.play_type},
            {"play_times", m.macro.play_times}, {"delay_type", m.macro.delay_type},
            {"delay_time", m.macro.delay_time}};
}

bool MacroId(Invocation& inv, const std::string& word, int* id, int* exit) {
    if (!ParseInt(word, id) || *id <= 0) {
        *exit = inv.Usage("\"" + word + "\" is not a macro id");
        return false;
    }
    return true;
}

int Refused(const ActionResult& result) {
    PrintError(result.message);
    return kExitFailed;
}

int List(Invocation& inv) {
    std::vector<MacroInfo> macros;
    const ActionResult result = ListMacros(inv.session.Context(), &macros);
    if (!result.ok) return Refused(result);
    if (inv.session.JsonOutput()) {
        Json list = Json::array();
        for (const MacroInfo& m : macros) list.push_back(MacroJson(m));
        PrintJson(list);
        return kExitOk;
    }
    if (macros.empty()) {
        PrintLine("no macros");
        return kExitOk;
    }
    std::vector<std::vector<std::string>> table = {{"ID", "NAME", "PLAY", "TIMES", "DELAYS", "DELAY MS"}};
    for (const MacroInfo& m : macros)
        table.push_back({std::to_string(m.macro.macro_id), m.shownName, std::to_string(m.macro.play_type),
                         std::to_string(m.macro.play_times), std::to_string(m.macro.delay_type),
                         std::to_string(m.macro.delay_time)});
    std::fputs(FormatTable(table).c_str(), stdout);
    return kExitOk;
}

int Show(Invocation& inv, int id) {
    MacroDetails details;
    const ActionResult result = ShowMacro(inv.session.Context(), id, &details);
    if (!result.ok) return Refused(result);
    if (inv.session.JsonOutput()) {
        Json doc = MacroJson(details.info);
        Json events = Json::array();
        for (const MacroEventRecord& e : details.events)
            events.push_back({{"record_index", e.record_index},
                              {"type", e.type},
                              {"value", e.value},
                              {"delay_time", e.delay_time},
                              {"desc", e.desc}});
        doc["events"] = events;
        PrintJson(doc);
        return kExitOk;
    }
    const MacroRecord& m = details.info.macro;
    PrintLine("Macro " + std::to_string(m.macro_id) + ": " + details.info.shownName);
    PrintLine("play type " + std::to_string(m.play_type) + ", play times " + std::to_string(m.play_times) +
              ", delay type " + std::to_string(m.delay_type) + ", delay " + std::to_string(m.delay_time) +
              " ms (" + MacroPlayText(m) + ")");
    if (details.events.empty()) {
        PrintLine("no events");
        return kExitOk;
    }
    std::vector<std::vector<std::string>> table = {{"INDEX", "TYPE", "VALUE", "EVENT"}};
    for (const MacroEventRecord& e : details.events)
        table.push_back({std::to_string(e.record_index), std::to_string(e.type), std::to_string(e.value), e.desc});
    std::fputs(FormatTable(table).c_str(), stdout);
    return kExitOk;
}

// The macros an import added, in the common change output.
int FinishImport(Invocation& inv, const ActionResult& result, const std::vector<MacroInfo>& imported,
                 const std::string& path) {
    Json list = Json::array();
    std::vector<std::string> lines;
    for (const MacroInfo& m : imported) {
        list.push_back(MacroJson(m));
        lines.push_back("imported macro " + std::to_string(m.macro.macro_id) + ": " + m.shownName);
    }
    if (result.ok && imported.empty()) lines.push_back("no macro was imported from '" + path + "'");
    return inv.session.FinishAction(result, {{"imported", list}, {"file", path}}, lines);
}

}  // namespace

int RunMacro(Invocation& inv) {
    // The event commands take options of their own: find the sub-command first.
    CommandArgs probe(inv.args.Words());
    std::string probeError;
    if (probe.Parse({"at", "delay", "times", "mode", "record-delays", "fixed-delay"}, {}, &probeError) &&
        !probe.Positional().empty() && IsMacroEventCommand(probe.Positional()[0]))
        return RunMacroEventCommand(inv, probe.Positional()[0]);
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 3, &exit)) return exit;
    const std::vector<std::string> words = inv.args.Positional();
    const std::string sub = words[0];
    // Words each sub-command takes after its name: minimum, maximum.
    struct Shape {
        const char* name;
        size_t min, max;
    };
    constexpr Shape kShapes[] = {{"list", 0, 0},   {"show", 1, 1},       {"new", 0, 1},
                                 {"rename", 2, 2}, {"delete", 1, 1},     {"import", 1, 1},
                                 {"import-all", 1, 1}, {"export", 2, 2}, {"export-all", 1, 1}};
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes) {
        if (sub == s.name) shape = &s;
    }
    if (!shape)
        return inv.Usage(
            "unknown sub-command \"" + sub +
            "\" (list, show, new, rename, delete, import, import-all, export, export-all, events, add, "
            "type, change, move, delete-event, clear, play)");
    const size_t count = words.size() - 1;
    if (count < shape->min) return inv.Usage("macro " + sub + ": missing argument");
    if (count > shape->max) return inv.Usage("macro " + sub + ": too many arguments");
    int id = 0;
    const bool takesId = sub == "show" || sub == "rename" || sub == "delete" || sub == "export";
    if (takesId && !MacroId(inv, words[1], &id, &exit)) return exit;
    if (sub == "rename" && words[2].empty()) return inv.Usage("a macro name cannot be empty");
    if (sub == "new" && count == 1 && words[1].empty()) return inv.Usage("a macro name cannot be empty");

    // Listing, showing and exporting only read the database.
    const bool reads = sub == "list" || sub == "show" || sub == "export" || sub == "export-all";
    if (int rc = inv.session.Open(reads ? Need::kStored : Need::kDatabase)) return rc;
    ActionContext& ctx = inv.session.Context();
    if (sub == "list") return List(inv);
    if (sub == "show") return Show(inv, id);
    if (sub == "new") {
        int newId = 0;
        const std::optional<std::string> name = count == 1 ? std::optional<std::string>(words[1]) : std::nullopt;
        const ActionResult result = NewMacro(ctx, name, &newId);
        MacroInfo info;
        MacroDetails details;
        if (result.ok && ShowMacro(ctx, newId, &details).ok) info = details.info;
        std::vector<std::string> lines;
        if (result.ok) lines.push_back("new macro " + std::to_string(newId) + ": " + info.shownName);
        return inv.session.FinishAction(result, {{"macro", MacroJson(info)}}, lines);
    }
    if (sub == "rename") {
        const ActionResult result = RenameMacro(ctx, id, words[2]);
        std::vector<std::string> lines;
        if (result.ok) lines.push_back("macro " + std::to_string(id) + " is now named " + words[2]);
        return inv.session.FinishAction(result, {{"macro_id", id}, {"name", words[2]}}, lines);
    }
    if (sub == "delete") {
        const ActionResult result = DeleteMacro(ctx, id);
        std::vector<std::string> lines;
        if (result.ok) lines.push_back("deleted macro " + std::to_string(id));
        return inv.session.FinishAction(result, {{"macro_id", id}}, lines);
    }
    if (sub == "import" || sub == "import-all") {
        std::vector<MacroInfo> imported;
        ActionResult result = sub == "import" ? ImportMacroFile(ctx, words[1], &imported)
                                              : ImportAllMacrosFile(ctx, words[1], &imported);
        // A file of the other form: say which command reads it.
        if (!result.ok && result.message.find("holds a single macro") != std::string::npos)
            result.message += " ('quorvelctl macro import FILE')";
        if (!result.ok && result.message.find("holds several macros") != std::string::npos)
            result.message += " ('quorvelctl macro import-all FILE')";
        return FinishImport(inv, result, imported, words[1]);
    }
    const std::string path = sub == "export" ? words[2] : words[1];
    const ActionResult result = sub == "export" ? ExportMacroFile(ctx, id, path) : ExportAllMacrosFile(ctx, path);
    std::vector<std::string> lines;
    if (result.ok)
        lines.push_back(
            (sub == "export" ? "exported macro " + std::to_string(id) : std::string("exported all macros")) +
            " to '" + path + "'");
    Json extra = {{"file", path}};
    if (sub == "export") extra["macro_id"] = id;
    return inv.session.FinishAction(result, extra, lines);
}

}  // namespace quorvel::cli
