// The applications of a profile (t_profile_data.app).
#include <string>

#include "store/DbText.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

bool DeviceDatabase::GetProfileApps(int profile, std::string& apps) {
    std::lock_guard lock(mutex_);
    apps.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT app FROM t_profile_data WHERE profile = ?");
    st.BindInt(1, profile);
    if (st.Step() != kSqliteRow) return false;
    apps = FromDbText(st.ColumnText(0));
    return true;
}

bool DeviceDatabase::SetProfileApps(int profile, std::string_view apps) {
    std::lock_guard lock(mutex_);
    std::string text = ToDbText(apps);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_profile_data SET app = ? WHERE profile = ?");
    st.BindText(1, text);
    st.BindInt(2, profile);
    return StepSucceeded(st.Step());
}

}  // namespace quorvel
