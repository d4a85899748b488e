#pragma once
// A device core on the virtual mouse with its own data folders and a fresh database, without a running
// worker. Offline(): the model's database and profiles are loaded but the mouse is not read, so nothing of
// its sensor is known. Read(): discovery and read-back as at start. Texts come from a fake lookup
// ("T<id>") so that stored descriptions are checked exactly.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "actions/Actions.h"
#include "device/DeviceMainDef.h"
#include "device/Tasks.h"
#include "device/HidDeviceManager.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/ProductConfig.h"
#include "sim/VirtualBackend.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"

namespace quorvel::test {

using Rows = std::vector<std::pair<std::string, std::string>>;

inline std::string FakeText(int id) {
    return "T" + std::to_string(id);
}

class ActionsTest : public ::testing::Test {
protected:
    // specs: the virtual mice, e.g. "102:wired,sensor=4".
    void Make(const std::string& specs) {
        root_ = std::filesystem::temp_directory_path() /
                ("quorvel-actions-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(root_);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, (root_ / var).c_str(), 1);
        SetDeviceName("QuorvelActionsTest");
        SetProgramDir(QUORVEL_PRODUCT_DIR);
        SetCurrentLanguage(kLcidEnglish);
        ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config_));
        std::string error;
        auto backend = CreateVirtualBackend(specs, config_.modes, "", &error);
        ASSERT_TRUE(backend) << error;
        sim_ = backend.get();
        manager_ = std::make_unique<HidDeviceManager>(std::move(backend));
        manager_->SetSleep([](int) {});
        core_ = std::make_unique<DeviceMainDef>(*manager_, db_);
        core_->SetProduct(config_);
        core_->SetSleep([](int) {});
        core_->SetTraceHook([](const std::string&) {});
        ctx_ = std::make_unique<ActionContext>(db_, *core_, FakeText, kLcidEnglish);
    }

    // The model's data without reading the mouse.
    void Offline(int deviceType) {
        core_->LoadModel(deviceType);
        ASSERT_GT(core_->LoadProfiles(), 0);
    }
    // Discovery and read-back.
    void Read() {
        ASSERT_EQ(core_->ExecuteTask(DeviceTaskRequest(kTaskStart)).status, TaskStatus::Confirmed);
    }
    // The result's requests carried out in order on this thread, as the worker would.
    std::vector<TaskStatus> Execute(const ActionResult& result) {
        std::vector<TaskStatus> statuses;
        for (const DeviceTaskRequest& request : result.tasks)
            statuses.push_back(core_->ExecuteTask(request).status);
        return statuses;
    }

    void TearDown() override {
        ctx_.reset();
        core_.reset();
        manager_.reset();
        db_.Close();
        std::error_code ec;
        if (!root_.empty()) std::filesystem::remove_all(root_, ec);
    }

    ActionContext& ctx() { return *ctx_; }
    int Profile() { return core_->CurrentProfile(); }
    std::string Get(const std::string& key, int profile = 0) {
        std::string v;
        db_.GetConfig(profile != 0 ? profile : Profile(), key, v);
        return v;
    }
    void Set(const std::string& key, const std::string& value) { db_.SetConfig(Profile(), key, value); }
    // Every settings row of the current profile, to show that a refused action changed nothing.
    Rows AllSettings() {
        Rows rows;
        for (const SettingDefault& d : kSettingsCatalogue) rows.emplace_back(std::string(d.key), Get(std::string(d.key)));
        return rows;
    }
    std::filesystem::path Root() const { return root_; }

    ProductConfig config_;
    VirtualBackend* sim_ = nullptr;
    std::unique_ptr<HidDeviceManager> manager_;
    DeviceDatabase db_;
    std::unique_ptr<DeviceMainDef> core_;
    std::unique_ptr<ActionContext> ctx_;

private:
    static inline int counter_ = 0;
    std::filesystem::path root_;
};

inline std::vector<int> TaskCodes(const ActionResult& result) {
    std::vector<int> codes;
    for (const DeviceTaskRequest& request : result.tasks) codes.push_back(request.code);
    return codes;
}

// Expect an accepted result with requests of these task codes.
#define EXPECT_ACCEPTED(result, ...)                               \
    do {                                                           \
        const ActionResult& r_ = (result);                         \
        EXPECT_TRUE(r_.ok) << r_.message;                          \
        EXPECT_EQ(TaskCodes(r_), (std::vector<int>{__VA_ARGS__})); \
    } while (0)

// Expect a refusal whose message contains `part`.
#define EXPECT_REFUSED(result, part)                                          \
    do {                                                                      \
        const ActionResult& r_ = (result);                                    \
        EXPECT_FALSE(r_.ok);                                                  \
        EXPECT_TRUE(r_.tasks.empty());                                        \
        EXPECT_NE(r_.message.find(part), std::string::npos) << r_.message;    \
    } while (0)

}  // namespace quorvel::test
