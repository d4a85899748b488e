#include "actions/MacroRecorder.h"

#include <algorithm>
#include <chrono>

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "actions/MacroEventActions.h"
#include "files/FileResult.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

MacroRecorder::MacroRecorder(Clock clock) : clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {}

void MacroRecorder::Begin(int delayMode, int fixedDelayMs, std::vector<MacroEventRecord> existing) {
    events_ = std::move(existing);
    ids_ = MacroPairIds(events_);
    mode_ = delayMode;
    fixedDelay_ =
        delayMode == kRecordFixedDelay && fixedDelayMs > 0 ? std::min(fixedDelayMs, kMaxMacroDelayMs) : 0;
    recorded_ = 0;
    skipped_ = 0;
    hasLast_ = false;
    held_.clear();
    active_ = true;
}

int MacroRecorder::KeyEventsInList() const {
    return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                          [](const MacroEventRecord& e) { return e.type != kMacroDelay; }));
}

void MacroRecorder::AppendDelay(int milliseconds) {
    MacroEventRecord delay = MacroDelayItem(milliseconds);
    delay.delay_time = ids_.Next();
    events_.push_back(std::move(delay));
}

void MacroRecorder::Append(int virtualKey, bool up) {
    const int64_t now = clock_();
    if (mode_ == kRecordMeasuredDelays) {
        if (hasLast_) {
            const int64_t pause = std::min<int64_t>(now - last_, kMaxRecordedDelayMs);
            if (pause > 0) AppendDelay(static_cast<int>(pause));
        }
        hasLast_ = true;
        last_ = now;
    } else if (mode_ == kRecordFixedDelay && fixedDelay_ > 0 && KeyEventsInList() > 0) {
        AppendDelay(fixedDelay_);
    }

    int pairId = 0;
    if (up) {
        // The release shares the id of the latest press of that key this recording took.
        auto held = std::find_if(held_.rbegin(), held_.rend(),
                                 [virtualKey](const HeldKey& k) { return k.virtualKey == virtualKey; });
        if (held != held_.rend()) {
            pairId = held->pairId;
            held_.erase(std::next(held).base());
        }
    }
    if (pairId == 0) pairId = ids_.Next();
    if (!up) held_.push_back({virtualKey, pairId});
    events_.push_back(MacroKeyItem(virtualKey, up, pairId));
}

MacroRecorder::Step MacroRecorder::Key(int virtualKey, bool up) {
    if (!active_ || recorded_ >= kMacroRecordLimit) return Step::kIgnored;
    if (!IsPlayableMacroKey(virtualKey)) {
        if (!up) ++skipped_;  // counted once per press, so a key held and let go counts once
        return Step::kIgnored;
    }
    // Room for this key with its delay, and for closing the recording afterwards: a release (with its
    // delay) for every key then held, and the trailing delay.
    const size_t heldAfter = held_.size() + (up ? 0 : 1);
    if (events_.size() + 2 + 2 * heldAfter + 1 > kMaxEventsPerMacro) return Step::kFull;
    Append(virtualKey, up);
    ++recorded_;
    return recorded_ >= kMacroRecordLimit ? Step::kLimitReached : Step::kRecorded;
}

std::vector<MacroEventRecord> MacroRecorder::Finish() {
    if (!active_) return events_;
    while (!held_.empty()) Append(held_.back().virtualKey, true);
    if (recorded_ > 0) {
        if (mode_ == kRecordMeasuredDelays) {
            const int64_t pause = std::min<int64_t>(clock_() - last_, kMaxRecordedDelayMs);
            if (pause > 0) AppendDelay(static_cast<int>(pause));
        } else if (mode_ == kRecordFixedDelay && fixedDelay_ > 0) {
            AppendDelay(fixedDelay_);
        }
    }
    active_ = false;
    return events_;
}

void MacroRecorder::Abandon() {
    active_ = false;
    held_.clear();
}

ActionResult StartMacroRecording(ActionContext& ctx, int macroId, int delayMode, int fixedDelayMs,
                                 MacroRecorder& recorder) {
    recorder.Abandon();
    if (delayMode < kRecordNoDelays || delayMode > kRecordFixedDelay)
        return ActionResult::Refused("delay mode " + std::to_string(delayMode) +
                                     " is not 0 (no delays), 1 (measured delays) or 2 (a fixed delay)");
    auto hold = Db(ctx).Hold();
    std::vector<MacroEventRecord> existing;
    ActionResult listed = ListMacroEvents(ctx, macroId, &existing);
    if (!listed.ok) return listed;
    recorder.Begin(delayMode, fixedDelayMs, std::move(existing));
    recorder.SetTarget(macroId, Db(ctx).Path());
    return Accepted();
}

ActionResult StoreMacroRecording(ActionContext& ctx, MacroRecorder& recorder, bool* modelChanged) {
    if (modelChanged != nullptr) *modelChanged = false;
    if (!recorder.Active()) return ActionResult::Refused("no recording is running");
    const bool recorded = recorder.RecordedEvents() > 0;
    const int skipped = recorder.SkippedKeys();
    std::vector<MacroEventRecord> events = recorder.Finish();
    ActionResult result = Accepted();
    if (recorded) {
        // The database lock keeps a model switch from coming between the check and the store.
        auto hold = Db(ctx).Hold();
        if (Db(ctx).Path() != recorder.DatabasePath()) {
            if (modelChanged != nullptr) *modelChanged = true;
            return ActionResult::Refused(
                "the mouse model changed during the recording; the recording was not stored");
        }
        result = ReplaceMacroEvents(ctx, recorder.MacroId(), std::move(events));
    }
    if (result.ok && skipped > 0) AddNote(result, SkippedKeysNote(skipped));
    return result;
}

std::string SkippedKeysNote(int skipped) {
    return skipped == 1 ? "1 key the mouse cannot play was not recorded"
                        : std::to_string(skipped) + " keys the mouse cannot play were not recorded";
}

}  // namespace quorvel
