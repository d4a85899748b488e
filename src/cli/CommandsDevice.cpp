// devices, show, read.

#include <cstdio>

#include "actions/FeatureActions.h"
#include "actions/PerformanceActions.h"
#include "cli/Commands.h"
#include "cli/ProfileReport.h"
#include "device/CommandsRead.h"
#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"

namespace quorvel::cli {

namespace {

std::string LinkText(uint32_t linkMode) { return linkMode == 1 ? "wireless" : "wired"; }

// What the record's info block says: a wireless mouse its receiver cannot reach answers the info request
// with link flag 0, and its battery values then mean nothing.
struct Reach {
    bool reachable = false;
    std::vector<int> rates;  // report rates the mouse offers (Hz)
};

Reach ReachOf(const HidDeviceSummary& r) {
    Reach reach;
    if (r.linkState != 1 || r.deviceType <= 0) return reach;
    const InfoBlock info = DecodeInfoBlock(FamilyOf(r.deviceType), r.info.data());
    reach.reachable = info.linkFlag != 0;
    if (reach.reachable) reach.rates = OfferedReportRates(info.reportRateEntry);
    return reach;
}

std::string StateText(int linkState, bool reachable) {
    switch (linkState) {
        case 1:
            return reachable ? "connected" : "not reachable";
        case 2: return "disconnected";
        default: return "not connected";
    }
}

std::string RatesText(const std::vector<int>& rates) {
    if (rates.empty()) return "-";
    std::string text;
    for (int hz : rates) text += (text.empty() ? "" : " ") + std::to_string(hz);
    return text;
}

// The battery of a record: only a model with a battery whose mouse answered has one to show.
std::optional<int> BatteryOf(const ModelFeatures& features, const HidDeviceSummary& r) {
    return ShownBatteryLevel(features, ReachOf(r).reachable, static_cast<int>(r.batteryLevel));
}

Json RecordJson(const DeviceEntry& model, const ModelFeatures& features, const HidDeviceSummary& r,
                bool selected) {
    const Reach reach = ReachOf(r);
    const std::optional<int> battery = BatteryOf(features, r);
    return {{"device_type", model.device_type},
            {"name", model.name},
            {"link_mode", r.linkMode},
            {"link", LinkText(r.linkMode)},
            {"link_state", r.linkState},
            {"state", StateText(r.linkState, reach.reachable)},
            {"reachable", reach.reachable},
            {"battery_level", battery ? Json(*battery) : Json(nullptr)},
            {"battery_status", battery ? Json(r.batteryStatus) : Json(nullptr)},
            {"features", FeaturesJson(features)},
            {"release", r.release},
            {"version", VersionText(r.release)},
            {"report_rates_hz", reach.rates.empty() ? Json(nullptr) : Json(reach.rates)},
            {"device_id", r.deviceId},
            {"vendor_id", r.vendorId},
            {"product_id", r.productId},
            {"path", r.path},
            {"selected", selected}};
}

Json AbsentJson(const DeviceEntry& model, const ModelFeatures& features) {
    return {{"device_type", model.device_type},
            {"name", model.name},
            {"link_mode", nullptr},
            {"link", nullptr},
            {"link_state", 0},
            {"state", "not found"},
            {"battery_level", nullptr},
            {"battery_status", nullptr},
            {"features", FeaturesJson(features)},
            {"release", nullptr},
            {"version", nullptr},
            {"reachable", false},
            {"report_rates_hz", nullptr},
            {"selected", false}};
}

}  // namespace

int RunDevices(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 0, 0, &exit)) return exit;
    if (int rc = inv.session.Open(Need::kDiscovery)) return rc;
    Session& s = inv.session;
    const std::vector<HidDeviceSummary> records = s.Core().Manager().Snapshot();
    const int selectedType = s.Core().CurrentDeviceType();
    // The record commands go to: wired before wireless, as the transport picks it.
    auto isTarget = [&](const HidDeviceSummary& r) {
        if (r.deviceType != selectedType) return false;
        for (const HidDeviceSummary& o : records) {
            if (o.deviceType == selectedType && o.linkMode == 0) return &o == &r;
        }
        for (const HidDeviceSummary& o : records) {
            if (o.deviceType == selectedType && o.linkMode == 1) return &o == &r;
        }
        return false;
    };

    Json list = Json::array();
    std::vector<std::vector<std::string>> table = {
        {"", "TYPE", "NAME", "LINK", "STATE", "BATTERY", "VERSION", "RATES (HZ)"}};
    for (const DeviceEntry& model : s.Product().models) {
        const ModelFeatures features = ReadModelFeatures(s.Context(), model.device_type);
        bool any = false;
        for (const HidDeviceSummary& r : records) {
            if (r.deviceType != model.device_type) continue;
            any = true;
            const bool target = isTarget(r);
            list.push_back(RecordJson(model, features, r, target));
            const Reach reach = ReachOf(r);
            const std::optional<int> battery = BatteryOf(features, r);
            table.push_back({target ? "*" : "", std::to_string(model.device_type), model.name,
                             LinkText(r.linkMode), StateText(r.linkState, reach.reachable),
                             battery ? std::to_string(*battery) + "%" : "-", VersionText(r.release),
                             RatesText(reach.rates)});
        }
        if (!any) {
            list.push_back(AbsentJson(model, features));
            table.push_back(
                {"", std::to_string(model.device_type), model.name, "-", "not found", "-", "-", "-"});
        }
    }
    if (s.JsonOutput()) PrintJson(list);
    else std::fputs(FormatTable(table).c_str(), stdout);
    return kExitOk;
}

int RunShow(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 0, 0, &exit)) return exit;
    if (int rc = inv.session.Open(Need::kStored)) return rc;
    PrintProfile(inv.session);
    return kExitOk;
}

int RunRead(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 0, 0, &exit)) return exit;
    // Discovery and read-back are the session's start (task 1); the mouse must have answered.
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    PrintProfile(inv.session);
    return kExitOk;
}

}  // namespace quorvel::cli
