#pragma once
// A fresh data folder with its "db" sub-folder per test, and a DeviceDatabase of the test's own.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "store/DeviceDatabase.h"

namespace quorvel::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-store-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        path_ = made != nullptr ? std::string(made) + "/" : std::string();
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Statements a connection ran: (text, text with the bound values).
using StatementLog = std::vector<std::pair<std::string, std::string>>;

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        ::setenv("XDG_DATA_HOME", folder_.path().c_str(), 1);
        std::filesystem::create_directories(folder_.path() + "db");
        ASSERT_TRUE(db_.OpenForDevice(folder_.path(), "model"));
    }

    // Records the statements run from now on.
    void StartTrace() {
        log_.clear();
        db_.SetTraceHook([this](const std::string& sql, const std::string& expanded) {
            log_.emplace_back(sql, expanded);
        });
    }
    StatementLog StopTrace() {
        db_.SetTraceHook({});
        return std::move(log_);
    }

    // A query on the file through a connection of its own.
    std::vector<std::vector<std::string>> Query(const std::string& sql) {
        std::vector<std::vector<std::string>> rows;
        sqlite3* raw = nullptr;
        if (sqlite3_open_v2(db_.Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(raw, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
                while (sqlite3_step(st) == SQLITE_ROW) {
                    std::vector<std::string> row;
                    for (int i = 0; i < sqlite3_column_count(st); ++i) {
                        auto* text = sqlite3_column_text(st, i);
                        row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "<null>");
                    }
                    rows.push_back(std::move(row));
                }
            }
            sqlite3_finalize(st);
        }
        sqlite3_close(raw);
        return rows;
    }

    TempFolder folder_;
    DeviceDatabase db_;
    StatementLog log_;
};

}  // namespace quorvel::testing
