#pragma once
// The per-model settings database: one SQLite file per mouse model, shared by the UI thread and the device
// worker. Every public operation holds one recursive lock for its whole duration, opening, closing and
// deleting the file included, so operations never interleave. Nothing returned points into the object.
// Texts in and out are UTF-8; a database that is not open makes every operation fail quietly.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "store/Records.h"
#include "store/SQLiteDB.h"

namespace quorvel {

// A database file that SQLite called damaged when it was opened ("file is not a database", "database disk
// image is malformed"). It is moved aside, never deleted, and a new, empty database takes its place; the
// profiles and their defaults then come as on a first start.
struct DamagedDatabase {
    std::string path;       // the file as it was named
    std::string reason;     // SQLite's words
    std::string keptAs;     // "<path>.damaged-YYYYMMDD-hhmmss" (a "-N" added when taken); empty: not moved
    bool replaced = false;  // the new database was created
    std::string error;      // why it could not be moved or replaced; empty when all went well
    bool readOnly = false;  // opened read-only beside the program that writes it: reported, left as it is
};
// The notice as a front end shows it (the CLI on stderr, the GUI in a message box).
std::string DamagedDatabaseMessage(const DamagedDatabase& damaged);

class DeviceDatabase : protected SQLiteDB {
public:
    using TraceHook = SQLiteDB::TraceHook;

    // The process-wide object, created on first use.
    static DeviceDatabase& Instance();

    DeviceDatabase() = default;
    ~DeviceDatabase() override;

    // "<folder>db/<modelKey>_data.db"; a separator is added when the folder lacks one.
    static std::string DatabasePath(std::string_view folder, std::string_view modelKey);

    // Opens the device's file, or creates it with the schema when it does not exist. When a connection is
    // already open and the file exists, nothing is reopened and the result is true.
    bool OpenForDevice(std::string_view folder, std::string_view modelKey);
    // Creates the file at the stored path and runs the schema; true only when every statement succeeded.
    bool CreateDatabase();
    // Deletes the device's file (and a journal left beside it); the result is not checked.
    void DeleteDatabaseFile(std::string_view folder, std::string_view modelKey);
    bool Close();
    bool IsOpen() const;
    // True after the last open or create succeeded; cleared by CloseDevice.
    bool IsOpened() const;
    std::string Path() const;

    // Read-only: files are opened for reading only, never created, repaired or moved (a reader beside the
    // program that holds the mouse and writes the store). Takes effect at the next open.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;

    // A device becomes current: close the open one (if any), then OpenForDevice — as one locked step.
    bool SwitchToDevice(std::string_view folder, std::string_view modelKey);
    // Restores the device's empty data: close, delete the file, open again (which creates the schema).
    bool RecreateDatabase(std::string_view folder, std::string_view modelKey);
    // Closes the connection and clears the opened flag.
    void CloseDevice();

    // Holds the lock across several operations (the lock is recursive).
    [[nodiscard]] std::unique_lock<std::recursive_mutex> Hold() const {
        return std::unique_lock<std::recursive_mutex>(mutex_);
    }
    // All-or-nothing work across several operations: holds the lock, "BEGIN" at construction, "COMMIT" on
    // Commit(), "ROLLBACK" when it ends uncommitted. The tables' own transactions inside it join it. Inside
    // another Transaction it joins that one too (Commit then leaves the decision to the outer one).
    class Transaction {
    public:
        // immediate: "BEGIN IMMEDIATE", so a check and the writes it decides on see no other process's write
        // in between.
        explicit Transaction(DeviceDatabase& db, bool immediate = false);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        // False when the transaction could not begin, or the commit failed (everything is rolled back then).
        bool Commit();

    private:
        DeviceDatabase& db_;
        std::unique_lock<std::recursive_mutex> lock_;
        bool owner_ = false;
        bool begun_ = false;
    };

    // Told of every damaged file set aside when a device's database is opened: on the thread that opened
    // it, after that open released the lock. Notices from before a listener was set are handed to it when
    // it is set; an empty listener makes later notices wait again.
    using DamagedListener = std::function<void(const DamagedDatabase&)>;
    void SetDamagedListener(DamagedListener listener);

    // Test and diagnostics hook: sees every statement run on the connection.
    void SetTraceHook(TraceHook hook);

    // Settings (t_configdata).
    bool GetConfig(int profile, std::string_view key, std::string& value);
    // Updates an existing row only; true when the statement ran, also when no row matched.
    bool SetConfig(int profile, std::string_view key, std::string_view value);
    // The 40 default rows of a new profile, in catalogue order; failures are skipped.
    void InsertDefaultConfig(int profile);

    // Profiles (t_profile_data).
    // Returns the new profile number (0 on failure) and inserts its default settings.
    int AddProfile(const ProfileRecord& record);
    bool RenameProfile(int profile, std::string_view name);
    bool GetProfileName(int profile, std::string& name);
    int ListProfiles(std::vector<ProfileRecord>& list);
    bool SetActiveProfile(int profile);
    // 0 when no profile is active.
    int GetActiveProfile();
    // The applications the profile is bound to, as the `app` column holds them (store/AppList.h).
    bool GetProfileApps(int profile, std::string& apps);
    bool SetProfileApps(int profile, std::string_view apps);

    // Button assignments (t_key_macro_data), always layer 0.
    // Replaces the button's row; a record with macro_value and macro_value2 both 0 only deletes it. One
    // transaction: when the new row cannot be stored, the old one stays.
    int SaveKeyAssignment(const KeyAssignmentRecord& record);
    bool GetKeyAssignment(int profile, int keyCode, KeyAssignmentRecord& record);
    bool SetKeyDescription(int profile, int keyCode, std::string_view text);
    int ListKeyAssignments(int profile, std::vector<KeyAssignmentRecord>& list);
    bool DeleteProfileKeyAssignments(int profile);

    // Lighting modes (t_light_data).
    int CountLightModes(int profile);
    int AddLightMode(const LightModeRecord& record);
    // Updates the adjustable fields of the profile's row for `mode`; name and status are never changed.
    bool UpdateLightMode(int mode, const LightModeRecord& record);
    bool SetActiveLightMode(int profile, int mode);
    int GetActiveLightMode(int profile);
    bool GetLightMode(int profile, int mode, LightModeRecord& record);
    int ListLightModes(int profile, std::vector<LightModeRecord>& list);

    // Macros (t_macro_data) and their events (t_macrorecord).
    int AddMacro(std::string_view name);
    int AddMacroWithSettings(const MacroRecord& record);
    bool RenameMacro(int macroId, std::string_view name);
    // record.macro_id is ignored: macroId names the row.
    bool UpdateMacro(int macroId, const MacroRecord& record);
    // Deletes the macro and, only when that succeeded, its events.
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, MacroRecord& record);
    int ListMacros(std::vector<MacroRecord>& list);
    int AddMacroEvent(const MacroEventRecord& record);
    // All events in one transaction; events inserted before a failing one are kept.
    void AddMacroEvents(const std::vector<MacroEventRecord>& events);
    // Ordered by record_index.
    int ListMacroEvents(int macroId, std::vector<MacroEventRecord>& list);
    bool DeleteMacroEvents(int macroId);

    // Macro uploads the mouse has not taken yet, by button (t_pending_macro).
    bool AddPendingMacro(int keyCode);
    bool RemovePendingMacro(int keyCode);
    std::vector<int> ListPendingMacros();

private:
    bool OpenForDeviceLocked(std::string_view folder, std::string_view modelKey);
    // SQLite's words when the open file is not a database or is corrupt, or why it is not this program's
    // database; empty when it is sound or busy.
    // *schemaMissing: the file could be read and lacks tables of the schema.
    std::string DamageReason(bool* schemaMissing);
    // Why the open file is not this program's database (tables of another program, or one of ours
    // without its columns); empty when it is ours or holds no table yet.
    std::string ForeignReason(bool* schemaMissing);
    // Creates what is missing of the schema; true when every statement succeeded.
    bool CreateSchema();
    // Tells of a damaged file opened read-only, which is left as it is.
    void ReportDamaged(const std::string& reason);
    // Moves the damaged file aside and creates a new one; false when no database is open.
    bool SetAsideDamaged(const std::string& reason);
    // Hands waiting notices to the listener; called without the lock.
    void DeliverDamaged();
    // The insert of AddMacroEvent; the caller holds the lock.
    int InsertMacroEventLocked(const MacroEventRecord& record);

    mutable std::recursive_mutex mutex_;
    std::string path_;
    bool opened_ = false;
    bool readOnly_ = false;

    std::mutex damagedMutex_;  // the two below; never held while the listener runs
    std::vector<DamagedDatabase> damaged_;
    DamagedListener damagedListener_;
};

// A writing step succeeded: SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
inline bool StepSucceeded(int rc) {
    return rc == kSqliteOk || rc == kSqliteRow || rc == kSqliteDone;
}

}  // namespace quorvel
