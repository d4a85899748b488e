#include "actions/ButtonActions.h"

#include <algorithm>
#include <cstdio>

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "actions/MacroActions.h"
#include "device/CommandsMacroFrames.h"
#include "device/Family.h"
#include "device/PageState.h"
#include "device/Tasks.h"
#include "store/ButtonCodes.h"
#include "store/DeviceDatabase.h"
#include "store/KeyCapture.h"

namespace quorvel {

namespace {

// The button list before a model's descriptor is loaded: caption text 103 with a number.
struct Placeholder {
    int keyCode;
    int descriptionText;
};
constexpr Placeholder kPlaceholders[] = {{0, 106}, {2, 107}, {1, 108}, {3, 109}, {4, 110}, {7, 151}};

constexpr int kPrimaryKeyCode = 0;
constexpr int kProtectedMessage = 175;
constexpr int kClickFunctionTitle = 182;
constexpr int kFixedFunctionText = 139;
constexpr int kMacroTooLongText = 790;
// The key field ignores the sided Shift, Ctrl and Alt keys: modifiers come from the toggles.
constexpr int kFirstSidedModifier = 0xA0;
constexpr int kLastSidedModifier = 0xA5;
constexpr int kModifierBits =
    kModCtrl | kModShift | kModAlt | kModWin | kModRightCtrl | kModRightShift | kModRightAlt | kModRightWin;

std::vector<int> ButtonKeyCodes(ActionContext& ctx) {
    std::vector<int> codes;
    const DeviceState state = ctx.core.Snapshot();
    if (state.model.keys.empty()) {
        for (const Placeholder& p : kPlaceholders) codes.push_back(p.keyCode);
    } else {
        for (const DescriptorKey& key : state.model.keys) codes.push_back(key.key_value);
    }
    return codes;
}

std::string JoinCodes(const std::vector<int>& codes) {
    std::string text;
    for (int c : codes) text += (text.empty() ? "" : ", ") + std::to_string(c);
    return text;
}

// Why a button cannot be changed: no database or profile, or no such button on the model.
std::optional<std::string> ButtonProblem(ActionContext& ctx, int keyCode) {
    if (auto problem = ProfileProblem(ctx)) return problem;
    const std::vector<int> codes = ButtonKeyCodes(ctx);
    if (std::find(codes.begin(), codes.end(), keyCode) == codes.end())
        return "this model has no button with key code " + std::to_string(keyCode) + " (buttons: " +
               JoinCodes(codes) + ")";
    return std::nullopt;
}

std::optional<std::string> ProtectionProblem(ActionContext& ctx, int keyCode) {
    if (!IsProtectedButton(keyCode)) return std::nullopt;
    std::string text = ctx.Text(kProtectedMessage);
    if (text.empty()) text = "the primary button (key code 0) cannot be given another function";
    return text;
}

KeyAssignmentRecord NewRecord(ActionContext& ctx, int keyCode, int type, int value, int value2,
                              std::string desc) {
    KeyAssignmentRecord r;
    r.profile = ctx.Profile();
    r.fn_layer = 0;
    r.key_code = keyCode;
    r.macro_type = type;
    r.macro_value = value;
    r.macro_value2 = value2;
    r.macro_desc = std::move(desc);
    return r;
}

// Stores the assignment and names the key task for that button (the feature family sends only it).
ActionResult StoreAssignment(ActionContext& ctx, const KeyAssignmentRecord& record) {
    const bool removesRow = record.macro_value == 0 && record.macro_value2 == 0;
    const int keyId = Db(ctx).SaveKeyAssignment(record);
    if (!removesRow && keyId <= 0) {
        ActionResult failed;
        failed.message = "the device database did not store the assignment of button " +
                         std::to_string(record.key_code);
        return failed;
    }
    ctx.core.SetCurrentKeySlot(record.key_code);
    DeviceTaskRequest request = PageRequest(ctx, kTaskWriteKeys);
    request.keySlot = record.key_code;
    return Accepted({request});
}

// A macro whose events need more packets than the mouse can number would never reach it: the key write
// sends none of it. Refused here, so the user hears of it when choosing it, not never.
std::optional<std::string> MacroLengthProblem(ActionContext& ctx, int macroId) {
    std::vector<MacroEventRecord> events;
    Db(ctx).ListMacroEvents(macroId, events);
    const int packets = MacroPacketCount(FamilyOf(ctx.core.CurrentDeviceType()), events);
    if (packets <= kMaxMacroPackets) return std::nullopt;
    std::string text = ctx.Text(kMacroTooLongText);
    if (text.empty())
        text = "This macro is too long for the mouse. Remove some of its events and assign it again.";
    return text;
}

std::string MenuText(ActionContext& ctx, int macroType, const FunctionValue& v) {
    if (macroType == kMouseFunction && v.value == 4) return ctx.Text(180);  // the menu names it apart
    if (macroType == kDpiFunction && v.value == 1) return "DPI +";
    if (macroType == kDpiFunction && v.value == 2) return "DPI -";
    return ctx.Text(v.textId);
}

bool IsMenuType(int macroType) {
    switch (macroType) {
        case kMouseFunction:
        case kMediaFunction:
        case kMacroFunction:
        case kDpiFunction:
        case kSpecialFunction:
        case kShortcutFunction: return true;
        default: return false;
    }
}

}  // namespace

bool IsProtectedButton(int keyCode) {
    return keyCode == kPrimaryKeyCode;
}

std::vector<ButtonInfo> ListButtons(ActionContext& ctx) {
    std::vector<ButtonInfo> buttons;
    const DeviceState state = ctx.core.Snapshot();
    if (state.model.keys.empty()) {
        const std::string word = ctx.Text(103);
        int n = 1;
        for (const Placeholder& p : kPlaceholders) {
            ButtonInfo b;
            b.keyCode = p.keyCode;
            b.caption = word + " " + std::to_string(n++);
            b.description = ctx.Text(p.descriptionText);
            buttons.push_back(std::move(b));
        }
    } else {
        for (const DescriptorKey& key : state.model.keys) {
            ButtonInfo b;
            b.keyCode = key.key_value;
            b.caption = ctx.Text(key.name);
            b.description = ctx.Text(key.func_desc);
            b.macroType = key.func_type;
            b.macroValue = key.func_value;
            buttons.push_back(std::move(b));
        }
    }
    if (!Db(ctx).IsOpen()) return buttons;
    std::vector<KeyAssignmentRecord> rows;
    Db(ctx).ListKeyAssignments(ctx.Profile(), rows);
    const TextLookup text = [&ctx](int id) { return ctx.Text(id); };
    for (const KeyAssignmentRecord& row : rows) {
        for (ButtonInfo& b : buttons) {
            if (b.keyCode != row.key_code) continue;
            b.assigned = true;
            b.description = DescribeAssignment(row, text, ctx.Language());
            b.macroType = row.macro_type;
            b.macroValue = row.macro_value;
            b.macroValue2 = row.macro_value2;
        }
    }
    return buttons;
}

std::vector<MenuItem> FunctionMenu(ActionContext& ctx, int macroType) {
    std::vector<MenuItem> items;
    if (macroType == kMacroFunction) {
        std::vector<MacroInfo> macros;
        ListMacros(ctx, &macros);
        for (const MacroInfo& m : macros) items.push_back({m.macro.macro_id, m.shownName});
        return items;
    }
    std::vector<FunctionValue> offered;
    for (const FunctionValue& v : FunctionValues(macroType)) {
        if (v.menuPosition > 0) offered.push_back(v);
    }
    std::sort(offered.begin(), offered.end(),
              [](const FunctionValue& a, const FunctionValue& b) { return a.menuPosition < b.menuPosition; });
    for (const FunctionValue& v : offered) items.push_back({v.value, MenuText(ctx, macroType, v)});
    return items;
}

ActionResult AssignMenuFunction(ActionContext& ctx, int keyCode, int macroType, int value) {
    if (!IsMenuType(macroType))
        return ActionResult::Refused("function type " + std::to_string(macroType) +
                                     " is not chosen from a menu (menus: 1 mouse, 3 media, 4 macro, 5 DPI, "
                                     "6 special, 8 shortcut)");
    if (auto problem = ButtonProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    if (auto problem = ProtectionProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    const std::vector<MenuItem> menu = FunctionMenu(ctx, macroType);
    auto item = std::find_if(menu.begin(), menu.end(), [&](const MenuItem& m) { return m.value == value; });
    if (item == menu.end()) {
        if (macroType == kMacroFunction) return ActionResult::Refused("no macro with id " + std::to_string(value));
        std::string values;
        for (const MenuItem& m : menu) values += (values.empty() ? "" : ", ") + std::to_string(m.value);
        return ActionResult::Refused("value " + std::to_string(value) + " is not in the menu of function type " +
                                     std::to_string(macroType) + " (values: " + values + ")");
    }
    if (macroType == kMacroFunction) {
        if (auto problem = MacroLengthProblem(ctx, value)) return ActionResult::Refused(*problem);
    }
    ActionResult result = StoreAssignment(ctx, NewRecord(ctx, keyCode, macroType, value, 0, item->text));
    // The macro's events go to the button's macro slot before the key write.
    if (result.ok && macroType == kMacroFunction)
        for (DeviceTaskRequest& request : result.tasks) request.macroSlot = keyCode;
    return result;
}

ActionResult AssignKeyCombination(ActionContext& ctx, int keyCode, int modifierBits, int virtualKey,
                                  std::optional<std::string> keyName) {
    if ((modifierBits & ~kModifierBits) != 0)
        return ActionResult::Refused("modifier bits " + std::to_string(modifierBits) +
                                     " are not a sum of 1 Ctrl, 2 Shift, 4 Alt, 8 Win and their right-hand "
                                     "16, 32, 64, 128");
    if (virtualKey < 0 || virtualKey > 0xFF)
        return ActionResult::Refused("virtual-key code " + std::to_string(virtualKey) + " is out of range");
    if (virtualKey >= kFirstSidedModifier && virtualKey <= kLastSidedModifier)
        return ActionResult::Refused("Shift, Ctrl and Alt are modifiers here, not keys: give them as modifiers");
    const int usage = VirtualKeyToUsage(virtualKey);
    if (virtualKey != 0 && usage == 0) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", virtualKey);
        return ActionResult::Refused(std::string("the key with virtual-key code ") + hex +
                                     " has no keyboard code the mouse can send");
    }
    if (usage == 0 && modifierBits == 0) return ActionResult::Refused("give a key, a modifier or both");
    if (auto problem = ButtonProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    if (auto problem = ProtectionProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    // A name without a key would describe a key the mouse is never sent.
    std::string name;
    if (virtualKey != 0) name = keyName ? *keyName : CapturedKeyName(virtualKey);
    return StoreAssignment(
        ctx, NewRecord(ctx, keyCode, kKeyboardKey, usage, modifierBits, KeyCombinationText(modifierBits, name)));
}

ActionResult AssignClickFunction(ActionContext& ctx, int keyCode, int first, int second) {
    if (auto problem = ButtonProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    if (auto problem = ProtectionProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    const int firstValue = std::clamp(first, 5, 255);
    const int secondValue = std::clamp(second, 0, 255);
    ActionResult result = StoreAssignment(
        ctx, NewRecord(ctx, keyCode, kClickFunction, firstValue, secondValue, ctx.Text(kClickFunctionTitle)));
    if (!result.ok) return result;
    if (firstValue != first)
        AddNote(result, "first parameter " + std::to_string(first) + " -> " + std::to_string(firstValue) + " (5-255)");
    if (secondValue != second)
        AddNote(result,
                "second parameter " + std::to_string(second) + " -> " + std::to_string(secondValue) + " (0-255)");
    return result;
}

ActionResult AssignFixedFunction(ActionContext& ctx, int keyCode) {
    if (auto problem = ButtonProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    if (auto problem = ProtectionProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    return StoreAssignment(ctx, NewRecord(ctx, keyCode, kFixedFunction, 1, 0, ctx.Text(kFixedFunctionText)));
}

ActionResult ResetButton(ActionContext& ctx, int keyCode) {
    if (auto problem = ButtonProblem(ctx, keyCode)) return ActionResult::Refused(*problem);
    // Value 0 with no second value removes the row: the button is back to its factory function.
    return StoreAssignment(ctx, NewRecord(ctx, keyCode, kMouseFunction, 0, 0, std::string()));
}

ActionResult ResetAllButtons(ActionContext& ctx) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    if (!Db(ctx).DeleteProfileKeyAssignments(ctx.Profile())) {
        ActionResult failed;
        failed.message = "the device database did not remove the button assignments";
        return failed;
    }
    ctx.core.SetCurrentKeySlot(kPrimaryKeyCode);
    DeviceTaskRequest request = PageRequest(ctx, kTaskDefaultKeys);
    request.keySlot = kPrimaryKeyCode;
    return Accepted({request});
}

}  // namespace quorvel
