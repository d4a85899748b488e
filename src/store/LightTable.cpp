// Lighting modes (t_light_data).
#include <string>

#include "store/DbText.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

LightModeRecord ReadLightMode(SQLiteStatement& st) {
    LightModeRecord r;
    r.light_id = st.ColumnInt(0);
    r.profile = st.ColumnInt(1);
    r.name = FromDbText(st.ColumnText(2));
    r.mode = st.ColumnInt(3);
    r.brightness = st.ColumnInt(4);
    r.speed = st.ColumnInt(5);
    r.direction = st.ColumnInt(6);
    r.colorful = st.ColumnInt(7);
    r.colorindex = st.ColumnInt(8);
    for (int i = 0; i < 7; ++i) r.color_value[i] = st.ColumnInt(9 + i);
    r.config_func = st.ColumnInt(16);
    r.reserved = st.ColumnInt(17);
    r.status = st.ColumnInt(18);
    return r;
}

}  // namespace

int DeviceDatabase::CountLightModes(int profile) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "select count(*) FROM t_light_data WHERE profile = ?");
    st.BindInt(1, profile);
    if (st.Step() != kSqliteRow) return 0;
    return st.ColumnInt(0);
}

int DeviceDatabase::AddLightMode(const LightModeRecord& record) {
    std::lock_guard lock(mutex_);
    std::string name = ToDbText(record.name);
    SQLiteStatement st;
    Prepare(
        st,
        "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, colorindex, "
        "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, color_value7, "
        "config_func, reserved, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    st.BindInt(1, record.profile);
    st.BindText(2, name);
    st.BindInt(3, record.mode);
    st.BindInt(4, record.brightness);
    st.BindInt(5, record.speed);
    st.BindInt(6, record.direction);
    st.BindInt(7, record.colorful);
    st.BindInt(8, record.colorindex);
    for (int i = 0; i < 7; ++i) st.BindInt(9 + i, record.color_value[i]);
    st.BindInt(16, record.config_func);
    st.BindInt(17, record.reserved);
    st.BindInt(18, record.status);
    if (!StepSucceeded(st.Step())) return 0;
    return static_cast<int>(LastInsertRowId());
}

bool DeviceDatabase::UpdateLightMode(int mode, const LightModeRecord& record) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(
        st,
        "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, "
        "color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, color_value5 = ?, "
        "color_value6 = ?, color_value7 = ?, config_func = ?, reserved = ? WHERE profile = ? and mode = ?");
    st.BindInt(1, record.brightness);
    st.BindInt(2, record.speed);
    st.BindInt(3, record.direction);
    st.BindInt(4, record.colorful);
    st.BindInt(5, record.colorindex);
    for (int i = 0; i < 7; ++i) st.BindInt(6 + i, record.color_value[i]);
    st.BindInt(13, record.config_func);
    st.BindInt(14, record.reserved);
    st.BindInt(15, record.profile);
    st.BindInt(16, mode);
    return StepSucceeded(st.Step());
}

bool DeviceDatabase::SetActiveLightMode(int profile, int mode) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_light_data SET status = ? WHERE profile = ?");
    st.BindInt(1, 0);
    st.BindInt(2, profile);
    st.Step();
    Prepare(st, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
    st.BindInt(1, 1);
    st.BindInt(2, profile);
    st.BindInt(3, mode);
    return StepSucceeded(st.Step());
}

int DeviceDatabase::GetActiveLightMode(int profile) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
    st.BindInt(1, profile);
    st.BindInt(2, 1);
    if (st.Step() != kSqliteRow) return 0;
    return st.ColumnInt(0);
}

bool DeviceDatabase::GetLightMode(int profile, int mode, LightModeRecord& record) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
    st.BindInt(1, profile);
    st.BindInt(2, mode);
    if (st.Step() != kSqliteRow) return false;
    record = ReadLightMode(st);
    return true;
}

int DeviceDatabase::ListLightModes(int profile, std::vector<LightModeRecord>& list) {
    std::lock_guard lock(mutex_);
    list.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_light_data WHERE profile = ?");
    st.BindInt(1, profile);
    while (st.Step() == kSqliteRow) list.push_back(ReadLightMode(st));
    return static_cast<int>(list.size());
}

}  // namespace quorvel
