// The ways out of the program while an update runs: a quit asks the user to wait (one notice however
// often it is asked), a termination signal ends the program once the update is done, and the set-up
// program of a software update ends it at once.

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <condition_variable>
#include <mutex>

#include "MainWindowFixture.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/window/UpdateUi.h"
#include "update/UpdateFlow.h"

namespace quorvel::test {
namespace {

class MainWindowExit : public MainWindowTest {
protected:
    // The open message boxes.
    std::vector<CUIMessageBox*> Boxes() const {
        std::vector<CUIMessageBox*> boxes;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<CUIMessageBox*>(w); box && box->isVisible()) boxes.push_back(box);
        return boxes;
    }
    // The software installation starts (the offer answered yes) and holds on the worker until Finish().
    void StartInstallation() {
        session->Core().SetTaskHandler(kTaskInstallSoftware, [this] {
            std::unique_lock<std::mutex> lock(mutex_);
            running_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return finished_; });
            return true;
        });
        emit window->Events().updateOffered(kUpdateSoftware, true, "9.9.9");
        ASSERT_EQ(Boxes().size(), 1u);
        Control<QPushButton>(Boxes().front(), CUIMessageBox::kFirstButton)->click();
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return running_; });
    }
    void Finish() {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    void TearDown() override {
        Finish();
        MainWindowTest::TearDown();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool running_ = false, finished_ = false;
};

TEST_F(MainWindowExit, QuittingWhileAnUpdateRunsWaitsForIt) {
    OpenWindow("102:wired");
    QSignalSpy exits(window.get(), &DeviceMainDlg::ExitRequested);
    StartInstallation();
    ASSERT_TRUE(window->UpdateRunning());

    struct Ask {
        const char* what;
        bool fromSignal;
    };
    for (const Ask& ask : {Ask{"the close button", false}, Ask{"again", false}, Ask{"a signal", true}}) {
        window->RequestExit(ask.fromSignal);
        Settle();
        EXPECT_EQ(exits.count(), 0) << ask.what;
        ASSERT_EQ(Boxes().size(), 1u) << ask.what << ": one notice, however often";
        EXPECT_EQ(Control<QLabel>(Boxes().front(), CUIMessageBox::kMessage)->text(),
                  "Please wait until the update has finished before closing the program.");
    }
    // The signal's end comes once the update is done.
    Finish();
    ASSERT_TRUE(WaitFor([&] { return exits.count() == 1; }));
    EXPECT_FALSE(window->UpdateRunning());
}

TEST_F(MainWindowExit, AQuitAskedWithoutASignalDoesNotEndTheProgramAfterTheUpdate) {
    OpenWindow("102:wired");
    QSignalSpy exits(window.get(), &DeviceMainDlg::ExitRequested);
    StartInstallation();
    window->RequestExit(false);
    Finish();
    ASSERT_TRUE(WaitFor([&] { return !window->UpdateRunning(); }));
    Settle();
    EXPECT_EQ(exits.count(), 0) << "the user is asked to close again";
}

TEST_F(MainWindowExit, TheInstallerEndsTheProgramAtOnce) {
    OpenWindow("102:wired");
    QSignalSpy exits(window.get(), &DeviceMainDlg::ExitRequested);
    StartInstallation();
    window->ExitForInstaller();
    EXPECT_EQ(exits.count(), 1) << "even while the update task is still on its way";
}

}  // namespace
}  // namespace quorvel::test
