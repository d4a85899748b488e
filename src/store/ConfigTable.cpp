// Settings rows (t_configdata).
#include <climits>
#include <string>

#include "store/DbText.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"

namespace quorvel {

bool DeviceDatabase::GetConfig(int profile, std::string_view key, std::string& value) {
    std::lock_guard lock(mutex_);
    value.clear();
    std::string keyText = ToDbText(key);
    SQLiteStatement st;
    Prepare(st, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
    st.BindInt(1, profile);
    st.BindText(2, keyText);
    if (st.Step() != kSqliteRow) return false;
    value = FromDbText(st.ColumnText(0));
    return true;
}

bool DeviceDatabase::SetConfig(int profile, std::string_view key, std::string_view value) {
    std::lock_guard lock(mutex_);
    std::string valueText = ToDbText(value);
    std::string keyText = ToDbText(key);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
    st.BindText(1, valueText);
    st.BindInt(2, profile);
    st.BindText(3, keyText);
    return StepSucceeded(st.Step());
}

void DeviceDatabase::InsertDefaultConfig(int profile) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    for (const SettingDefault& row : kSettingsCatalogue) {
        std::string key(row.key);
        std::string value(row.value);
        Prepare(st, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
        st.BindInt(1, profile);
        st.BindText(2, key);
        st.BindText(3, value);
        st.Step();
    }
}

std::string DpiValueKey(int level) {
    return "dpi_group" + std::to_string(level) + "_value";
}
std::string DpiColorKey(int level) {
    return "dpi_group" + std::to_string(level) + "_rgb";
}

int SettingToInt(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    long long n = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) n = -n;
    if (n > INT_MAX) n = INT_MAX;
    return static_cast<int>(n);
}

}  // namespace quorvel
