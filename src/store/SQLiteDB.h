#pragma once
// Thin object layer over SQLite 3: a connection, a prepared statement and a scoped transaction.
// Results are SQLite's own codes; 21 (SQLITE_MISUSE) stands for "no connection" or "no statement".

#include <cstdint>
#include <functional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace quorvel {

inline constexpr int kSqliteOk = 0;
inline constexpr int kSqliteMisuse = 21;
inline constexpr int kSqliteRow = 100;
inline constexpr int kSqliteDone = 101;

// Open flags used for the device files: read-write | full-mutex, and the same with create.
inline constexpr int kOpenExisting = 0x10002;
inline constexpr int kOpenCreate = 0x10006;
// Read-only | full-mutex: a reader beside the program that writes the file.
inline constexpr int kOpenReadOnly = 0x10001;

// How long a statement waits for another process's lock on the file (the GUI and quorvelctl may open
// the same database) before it gives up with SQLITE_BUSY.
inline constexpr int kBusyTimeoutMs = 5000;

class SQLiteStatement;

class SQLiteDB {
public:
    // Sees every statement SQLite runs on this connection: its text, and the text with the bound values.
    using TraceHook = std::function<void(const std::string& sql, const std::string& expanded)>;

    SQLiteDB() = default;
    virtual ~SQLiteDB();
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;

    // Closes any open connection first; a failed open leaves the object closed.
    bool Open(const char* path, int flags);
    // False only when SQLite refused to close; the connection then stays open.
    bool Close();
    bool IsOpen() const { return handle_ != nullptr; }
    // length < 0: the whole text including its terminating zero.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
    int Exec(const char* sql, int (*callback)(void*, int, char**, char**) = nullptr, void* context = nullptr);
    // -1 when no connection is open.
    int64_t LastInsertRowId() const;
    // True while a transaction is open on the connection (SQLite is not in autocommit mode).
    bool InTransaction() const;

    // SQLite's English words for a result code ("file is not a database").
    static std::string ErrorText(int code);

    // Installed on the current connection and on every later one; an empty hook removes it.
    void SetTraceHook(TraceHook hook);

private:
    void InstallTrace();

    sqlite3* handle_ = nullptr;
    TraceHook trace_;
};

class SQLiteStatement {
public:
    SQLiteStatement() = default;
    virtual ~SQLiteStatement();
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;

    int BindInt(int index, int value);
    // No copy is made: the bytes must stay alive until the statement has been stepped.
    int BindText(int index, const char* text, int length);
    int BindText(int index, const std::string& text) {
        return BindText(index, text.c_str(), static_cast<int>(text.size()));
    }
    int Step();
    int ColumnInt(int column);
    // Null when there is no statement or the column is NULL.
    const char* ColumnText(int column);
    bool IsPrepared() const { return handle_ != nullptr; }

private:
    friend class SQLiteDB;
    // Finalises what is held; the handle is kept when finalising reports an error.
    int Finalize();

    sqlite3_stmt* handle_ = nullptr;
};

// "BEGIN" on construction, "END" on destruction. There is no rollback: what ran inside is committed.
// Inside a transaction that is already open it does nothing, so the outer one decides what is kept.
class SQLiteAutoTransaction {
public:
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    virtual ~SQLiteAutoTransaction();
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    bool Begin();
    bool End();
    bool IsActive() const { return active_; }

private:
    SQLiteDB* db_ = nullptr;
    bool active_ = false;
    bool joined_ = false;
};

}  // namespace quorvel
