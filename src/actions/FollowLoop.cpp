#include "actions/FollowLoop.h"

namespace quorvel {

void FollowLoop::Post(Event event) {
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    wake_.notify_one();
}

void FollowLoop::PostFocus(const FocusWindow& window) {
    Post({Event::Focus, window});
}

void FollowLoop::PostRetry() {
    Post({Event::Retry, {}});
}

void FollowLoop::PostStop() {
    Post({Event::Stop, {}});
}

void FollowLoop::Run() {
    while (true) {
        std::optional<Event> event;
        {
            std::unique_lock lock(mutex_);
            const auto ready = [this] { return !events_.empty(); };
            if (deadline_) {
                wake_.wait_until(lock, *deadline_, ready);
            } else {
                wake_.wait(lock, ready);
            }
            if (!events_.empty()) {
                event = std::move(events_.front());
                events_.pop_front();
            }
        }
        if (!event) {
            if (deadline_ && Clock::now() >= *deadline_) {
                deadline_.reset();
                follower_.Settled();
            }
            continue;
        }
        switch (event->kind) {
            case Event::Focus:
                follower_.FocusChanged(event->window);
                break;
            case Event::Retry:
                follower_.Retry();
                break;
            case Event::Stop:
                return;
        }
    }
}

}  // namespace quorvel
