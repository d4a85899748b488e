#pragma once
// A ProfileFollower run on one thread of its own making, without a GUI: focus changes and retries are
// posted from any thread and handled in order; the settle timer is a deadline of the loop's wait, so the
// loop sleeps while nothing happens. What quorvelctl profile follow runs on.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "actions/ProfileFollower.h"

namespace quorvel {

class FollowLoop : private FollowTimer {
public:
    explicit FollowLoop(FollowHost& host) : follower_(host, *this) {}

    // Set up before Run, or from the host's calls during it.
    ProfileFollower& Follower() { return follower_; }

    // Any thread.
    void PostFocus(const FocusWindow& window);
    void PostRetry();
    void PostStop();

    // Handles what is posted until PostStop.
    void Run();

private:
    void Arm(std::chrono::milliseconds delay) override { deadline_ = Clock::now() + delay; }
    void Cancel() override { deadline_.reset(); }

    using Clock = std::chrono::steady_clock;
    struct Event {
        enum Kind { Focus, Retry, Stop } kind;
        FocusWindow window;
    };
    void Post(Event event);

    ProfileFollower follower_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Event> events_;
    std::optional<Clock::time_point> deadline_;  // loop thread only
};

}  // namespace quorvel
