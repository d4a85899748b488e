// A profile switch on the feature family, whose key command carries one button, sends every button of the
// model: none keeps the function of the profile it came from.

#include <cstdio>

#include "SessionFixture.h"
#include "actions/Actions.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

class ProfileSwitchKeys : public SessionTest {};

KeyAssignmentRecord Assignment(int profile, int slot, int type, int value, int value2 = 0) {
    KeyAssignmentRecord r;
    r.profile = profile;
    r.key_code = slot;
    r.macro_type = type;
    r.macro_value = value;
    r.macro_value2 = value2;
    return r;
}

std::vector<std::string> KeyCommands(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind("send_feature FF00:0001 0C 01 04 ", 0) == 0) out.push_back(l);
    return out;
}

// The key commands of slots 0-7 (the buttons of model 201) with these codes, numbered from `sequence`.
std::vector<std::string> Expected(int sequence, const std::vector<std::string>& codes) {
    std::vector<std::string> lines;
    for (size_t slot = 0; slot < codes.size(); ++slot) {
        char head[32];
        std::snprintf(head, sizeof head, "0C 01 04 00 %02X 01 04 %02X ",
                      static_cast<unsigned>(sequence++ % 255), static_cast<unsigned>(slot));
        lines.push_back(FeatureSend(head + codes[slot]));
    }
    return lines;
}

TEST_F(ProfileSwitchKeys, EveryButtonOfTheProfileGoesToTheMouse) {
    Open("201:wired");
    Start(nullptr);
    // Profile 2: right button -> volume up, button 4 -> Ctrl+A, slot 6 -> DPI +.
    ASSERT_GT(db.SaveKeyAssignment(Assignment(2, 1, kMediaFunction, 6)), 0);
    ASSERT_GT(db.SaveKeyAssignment(Assignment(2, 3, kKeyboardKey, 0x04, kModCtrl)), 0);
    ASSERT_GT(db.SaveKeyAssignment(Assignment(2, 6, kDpiFunction, 1)), 0);
    SentSinceLastCall();

    const std::vector<std::string> defaults = {"10 01 00", "10 02 00", "10 04 00", "10 08 00",
                                               "10 10 00", "40 01 00", "10 00 00", "10 00 00"};
    std::vector<std::string> profileTwo = defaults;
    profileTwo[1] = "80 E9 00";
    profileTwo[3] = "70 01 04";
    profileTwo[6] = "40 02 00";

    int64_t sequence = session->Core().Snapshot().featureWriteCounter;
    const ActionResult toTwo = SwitchProfile(ctx(), 2);
    ASSERT_TRUE(toTwo.ok) << toTwo.message;
    EXPECT_EQ(RunActionTasks(session->Worker(), toTwo, 10s).at(0).status, TaskStatus::Confirmed);
    std::vector<std::string> sent = SentSinceLastCall();
    EXPECT_EQ(KeyCommands(sent), Expected(static_cast<int>(sequence), profileTwo));
    EXPECT_EQ(sent.front(), KeyCommands(sent).front()) << "the buttons go first";
    const MouseMemory onTwo = Mice().Mouse(0).Memory();
    EXPECT_EQ(onTwo.keys[1], (KeyCode{0x80, 0xE9, 0x00}));
    EXPECT_EQ(onTwo.keys[3], (KeyCode{0x70, 0x01, 0x04}));
    EXPECT_EQ(onTwo.keys[6], (KeyCode{0x40, 0x02, 0x00}));

    // Back to profile 1, which assigns nothing: the three buttons get their own functions back.
    sequence = session->Core().Snapshot().featureWriteCounter;
    const ActionResult toOne = SwitchProfile(ctx(), 1);
    EXPECT_EQ(RunActionTasks(session->Worker(), toOne, 10s).at(0).status, TaskStatus::Confirmed);
    EXPECT_EQ(KeyCommands(SentSinceLastCall()), Expected(static_cast<int>(sequence), defaults));
    const MouseMemory onOne = Mice().Mouse(0).Memory();
    EXPECT_EQ(onOne.keys[1], (KeyCode{0x10, 0x02, 0x00}));
    EXPECT_EQ(onOne.keys[3], (KeyCode{0x10, 0x08, 0x00}));
    EXPECT_EQ(onOne.keys[6], (KeyCode{0x10, 0x00, 0x00}));
    EXPECT_TRUE(Mice().AllIssues().empty());
}

}  // namespace
}  // namespace quorvel::test
