// Macros (t_macro_data) and their recorded events (t_macrorecord).
#include <string>

#include "store/DbText.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, ?, ?, ?);";

MacroRecord ReadMacro(SQLiteStatement& st) {
    MacroRecord r;
    r.macro_id = st.ColumnInt(0);
    r.name = FromDbText(st.ColumnText(1));
    r.play_type = st.ColumnInt(2);
    r.play_times = st.ColumnInt(3);
    r.delay_type = st.ColumnInt(4);
    r.delay_time = st.ColumnInt(5);
    return r;
}

MacroEventRecord ReadMacroEvent(SQLiteStatement& st) {
    MacroEventRecord r;
    r.record_id = st.ColumnInt(0);
    r.macro_id = st.ColumnInt(1);
    r.type = st.ColumnInt(2);
    r.record_index = st.ColumnInt(3);
    r.desc = FromDbText(st.ColumnText(4));
    r.value = st.ColumnInt(5);
    r.delay_time = st.ColumnInt(6);
    return r;
}

}  // namespace

int DeviceDatabase::AddMacro(std::string_view name) {
    MacroRecord record;
    record.name = std::string(name);
    record.play_type = 0;
    record.play_times = 1;
    record.delay_type = 1;
    record.delay_time = 0;
    return AddMacroWithSettings(record);
}

int DeviceDatabase::AddMacroWithSettings(const MacroRecord& record) {
    std::lock_guard lock(mutex_);
    std::string name = ToDbText(record.name);
    SQLiteStatement st;
    Prepare(st, kInsertMacro);
    st.BindText(1, name);
    st.BindInt(2, record.play_type);
    st.BindInt(3, record.play_times);
    st.BindInt(4, record.delay_type);
    st.BindInt(5, record.delay_time);
    if (!StepSucceeded(st.Step())) return 0;
    return static_cast<int>(LastInsertRowId());
}

bool DeviceDatabase::RenameMacro(int macroId, std::string_view name) {
    std::lock_guard lock(mutex_);
    std::string nameText = ToDbText(name);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?");
    st.BindText(1, nameText);
    st.BindInt(2, macroId);
    return StepSucceeded(st.Step());
}

bool DeviceDatabase::UpdateMacro(int macroId, const MacroRecord& record) {
    std::lock_guard lock(mutex_);
    std::string name = ToDbText(record.name);
    SQLiteStatement st;
    Prepare(st,
            "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,delay_time = ? "
            "WHERE macro_id = ?");
    st.BindText(1, name);
    st.BindInt(2, record.play_type);
    st.BindInt(3, record.play_times);
    st.BindInt(4, record.delay_type);
    st.BindInt(5, record.delay_time);
    st.BindInt(6, macroId);
    return StepSucceeded(st.Step());
}

bool DeviceDatabase::DeleteMacro(int macroId) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_macro_data WHERE macro_id = ?");
    st.BindInt(1, macroId);
    if (!StepSucceeded(st.Step())) return false;
    Prepare(st, "DELETE FROM t_macrorecord WHERE macro_id = ?");
    st.BindInt(1, macroId);
    return StepSucceeded(st.Step());
}

bool DeviceDatabase::GetMacro(int macroId, MacroRecord& record) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_macro_data WHERE macro_id = ?");
    st.BindInt(1, macroId);
    if (st.Step() != kSqliteRow) return false;
    record = ReadMacro(st);
    return true;
}

int DeviceDatabase::ListMacros(std::vector<MacroRecord>& list) {
    std::lock_guard lock(mutex_);
    list.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_macro_data");
    while (st.Step() == kSqliteRow) list.push_back(ReadMacro(st));
    return static_cast<int>(list.size());
}

int DeviceDatabase::InsertMacroEventLocked(const MacroEventRecord& record) {
    std::string desc = ToDbText(record.desc);
    SQLiteStatement st;
    Prepare(st,
            "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
            "VALUES (?, ?, ?, ?, ?, ?);");
    st.BindInt(1, record.macro_id);
    st.BindInt(2, record.type);
    st.BindInt(3, record.record_index);
    st.BindText(4, desc);
    st.BindInt(5, record.value);
    st.BindInt(6, record.delay_time);
    if (!StepSucceeded(st.Step())) return 0;
    return static_cast<int>(LastInsertRowId());
}

int DeviceDatabase::AddMacroEvent(const MacroEventRecord& record) {
    std::lock_guard lock(mutex_);
    return InsertMacroEventLocked(record);
}

void DeviceDatabase::AddMacroEvents(const std::vector<MacroEventRecord>& events) {
    std::lock_guard lock(mutex_);
    SQLiteAutoTransaction transaction(this);
    for (const MacroEventRecord& event : events) InsertMacroEventLocked(event);
    transaction.End();
}

int DeviceDatabase::ListMacroEvents(int macroId, std::vector<MacroEventRecord>& list) {
    std::lock_guard lock(mutex_);
    list.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
    st.BindInt(1, macroId);
    while (st.Step() == kSqliteRow) list.push_back(ReadMacroEvent(st));
    return static_cast<int>(list.size());
}

bool DeviceDatabase::DeleteMacroEvents(int macroId) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_macrorecord WHERE macro_id = ?");
    st.BindInt(1, macroId);
    return StepSucceeded(st.Step());
}

}  // namespace quorvel

namespace quorvel {

bool DeviceDatabase::AddPendingMacro(int keyCode) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "INSERT OR IGNORE INTO t_pending_macro(key_code) VALUES (?)");
    st.BindInt(1, keyCode);
    return StepSucceeded(st.Step());
}

bool DeviceDatabase::RemovePendingMacro(int keyCode) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_pending_macro WHERE key_code = ?");
    st.BindInt(1, keyCode);
    return StepSucceeded(st.Step());
}

std::vector<int> DeviceDatabase::ListPendingMacros() {
    std::lock_guard lock(mutex_);
    std::vector<int> slots;
    SQLiteStatement st;
    Prepare(st, "SELECT key_code FROM t_pending_macro ORDER BY key_code");
    while (st.Step() == kSqliteRow) slots.push_back(st.ColumnInt(0));
    return slots;
}

}  // namespace quorvel
