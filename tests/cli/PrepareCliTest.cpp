// quillon-cli prepare / unprepare: options, progress on standard error, exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestDatabases.h"

namespace {

struct CliResult {
    int exitCode = -1;
    std::string err;  // standard error
};

class PrepareCliTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        configPath = NewConfigDatabase();
        workPath = NewDatabase("work.gdb");
        // Database 5 sends A.QTY to database 2.
        auto config = testdb::OpenConnection(configPath);
        for (const char* sql : {"insert into DD_OBJECTS values (5, 'Main')",
                                "insert into DD_OBJECTS values (2, 'Branch')",
                                "insert into DD_REPL_ITEMS values (1, 'Main to branch', 5, 2)",
                                "insert into DD_PUBLICATIONS values (1, 'Flow')",
                                "insert into DD_SUBSCRIPTIONS values (1, 1, 1)",
                                "insert into DD_TABLES values (1, 'A', 1, null)",
                                "insert into DD_FIELDS values (1, 'QTY', 1, null, null)"})
            testdb::Exec(config, sql);
        auto work = testdb::OpenConnection(workPath);
        testdb::Exec(work, "create table A (ID integer, QTY integer)");
        testdb::Exec(work, "insert into A values (1, 1)");
        // The connections close here: the embedded engine opens a file for one process.
    }

    // Runs quillon-cli with the login taken from the environment, as Firebird's tools do.
    CliResult Run(const std::string& args) {
        const std::string errFile = (Dir / "stderr.txt").string();
        const std::string command = std::string("ISC_USER=") + testdb::kUser + " ISC_PASSWORD=" +
                                    testdb::kPassword + " '" + QUILLON_CLI + "' " + args + " 2>'" +
                                    errFile + "' >/dev/null";
        const int status = std::system(command.c_str());
        CliResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errFile);
        std::stringstream text;
        text << in.rdbuf();
        result.err = text.str();
        return result;
    }

    std::string DbOptions() const { return "--db '" + workPath + "' --config '" + configPath + "'"; }

    // Last line of a text that ends with a line feed.
    static std::string LastLine(const std::string& text) {
        const auto end = text.find_last_not_of('\n');
        if (end == std::string::npos) return "";
        const auto start = text.rfind('\n', end);
        return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
    }

    std::string configPath;
    std::string workPath;
};

TEST_F(PrepareCliTest, PrepareAndUnprepareAWorkDatabase) {
    auto result = Run("prepare " + DbOptions() + " --object-id 5");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err.rfind("Creating DD_LOG_ID generator\n", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("Create AFTER INSERT trigger for table A\n"), std::string::npos);
    EXPECT_EQ(LastLine(result.err), "Prepare successful");
    {
        auto work = testdb::OpenConnection(workPath);
        testdb::Exec(work, "insert into A (ID, QTY) values (2, 2)");
        // Existing rows carry the default master id 1, new rows the object id.
        EXPECT_EQ(testdb::Rows(work, "select ID, DD_REPL_DB, DD_REPL_KEY from A order by ID"),
                  (std::vector<std::string>{"1|1|1", "2|5|2"}));
        EXPECT_EQ(testdb::IntValue(work, "select count(*) from DD_LOG_VALUES where FIELD_NAME = 'QTY'"), 1);
    }

    result = Run("prepare " + DbOptions() + " --object-id 5 --master-id 0");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("Creating DD_LOG_ID generator\nPrepare failed\nerror: ", 0), 0u) << result.err;

    result = Run("unprepare --db '" + workPath + "'");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(LastLine(result.err), "Unprepare successful");
    auto work = testdb::OpenConnection(workPath);
    EXPECT_EQ(testdb::IntValue(work, "select count(*) from rdb$relation_fields where rdb$field_name starting with 'DD_'"), 0);
}

TEST_F(PrepareCliTest, MasterIdZeroGivesExistingRowsTheObjectId) {
    ASSERT_EQ(Run("prepare " + DbOptions() + " --object-id 5 --master-id 0").exitCode, 0);
    auto work = testdb::OpenConnection(workPath);
    EXPECT_EQ(testdb::Value(work, "select DD_REPL_DB from A"), "5");
}

TEST_F(PrepareCliTest, InformationTextsArePrintedAsWarnings) {
    {
        auto work = testdb::OpenConnection(workPath);
        testdb::Exec(work, "create table BAD (X integer)");
        testdb::Exec(work, "insert into BAD values (-1)");
        testdb::Exec(work, "alter table BAD add constraint BAD_X check (X > 0)");
    }
    const auto result = Run("prepare " + DbOptions() + " --object-id 5");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("Initializing addon fields for table BAD\n"
                              "warning: Sorry, cann\"t update table BAD, please check your constraints.\n"),
              std::string::npos)
        << result.err;
}

TEST_F(PrepareCliTest, FailedUnprepareExitsWithOneAndTellsWhy) {
    ASSERT_EQ(Run("prepare " + DbOptions() + " --object-id 5").exitCode, 0);
    {
        auto work = testdb::OpenConnection(workPath);
        testdb::Exec(work, "create view V_A (DB) as select DD_REPL_DB from A");
    }
    const auto result = Run("unprepare --db '" + workPath + "'");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Unprepare failed\nerror: "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("DD_REPL_DB"), std::string::npos) << result.err;
}

TEST_F(PrepareCliTest, UsageErrorsExitWithTwoAndTouchNothing) {
    for (const std::string& args : {"prepare " + DbOptions(),
                                   "prepare " + DbOptions() + " --object-id five",
                                   "prepare " + DbOptions() + " --object-id 5 --master-id",
                                   "prepare --config '" + configPath + "' --object-id 5",
                                   "prepare " + DbOptions() + " --object-id 5 extra",
                                   "unprepare --db '" + workPath + "' --bogus"}) {
        SCOPED_TRACE(args);
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << result.err;
        EXPECT_NE(result.err.find("Usage: quillon-cli "), std::string::npos) << result.err;
    }
    auto work = testdb::OpenConnection(workPath);
    EXPECT_EQ(testdb::IntValue(work, "select count(*) from rdb$generators where rdb$generator_name starting with 'DD_'"), 0);
}

}  // namespace
