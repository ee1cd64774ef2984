// The configuration script installs exactly the tables and generators the system expects.
#include <gtest/gtest.h>

#include <set>

#include "fib/FIBError.h"
#include "schema/ConfigSchema.h"
#include "tests/support/TestDatabases.h"

namespace {

std::set<std::string> Names(testdb::Connection& c, const std::string& sql) {
    std::set<std::string> names;
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL(sql);
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        std::string name = q.Fields(0).AsString();
        names.insert(name.substr(0, name.find_last_not_of(' ') + 1));
    }
    return names;
}

}  // namespace

class ConfigSchemaTest : public DatabaseTest {};

TEST_F(ConfigSchemaTest, CreatesExactlyTheConfigurationTablesAndGenerators) {
    auto c = testdb::OpenConnection(NewConfigDatabase());
    EXPECT_EQ(Names(c, "select rdb$relation_name from rdb$relations where rdb$system_flag = 0"),
              (std::set<std::string>{"DD_OBJECTS", "DD_REPL_ITEMS", "DD_PUBLICATIONS", "DD_SUBSCRIPTIONS",
                                     "DD_TABLES", "DD_FIELDS", "DD_REPL_CONDITIONS", "DD_REPL_HISTORY"}));
    EXPECT_EQ(Names(c, "select rdb$generator_name from rdb$generators where rdb$system_flag = 0"),
              (std::set<std::string>{"GEN_DD_REPL_ITEMS_KOD", "GEN_DD_SUBSCRIPTIONS_KOD", "GEN_PUBLICATIONS_KOD",
                                     "GEN_DD_TABLES_KOD", "GEN_DD_FIELDS_KOD", "GEN_DD_REPL_CONDITIONS_KOD",
                                     "GEN_DD_REPL_HISTORY_KOD"}));
    // Dialect 1: the history takes a date-time text in double quotes; keys come from generators.
    testdb::Exec(c, "insert into DD_OBJECTS (ID, NAME) values (1, \"Head office\")");
    testdb::Exec(c, "insert into DD_REPL_ITEMS (ID, DESCR, PUBLISHER_ID, SUBSCRIBER_ID) values (1, \"x\", 1, 1)");
    testdb::Exec(c, "insert into DD_REPL_HISTORY (ID, BEG_LOG_ID, END_LOG_ID, REPL_DATE, REPL_ITEM_ID) values "
                    "(gen_id(Gen_dd_Repl_History_Kod, 1), 1, 5, \"2026-12-11 14:05:09\", 1)");
    EXPECT_EQ(testdb::IntValue(c, "select END_LOG_ID from DD_REPL_HISTORY"), 5);
    // A required column refuses NULL.
    EXPECT_THROW(testdb::Exec(c, "insert into DD_OBJECTS (ID) values (2)"), EFIBInterBaseError);
}

TEST_F(ConfigSchemaTest, RefusesAPathThatHoldsAFile) {
    const std::string path = NewConfigDatabase();
    const auto size = std::filesystem::file_size(path);
    EXPECT_THROW(CreateConfigDatabase(path, testdb::kUser, testdb::kPassword, false), EFIBError);
    EXPECT_EQ(std::filesystem::file_size(path), size);
}
