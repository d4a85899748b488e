#include "ui/window/ProfileFollow.h"

#include <QPointer>
#include <QTimer>

#include "actions/ProfileActions.h"
#include "device/PageState.h"
#include "platform/FocusSource.h"
#include "shell/Preferences.h"
#include "store/DeviceDatabase.h"
#include "ui/common/PageHost.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

namespace {

ProfileFollow::SourceFactory& Factory() {
    static ProfileFollow::SourceFactory factory;
    return factory;
}

// "1" on, "2" off; unset (reads 0): on once a profile is bound to an application.
constexpr char kSwitchPreference[] = "auto_switch";

}  // namespace

ProfileFollow::ProfileFollow(PageHost& host, std::function<bool()> updateRunning, QObject* parent)
    : QObject(parent), host_(host), updateRunning_(std::move(updateRunning)), follower_(*this, *this) {
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("settleTimer"));
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { follower_.Settled(); });
    follower_.ChoseByHand(host_.Actions().core.CurrentProfile());
    // While another program holds the device lock, nothing is switched.
    connect(&host.Events(), &DeviceEvents::deviceLockWaiting, this, [this] { SetHeldElsewhere(true); });
    connect(&host.Events(), &DeviceEvents::deviceLockTaken, this, [this] { SetHeldElsewhere(false); });
}

ProfileFollow::~ProfileFollow() {
    if (source_) source_->Stop();
}

void ProfileFollow::SetSourceFactoryForTests(SourceFactory factory) {
    Factory() = std::move(factory);
}

bool ProfileFollow::SwitchOn(bool anyBinding) {
    const int stored = ReadPreferenceInt(kSwitchPreference);
    return stored == 0 ? anyBinding : stored == 1;
}

void ProfileFollow::SetSwitch(bool on) {
    WritePreferenceText(kSwitchPreference, on ? "1" : "2");
}

bool ProfileFollow::Active() const {
    return watching_;
}

void ProfileFollow::Reconsider() {
    if (stopped_) return;
    std::vector<ProfileBinding> bindings = Bindings();
    const bool on = AnyBinding(bindings) && SwitchOn(true);
    follower_.SetEnabled(on);
    if (on == watching_) return;
    if (!on) {
        if (source_) source_->Stop();
        watching_ = false;
        return;
    }
    if (!source_) source_ = Factory() ? Factory()() : MakeFocusSource();
    std::string why;
    QPointer<ProfileFollow> self(this);
    // The source's thread posts each window to this object's thread; Stop() in the destructor ends the
    // thread before the object goes.
    const bool started = source_->Start(
        [self](const FocusWindow& window) {
            QMetaObject::invokeMethod(
                self.data(),
                [self, window] {
                    if (self) self->follower_.FocusChanged(window);
                },
                Qt::QueuedConnection);
        },
        &why);
    watching_ = started;
    unavailable_ = started ? QString() : QString::fromStdString(why);
}

void ProfileFollow::Stop() {
    follower_.SetEnabled(false);
    if (source_) source_->Stop();
    watching_ = false;
    stopped_ = true;
}

void ProfileFollow::ProfileChanged() {
    if (!switching_) follower_.ChoseByHand(host_.Actions().core.CurrentProfile());
}

void ProfileFollow::Retry() {
    follower_.Retry();
}

void ProfileFollow::SetHeldElsewhere(bool held) {
    heldElsewhere_ = held;
    if (!held) follower_.Retry();
}

std::vector<ProfileBinding> ProfileFollow::Bindings() {
    std::vector<ProfileBinding> bindings;
    ListBindings(host_.Actions(), &bindings);
    return bindings;
}

FollowSituation ProfileFollow::Situation() {
    FollowSituation s;
    const DeviceState state = host_.Actions().core.Snapshot();
    s.activeProfile = state.currentProfile;
    s.mouseConnected = state.connected;
    s.updateRunning = updateRunning_ && updateRunning_();
    // The window holds the device lock for its whole run; until it has it, another program writes.
    s.heldElsewhere = heldElsewhere_;
    return s;
}

bool ProfileFollow::SwitchTo(int profile, const FocusWindow&) {
    const ActionResult result = SwitchProfile(host_.Actions(), profile);
    if (!result.ok) return false;
    host_.Queue(result);
    switching_ = true;
    host_.ProfileChanged();
    switching_ = false;
    emit followed(profile);
    return true;
}

void ProfileFollow::Arm(std::chrono::milliseconds delay) {
    timer_->start(static_cast<int>(delay.count()));
}

void ProfileFollow::Cancel() {
    timer_->stop();
}

}  // namespace quorvel
