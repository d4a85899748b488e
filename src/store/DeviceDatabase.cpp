#include "store/DeviceDatabase.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "store/Schema.h"

namespace quorvel {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

DeviceDatabase& DeviceDatabase::Instance() {
    // Function-local statics are initialised once even when two threads arrive together.
    static DeviceDatabase instance;
    return instance;
}

DeviceDatabase::~DeviceDatabase() {
    std::lock_guard lock(mutex_);
    if (opened_) SQLiteDB::Close();
    opened_ = false;
}

std::string DeviceDatabase::DatabasePath(std::string_view folder, std::string_view modelKey) {
    std::string path(folder);
    if (!path.empty() && path.back() != kSeparator && path.back() != '/') path += kSeparator;
    path += "db";
    path += kSeparator;
    path += modelKey;
    path += "_data.db";
    return path;
}

bool DeviceDatabase::OpenForDevice(std::string_view folder, std::string_view modelKey) {
    bool ok;
    {
        std::lock_guard lock(mutex_);
        ok = OpenForDeviceLocked(folder, modelKey);
    }
    DeliverDamaged();
    return ok;
}

bool DeviceDatabase::OpenForDeviceLocked(std::string_view folder, std::string_view modelKey) {
    std::string path = DatabasePath(folder, modelKey);
    // A connection to another model's file must not answer for this one.
    if (SQLiteDB::IsOpen() && path != path_) SQLiteDB::Close();
    path_ = std::move(path);
    bool ok;
    if (FileExists(path_)) {
        if (SQLiteDB::IsOpen()) {
            ok = true;
        } else {
            ok = SQLiteDB::Open(path_.c_str(), readOnly_ ? kOpenReadOnly : kOpenExisting);
            // SQLite opens any file; whether it is a database, and ours, shows when it is read.
            if (ok) {
                bool schemaMissing = false;
                const std::string damage = DamageReason(&schemaMissing);
                if (damage.empty()) {
                    // A file left empty (or made by an older version) gets what it lacks of the schema,
                    // so the profiles can be created in it.
                    if (schemaMissing && !readOnly_) ok = CreateSchema();
                } else if (readOnly_) {
                    ReportDamaged(damage);
                    SQLiteDB::Close();
                    ok = false;
                } else {
                    ok = SetAsideDamaged(damage);
                }
            }
        }
    } else {
        ok = !readOnly_ && CreateDatabase();
    }
    opened_ = ok;
    return ok;
}

bool DeviceDatabase::CreateDatabase() {
    std::lock_guard lock(mutex_);
    if (SQLiteDB::IsOpen()) return true;
    if (!SQLiteDB::Open(path_.c_str(), kOpenCreate)) return false;
    return CreateSchema();
}

bool DeviceDatabase::CreateSchema() {
    std::lock_guard lock(mutex_);
    bool all = true;
    for (std::string_view statement : kSchemaStatements) {
        if (SQLiteDB::Exec(std::string(statement).c_str()) != kSqliteOk) all = false;
    }
    for (std::string_view statement : kAddedSchemaStatements) {
        if (SQLiteDB::Exec(std::string(statement).c_str()) != kSqliteOk) all = false;
    }
    return all;
}

void DeviceDatabase::SetReadOnly(bool readOnly) {
    std::lock_guard lock(mutex_);
    readOnly_ = readOnly;
}

bool DeviceDatabase::ReadOnly() const {
    std::lock_guard lock(mutex_);
    return readOnly_;
}

void DeviceDatabase::DeleteDatabaseFile(std::string_view folder, std::string_view modelKey) {
    std::lock_guard lock(mutex_);
    std::string path = DatabasePath(folder, modelKey);
    ::unlink(path.c_str());
    // A journal left by an interrupted write would otherwise be replayed into the new file.
    ::unlink((path + "-journal").c_str());
}

bool DeviceDatabase::Close() {
    std::lock_guard lock(mutex_);
    return SQLiteDB::Close();
}

bool DeviceDatabase::IsOpen() const {
    std::lock_guard lock(mutex_);
    return SQLiteDB::IsOpen();
}

bool DeviceDatabase::IsOpened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

std::string DeviceDatabase::Path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void DeviceDatabase::CloseDevice() {
    std::lock_guard lock(mutex_);
    if (opened_) SQLiteDB::Close();
    opened_ = false;
}

bool DeviceDatabase::SwitchToDevice(std::string_view folder, std::string_view modelKey) {
    bool ok;
    {
        std::lock_guard lock(mutex_);
        CloseDevice();
        ok = OpenForDeviceLocked(folder, modelKey);
    }
    DeliverDamaged();
    return ok;
}

bool DeviceDatabase::RecreateDatabase(std::string_view folder, std::string_view modelKey) {
    std::lock_guard lock(mutex_);
    if (readOnly_) return false;  // the file belongs to the program that writes it
    CloseDevice();
    DeleteDatabaseFile(folder, modelKey);
    return OpenForDeviceLocked(folder, modelKey);
}

void DeviceDatabase::SetTraceHook(TraceHook hook) {
    std::lock_guard lock(mutex_);
    SQLiteDB::SetTraceHook(std::move(hook));
}

}  // namespace quorvel

namespace quorvel {

DeviceDatabase::Transaction::Transaction(DeviceDatabase& db, bool immediate) : db_(db), lock_(db.mutex_) {
    if (!db_.SQLiteDB::IsOpen()) return;
    if (db_.InTransaction()) {
        begun_ = true;  // joined an outer transaction
        return;
    }
    owner_ = true;
    begun_ = db_.Exec(immediate ? "BEGIN IMMEDIATE" : "BEGIN") == kSqliteOk;
}

DeviceDatabase::Transaction::~Transaction() {
    if (owner_ && begun_) db_.Exec("ROLLBACK");
}

bool DeviceDatabase::Transaction::Commit() {
    if (!begun_) return false;
    if (!owner_) return true;
    begun_ = false;
    if (db_.Exec("COMMIT") == kSqliteOk) return true;
    db_.Exec("ROLLBACK");
    return false;
}

}  // namespace quorvel
