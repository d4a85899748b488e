#include "actions/ProfileFollower.h"

namespace quorvel {

void ProfileFollower::SetEnabled(bool on) {
    enabled_ = on;
    if (on) return;
    timer_.Cancel();
    settling_ = false;
    waiting_ = 0;
}

void ProfileFollower::ChoseByHand(int profile) {
    hand_ = profile;
    waiting_ = 0;
}

void ProfileFollower::FocusChanged(const FocusWindow& window) {
    if (!enabled_) return;
    front_ = window;
    settling_ = true;
    timer_.Arm(kSettle);
}

void ProfileFollower::Settled() {
    if (!enabled_ || !settling_) return;
    settling_ = false;
    const int bound = BoundProfile(host_.Bindings(), front_);
    // No window at all (the desktop, a window closing) leaves the profile as it is.
    if (bound == 0 && front_.id == 0) return;
    waiting_ = bound != 0 ? bound : hand_;
    cause_ = front_;
    Apply();
}

void ProfileFollower::Retry() {
    if (enabled_) Apply();
}

void ProfileFollower::Apply() {
    if (waiting_ == 0) return;
    const FollowSituation now = host_.Situation();
    if (now.updateRunning || now.heldElsewhere || !now.mouseConnected) return;
    const int target = waiting_;
    waiting_ = 0;
    if (now.activeProfile == target) return;
    host_.SwitchTo(target, cause_);
}

}  // namespace quorvel
