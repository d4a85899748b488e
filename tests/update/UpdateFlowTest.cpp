// Version checks (tasks 24 and 25) against the loopback server, and the version labels.

#include <gmock/gmock.h>

#include "update/UpdateFlowFixture.h"
#include "update/VersionLabels.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct CheckCase {
    const char* name;
    HttpAnswer answer;
    bool ok;
    const char* newest;
    bool newer;
    const char* error;  // part of the message when !ok
};

// Runs one check per case and compares its result and what it showed.
void ExpectChecks(DeviceMainDef& core, UpdateView& view, TestHttpServer& server, UpdateFlow& flow,
                  DeviceTask task, const std::string& path, const std::string& current,
                  const std::vector<CheckCase>& cases) {
    const bool software = task == kTaskCheckSoftware;
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.Answer(path, c.answer);
        view.Clear();
        const TaskStatus status =
            core.Worker().QueueTaskAndWait(DeviceTaskRequest(task), std::chrono::seconds(30)).status;
        EXPECT_EQ(status, c.ok ? TaskStatus::Confirmed : TaskStatus::Failed);
        const VersionCheck check = software ? flow.SoftwareCheck() : flow.FirmwareCheck();
        EXPECT_EQ(check.ok, c.ok);
        EXPECT_EQ(check.current, current);
        EXPECT_EQ(check.newest, c.newest);
        EXPECT_EQ(check.newer, c.newer);
        if (!c.ok) {
            EXPECT_THAT(check.error, HasSubstr(c.error));
            EXPECT_THAT(view.Events(), IsEmpty()) << "a failed check shows nothing";
            continue;
        }
        EXPECT_EQ(check.error, "");
        const std::string label = c.newer ? std::string("New version: v") + c.newest : "Already up to date";
        EXPECT_THAT(view.Events(), ElementsAre((software ? "software label " : "firmware label ") + label,
                                               std::string("offer ") + (software ? "1" : "2") +
                                                   (c.newer ? " newer " : " not newer ") + c.newest));
    }
    // The version text lies at the configured address with nothing added.
    for (const std::string& request : server.Requests())
        EXPECT_EQ(request.rfind("GET " + path + " HTTP/1.1\r\n", 0), 0u) << request;
}

TEST_F(UpdateFlowTest, SoftwareCheckAgainstTheServer) {
    Start("102:wired");
    // The installed version is 1.0.0 (config.xml).
    ExpectChecks(*core, view, server, *flow, kTaskCheckSoftware, "/software/version", "1.0.0",
                 {
                     {"newer", Reply(200, "1.0.1"), true, "1.0.1", true, ""},
                     {"newer with CR LF", Reply(200, "1.0.1\r\n"), true, "1.0.1", true, ""},
                     {"same with LF", Reply(200, "1.0.0\n"), true, "1.0.0", false, ""},
                     {"older", Reply(200, "0.9.12"), true, "0.9.12", false, ""},
                     {"fewer parts", Reply(200, "1.0"), true, "1.0", true, ""},
                     {"10 characters", Reply(200, "1.0.0.0001"), true, "1.0.0.0001", true, ""},
                     {"11 characters", Reply(200, "1.0.0.00001"), false, "", false, "longer than 10"},
                     {"empty", Reply(200, ""), false, "", false, "empty"},
                     {"error page", Reply(404, "<html>not here</html>"), false, "", false, "HTTP status 404"},
                 });
}

TEST_F(UpdateFlowTest, FirmwareCheckComparesTheMouseVersion) {
    Start("102:wired");  // release 0x0105: firmware "105"
    ExpectChecks(*core, view, server, *flow, kTaskCheckFirmware, "/firmware/QuorvelR2/mouse/version", "105",
                 {
                     {"newer", Reply(200, "106\n"), true, "106", true, ""},
                     {"equal", Reply(200, "105"), true, "105", false, ""},
                     {"older", Reply(200, "104"), true, "104", false, ""},
                     {"9 characters", Reply(200, "123456789"), true, "123456789", true, ""},
                     {"10 characters", Reply(200, "1234567890"), false, "", false, "longer than 9"},
                     {"line end inside", Reply(200, "10\n6"), false, "", false, "\"10?6\""},
                     {"error page", Reply(404, "no"), false, "", false, "HTTP status 404"},
                 });
}

TEST_F(UpdateFlowTest, FailedCheckForgetsTheVersionOfTheLastOne) {
    Start("102:wired");
    server.Answer("/software/version", Reply(200, "1.0.1"));
    server.Answer("/firmware/QuorvelR2/mouse/version", Reply(200, "106"));
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    server.Answer("/software/version", Reply(500, "down"));
    server.Answer("/firmware/QuorvelR2/mouse/version", Reply(500, "down"));
    EXPECT_EQ(Run(kTaskCheckSoftware), TaskStatus::Failed);
    EXPECT_EQ(Run(kTaskCheckFirmware), TaskStatus::Failed);

    // An installation takes only what the last check accepted: nothing is downloaded now.
    EXPECT_EQ(Run(kTaskInstallSoftware), TaskStatus::Failed);
    EXPECT_THAT(flow->SoftwareInstall().error, HasSubstr("check for updates first"));
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_THAT(flow->FirmwareInstall().error, HasSubstr("check for firmware first"));
    EXPECT_EQ(server.Requests().size(), 4u);
}

TEST_F(UpdateFlowTest, WirelessMouseComparesTheVersionReadThroughTheReceiver) {
    Start("103:wireless,release=0x0107");
    const VersionLabels labels = CurrentVersionLabels(*core);
    EXPECT_EQ(labels.receiver, "Receiver Firmware: 1.07");
    EXPECT_FALSE(labels.firmwareCheckEnabled);
    server.Answer("/firmware/QuorvelR3/mouse/version", Reply(200, "108"));
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    EXPECT_EQ(flow->FirmwareCheck().current, "107");
    EXPECT_TRUE(flow->FirmwareCheck().newer);
}

TEST_F(UpdateFlowTest, VersionLabelsByLinkKind) {
    struct Case {
        int linkKind;
        uint32_t release;
        const char* mouse;
        const char* receiver;
        const char* firmwareResult;
        const char* receiverResult;
        bool firmwareButton, receiverButton;
        const char* mouseVersion;
        const char* receiverVersion;
    };
    const Case cases[] = {
        {0, 0x0105, "Mouse Firmware: 1.05", "Receiver Firmware", "Already up to date", "", true, false, "105",
         ""},
        {0, 0x1234, "Mouse Firmware: 1.34", "Receiver Firmware", "Already up to date", "", true, false,
         "1234", ""},
        {-1, 0, "Mouse Firmware: 0.0", "Receiver Firmware", "Already up to date", "", true, false, "0", ""},
        {1, 0x0210, "Mouse Firmware", "Receiver Firmware: 2.10", "", "Already up to date", false, true, "",
         "210"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouse);
        const VersionLabels l = MakeVersionLabels(c.linkKind, c.release);
        EXPECT_EQ(l.mouseFirmware, c.mouse);
        EXPECT_EQ(l.receiver, c.receiver);
        EXPECT_EQ(l.firmwareResult, c.firmwareResult);
        EXPECT_EQ(l.receiverResult, c.receiverResult);
        EXPECT_EQ(l.firmwareCheckEnabled, c.firmwareButton);
        EXPECT_EQ(l.receiverCheckEnabled, c.receiverButton);
        EXPECT_EQ(l.mouseFirmwareVersion, c.mouseVersion);
        EXPECT_EQ(l.receiverVersion, c.receiverVersion);
    }
}

}  // namespace
}  // namespace quorvel::test
