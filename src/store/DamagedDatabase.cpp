// A device's database file that SQLite calls damaged: kept aside under a dated name, never deleted, and a
// new, empty database in its place, so the program does not run on an unreadable file and report success.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "store/DeviceDatabase.h"
#include "store/Schema.h"

namespace quorvel {

namespace {

constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// "<path>.damaged-YYYYMMDD-hhmmss", with "-2", "-3", ... when a file of that name is already kept.
std::string KeepName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path + ".damaged-" + stamp;
    std::string name = base;
    for (int n = 2; Exists(name); ++n) name = base + "-" + std::to_string(n);
    return name;
}

}  // namespace

std::string DamagedDatabaseMessage(const DamagedDatabase& d) {
    if (d.readOnly) {
        return "the database " + d.path + " is damaged (" + d.reason +
               "); it is left as it is while another program holds the mouse, and is set aside at the next "
               "start that writes to the mouse";
    }
    if (d.keptAs.empty()) {
        return "the database " + d.path + " is damaged (" + d.reason + ") and could not be moved aside (" +
               d.error + "); nothing is stored until it is moved away or deleted";
    }
    std::string text =
        "the database " + d.path + " was damaged (" + d.reason + "); it was kept as " + d.keptAs;
    if (d.replaced) return text + " and a new one with the default settings was created";
    return text + ", but a new one could not be created (" + d.error + ")";
}

std::string DeviceDatabase::DamageReason(bool* schemaMissing) {
    *schemaMissing = false;
    // quick_check reads every page, which for a file of a few hundred rows is quick; a busy or locked file
    // is not damaged and is left to the operations that follow.
    SQLiteStatement st;
    int rc = Prepare(st, "PRAGMA quick_check");
    std::string reason;
    if (rc == kSqliteOk) {
        rc = st.Step();
        if (rc == kSqliteRow) {
            const char* text = st.ColumnText(0);
            if (text != nullptr && std::strcmp(text, "ok") != 0) reason = text;
        }
    }
    if ((rc & 0xFF) == kSqliteCorrupt || (rc & 0xFF) == kSqliteNotADatabase) reason = ErrorText(rc);
    if (reason.empty() && rc == kSqliteRow) reason = ForeignReason(schemaMissing);
    return reason;
}

namespace {

// "CREATE TABLE IF NOT EXISTS name(col TYPE, col TYPE ...)" -> name and the column names.
bool ParseCreateTable(std::string_view statement, std::string* table, std::vector<std::string>* columns) {
    constexpr std::string_view kPrefix = "CREATE TABLE IF NOT EXISTS ";
    if (!statement.starts_with(kPrefix)) return false;
    statement.remove_prefix(kPrefix.size());
    const size_t open = statement.find('(');
    if (open == std::string_view::npos) return false;
    *table = std::string(statement.substr(0, open));
    std::string_view rest = statement.substr(open + 1);
    while (!rest.empty()) {
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        const size_t end = rest.find_first_of(" ,)");
        columns->emplace_back(rest.substr(0, end));
        const size_t comma = rest.find(',');
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return true;
}

}  // namespace

std::string DeviceDatabase::ForeignReason(bool* schemaMissing) {
    SQLiteStatement st;
    std::vector<std::string> tables;
    Prepare(st, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
    while (st.Step() == kSqliteRow) {
        const char* name = st.ColumnText(0);
        tables.emplace_back(name != nullptr ? name : "");
    }
    if (tables.empty()) {
        *schemaMissing = true;  // a new or emptied file: the schema is created in it
        return {};
    }
    bool anyOurs = false;
    for (const auto& statements :
         {std::vector<std::string_view>(kSchemaStatements.begin(), kSchemaStatements.end()),
          std::vector<std::string_view>(kAddedSchemaStatements.begin(), kAddedSchemaStatements.end())}) {
        for (std::string_view statement : statements) {
            std::string table;
            std::vector<std::string> columns;
            if (ParseCreateTable(statement, &table, &columns) &&
                std::find(tables.begin(), tables.end(), table) == tables.end())
                *schemaMissing = true;
        }
    }
    for (std::string_view statement : kSchemaStatements) {
        std::string table;
        std::vector<std::string> columns;
        if (!ParseCreateTable(statement, &table, &columns)) continue;
        if (std::find(tables.begin(), tables.end(), table) == tables.end()) continue;
        anyOurs = true;
        std::vector<std::string> present;
        Prepare(st, ("PRAGMA table_info(" + table + ")").c_str());
        while (st.Step() == kSqliteRow) {
            const char* name = st.ColumnText(1);
            present.emplace_back(name != nullptr ? name : "");
        }
        for (const std::string& column : columns) {
            if (std::find(present.begin(), present.end(), column) == present.end())
                return "not a database of this program: table " + table + " has no column " + column;
        }
    }
    if (!anyOurs) return "not a database of this program: it holds tables of another program";
    return {};
}

void DeviceDatabase::ReportDamaged(const std::string& reason) {
    DamagedDatabase notice;
    notice.path = path_;
    notice.reason = reason;
    notice.readOnly = true;
    std::lock_guard lock(damagedMutex_);
    damaged_.push_back(notice);
}

bool DeviceDatabase::SetAsideDamaged(const std::string& reason) {
    DamagedDatabase notice;
    notice.path = path_;
    notice.reason = reason;
    SQLiteDB::Close();
    const std::string kept = KeepName(path_);
    if (std::rename(path_.c_str(), kept.c_str()) != 0) {
        notice.error = std::strerror(errno);
    } else {
        notice.keptAs = kept;
        notice.replaced = CreateDatabase();
        if (!notice.replaced)
            notice.error = SQLiteDB::IsOpen() ? "the tables could not be created" : "it could not be opened";
    }
    {
        std::lock_guard lock(damagedMutex_);
        damaged_.push_back(notice);
    }
    return notice.replaced;
}

void DeviceDatabase::SetDamagedListener(DamagedListener listener) {
    {
        std::lock_guard lock(damagedMutex_);
        damagedListener_ = std::move(listener);
    }
    DeliverDamaged();
}

void DeviceDatabase::DeliverDamaged() {
    std::vector<DamagedDatabase> notices;
    DamagedListener listener;
    {
        std::lock_guard lock(damagedMutex_);
        if (!damagedListener_ || damaged_.empty()) return;
        notices.swap(damaged_);
        listener = damagedListener_;
    }
    for (const DamagedDatabase& notice : notices) listener(notice);
}

}  // namespace quorvel
