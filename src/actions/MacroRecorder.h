#pragma once
// Recording a macro from the keyboard: captured keys in, the macro's event list out. A recording is
// appended to the events the macro already has, with delays by the macro's delay mode:
//
//   0  no delays
//   1  the measured time since the previous recorded key, capped at 31000 ms (none before the first key
//      of a recording, none when it is 0)
//   2  a fixed delay before every key once the list holds an event
//
// A recording takes 30 key events; the key that reaches the limit is the last one (the caller stops and
// says so). Each press gets a pairing id of its own and its release shares it, so the event editor changes,
// moves and deletes them together; a release whose press came before the recording gets its own id.
// Stopping releases the keys still held (a macro never leaves a key down on the mouse) and appends the
// trailing delay, and what the editor then shows is exactly what is stored, in one transaction.
//
// The recorder itself knows no database (its clock is injected, so tests drive time); the two actions below
// load the macro's list and store the result.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "actions/ActionResult.h"
#include "actions/MacroPairIds.h"
#include "store/Records.h"

namespace quorvel {

// delay_type of a macro: how a recording puts delays between the keys.
enum MacroDelayMode : int {
    kRecordNoDelays = 0,
    kRecordMeasuredDelays = 1,
    kRecordFixedDelay = 2,
};

inline constexpr int kMacroRecordLimit = 30;       // key events one recording takes
inline constexpr int kMaxRecordedDelayMs = 31000;  // a longer pause is stored as this

class MacroRecorder {
public:
    // Milliseconds of a steady clock.
    using Clock = std::function<int64_t()>;
    // Without a clock: std::chrono::steady_clock.
    explicit MacroRecorder(Clock clock = {});

    // Starts recording onto `existing` (the macro's list as stored). fixedDelayMs is mode 2's delay
    // (0 or less: none); it is kept within 1-10000 ms.
    void Begin(int delayMode, int fixedDelayMs, std::vector<MacroEventRecord> existing);

    enum class Step {
        kIgnored,       // not recording, past the limit, or a key the mouse cannot send
        kRecorded,      // the key (and the delay before it) was appended
        kLimitReached,  // appended, and the recording takes no more: stop it
        kFull,          // not appended: the list cannot take more events; stop it
    };
    Step Key(int virtualKey, bool up);

    // Ends the recording: the releases of keys still held, then the trailing delay (mode 1: the time since
    // the last key, mode 2: the fixed delay; only when this recording took a key). Returns the whole list.
    std::vector<MacroEventRecord> Finish();
    // Ends without a result (nothing is kept).
    void Abandon();

    bool Active() const { return active_; }
    // The list so far: the macro's events and what this recording appended.
    const std::vector<MacroEventRecord>& Events() const { return events_; }
    // Key events this recording appended.
    int RecordedEvents() const { return recorded_; }
    // Presses of keys the mouse cannot play (they have no keyboard code) that this recording left out,
    // so the front end can say so once, at the end.
    int SkippedKeys() const { return skipped_; }

    // Where the list is stored (set by StartMacroRecording).
    int MacroId() const { return macroId_; }
    const std::string& DatabasePath() const { return databasePath_; }
    void SetTarget(int macroId, std::string databasePath) {
        macroId_ = macroId;
        databasePath_ = std::move(databasePath);
    }

private:
    struct HeldKey {
        int virtualKey;
        int pairId;
    };
    void Append(int virtualKey, bool up);
    void AppendDelay(int milliseconds);
    int KeyEventsInList() const;

    Clock clock_;
    bool active_ = false;
    int mode_ = kRecordNoDelays;
    int fixedDelay_ = 0;
    std::vector<MacroEventRecord> events_;
    int recorded_ = 0;
    int skipped_ = 0;
    bool hasLast_ = false;
    int64_t last_ = 0;  // time of the last recorded key (mode 1)
    std::vector<HeldKey> held_;
    MacroPairIds ids_{{}};
    int macroId_ = 0;
    std::string databasePath_;
};

// Starts a recording into the macro: its stored events are the start of the list. Refused without an open
// database or for an unknown macro (the recorder is then not recording).
ActionResult StartMacroRecording(ActionContext& ctx, int macroId, int delayMode, int fixedDelayMs,
                                 MacroRecorder& recorder);
// Stops the recording and stores the whole list in one transaction (nothing when no key was recorded).
// When keys were skipped, the result's message says how many (SkippedKeysNote). Refused, storing nothing,
// when the database is no longer the one the recording started on (the mouse model changed meanwhile;
// *modelChanged is then set).
ActionResult StoreMacroRecording(ActionContext& ctx, MacroRecorder& recorder, bool* modelChanged = nullptr);
// "3 keys the mouse cannot play were not recorded".
std::string SkippedKeysNote(int skipped);

}  // namespace quorvel
