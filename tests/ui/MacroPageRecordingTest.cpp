// Recording on the macro page with the worker and a virtual mouse: keys delivered to the window become
// the macro's events exactly as shown, the window is held while recording, the event limit stops it with
// a message, a link loss or a refresh stops it cleanly, and a recorded macro given to a button reaches the
// mouse (HID trace compared, both families).

#include <QLabel>

#include "MacroPageFixture.h"
#include "actions/ActionTasks.h"
#include "actions/ButtonActions.h"
#include "store/ButtonCodes.h"
#include "store/KeyCapture.h"
#include "toolkit/KeyCaptureFilter.h"

namespace quorvel::test {
namespace {

std::string KeyDown(int vk, const std::string& name) {
    return EventText(kMacroKeyDown, vk, "↓  " + name);
}
std::string KeyUp(int vk, const std::string& name) {
    return EventText(kMacroKeyUp, vk, "↑  " + name);
}
std::string Delay(int ms) {
    return EventText(kMacroDelay, ms, std::to_string(ms) + " ms");
}

class MacroPageRecording : public MacroPageTest {
public:
    // Recording on a new macro with the delay mode's radio (fixed: with that delay).
    int StartRecording(int delayRadio, const QString& fixed = {}) {
        const int id = NewMacro();
        Click(delayRadio);
        if (!fixed.isEmpty()) Type(kFixedDelayEdit, fixed);
        Click(kRecordButton);
        EXPECT_TRUE(page->Recording());
        return id;
    }
    // The controls a recording locks, and whether the window was told.
    void ExpectLocked(bool locked) {
        EXPECT_EQ(host->recording, locked);
        EXPECT_EQ(page->Recording(), locked);
        for (int id : {kMacroNew, kMacroDelete, kEventInsert, kEventClear, kDelayNone, kPlayCountRadio})
            EXPECT_EQ(Ctl<QWidget>(id)->isEnabled(), !locked) << id;
        EXPECT_TRUE(Ctl<QWidget>(kRecordButton)->isEnabled());
        EXPECT_EQ(Ctl<QPushButton>(kRecordButton)->text(), Text(locked ? 359 : 358));
        EXPECT_EQ(Ctl<QLabel>(kRecordingHint)->isVisible(), locked);
    }
};

TEST_F(MacroPageRecording, KeysBecomeTheStoredEventsAsShown) {
    OpenPage("102:wired");
    const int id = StartRecording(kDelayFixed, "50");
    ExpectLocked(true);
    Key(Qt::Key_A);
    Press(Qt::Key_Shift);
    Key(Qt::Key_B);
    Release(Qt::Key_Shift);
    Key(Qt::Key_Return);
    EXPECT_TRUE(Rows(id).empty());  // stored when the recording ends
    EXPECT_EQ(Events()->GetItemCount(), 15);
    Click(kRecordButton);
    ExpectLocked(false);
    const std::vector<std::string> expected = {
        KeyDown(0x41, "A"),     Delay(50), KeyUp(0x41, "A"),     Delay(50), KeyDown(0xA0, "Shift"), Delay(50),
        KeyDown(0x42, "B"),     Delay(50), KeyUp(0x42, "B"),     Delay(50), KeyUp(0xA0, "Shift"),   Delay(50),
        KeyDown(0x0D, "Enter"), Delay(50), KeyUp(0x0D, "Enter"), Delay(50)};
    EXPECT_EQ(Stored(id), expected);
    EXPECT_EQ(Shown(), expected);
    // Each release shares its press's pairing id.
    const std::vector<MacroEventRecord> rows = Rows(id);
    EXPECT_EQ(rows[0].delay_time, rows[2].delay_time);
    EXPECT_EQ(rows[4].delay_time, rows[10].delay_time);
    EXPECT_EQ(rows[6].delay_time, rows[8].delay_time);
    EXPECT_NE(rows[0].delay_time, rows[4].delay_time);

    // A second recording is appended, with measured delays.
    Click(kDelayMeasured);
    Click(kRecordButton);
    clock += 45000;
    Key(Qt::Key_C);
    clock += 250;
    Click(kRecordButton);
    const std::vector<std::string> stored = Stored(id);
    ASSERT_EQ(stored.size(), expected.size() + 4);
    EXPECT_EQ(std::vector<std::string>(stored.end() - 4, stored.end()),
              (std::vector<std::string>{KeyDown(0x43, "C"), Delay(40), KeyUp(0x43, "C"), Delay(310)}));
    // Nothing was sent to the mouse.
    EXPECT_TRUE(SentSinceLastCall().empty());
}

TEST_F(MacroPageRecording, TheEventLimitStopsTheRecordingWithAMessage) {
    OpenPage("102:wired");
    const int id = StartRecording(kDelayNone);
    for (int i = 0; i < 14; ++i) Key(static_cast<Qt::Key>(Qt::Key_A + i));
    EXPECT_TRUE(page->Recording());
    EXPECT_EQ(Box(), nullptr);
    Key(Qt::Key_Z);  // the 29th and 30th events
    ExpectLocked(false);
    EXPECT_EQ(TakeBox(), std::make_pair(355, 386));
    EXPECT_EQ(Rows(id).size(), 30u);
    EXPECT_EQ(Stored(id).back(), KeyUp(0x5A, "Z"));
    // Keys after the limit are not recorded.
    Key(Qt::Key_Y);
    EXPECT_EQ(Rows(id).size(), 30u);
}

// Keys the mouse cannot play are left out; the page says so once, when the recording ends, and not for a
// recording that skipped none.
TEST_F(MacroPageRecording, SkippedKeysAreSaidOnceAtTheEnd) {
    OpenPage("102:wired");
    auto* capture = page->findChild<KeyCaptureFilter*>();
    ASSERT_NE(capture, nullptr);
    const auto unplayable = [capture](int up) {
        CapturedKey key;
        key.kind = kCaptureKeyboard;
        key.virtualKey = 0x07;  // no keyboard code
        key.up = up;
        emit capture->keyCaptured(key);
    };
    const int id = StartRecording(kDelayNone);
    for (int i = 0; i < 3; ++i) {
        unplayable(0);
        unplayable(1);
    }
    Key(Qt::Key_A);
    EXPECT_EQ(Box(), nullptr) << "nothing while recording";
    Click(kRecordButton);
    CUIMessageBox* box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->findChild<QLabel*>(ControlName(CUIMessageBox::kMessage))->text(),
              "3 key presses were not recorded: the mouse cannot play those keys.");
    EXPECT_EQ(TakeBox().first, 358);
    EXPECT_EQ(Box(), nullptr) << "said once";
    EXPECT_EQ(Stored(id), (std::vector<std::string>{KeyDown(0x41, "A"), KeyUp(0x41, "A")}));

    Click(kRecordButton);
    Key(Qt::Key_B);
    Click(kRecordButton);
    EXPECT_EQ(Box(), nullptr) << "a recording without skipped keys says nothing";
}

TEST_F(MacroPageRecording, WithoutAMacroThereIsNothingToRecordInto) {
    OpenPage("102:wired");
    Click(kRecordButton);
    EXPECT_FALSE(page->Recording());
    EXPECT_FALSE(host->recording);
    EXPECT_EQ(TakeBox(), std::make_pair(358, 387));
}

TEST_F(MacroPageRecording, ALinkLossOrARefreshStopsTheRecordingWithEverythingStored) {
    OpenPage("103:wireless");
    const int id = StartRecording(kDelayMeasured);
    Key(Qt::Key_Q);
    Press(Qt::Key_W);  // still held when the mouse goes away
    clock += 700;
    Mice().Mouse(0).SetLink(false);
    // What the window does when the worker reports the lost link.
    page->CloseTransient();
    ExpectLocked(false);
    EXPECT_EQ(Stored(id),
              (std::vector<std::string>{KeyDown(0x51, "Q"), Delay(40), KeyUp(0x51, "Q"), Delay(60),
                                        KeyDown(0x57, "W"), Delay(700), KeyUp(0x57, "W")}));
    EXPECT_EQ(Shown(), Stored(id));
    EXPECT_EQ(Box(), nullptr);
    // Keys after the stop are not recorded.
    Release(Qt::Key_W);
    Key(Qt::Key_E);
    EXPECT_EQ(Rows(id).size(), 7u);

    // The window refreshes the pages while a recording runs: it ends, stored, first.
    Mice().Mouse(0).SetLink(true);
    Click(kRecordButton);
    Key(Qt::Key_E);
    clock += 5;
    page->Refresh();
    ExpectLocked(false);
    EXPECT_EQ(Rows(id).size(), 11u);
    EXPECT_EQ(page->CurrentMacro(), id);
    // StopMacroRecording when nothing records does nothing.
    page->StopMacroRecording();
    EXPECT_EQ(Rows(id).size(), 11u);
}

// A recorded macro, played three times, given to button 4 through the button page's action: its events
// go to the button's macro slot (the delays folded into the event before them), then the key table marks
// the slot with 90, slot | 0x20, count 3.
void CheckRecordedMacroReachesTheMouse(MacroPageRecording& t, const char* mouse,
                                       const std::vector<std::string>& sent) {
    t.OpenPage(mouse);
    const int id = t.StartRecording(kDelayFixed, "50");
    t.Key(Qt::Key_A);
    t.Click(kRecordButton);
    ASSERT_EQ(t.Stored(id),
              (std::vector<std::string>{KeyDown(0x41, "A"), Delay(50), KeyUp(0x41, "A"), Delay(50)}));
    t.Type(kPlayCountEdit, "3");

    const ActionResult assigned = AssignMenuFunction(t.ctx(), 4, kMacroFunction, id);
    ASSERT_TRUE(assigned.ok) << assigned.message;
    t.host->Queue(assigned);
    ASSERT_TRUE(t.Drain());
    EXPECT_EQ(t.SentSinceLastCall(), sent);
    EXPECT_TRUE(t.Mice().AllIssues().empty());
}

// An edit of a macro that a button of the current profile already plays reaches the mouse at once: its
// events to the button's slot again, then the key table with the new play count.
TEST_F(MacroPageRecording, AnEditOfAMacroInUseReachesTheMouse) {
    const std::string events = ReportWrite("00 08 00 01 09 04 30 32 00 04 B0 32 00 04");
    CheckRecordedMacroReachesTheMouse(
        *this, "102:wired",
        {events, ReportWrite("00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 90 24 03 40 01 00")});
    Type(kPlayCountEdit, "5");
    ASSERT_TRUE(Drain());
    EXPECT_EQ(
        SentSinceLastCall(),
        (std::vector<std::string>{
            events, ReportWrite("00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 90 24 05 40 01 00")}));
    EXPECT_TRUE(Mice().AllIssues().empty());
}

TEST_F(MacroPageRecording, ARecordedMacroGivenToAButtonReachesTheReportFamilyMouse) {
    CheckRecordedMacroReachesTheMouse(
        *this, "102:wired",
        {ReportWrite("00 08 00 01 09 04 30 32 00 04 B0 32 00 04"),
         ReportWrite("00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 90 24 03 40 01 00")});
}

TEST_F(MacroPageRecording, ARecordedMacroGivenToAButtonReachesTheFeatureFamilyMouse) {
    CheckRecordedMacroReachesTheMouse(*this, "201:wired",
                                      {FeatureSend("0C 01 0E 00 00 01 07 04 30 32 04 B0 32 04"),
                                       FeatureSend("0C 01 04 00 01 01 04 04 90 24 03")});
}

}  // namespace
}  // namespace quorvel::test
