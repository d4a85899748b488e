// button, buttons-reset: the button assignment page's changes.

#include <utility>

#include "actions/ButtonActions.h"
#include "actions/KeyNameTable.h"
#include "actions/MacroEventActions.h"
#include "cli/Commands.h"
#include "device/DeviceMainDef.h"
#include "store/ButtonCodes.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

enum class FunctionKind { kMenu, kClick, kFixed, kDefault, kKey };

struct FunctionChoice {
    FunctionKind kind = FunctionKind::kMenu;
    int macroType = 0;
    int value = 0;
    int first = 0, second = 0;  // click
    KeyCombination key;
};

constexpr std::pair<const char*, int> kMenus[] = {
    {"mouse", kMouseFunction}, {"media", kMediaFunction},     {"shortcut", kShortcutFunction},
    {"dpi", kDpiFunction},     {"special", kSpecialFunction}, {"macro", kMacroFunction},
};

bool ParseFunction(const std::string& text, FunctionChoice* out, std::string* error) {
    if (text == "fixed") {
        out->kind = FunctionKind::kFixed;
        return true;
    }
    if (text == "default") {
        out->kind = FunctionKind::kDefault;
        return true;
    }
    const size_t colon = text.find(':');
    const std::string head = text.substr(0, colon);
    const std::string rest = colon == std::string::npos ? "" : text.substr(colon + 1);
    if (colon == std::string::npos) {
        *error = "\"" + text + "\" is not a function (see 'quorvelctl button --help')";
        return false;
    }
    if (head == "key") {
        out->kind = FunctionKind::kKey;
        return ParseKeyCombination(rest, &out->key, error);
    }
    if (head == "click") {
        const size_t comma = rest.find(',');
        if (comma == std::string::npos || !ParseInt(rest.substr(0, comma), &out->first) ||
            !ParseInt(rest.substr(comma + 1), &out->second)) {
            *error = "the click function is click:A,B with two numbers";
            return false;
        }
        out->kind = FunctionKind::kClick;
        return true;
    }
    for (const auto& [name, type] : kMenus) {
        if (head != name) continue;
        if (!ParseInt(rest, &out->value) || out->value < 0) {
            *error = head + ":N needs a number, not \"" + rest + "\"";
            return false;
        }
        out->kind = FunctionKind::kMenu;
        out->macroType = type;
        return true;
    }
    *error = "unknown function \"" + head + "\" (mouse, media, shortcut, dpi, special, macro, click, key, fixed, "
             "default)";
    return false;
}

// The button as stored now: its row, or its default when it has none.
void DescribeButton(Session& s, int keyCode, Json* json, std::vector<std::string>* lines) {
    for (const ButtonInfo& b : ListButtons(s.Context())) {
        if (b.keyCode != keyCode) continue;
        *json = {{"key_code", b.keyCode},  {"caption", b.caption},         {"description", b.description},
                 {"assigned", b.assigned}, {"macro_type", b.macroType},    {"macro_value", b.macroValue},
                 {"macro_value2", b.macroValue2}};
        KeyAssignmentRecord row;
        if (s.Db().GetKeyAssignment(s.Core().CurrentProfile(), keyCode, row)) {
            (*json)["macro_value3"] = row.macro_value3;
            (*json)["macro_desc"] = row.macro_desc;
        }
        lines->push_back("button " + std::to_string(keyCode) + " (" + b.caption + "): " + b.description +
                         (b.assigned ? "" : " (default)"));
        return;
    }
}

// A macro without events makes the button do nothing.
void WarnIfEmptyMacro(ActionContext& ctx, int macroId) {
    std::vector<MacroEventRecord> events;
    if (!ListMacroEvents(ctx, macroId, &events).ok || !events.empty()) return;
    PrintWarning(
        "macro " + std::to_string(macroId) +
        " has no events: the button does nothing until events are added ('quorvelctl macro add') and the "
        "macro is given to the button again");
}

}  // namespace

int RunButton(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 2, 2, &exit)) return exit;
    int slot = 0;
    if (!ParseInt(inv.args.Positional()[0], &slot) || slot < 0)
        return inv.Usage("\"" + inv.args.Positional()[0] + "\" is not a key code");
    FunctionChoice choice;
    std::string error;
    if (!ParseFunction(inv.args.Positional()[1], &choice, &error)) return inv.Usage(error);
    if (int rc = inv.session.Open(Need::kMouse)) return rc;

    ActionContext& ctx = inv.session.Context();
    ActionResult result;
    switch (choice.kind) {
        case FunctionKind::kMenu: result = AssignMenuFunction(ctx, slot, choice.macroType, choice.value); break;
        case FunctionKind::kClick: result = AssignClickFunction(ctx, slot, choice.first, choice.second); break;
        case FunctionKind::kFixed: result = AssignFixedFunction(ctx, slot); break;
        case FunctionKind::kDefault: result = ResetButton(ctx, slot); break;
        case FunctionKind::kKey:
            result = AssignKeyCombination(ctx, slot, choice.key.modifierBits, choice.key.virtualKey);
            break;
    }
    Json button = Json::object();
    std::vector<std::string> lines;
    if (result.ok) DescribeButton(inv.session, slot, &button, &lines);
    if (result.ok && choice.kind == FunctionKind::kMenu && choice.macroType == kMacroFunction)
        WarnIfEmptyMacro(ctx, choice.value);
    return inv.session.FinishAction(result, {{"button", button}}, lines);
}

int RunButtonsReset(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 0, 0, &exit)) return exit;
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    const ActionResult result = ResetAllButtons(inv.session.Context());
    return inv.session.FinishAction(result, Json::object(),
                                    result.ok ? std::vector<std::string>{"every button has its default function"}
                                              : std::vector<std::string>{});
}

}  // namespace quorvel::cli
