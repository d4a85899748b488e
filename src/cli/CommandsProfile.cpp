// profile list | switch N | rename N NAME | export FILE | import FILE.

#include "actions/MacroActions.h"
#include "actions/ProfileActions.h"
#include "cli/Commands.h"
#include "device/DeviceMainDef.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

bool ProfileNumber(Invocation& inv, const std::string& word, int* number, int* exit) {
    constexpr int kProfiles = 4;
    if (!ParseInt(word, number) || *number < 1 || *number > kProfiles) {
        *exit = inv.Usage("\"" + word + "\" is not a profile number (1-4)");
        return false;
    }
    return true;
}

namespace {

Json ActiveProfileJson(Session& s) {
    const int number = s.Core().CurrentProfile();
    std::string name;
    s.Db().GetProfileName(number, name);
    return {{"number", number}, {"name", name}, {"shown_name", ShownProfileName(s.Context(), name)}};
}

int List(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    if (int rc = inv.session.Open(Need::kStored)) return rc;
    std::vector<ProfileInfo> profiles;
    const ActionResult result = ListProfiles(inv.session.Context(), &profiles);
    if (!result.ok) {
        PrintError(result.message);
        return kExitFailed;
    }
    if (inv.session.JsonOutput()) {
        Json list = Json::array();
        for (const ProfileInfo& p : profiles)
            list.push_back({{"number", p.profile}, {"name", p.name}, {"shown_name", p.shownName}, {"active", p.active}});
        PrintJson(list);
        return kExitOk;
    }
    std::vector<std::vector<std::string>> table = {{"", "NUMBER", "NAME"}};
    for (const ProfileInfo& p : profiles) table.push_back({p.active ? "*" : "", std::to_string(p.profile), p.shownName});
    std::fputs(FormatTable(table).c_str(), stdout);
    return kExitOk;
}

int Switch(Invocation& inv) {
    int exit = kExitOk, number = 0;
    if (!inv.Parse({}, {}, 2, 2, &exit)) return exit;
    if (!ProfileNumber(inv, inv.args.Positional()[1], &number, &exit)) return exit;
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    const ActionResult result = SwitchProfile(inv.session.Context(), number);
    Json active = ActiveProfileJson(inv.session);
    std::vector<std::string> lines;
    if (result.ok)
        lines.push_back("active profile " + std::to_string(number) + ": " +
                        active["shown_name"].get<std::string>());
    return inv.session.FinishAction(result, {{"profile", active}}, lines);
}

int Rename(Invocation& inv) {
    int exit = kExitOk, number = 0;
    if (!inv.Parse({}, {}, 3, 3, &exit)) return exit;
    if (!ProfileNumber(inv, inv.args.Positional()[1], &number, &exit)) return exit;
    const std::string name = inv.args.Positional()[2];
    if (name.empty()) return inv.Usage("a profile name cannot be empty");
    if (int rc = inv.session.Open(Need::kDatabase)) return rc;
    const ActionResult result = RenameProfile(inv.session.Context(), number, name);
    std::string stored;
    inv.session.Db().GetProfileName(number, stored);
    std::vector<std::string> lines;
    if (result.ok) lines.push_back("profile " + std::to_string(number) + " is now named " + stored);
    return inv.session.FinishAction(result, {{"profile", {{"number", number}, {"name", stored}}}}, lines);
}

int Export(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 2, 2, &exit)) return exit;
    const std::string path = inv.args.Positional()[1];
    if (int rc = inv.session.Open(Need::kStored)) return rc;
    const ActionResult result = ExportProfileFile(inv.session.Context(), path);
    const Json active = ActiveProfileJson(inv.session);
    std::vector<std::string> lines;
    if (result.ok)
        lines.push_back("exported profile " + std::to_string(active["number"].get<int>()) + " (" +
                        active["shown_name"].get<std::string>() + ") to '" + path + "'");
    return inv.session.FinishAction(result, {{"profile", active}, {"file", path}}, lines);
}

int Import(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 2, 2, &exit)) return exit;
    const std::string path = inv.args.Positional()[1];
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    const ActionResult result = ImportProfileFile(inv.session.Context(), path);
    const Json active = ActiveProfileJson(inv.session);
    // A file made on another model can name macros this model does not have.
    if (result.ok) {
        for (const MissingMacroAssignment& m :
             AssignmentsWithoutMacro(inv.session.Context(), inv.session.Core().CurrentProfile()))
            PrintWarning("button " + std::to_string(m.keyCode) + " plays macro " + std::to_string(m.macroId) +
                         " (" + m.description +
                         "), which this model does not have: the button keeps its previous "
                         "function on the mouse until it is given another one");
    }
    std::vector<std::string> lines;
    if (result.ok)
        lines.push_back("imported '" + path + "' into profile " +
                        std::to_string(active["number"].get<int>()) + " (" +
                        active["shown_name"].get<std::string>() + ")");
    return inv.session.FinishAction(result, {{"profile", active}, {"file", path}}, lines);
}

}  // namespace

int RunProfile(Invocation& inv) {
    const auto& words = inv.args;
    std::string error;
    // The sub-command is the first positional word; options are checked by each sub-command.
    CommandArgs probe = words;
    if (!probe.Parse({}, {}, &error) || probe.Positional().empty())
        return inv.Usage(error.empty() ? "missing sub-command (list, switch, rename, export, import, bind, unbind, "
                                         "bindings, follow)"
                                       : error);
    const std::string sub = probe.Positional()[0];
    if (sub == "list") return List(inv);
    if (sub == "switch") return Switch(inv);
    if (sub == "rename") return Rename(inv);
    if (sub == "export") return Export(inv);
    if (sub == "import") return Import(inv);
    if (IsProfileFollowCommand(sub)) return RunProfileFollowCommand(inv, sub);
    return inv.Usage("unknown sub-command \"" + sub +
                     "\" (list, switch, rename, export, import, bind, unbind, bindings, follow)");
}

}  // namespace quorvel::cli
