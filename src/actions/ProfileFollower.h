#pragma once
// The rules by which profiles follow the window in front. A small state machine with its clock injected
// (FollowTimer) and its world behind FollowHost, so it can be driven by a fake focus source in tests, by
// the GUI on a QTimer and by `quorvelctl profile follow` on its own loop.
//
//  - A window must stay in front for kSettle before anything happens: alt-tab through several windows
//    writes the mouse at most once, for the window it ends on.
//  - A window of a bound application makes its profile active; a window no binding names brings back the
//    profile the user last chose by hand.
//  - Nothing is switched during a firmware update, while another process holds the mouse, or while the
//    mouse is not connected: the switch is kept and made when Retry finds the way clear (the front end
//    calls it when the mouse comes back, an update ends, ...). A switch by hand drops it.
//  - The switch itself is the host's: the normal profile switch, through the worker queue.
//
// Not thread-safe: every call on one thread (the one the timer fires on).

#include <chrono>
#include <vector>

#include "actions/ProfileBindings.h"
#include "platform/FocusSource.h"

namespace quorvel {

class FollowTimer {
public:
    virtual ~FollowTimer() = default;
    // (Re)starts the one-shot timer; the owner calls ProfileFollower::Settled when it fires.
    virtual void Arm(std::chrono::milliseconds delay) = 0;
    virtual void Cancel() = 0;
};

struct FollowSituation {
    int activeProfile = 0;
    bool mouseConnected = false;
    bool updateRunning = false;  // a firmware update is being sent
    bool heldElsewhere = false;  // another process drives the mouse
};

class FollowHost {
public:
    virtual ~FollowHost() = default;
    virtual std::vector<ProfileBinding> Bindings() = 0;
    virtual FollowSituation Situation() = 0;
    // The profile switch (stored as active, written to the mouse through the worker queue); false when it
    // was refused.
    virtual bool SwitchTo(int profile, const FocusWindow& cause) = 0;
};

class ProfileFollower {
public:
    static constexpr std::chrono::milliseconds kSettle{300};

    ProfileFollower(FollowHost& host, FollowTimer& timer) : host_(host), timer_(timer) {}

    // Off: focus changes are ignored and a kept switch is dropped.
    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }
    // The profile the user chose by hand (also the active one when following starts); a kept switch is
    // dropped: the hand wins.
    void ChoseByHand(int profile);
    int HandProfile() const { return hand_; }

    // The window in front changed (re)starts the settle time.
    void FocusChanged(const FocusWindow& window);
    // The settle time ran out: the window in front decides.
    void Settled();
    // The way may be clear again (mouse back, update ended): a kept switch is made now.
    void Retry();
    // The switch kept for later, or 0.
    int Waiting() const { return waiting_; }

private:
    void Apply();

    FollowHost& host_;
    FollowTimer& timer_;
    bool enabled_ = true;
    int hand_ = 0;
    bool settling_ = false;
    FocusWindow front_;
    int waiting_ = 0;
    FocusWindow cause_;
};

}  // namespace quorvel
