#pragma once
// The device state the pages show, and the narrow part of the device core the pages (src/actions) use:
// read the state, and set the few fields a page owns. Everything else of the core (commands, task
// switch, notifications, the worker) stays out of their reach.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "device/ModelFeatures.h"
#include "shell/DeviceDescriptor.h"
#include "shell/ProductConfig.h"

namespace quorvel {

// The shared device state, read as one copy.
struct DeviceState {
    int currentDeviceType = 0;
    std::string modelName;  // of the current model
    std::string modelKey;   // its device_attr: names the descriptor and the database
    int currentProfile = 1;
    int currentLightMode = 0;         // the mode the lighting page shows
    int currentKeySlot = 0;           // the button the button page shows
    int64_t featureWriteCounter = 0;  // sequence of the feature-family writes
    uint16_t sensorCode = 0;
    uint16_t firmwareVersion = 0;
    uint8_t linkFlag = 0;
    uint8_t batteryStatus = 0;
    uint8_t batteryLevel = 0;
    int dpiStep = 50;
    int maxDpi = 26000;
    int sliderPositions = 520;
    int reportRateEntry = 4;           // highest selectable report-rate entry
    std::string mouseFirmwareVersion;  // "%X%02X" from the mouse, through the receiver
    std::string receiverVersion;
    std::set<int> readDeviceTypes;  // configuration already read back in this run
    int dpiLevelCount = 0;
    int dpiLevelSelected = 0;
    bool devicePresent = false;  // discovery found device records; the worker polls while set
    bool connected = false;      // the selected device is reachable
    ModelState model;            // what the model loader keeps between models
    ModelFeatures features;      // what the current model has (battery, lights, power settings)
    std::map<int, ModelFeatures> modelFeatures;  // the same for every model of the product, by device type
};

// Any thread. The setters only change what the pages show and what the next request they make captures;
// a queued request carries its own inputs (DeviceTaskRequest).
class PageState {
public:
    virtual ~PageState() = default;

    virtual DeviceState Snapshot() const = 0;
    virtual int CurrentDeviceType() const = 0;
    virtual int CurrentProfile() const = 0;
    // The models of the product configuration.
    virtual std::vector<DeviceEntry> Models() const = 0;

    virtual void SetCurrentProfile(int profile) = 0;
    virtual void SetCurrentLightMode(int mode) = 0;
    virtual void SetCurrentKeySlot(int slot) = 0;
    virtual void SetDpiLevelState(int count, int selected) = 0;
    // The database was recreated: the next read-back reads the mouse again.
    virtual void ForgetReadDevices() = 0;
};

}  // namespace quorvel
