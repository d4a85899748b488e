// Button assignments (t_key_macro_data).
#include <string>

#include "store/DbText.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

KeyAssignmentRecord ReadKeyAssignment(SQLiteStatement& st) {
    KeyAssignmentRecord r;
    r.key_id = st.ColumnInt(0);
    r.profile = st.ColumnInt(1);
    r.fn_layer = st.ColumnInt(2);
    r.key_code = st.ColumnInt(3);
    r.layout_value = st.ColumnInt(4);
    r.layout_desc = FromDbText(st.ColumnText(5));
    r.macro_type = st.ColumnInt(6);
    r.macro_value = st.ColumnInt(7);
    r.macro_value2 = st.ColumnInt(8);
    r.macro_value3 = st.ColumnInt(9);
    r.macro_desc = FromDbText(st.ColumnText(10));
    return r;
}

}  // namespace

int DeviceDatabase::SaveKeyAssignment(const KeyAssignmentRecord& record) {
    std::lock_guard lock(mutex_);
    std::string layoutDesc = ToDbText(record.layout_desc);
    std::string macroDesc = ToDbText(record.macro_desc);
    // The old row goes only together with the new one: a failed insert must not leave the button without
    // its function.
    Transaction transaction(*this);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    st.BindInt(1, record.profile);
    st.BindInt(2, record.fn_layer);
    st.BindInt(3, record.key_code);
    const bool deleted = StepSucceeded(st.Step());
    // A button back on its default function has no row.
    if (record.macro_value == 0 && record.macro_value2 == 0) {
        if (deleted) transaction.Commit();
        return 0;
    }
    Prepare(
        st,
        "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, macro_type, "
        "macro_value, macro_value2, macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    st.BindInt(1, record.profile);
    st.BindInt(2, record.fn_layer);
    st.BindInt(3, record.key_code);
    st.BindInt(4, record.layout_value);
    st.BindText(5, layoutDesc);
    st.BindInt(6, record.macro_type);
    st.BindInt(7, record.macro_value);
    st.BindInt(8, record.macro_value2);
    st.BindInt(9, record.macro_value3);
    st.BindText(10, macroDesc);
    if (!deleted || !StepSucceeded(st.Step())) return 0;
    const auto keyId = static_cast<int>(LastInsertRowId());
    return transaction.Commit() ? keyId : 0;
}

bool DeviceDatabase::GetKeyAssignment(int profile, int keyCode, KeyAssignmentRecord& record) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    st.BindInt(1, profile);
    st.BindInt(2, 0);
    st.BindInt(3, keyCode);
    if (st.Step() != kSqliteRow) return false;
    record = ReadKeyAssignment(st);
    return true;
}

bool DeviceDatabase::SetKeyDescription(int profile, int keyCode, std::string_view text) {
    std::lock_guard lock(mutex_);
    std::string desc = ToDbText(text);
    SQLiteStatement st;
    Prepare(st,
            "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and key_code = ?");
    st.BindText(1, desc);
    st.BindInt(2, profile);
    st.BindInt(3, 0);
    st.BindInt(4, keyCode);
    return StepSucceeded(st.Step());
}

int DeviceDatabase::ListKeyAssignments(int profile, std::vector<KeyAssignmentRecord>& list) {
    std::lock_guard lock(mutex_);
    list.clear();
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
    st.BindInt(1, profile);
    st.BindInt(2, 0);
    while (st.Step() == kSqliteRow) list.push_back(ReadKeyAssignment(st));
    return static_cast<int>(list.size());
}

bool DeviceDatabase::DeleteProfileKeyAssignments(int profile) {
    std::lock_guard lock(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_key_macro_data WHERE profile = ?");
    st.BindInt(1, profile);
    return StepSucceeded(st.Step());
}

}  // namespace quorvel
