#pragma once
// The update flow on a device core with the virtual mouse, against the loopback HTTP server. The product
// files are a copy of the sample product whose update addresses point at that server; the data folder,
// preferences and database live in a scratch folder.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"
#include "device/Tasks.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/ProductConfig.h"
#include "sim/VirtualBackend.h"
#include "store/DeviceDatabase.h"
#include "update/TestFiles.h"
#include "update/TestHttpServer.h"
#include "update/UpdateFlow.h"
#include "update/UpdateServerFixture.h"

namespace quorvel::test {

// What the flow and the core showed, one line per call.
struct UpdateView : DeviceView {
    std::mutex mutex;
    std::vector<std::string> events;
    std::vector<int> downloads;

    void Add(std::string line) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(std::move(line));
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> lock(mutex);
        return events;
    }
    std::vector<int> Downloads() {
        std::lock_guard<std::mutex> lock(mutex);
        return downloads;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex);
        events.clear();
        downloads.clear();
    }
    // Firmware steps and the end of the task, without the per-packet progress of the transfer itself.
    std::vector<std::string> Steps() {
        std::vector<std::string> steps;
        for (const std::string& e : Events())
            if (e.rfind("step ", 0) == 0 || e == "end") steps.push_back(e);
        return steps;
    }

    void SetSoftwareCheckLabel(const std::string& text) override { Add("software label " + text); }
    void SetFirmwareCheckLabel(const std::string& text) override { Add("firmware label " + text); }
    void OfferUpdate(int kind, bool newer, const std::string& newest) override {
        Add("offer " + std::to_string(kind) + (newer ? " newer " : " not newer ") + newest);
    }
    void SetDownloadProgress(int percent) override {
        std::lock_guard<std::mutex> lock(mutex);
        downloads.push_back(percent);
    }
    void SetFirmwareProgress(int percent, const std::string& text) override {
        // The transfer's own progress lines start with text 592.
        if (text.rfind("Upgrading firmware", 0) == 0)
            Add("packet " + std::to_string(percent));
        else
            Add("step " + text);
    }
    void EndFirmwareProgress() override { Add("end"); }
    void InstallerStarted(const std::string& path) override { Add("installer " + path); }
    void UpdateFailed(int kind, const std::string& reason) override {
        Add("failed " + std::to_string(kind) + " " + reason);
    }
};

class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        BypassProxies();
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, (scratch_ / var).c_str(), 1);
        SetDeviceName("QuorvelUpdateTest");
        product_ = CopyProductFor(server, scratch_.Path());
        SetProgramDir(product_);
        SetCurrentLanguage(kLcidEnglish);
        ASSERT_TRUE(ReadProductConfig(product_, "", &config_));
    }

    void TearDown() override {
        if (core) core->Worker().StopWorker(std::chrono::seconds(10));
        flow.reset();
        core.reset();
        manager.reset();
        db.Close();
    }

    // A device core on these virtual mice ("102:wired"), discovery done, the flow registered and the
    // worker running.
    void Start(const std::string& specs) {
        std::string error;
        auto backend = CreateVirtualBackend(specs, config_.modes, "", &error);
        ASSERT_TRUE(backend) << error;
        sim = backend.get();
        manager = std::make_unique<HidDeviceManager>(std::move(backend));
        manager->SetSleep([](int) {});
        core = std::make_unique<DeviceMainDef>(*manager, db);
        core->SetProduct(config_);
        core->SetSleep([](int) {});
        core->SetTraceHook([](const std::string&) {});
        core->SetView(&view);
        flow = std::make_unique<UpdateFlow>(*core, SettingsFromProduct(config_));
        flow->Client().SetLimits(QuickLimits());
        flow->SetView(&view);
        flow->Register();
        core->ExecuteTask(DeviceTaskRequest(kTaskStart));
        view.Clear();
        ASSERT_TRUE(core->Worker().StartThread());
    }

    TaskStatus Run(DeviceTask task) {
        return core->Worker().QueueTaskAndWait(DeviceTaskRequest(task), std::chrono::seconds(30)).status;
    }

    // "<data folder>/temp/"
    std::string Work() const { return DataFolder() + "temp/"; }
    // The product folder's update-keys file (read by each task).
    std::string KeysFile() const { return product_ + "update-keys"; }

    // A ZIP archive of these (name, bytes) entries, made by Info-ZIP; stored (not deflated) on request.
    std::string Zip(const std::vector<std::pair<std::string, std::string>>& entries, bool stored = false) {
        return MakeZip(scratch_, entries, stored);
    }

    TestHttpServer server;
    ScratchDir scratch_;
    UpdateView view;
    DeviceDatabase db;
    VirtualBackend* sim = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    std::unique_ptr<DeviceMainDef> core;
    std::unique_ptr<UpdateFlow> flow;

private:
    std::string product_;
    ProductConfig config_;
};

}  // namespace quorvel::test
