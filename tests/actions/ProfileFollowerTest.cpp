// The rules by which profiles follow the window in front, against a fake focus source: windows are handed
// to the follower as the X11 source would, and the settle timer fires when the table says so.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "actions/ProfileFollower.h"

namespace quorvel::test {
namespace {

class FakeTimer : public FollowTimer {
public:
    void Arm(std::chrono::milliseconds delay) override {
        armed = true;
        lastDelay = delay;
    }
    void Cancel() override { armed = false; }
    bool armed = false;
    std::chrono::milliseconds lastDelay{0};
};

class FakeHost : public FollowHost {
public:
    std::vector<ProfileBinding> Bindings() override { return bindings; }
    FollowSituation Situation() override { return situation; }
    bool SwitchTo(int profile, const FocusWindow&) override {
        switches.push_back(profile);
        situation.activeProfile = profile;
        return true;
    }
    std::vector<ProfileBinding> bindings{
        {1, "Desk", {}}, {2, "Shooter", {"csgo_linux64"}}, {3, "MMO", {"WowClassic.exe"}}};
    FollowSituation situation{1, true, false, false};
    std::vector<int> switches;
};

// What happens, in order: a window comes to the front, the timer fires, the situation changes, ...
struct Step {
    enum Kind {
        Front,
        Fire,
        Retry,
        Hand,
        NoMouse,
        Mouse,
        UpdateOn,
        UpdateOff,
        Held,
        Free,
        Off,
        Unarmed
    } kind;
    std::string app;  // Front: the window's WM_CLASS instance ("" and id 0: no window)
    Step(Kind k, std::string a = {}) : kind(k), app(std::move(a)) {}
};

FocusWindow Window(const std::string& app) {
    FocusWindow w;
    if (app.empty()) return w;
    static std::map<std::string, uint32_t> ids;
    w.id = ids.emplace(app, static_cast<uint32_t>(ids.size() + 1)).first->second;
    w.instance = app;
    w.windowClass = app + "-class";
    return w;
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<int> switches;  // the profile switches made, in order
    int waiting = 0;            // the switch still kept at the end
};

TEST(ProfileFollower, Rules) {
    using S = Step;
    const Case cases[] = {
        {"bound window switches once it settles", {{S::Front, "csgo_linux64"}, {S::Fire}}, {2}},
        {"nothing before the settle time", {{S::Front, "csgo_linux64"}}, {}},
        {"bound, then unbound returns to the hand's profile",
         {{S::Front, "csgo_linux64"}, {S::Fire}, {S::Front, "xterm"}, {S::Fire}},
         {2, 1}},
        {"unbound window while the hand's profile is active writes nothing",
         {{S::Front, "xterm"}, {S::Fire}},
         {}},
        {"matching ignores case", {{S::Front, "CSGO_LINUX64"}, {S::Fire}}, {2}},
        {"quick alt-tab: only the window it ends on counts",
         {{S::Front, "csgo_linux64"}, {S::Front, "WowClassic.exe"}, {S::Front, "xterm"}, {S::Fire}},
         {}},
        {"alt-tab ending on a bound window: one write",
         {{S::Front, "xterm"}, {S::Front, "csgo_linux64"}, {S::Front, "wowclassic.exe"}, {S::Fire}},
         {3}},
        {"no window in front keeps the profile",
         {{S::Front, "csgo_linux64"}, {S::Fire}, {S::Front, ""}, {S::Fire}},
         {2}},
        {"a later hand choice is where unbound windows return",
         {{S::Front, "csgo_linux64"},
          {S::Fire},
          {S::Hand, "4"},
          {S::Front, "WowClassic.exe"},
          {S::Fire},
          {S::Front, "xterm"},
          {S::Fire}},
         {2, 3, 4}},
        {"update running: kept, made when it ends",
         {{S::UpdateOn}, {S::Front, "csgo_linux64"}, {S::Fire}, {S::Retry}, {S::UpdateOff}, {S::Retry}},
         {2}},
        {"update running at the end: still kept",
         {{S::UpdateOn}, {S::Front, "csgo_linux64"}, {S::Fire}},
         {},
         2},
        {"mouse absent: kept, made when it comes back",
         {{S::NoMouse}, {S::Front, "csgo_linux64"}, {S::Fire}, {S::Retry}, {S::Mouse}, {S::Retry}},
         {2}},
        {"mouse absent, back in the unbound profile's window: nothing owed",
         {{S::NoMouse},
          {S::Front, "csgo_linux64"},
          {S::Fire},
          {S::Front, "xterm"},
          {S::Fire},
          {S::Mouse},
          {S::Retry}},
         {}},
        {"another process holds the mouse",
         {{S::Held}, {S::Front, "csgo_linux64"}, {S::Fire}, {S::Free}, {S::Retry}},
         {2}},
        {"a hand choice drops the kept switch",
         {{S::NoMouse}, {S::Front, "csgo_linux64"}, {S::Fire}, {S::Hand, "3"}, {S::Mouse}, {S::Retry}},
         {}},
        {"switched off", {{S::Off}, {S::Front, "csgo_linux64"}, {S::Unarmed}, {S::Retry}}, {}},
    };
    for (const Case& c : cases) {
        FakeHost host;
        FakeTimer timer;
        ProfileFollower follower(host, timer);
        follower.ChoseByHand(1);
        for (const Step& step : c.steps) {
            switch (step.kind) {
                case S::Front:
                    follower.FocusChanged(Window(step.app));
                    break;
                case S::Fire:
                    ASSERT_TRUE(timer.armed) << c.name;
                    EXPECT_EQ(timer.lastDelay, ProfileFollower::kSettle) << c.name;
                    timer.armed = false;
                    follower.Settled();
                    break;
                case S::Retry:
                    follower.Retry();
                    break;
                case S::Hand:
                    host.situation.activeProfile = std::stoi(step.app);
                    follower.ChoseByHand(host.situation.activeProfile);
                    break;
                case S::NoMouse:
                    host.situation.mouseConnected = false;
                    break;
                case S::Mouse:
                    host.situation.mouseConnected = true;
                    break;
                case S::UpdateOn:
                    host.situation.updateRunning = true;
                    break;
                case S::UpdateOff:
                    host.situation.updateRunning = false;
                    break;
                case S::Held:
                    host.situation.heldElsewhere = true;
                    break;
                case S::Free:
                    host.situation.heldElsewhere = false;
                    break;
                case S::Off:
                    follower.SetEnabled(false);
                    break;
                case S::Unarmed:
                    EXPECT_FALSE(timer.armed) << c.name;
                    break;
            }
        }
        EXPECT_EQ(host.switches, c.switches) << c.name;
        EXPECT_EQ(follower.Waiting(), c.waiting) << c.name;
    }
}

TEST(ProfileFollower, MatchesClassPartsAndExecutable) {
    FocusWindow w;
    w.id = 7;
    w.instance = "steam_app_730";
    w.windowClass = "Steam_App_730";
    w.executable = "cs2";
    const std::pair<const char*, bool> cases[] = {
        {"steam_app_730", true}, {"STEAM_APP_730", true}, {"cs2", true}, {"CS2", true},
        {"cs", false},           {"steam", false},        {"", false},
    };
    for (const auto& [app, matches] : cases) EXPECT_EQ(AppMatches(app, w), matches) << app;
    FocusWindow none;
    EXPECT_FALSE(AppMatches("cs2", none));
}

}  // namespace
}  // namespace quorvel::test
