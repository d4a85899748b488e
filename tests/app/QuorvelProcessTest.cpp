// quorvel as its users meet it: one instance per user with the hand-over of a second start, a start after
// a crash, "-hide", the orderly end on a signal, and quorvelctl beside a running quorvel. The window tests
// run on a private Xvfb; the rest on the offscreen platform.

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "QuorvelProcessFixture.h"

namespace quorvel {
namespace {

using test::GuiProcess;
using test::MapWatcher;
using test::XServer;

using test::kWait;
using test::QuorvelProcessTest;
using test::QuorvelWindowTest;
using test::Xdotool;

TEST_F(QuorvelWindowTest, HiddenStartMapsNothingUntilASecondStartHandsOver) {
    // Closing hides the window in this exit mode; a signal must end the program all the same.
    UseHideOnClose();
    auto first = Start(x_->Display(), {"-hide"});
    ASSERT_EQ(Status(), StatusOf(first->Pid(), false)) << GuiErr();
    // Discovery has found the mouse and switched the view; the window stays hidden all the same.
    ASSERT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();
    EXPECT_EQ(Status(), StatusOf(first->Pid(), false));
    watcher_->Poll();
    EXPECT_FALSE(watcher_->Mapped(first->Pid()));
    EXPECT_FALSE(watcher_->ViewableNow(first->Pid()));
    EXPECT_TRUE(std::filesystem::exists(Lock()));
    EXPECT_TRUE(std::filesystem::exists(GuiTracePath()));  // QUORVEL_HID_TRACE is honoured
    EXPECT_EQ(std::filesystem::status(Path("runtime")).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);

    // The second start hands over: the first shows its window, the second ends with 0 and shows none.
    auto second = Start(x_->Display());
    EXPECT_EQ(second->Wait(), 0) << GuiErr();
    EXPECT_TRUE(watcher_->WaitForMap(first->Pid(), kWait));
    EXPECT_FALSE(watcher_->Mapped(second->Pid()));
    EXPECT_EQ(Status(), StatusOf(first->Pid(), true));

    // A second start while the window is visible is handed over too.
    auto third = Start(x_->Display());
    EXPECT_EQ(third->Wait(), 0) << GuiErr();
    EXPECT_EQ(Status(), StatusOf(first->Pid(), true));

    // The end on a signal is the orderly one: exit 0, lock and socket gone.
    first->Signal(SIGTERM);
    EXPECT_EQ(first->Wait(), 0) << GuiErr();
    EXPECT_FALSE(std::filesystem::exists(Lock()));
    EXPECT_FALSE(std::filesystem::exists(Socket()));
}

TEST_F(QuorvelWindowTest, ALockLeftByAKilledInstanceDoesNotBlockTheNextStart) {
    auto crashed = Start(x_->Display());
    ASSERT_TRUE(watcher_->WaitForMap(crashed->Pid(), kWait)) << GuiErr();
    ASSERT_EQ(Status(), StatusOf(crashed->Pid(), true));  // started up to its event loop, socket served
    crashed->Signal(SIGKILL);
    EXPECT_EQ(crashed->Wait(), 128 + SIGKILL);
    ASSERT_TRUE(std::filesystem::exists(Lock()));  // left behind, with the socket file
    ASSERT_TRUE(std::filesystem::exists(Socket()));

    auto next = Start(x_->Display());
    EXPECT_TRUE(watcher_->WaitForMap(next->Pid(), kWait)) << GuiErr();
    EXPECT_EQ(Status(), StatusOf(next->Pid(), true));
    next->Signal(SIGINT);
    EXPECT_EQ(next->Wait(), 0) << GuiErr();
}

TEST_F(QuorvelWindowTest, ClicksOnADeviceCardAndATabReachTheWindow) {
    if (Xdotool(x_->Display(), "version").empty()) GTEST_SKIP() << "xdotool is not installed";
    auto gui = Start(x_->Display(), {}, {{"QUORVEL_VIRTUAL", "102;201"}});
    ASSERT_TRUE(watcher_->WaitForMap(gui->Pid(), kWait)) << GuiErr();
    ASSERT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();
    const std::string window =
        Xdotool(x_->Display(), "search --sync --onlyvisible --pid " + std::to_string(gui->Pid()));
    ASSERT_FALSE(window.empty());

    // The third card (the design's 1400 x 788 window: the list from (200, 200) to (1200, 688), three
    // cards of 317 x 412 with a gap of 24), then the performance tab (third row of the strip).
    ASSERT_FALSE(Xdotool(x_->Display(), "mousemove --window " + window + " 1041 444 click 1").empty());
    EXPECT_EQ(WaitForView("device tab 2 model 201"), "device tab 2 model 201")
        << "the worker switched to the picked model";
    ASSERT_FALSE(Xdotool(x_->Display(), "mousemove --window " + window + " 104 270 click 1").empty());
    EXPECT_EQ(WaitForView("device tab 3"), "device tab 3 model 201");

    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

TEST_F(QuorvelProcessTest, SmokeTestBuildsTheWindowAndEndsAtOnce) {
    auto gui = Start("", {"--smoke-test"});
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
    EXPECT_FALSE(std::filesystem::exists(Lock())) << "no instance was claimed";
    auto bad = Start("", {"--smoke-test"}, {{"QUORVEL_VIRTUAL", "999"}});
    EXPECT_EQ(bad->Wait(), 1);
    EXPECT_NE(GuiErr().find("bad virtual mouse spec"), std::string::npos) << GuiErr();
}

TEST_F(QuorvelProcessTest, QuorvelctlStaysOffTheMouseWhileQuorvelRuns) {
    ASSERT_EQ(Run({"--virtual", "102", "read"}).exitCode, 0);  // a database and a remembered model
    TakeTrace();
    auto gui = Start("");
    ASSERT_EQ(Status(), StatusOf(gui->Pid(), true)) << GuiErr();

    const std::string running = "quorvel (process " + std::to_string(gui->Pid()) + ") is running";
    const std::vector<std::vector<std::string>> refused = {
        {"--virtual", "102", "dpi", "800"},   {"--virtual", "102", "devices"},
        {"--virtual", "102", "read"},         {"--virtual", "102", "profile", "rename", "2", "Work"},
        {"--virtual", "102", "macro", "new"},
    };
    for (const auto& args : refused) {
        const test::CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 1) << args[2] << "\n" << run;
        EXPECT_NE(run.err.find(running), std::string::npos) << run;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(TakeTrace().empty()) << "a refused command reached the mouse";

    // Commands that only read the database work, on the model quorvel remembers.
    const test::CliRun show = Run({"--virtual", "102", "show"});
    EXPECT_EQ(show.exitCode, 0) << show;
    EXPECT_NE(show.out.find("Profile 1: Profile 1   (Quorvel R2, device_type 102)"), std::string::npos)
        << show;
    EXPECT_NE(show.err.find("quorvel (process " + std::to_string(gui->Pid()) +
                            ") holds the mouse: the stored settings of Quorvel R2"),
              std::string::npos)
        << show;
    const test::CliRun list = Run({"--json", "profile", "list"});
    ASSERT_EQ(list.exitCode, 0) << list;
    EXPECT_EQ(list.Json().size(), 4u);
    EXPECT_EQ(Run({"macro", "export-all", Path("macros.xml")}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(Path("macros.xml")));
    EXPECT_EQ(Run({"--device", "201", "show"}).exitCode, 1);  // nothing stored for that model yet
    EXPECT_TRUE(TakeTrace().empty());

    gui->Signal(SIGTERM);
    ASSERT_EQ(gui->Wait(), 0) << GuiErr();
    EXPECT_EQ(Run({"--virtual", "102", "dpi", "800"}).exitCode, 0);  // the mouse is free again
    EXPECT_FALSE(TakeTrace().empty());
}

TEST_F(QuorvelProcessTest, ABadVirtualMouseIsReportedAndTheProgramEndsWithOne) {
    auto gui = Start("", {}, {{"QUORVEL_VIRTUAL", "999"}});
    // The message box waits for the user; a signal ends it like any other way out.
    ASSERT_EQ(Status(), StatusOf(gui->Pid(), true)) << GuiErr();
    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 1);
    EXPECT_NE(GuiErr().find("quorvel: bad virtual mouse spec \"999\""), std::string::npos) << GuiErr();
}

}  // namespace
}  // namespace quorvel
