// The mouse keeps one macro per button, whichever profile sent it: a whole-profile write sends every
// macro bound in the profile; a button whose macro did not reach the mouse keeps its previous code until
// the upload goes through; a reset of all buttons reaches every button the profile write sends.

#include <cstdio>

#include "DeviceMainFixture.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

enum { kDown = 2, kUp = 3 };

struct FamilyCase {
    const char* mouse;
    bool feature;
    uint8_t macroCommand;
    const char* eventsA;  // key down A, key up A as the family's event bytes
    const char* eventsB;
};
const FamilyCase kFamilies[] = {
    {"102:wired", false, 0x08, "30 01 00 04 B0 01 00 04", "30 01 00 05 B0 01 00 05"},
    {"201:wired", true, 0x0E, "30 01 04 B0 00 04", "30 01 05 B0 00 05"},
};

int StoreKeyMacro(CoreFixture& f, int key) {
    const int id = f.db.AddMacro(std::string(1, static_cast<char>(key)));
    std::vector<MacroEventRecord> events(2);
    for (int i = 0; i < 2; ++i) {
        events[i].macro_id = id;
        events[i].type = i == 0 ? kDown : kUp;
        events[i].record_index = i;
        events[i].value = key;
    }
    f.db.AddMacroEvents(events);
    return id;
}

void Bind(CoreFixture& f, int profile, int slot, int macroId) {
    KeyAssignmentRecord key;
    key.profile = profile;
    key.key_code = slot;
    key.macro_type = kMacroFunction;
    key.macro_value = macroId;
    ASSERT_GT(f.db.SaveKeyAssignment(key), 0);
}

bool IsMacroFrame(const FamilyCase& family, const Bytes& b) {
    return b.size() > 2 &&
           (family.feature ? b[0] == 0x0C && b[2] == family.macroCommand : b[1] == family.macroCommand);
}

// The single-packet macro frame of `events` (two events) for `slot`; `sequence` for the feature family.
std::string MacroFrame(const FamilyCase& family, int slot, const char* events, int sequence) {
    char head[40];
    if (family.feature) {
        std::snprintf(head, sizeof head, "0C 01 0E 00 %02X 01 07 %02X ",
                      static_cast<unsigned>(sequence % 255), static_cast<unsigned>(slot));
        return ToHex(Hex(head + std::string(events)));
    }
    std::snprintf(head, sizeof head, "00 08 00 01 09 %02X ", static_cast<unsigned>(slot));
    return ToHex(WithChecksum(Hex(head + std::string(events))));
}

std::vector<uint8_t> EventBytes(const char* events) {
    return Hex(events, 0);
}

// The macro frames the mouse received, and where each stood among everything it received.
std::vector<std::pair<size_t, std::string>> MacroFrames(const FamilyCase& family,
                                                        const std::vector<Bytes>& sent) {
    std::vector<std::pair<size_t, std::string>> frames;
    for (size_t i = 0; i < sent.size(); ++i)
        if (IsMacroFrame(family, sent[i])) frames.emplace_back(i, ToHex(sent[i]));
    return frames;
}

TEST(ProfileMacros, AWholeProfileWriteSendsEveryMacroBoundInIt) {
    for (const FamilyCase& family : kFamilies) {
        SCOPED_TRACE(family.mouse);
        CoreFixture f(family.mouse);
        f.Start();
        const int a = StoreKeyMacro(f, 'A');
        const int b = StoreKeyMacro(f, 'B');
        Bind(f, 1, 3, a);  // profile 1: button 3 plays A
        Bind(f, 2, 3, b);  // profile 2: button 3 plays B, button 4 plays A
        Bind(f, 2, 4, a);
        struct Step {
            int profile;
            std::vector<std::pair<int, const char*>> macros;  // slot, events, in the order sent
        } steps[] = {
            {2, {{3, family.eventsB}, {4, family.eventsA}}},
            {1, {{3, family.eventsA}}},
            {2, {{3, family.eventsB}, {4, family.eventsA}}},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.profile);
            const int64_t sequence = f.core->Snapshot().featureWriteCounter;
            DeviceTaskRequest write(kTaskWriteProfile);
            write.profile = step.profile;
            EXPECT_EQ(f.core->ExecuteTask(write).status, TaskStatus::Confirmed);
            const auto frames = MacroFrames(family, f.Take());
            ASSERT_EQ(frames.size(), step.macros.size());
            for (size_t i = 0; i < frames.size(); ++i) {
                const auto [slot, events] = step.macros[i];
                EXPECT_EQ(frames[i].second,
                          MacroFrame(family, slot, events, static_cast<int>(sequence + frames[i].first)));
                EXPECT_EQ(f.Mouse().Memory().macros.at(slot), EventBytes(events)) << "slot " << slot;
            }
            EXPECT_EQ(frames.front().first, 0u) << "the macros go before the buttons refer to them";
        }
    }
}

// A lost upload leaves the button as it was on the mouse, stays pending in the store, and goes with the
// next key write of any button, which then points the button at it.
TEST(ProfileMacros, AButtonKeepsItsCodeUntilItsMacroIsOnTheMouse) {
    for (const FamilyCase& family : kFamilies) {
        SCOPED_TRACE(family.mouse);
        CoreFixture f(family.mouse);
        f.Start();
        Bind(f, f.Profile(), 3, StoreKeyMacro(f, 'B'));
        const KeyCode before = f.Mouse().Memory().keys[3];
        f.Mouse().InjectFault({SimFaultKind::WriteFails, family.macroCommand, 1});

        DeviceTaskRequest assign(kTaskWriteKeys);
        assign.keySlot = 3;
        assign.macroSlot = 3;
        EXPECT_EQ(f.core->ExecuteTask(assign).status, TaskStatus::Failed);
        EXPECT_EQ(f.Mouse().Memory().keys[3], before);
        EXPECT_EQ(f.Mouse().Memory().macros.count(3), 0u);
        EXPECT_EQ(f.db.ListPendingMacros(), std::vector<int>{3});

        // A whole-profile write that fails the same way leaves it too.
        f.Mouse().InjectFault({SimFaultKind::WriteFails, family.macroCommand, 1});
        EXPECT_EQ(f.Execute(kTaskWriteProfile), TaskStatus::Failed);
        EXPECT_EQ(f.Mouse().Memory().keys[3], before);

        DeviceTaskRequest other(kTaskWriteKeys);
        other.keySlot = 1;
        EXPECT_EQ(f.core->ExecuteTask(other).status, TaskStatus::Confirmed);
        EXPECT_EQ(f.Mouse().Memory().macros.at(3), EventBytes(family.eventsB));
        const KeyCode after = f.Mouse().Memory().keys[3];
        EXPECT_EQ(after[0], 0x90);
        EXPECT_EQ(after[1] & 0x0F, 3);
        EXPECT_TRUE(f.db.ListPendingMacros().empty());
    }
}

// Reset of all buttons on the feature family: every button of the model goes back, 6 and 7 included,
// which get the single-key command's default 10 00 00.
TEST(ProfileMacros, ResetOfAllButtonsReachesEveryButton) {
    CoreFixture f("201:wired");
    f.Start();
    KeyAssignmentRecord dpi;
    dpi.profile = f.Profile();
    dpi.macro_type = kDpiFunction;
    dpi.macro_value = 1;
    for (int slot : {6, 7}) {
        dpi.key_code = slot;
        ASSERT_GT(f.db.SaveKeyAssignment(dpi), 0);
    }
    ASSERT_EQ(f.Execute(kTaskWriteProfile), TaskStatus::Confirmed);
    ASSERT_EQ(f.Mouse().Memory().keys[6], (KeyCode{0x40, 0x02, 0x00}));
    f.Take();

    ASSERT_TRUE(f.db.DeleteProfileKeyAssignments(f.Profile()));  // what the page does first
    const int64_t sequence = f.core->Snapshot().featureWriteCounter;
    EXPECT_EQ(f.Execute(kTaskDefaultKeys), TaskStatus::Confirmed);
    const char* codes[] = {"10 01 00", "10 02 00", "10 04 00", "10 08 00",
                           "10 10 00", "40 01 00", "10 00 00", "10 00 00"};
    std::vector<std::string> expected;
    for (int slot = 0; slot < 8; ++slot) {
        char head[40];
        std::snprintf(head, sizeof head, "0C 01 04 00 %02X 01 04 %02X ",
                      static_cast<unsigned>((sequence + slot) % 255), static_cast<unsigned>(slot));
        expected.push_back(ToHex(Hex(head + std::string(codes[slot]))));
    }
    EXPECT_EQ(f.TakeHex(), expected);
    for (int slot : {6, 7}) EXPECT_EQ(f.Mouse().Memory().keys[slot], (KeyCode{0x10, 0x00, 0x00})) << slot;
}

}  // namespace
}  // namespace quorvel::test
