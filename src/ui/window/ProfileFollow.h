#pragma once
// Profiles that follow the game, in the window: the desktop's focus source, the switching rules
// (ProfileFollower) on a QTimer, and the switch made as the profile dialog makes it. Focus changes arrive
// on the source's thread and are posted to the UI thread; everything else runs there.
//
// On while the preference "auto_switch" says "1", or, while it is unset, once a profile is bound to an
// application. Where there is no X display the source does not start and Unavailable() says why.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "actions/ProfileFollower.h"

class QTimer;

namespace quorvel {

class FocusSource;
class PageHost;

class ProfileFollow : public QObject, private FollowHost, private FollowTimer {
    Q_OBJECT
public:
    // `updateRunning` tells whether an update (software or firmware) is in progress.
    ProfileFollow(PageHost& host, std::function<bool()> updateRunning, QObject* parent);
    ~ProfileFollow() override;

    // The preference and the bindings decide whether the watcher runs (after a binding or the switch
    // changed).
    void Reconsider();
    bool Active() const;
    // Why following cannot work on this desktop; empty when it can.
    const QString& Unavailable() const { return unavailable_; }

    // Ends watching for good (the window is going).
    void Stop();

    // The profile in use changed: a change by hand (not one of ours) is where unbound windows return.
    void ProfileChanged();
    // Something ended (a task, an update) or the mouse came back: a kept switch may go now.
    void Retry();
    // Another program holds the mouse (this window waits for it): nothing is switched until it lets go.
    void SetHeldElsewhere(bool held);

    // The settings page's switch: stored as the preference.
    static bool SwitchOn(bool anyBinding);
    static void SetSwitch(bool on);

    // Where the windows come from (tests hand in their own); by default the desktop's.
    using SourceFactory = std::function<std::unique_ptr<FocusSource>()>;
    static void SetSourceFactoryForTests(SourceFactory factory);

    ProfileFollower& Follower() { return follower_; }
    QTimer* SettleTimer() const { return timer_; }

signals:
    // A profile became active because of the window in front.
    void followed(int profile);

private:
    std::vector<ProfileBinding> Bindings() override;
    FollowSituation Situation() override;
    bool SwitchTo(int profile, const FocusWindow& cause) override;
    void Arm(std::chrono::milliseconds delay) override;
    void Cancel() override;

    PageHost& host_;
    std::function<bool()> updateRunning_;
    ProfileFollower follower_;
    QTimer* timer_ = nullptr;
    std::unique_ptr<FocusSource> source_;
    bool watching_ = false;
    bool switching_ = false;
    bool stopped_ = false;
    bool heldElsewhere_ = false;
    QString unavailable_;
};

}  // namespace quorvel
