// The protocol family of device_type 200: one rule for discovery, the commands and the pollers, so a model
// numbered 200 is opened, written and polled as the same family.

#include "DeviceMainFixture.h"
#include "device/Family.h"
#include "device/Notifications.h"

namespace quorvel::test {
namespace {

TEST(FamilyBoundary, FeatureFamilyFrom200) {
    const std::pair<int, Family> cases[] = {
        {101, Family::Report}, {199, Family::Report}, {200, Family::Feature}, {201, Family::Feature}};
    for (const auto& [type, family] : cases) {
        EXPECT_EQ(FamilyOf(type), family) << type;
        EXPECT_EQ(IsFeatureFamily(type), family == Family::Feature) << type;
    }
}

// The product's feature-family model renumbered 200.
void RenumberTo200(ProductConfig& config) {
    for (DeviceEntry& e : config.models)
        if (e.device_type == 201) e.device_type = 200;
    for (DeviceEntry& e : config.modes)
        if (e.device_type == 201) e.device_type = 200;
}

TEST(FamilyBoundary, Type200IsOpenedWrittenAndPolledAsOneFamily) {
    CoreFixture f("200:wired", RenumberTo200);
    f.Start();
    EXPECT_EQ(f.core->CurrentDeviceType(), 200);
    EXPECT_NE(f.manager->NotifyHandle(), nullptr) << "opened with its notification interface";

    f.Set("report_rate", "2");
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(Hex("0C 01 07 00 00 01 01 02"))});

    // The DPI button's report comes from the notification interface; the report-family poll leaves it.
    f.Mouse().SetDpiLevel(2);
    uint8_t buffer[kNotifyBufferSize] = {};
    int type = -1;
    EXPECT_FALSE(PollReportFamily(*f.manager, buffer, &type, [](int) {}));
    f.core->SetDpiLevelState(6, 0);
    f.core->HandleFeatureNotifications();
    EXPECT_EQ(f.core->Snapshot().dpiLevelSelected, 2);
    EXPECT_EQ(f.Get("dpi_index"), "2");
    EXPECT_TRUE(f.Mouse().Issues().empty());
}

}  // namespace
}  // namespace quorvel::test
