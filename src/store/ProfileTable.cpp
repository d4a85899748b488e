// Profiles (t_profile_data).
#include <string>

#include "store/DbText.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

int DeviceDatabase::AddProfile(const ProfileRecord& record) {
    std::lock_guard lock(mutex_);
    std::string name = ToDbText(record.name);
    std::string app = ToDbText(record.app);
    SQLiteStatement st;
    Prepare(st, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
    st.BindText(1, name);
    st.BindInt(2, 0);
    st.BindText(3, app);
    st.BindInt(4, 0);
    if (!StepSucceeded(st.Step())) return 0;
    auto profile = static_cast<int>(LastInsertRowId());
    // Still under the lock, so no one sees the profile without its settings.
    InsertDefaultConfig(profile);
    return profile;
}

bool DeviceDatabase::RenameProfile(int profile, std::string_view name) {
    std::lock_guard lock(mutex_);
    std::string nameText = ToDbText(name);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_profile_data SET name = ? WHERE profile = ?");
    st.BindText(1, nameText);
    st.BindInt(2, profile);
    return StepSucceeded(st.Step());
}

bool DeviceDatabase::GetProfileName(int profile, std::string& name) {
    std::lock_guard lock(mutex_);
    name.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT name FROM t_profile_data WHERE profile = ?");
    st.BindInt(1, profile);
    if (st.Step() != kSqliteRow) return false;
    name = FromDbText(st.ColumnText(0));
    return true;
}

int DeviceDatabase::ListProfiles(std::vector<ProfileRecord>& list) {
    std::lock_guard lock(mutex_);
    list.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_profile_data");
    while (st.Step() == kSqliteRow) {
        ProfileRecord r;
        r.profile = st.ColumnInt(0);
        r.name = FromDbText(st.ColumnText(1));
        r.status = st.ColumnInt(2);
        r.app = FromDbText(st.ColumnText(3));
        r.type = st.ColumnInt(4);
        list.push_back(std::move(r));
    }
    return static_cast<int>(list.size());
}

bool DeviceDatabase::SetActiveProfile(int profile) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_profile_data SET status = ?");
    st.BindInt(1, 0);
    st.Step();
    Prepare(st, "UPDATE t_profile_data SET status = ? WHERE profile = ?");
    st.BindInt(1, 1);
    st.BindInt(2, profile);
    return StepSucceeded(st.Step());
}

int DeviceDatabase::GetActiveProfile() {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT profile FROM t_profile_data WHERE status = ?");
    st.BindInt(1, 1);
    if (st.Step() != kSqliteRow) return 0;
    return st.ColumnInt(0);
}

}  // namespace quorvel
