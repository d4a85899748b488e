// All-or-nothing groups of operations, and the tables' own transactions joining an open one.
#include <sqlite3.h>

#include "StoreFixture.h"
#include "store/ProfileLoader.h"

namespace quorvel::testing {
namespace {

class TransactionTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    }
    std::string Setting(const char* key) {
        std::string value;
        db_.GetConfig(1, key, value);
        return value;
    }
};

TEST_F(TransactionTest, CommitKeepsAndLeavingUncommittedRollsBack) {
    {
        DeviceDatabase::Transaction transaction(db_);
        ASSERT_TRUE(db_.SetConfig(1, "dpi_count", "3"));
        EXPECT_TRUE(transaction.Commit());
    }
    EXPECT_EQ(Setting("dpi_count"), "3");
    {
        DeviceDatabase::Transaction transaction(db_);
        ASSERT_TRUE(db_.SetConfig(1, "dpi_count", "5"));
        ASSERT_TRUE(db_.RenameProfile(1, "Gone"));
    }
    EXPECT_EQ(Setting("dpi_count"), "3");
    std::string name;
    ASSERT_TRUE(db_.GetProfileName(1, name));
    EXPECT_EQ(name, "Profile 1");
}

TEST_F(TransactionTest, TableTransactionsInsideJoinTheOpenOne) {
    const int id = db_.AddMacro("m");
    ASSERT_GT(id, 0);
    {
        DeviceDatabase::Transaction transaction(db_);
        MacroEventRecord event;
        event.macro_id = id;
        event.record_index = 1;
        db_.AddMacroEvents({event, event});  // its own BEGIN/END must not commit the outer work
    }
    std::vector<MacroEventRecord> events;
    EXPECT_EQ(db_.ListMacroEvents(id, events), 0);

    DeviceDatabase::Transaction outer(db_);
    {
        DeviceDatabase::Transaction inner(db_);
        ASSERT_TRUE(db_.SetConfig(1, "dpi_count", "2"));
        EXPECT_TRUE(inner.Commit());  // joined: the outer one decides
    }
    EXPECT_TRUE(outer.Commit());
    EXPECT_EQ(Setting("dpi_count"), "2");
}

TEST_F(TransactionTest, ClosedDatabaseCannotCommit) {
    db_.CloseDevice();
    DeviceDatabase::Transaction transaction(db_);
    EXPECT_FALSE(transaction.Commit());
}

}  // namespace
}  // namespace quorvel::testing
