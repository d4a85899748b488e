#pragma once
// Shared set-up of the file tests: a private folder with a fresh device database, fixture bytes, and a
// snapshot of everything the database holds so a test can tell exactly what an import changed.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "device/TaskSink.h"
#include "store/DeviceDatabase.h"
#include "store/LightDefaults.h"
#include "store/ProfileLoader.h"
#include "store/SettingsCatalogue.h"

namespace quorvel::testing {

inline std::string FixturePath(const std::string& name) { return std::string(QUORVEL_FIXTURE_DIR) + "/files/" + name; }

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Documents in the tests are written with '\n'; files carry CR LF.
inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-files-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class RecordingSink : public TaskSink {
public:
    uint64_t QueueTask(const DeviceTaskRequest& request) override {
        tasks.push_back(request.code);
        profiles.push_back(request.profile);
        return tasks.size();
    }
    std::vector<int> tasks;
    std::vector<int> profiles;  // the profile each request carries
};

// Everything a profile or macro import could touch, in comparable form.
struct DbSnapshot {
    std::vector<std::tuple<int, std::string, int>> profiles;  // number, name, status
    std::map<int, std::map<std::string, std::string>> settings;
    std::map<int, std::vector<std::tuple<int, int, int, int, int, std::string>>> keys;  // code, type, v, v2, v3, desc
    std::map<int, std::vector<std::vector<int>>> lights;  // all int fields in order
    std::map<int, std::vector<std::string>> lightNames;
    std::vector<std::tuple<int, std::string, int, int, int, int>> macros;
    std::map<int, std::vector<std::tuple<int, int, int, int, std::string>>> events;  // index, type, value, delay, desc

    bool operator==(const DbSnapshot&) const = default;
};

inline std::vector<int> LightFields(const LightModeRecord& r) {
    std::vector<int> v = {r.mode, r.brightness, r.speed, r.direction, r.colorful, r.colorindex};
    for (int c : r.color_value) v.push_back(c);
    v.push_back(r.config_func);
    v.push_back(r.reserved);
    v.push_back(r.status);
    return v;
}

inline DbSnapshot Snapshot(DeviceDatabase& db) {
    DbSnapshot s;
    std::vector<ProfileRecord> profiles;
    db.ListProfiles(profiles);
    for (const ProfileRecord& p : profiles) {
        s.profiles.emplace_back(p.profile, p.name, p.status);
        for (const SettingDefault& entry : kSettingsCatalogue) {
            std::string value;
            db.GetConfig(p.profile, entry.key, value);
            s.settings[p.profile][std::string(entry.key)] = value;
        }
        std::vector<KeyAssignmentRecord> keys;
        db.ListKeyAssignments(p.profile, keys);
        for (const KeyAssignmentRecord& k : keys)
            s.keys[p.profile].emplace_back(k.key_code, k.macro_type, k.macro_value, k.macro_value2, k.macro_value3,
                                           k.macro_desc);
        std::vector<LightModeRecord> lights;
        db.ListLightModes(p.profile, lights);
        for (const LightModeRecord& l : lights) {
            s.lights[p.profile].push_back(LightFields(l));
            s.lightNames[p.profile].push_back(l.name);
        }
    }
    std::vector<MacroRecord> macros;
    db.ListMacros(macros);
    for (const MacroRecord& m : macros) {
        s.macros.emplace_back(m.macro_id, m.name, m.play_type, m.play_times, m.delay_type, m.delay_time);
        std::vector<MacroEventRecord> events;
        db.ListMacroEvents(m.macro_id, events);
        for (const MacroEventRecord& e : events)
            s.events[m.macro_id].emplace_back(e.record_index, e.type, e.value, e.delay_time, e.desc);
    }
    return s;
}

// A device database in a private folder: four profiles "Profile 1".."Profile 4", profile 1 active, and the
// default lighting rows of all six zones in profiles 1 and 2.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        std::filesystem::create_directories(dir_.File("db"));
        ASSERT_TRUE(db_.OpenForDevice(dir_.path() + "/", "QuorvelR2"));
        ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
        const std::array<bool, 6> allZones = {true, true, true, true, true, true};
        ASSERT_EQ(AddDefaultLightModes(db_, 1, allZones), 6);
        ASSERT_EQ(AddDefaultLightModes(db_, 2, allZones), 6);
    }

    std::string File(const std::string& name) const { return dir_.File(name); }

    TempDir dir_;
    DeviceDatabase db_;
};

}  // namespace quorvel::testing
