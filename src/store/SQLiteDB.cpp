#include "store/SQLiteDB.h"

#include <sqlite3.h>

#include <cstring>

namespace quorvel {

SQLiteDB::~SQLiteDB() {
    if (handle_ != nullptr) {
        sqlite3_interrupt(handle_);
        if (sqlite3_close(handle_) == SQLITE_OK) handle_ = nullptr;
    }
}

bool SQLiteDB::Open(const char* path, int flags) {
    if (handle_ != nullptr) {
        sqlite3_interrupt(handle_);
        if (sqlite3_close(handle_) == SQLITE_OK) handle_ = nullptr;
    }
    if (path == nullptr) return false;
    // A connection we could not close is dropped rather than leaked into the new one's place.
    if (handle_ != nullptr) {
        sqlite3_close_v2(handle_);
        handle_ = nullptr;
    }
    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(path, &opened, flags, nullptr) != SQLITE_OK) {
        if (opened != nullptr) sqlite3_close(opened);
        return false;
    }
    handle_ = opened;
    InstallTrace();
    sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
    sqlite3_exec(handle_, "PRAGMA synchronous = OFF; ", nullptr, nullptr, nullptr);
    return true;
}

bool SQLiteDB::Close() {
    if (handle_ == nullptr) return true;
    if (sqlite3_close(handle_) != SQLITE_OK) return false;
    handle_ = nullptr;
    return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.Finalize();
    if (handle_ == nullptr || sql == nullptr) return kSqliteMisuse;
    if (length < 0) length = static_cast<int>(std::strlen(sql)) + 1;
    return sqlite3_prepare_v2(handle_, sql, length, &statement.handle_, nullptr);
}

int SQLiteDB::Exec(const char* sql, int (*callback)(void*, int, char**, char**), void* context) {
    if (handle_ == nullptr || sql == nullptr) return kSqliteMisuse;
    return sqlite3_exec(handle_, sql, callback, context, nullptr);
}

bool SQLiteDB::InTransaction() const {
    return handle_ != nullptr && sqlite3_get_autocommit(handle_) == 0;
}

int64_t SQLiteDB::LastInsertRowId() const {
    if (handle_ == nullptr) return -1;
    return sqlite3_last_insert_rowid(handle_);
}

std::string SQLiteDB::ErrorText(int code) {
    const char* text = sqlite3_errstr(code);
    return text != nullptr ? text : "error " + std::to_string(code);
}

void SQLiteDB::SetTraceHook(TraceHook hook) {
    trace_ = std::move(hook);
    InstallTrace();
}

void SQLiteDB::InstallTrace() {
    if (handle_ == nullptr) return;
    if (!trace_) {
        sqlite3_trace_v2(handle_, 0, nullptr, nullptr);
        return;
    }
    auto callback = [](unsigned, void* context, void* p, void* x) -> int {
        auto* self = static_cast<SQLiteDB*>(context);
        if (!self->trace_) return 0;
        auto* stmt = static_cast<sqlite3_stmt*>(p);
        const char* text = sqlite3_sql(stmt);
        std::string sql = text != nullptr ? text : static_cast<const char*>(x);
        std::string expanded;
        if (char* e = sqlite3_expanded_sql(stmt)) {
            expanded = e;
            sqlite3_free(e);
        }
        self->trace_(sql, expanded);
        return 0;
    };
    sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, callback, this);
}

SQLiteStatement::~SQLiteStatement() {
    Finalize();
}

int SQLiteStatement::Finalize() {
    if (handle_ == nullptr) return SQLITE_OK;
    int rc = sqlite3_finalize(handle_);
    // sqlite3_finalize releases the statement whatever it returns (the code repeats the last step's
    // error), so the handle must not be kept or finalised twice.
    handle_ = nullptr;
    return rc;
}

int SQLiteStatement::BindInt(int index, int value) {
    if (handle_ == nullptr) return kSqliteMisuse;
    return sqlite3_bind_int(handle_, index, value);
}

int SQLiteStatement::BindText(int index, const char* text, int length) {
    if (handle_ == nullptr) return kSqliteMisuse;
    return sqlite3_bind_text(handle_, index, text, length, SQLITE_STATIC);
}

int SQLiteStatement::Step() {
    if (handle_ == nullptr) return kSqliteMisuse;
    return sqlite3_step(handle_);
}

int SQLiteStatement::ColumnInt(int column) {
    if (handle_ == nullptr) return 0;
    return sqlite3_column_int(handle_, column);
}

const char* SQLiteStatement::ColumnText(int column) {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
}

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : db_(db) {
    if (db_ == nullptr) return;
    if (db_->InTransaction()) {
        joined_ = true;  // the open transaction decides what is kept
        return;
    }
    if (db_->IsOpen()) db_->Exec("BEGIN");
    active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (active_ && db_ != nullptr) db_->Exec("END");
}

bool SQLiteAutoTransaction::Begin() {
    if (db_ == nullptr || active_ || joined_) return false;
    int rc = db_->Exec("BEGIN");
    active_ = true;
    return rc == SQLITE_OK;
}

bool SQLiteAutoTransaction::End() {
    if (joined_) return true;
    if (db_ == nullptr) return false;
    int rc = db_->Exec("END");
    active_ = false;
    return rc == SQLITE_OK;
}

}  // namespace quorvel
