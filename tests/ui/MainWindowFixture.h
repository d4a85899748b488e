#pragma once
// The whole main window on a real composition root with virtual mice, as the program builds it: the
// window is attached to the session and the session is started on the window's view bridge, so every
// worker report reaches the window as a queued call on this (the UI) thread. Waits run the event loop
// (never a sleep) until a condition holds or 10 s pass. The tray is absent unless a test says otherwise.

#include <QLabel>
#include <QtTest/QTest>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "PageFixture.h"
#include "device/DeviceTaskRequest.h"
#include "shell/Preferences.h"
#include "ui/window/DeviceMainDlg.h"
#include "toolkit/MTabCtrl.h"
#include "ui/window/MainTabs.h"
#include "ui/window/MainViews.h"
#include "ui/window/TrayIcon.h"

namespace quorvel::test {

class MainWindowTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        static const bool styled = (InstallAppearance(), true);
        (void)styled;
        previousSkin_ = Skin::Instance().Dir();
        Skin::Instance().SetDir(emptySkin_.path() + '/');
        TrayIcon::SetAvailableForTests(false);
    }
    void TearDown() override {
        CloseWindow();
        TrayIcon::SetAvailableForTests(std::nullopt);
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
        Skin::Instance().SetDir(previousSkin_);
        SessionTest::TearDown();
    }

    // The window on these virtual mice (hot-plug watched), started, through task 1.
    void OpenWindow(const std::string& mice, bool shown = true) {
        Open(mice, true);
        ends.clear();
        SetCurrentLanguage(kLcidEnglish);
        InstallLanguageFont(kLcidEnglish);
        ReadLCID();  // the preference store exists, as after the start-up language choice
        window = std::make_unique<DeviceMainDlg>("Quorvel Mouse", "1.0.0");
        window->resize(DeviceMainDlg::kDesignSize);
        if (shown) window->show();
        window->Attach(*session);
        window->SetFileDialogs(&files);
        QObject::connect(window.get(), &DeviceMainDlg::taskEnded, window.get(),
                         [this](quint64 id, DeviceTaskRequest request, TaskResult result) {
                             ends.push_back({id, request, result});
                         });
        BeforeStart();
        ASSERT_EQ(session->Start(&window->Bridge()), 1u);
        ASSERT_TRUE(WaitForEnds(1)) << "task 1 did not end";
        SentSinceLastCall();  // discovery and read-back
    }
    // The window is attached and the worker not started yet: what must see every report attaches here.
    virtual void BeforeStart() {}
    // The window goes first (its teardown stops the session), then the session.
    void CloseWindow() {
        window.reset();
        session.reset();
    }

    bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }
    // Until `count` task ends have reached the window.
    bool WaitForEnds(size_t count) {
        return WaitFor([&] { return ends.size() >= count; });
    }
    // Until a task with this code has ended (after the ones already seen).
    bool WaitForTask(DeviceTask code) {
        const size_t seen = ends.size();
        return WaitFor([&] {
            for (size_t i = seen; i < ends.size(); ++i)
                if (ends[i].request.code == code) return true;
            return false;
        });
    }
    // Posted calls of the worker that have not run yet.
    void Settle() { QCoreApplication::processEvents(); }

    MainViews::View CurrentView() const { return window->CurrentView(); }
    // A user's pick of a tab strip item: selected, its page shown (built the first time), the view moved.
    void PickTab(int item) {
        auto* strip = Find<MTabCtrl>(MainTabs::kTabStrip);
        const int index = strip->IndexOfItem(item);
        strip->SetCurSel(index);
        emit strip->tabClicked(index);
    }
    // The strip item the window shows.
    int CurrentItem() const {
        auto* strip = Find<MTabCtrl>(MainTabs::kTabStrip);
        const int item = strip->GetItemId(strip->GetCurSel());
        return item > 0 ? item : MainTabs::kHomeItem;
    }
    template <typename T = QWidget>
    T* Find(int id) const {
        return window->findChild<T*>(ControlName(id));
    }
    bool Shown(int id) const {
        QWidget* w = Find(id);
        return w && w->isVisibleTo(window.get());
    }

    // Holds the worker in a task until Release(): changes made meanwhile queue up behind it, as when the
    // user is quicker than the mouse.
    void HoldWorker() {
        held_ = released_ = false;
        session->Core().SetTaskHandler(kTaskCheckSoftware, [this] {
            std::unique_lock<std::mutex> lock(holdMutex_);
            held_ = true;
            holdChanged_.notify_all();
            holdChanged_.wait(lock, [this] { return released_; });
            return true;
        });
        session->Worker().QueueTask(DeviceTaskRequest(kTaskCheckSoftware));
        std::unique_lock<std::mutex> lock(holdMutex_);
        holdChanged_.wait(lock, [this] { return held_; });
    }
    void ReleaseWorker() {
        std::lock_guard<std::mutex> lock(holdMutex_);
        released_ = true;
        holdChanged_.notify_all();
    }

    std::unique_ptr<DeviceMainDlg> window;
    std::vector<TaskEnd> ends;
    ScriptedFileDialogs files;

private:
    QTemporaryDir emptySkin_;
    QString previousSkin_;
    std::mutex holdMutex_;
    std::condition_variable holdChanged_;
    bool held_ = false, released_ = false;
};

}  // namespace quorvel::test
