// quillon-cli as a scheduler runs it: exit codes, help and a whole replication.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/TestDatabases.h"

namespace {

struct Result {
    int Exit = -1;
    std::string Out;  // standard output and standard error together
};

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

Result RunCli(const std::vector<std::string>& args) {
    std::string command = ShellQuote(QUILLON_CLI);
    for (const auto& a : args) command += " " + ShellQuote(a);
    command += " 2>&1";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.Out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace

class CliTest : public DatabaseTest {};

TEST_F(CliTest, HelpDocumentsEveryCommandAndUsageErrorsExitWith2) {
    const Result help = RunCli({"--help"});
    EXPECT_EQ(help.Exit, 0);
    for (const char* command : {"create-config", "prepare", "unprepare", "export", "import", "status"}) {
        EXPECT_NE(help.Out.find(command), std::string::npos) << command;
        const Result one = RunCli({command, "--help"});
        EXPECT_EQ(one.Exit, 0) << command;
        EXPECT_NE(one.Out.find(std::string("quillon-cli ") + command), std::string::npos) << one.Out;
    }
    const struct {
        std::vector<std::string> args;
    } usage[] = {
        {{}},
        {{"no-such-command"}},
        {{"export", "--db", "x.gdb"}},                           // no --item
        {{"export", "--db", "x.gdb", "--item", "one"}},          // not a number
        {{"export", "--db", "x.gdb", "--item", "1", "--start", "-3"}},
        {{"import", "--db"}},                                    // option without its value
        {{"status", "--db", "x.gdb", "--bogus"}},
        {{"create-config"}},
        {{"export", "stray", "--db", "x.gdb", "--item", "1"}},
    };
    for (const auto& u : usage) EXPECT_EQ(RunCli(u.args).Exit, 2) << testing::PrintToString(u.args);
}

TEST_F(CliTest, FailuresExitWith1) {
    const std::string config = (Dir / "config.gdb").string();
    EXPECT_EQ(RunCli({"create-config", config}).Exit, 0);
    const Result again = RunCli({"create-config", config});
    EXPECT_EQ(again.Exit, 1);
    EXPECT_NE(again.Out.find("already exists"), std::string::npos);
    const Result missing = RunCli({"status", "--db", (Dir / "missing.gdb").string()});
    EXPECT_EQ(missing.Exit, 1);
    EXPECT_NE(missing.Out.find("missing.gdb"), std::string::npos) << missing.Out;
}

TEST_F(CliTest, ReplicatesThroughAFile) {
    auto config = testdb::OpenConnection(NewConfigDatabase());
    for (const char* sql : {"insert into DD_OBJECTS values (1, 'A')", "insert into DD_OBJECTS values (2, 'B')",
                            "insert into DD_REPL_ITEMS values (1, 'A to B', 1, 2)",
                            "insert into DD_PUBLICATIONS values (1, 'P')", "insert into DD_SUBSCRIPTIONS values (1, 1, 1)",
                            "insert into DD_TABLES values (1, 'T', 1, null)",
                            "insert into DD_FIELDS values (1, 'ID', 1, null, null)",
                            "insert into DD_FIELDS values (2, 'NAME', 1, null, null)"})
        testdb::Exec(config, sql);
    const std::string configPath = config.db->DatabaseName();
    config.db->Close();
    std::string paths[2];
    for (int i = 0; i < 2; ++i) {
        paths[i] = NewDatabase(i == 0 ? "a.gdb" : "b.gdb");
        auto c = testdb::OpenConnection(paths[i]);
        testdb::Exec(c, "create table T (ID integer not null primary key, NAME varchar(20))");
        c.db->Close();
        const Result prepared = RunCli({"prepare", "--db", paths[i], "--config", configPath, "--object-id",
                                     std::to_string(i + 1), "--user", testdb::kUser, "--password", testdb::kPassword});
        ASSERT_EQ(prepared.Exit, 0) << prepared.Out;
    }
    {
        auto a = testdb::OpenConnection(paths[0]);
        testdb::Exec(a, "insert into T (ID, NAME) values (1, 'one')");
        testdb::Exec(a, "insert into T (ID, NAME) values (2, 'two')");
    }
    const std::string file = (Dir / "t.swp").string();
    const Result exported = RunCli({"export", "--db", paths[0], "--config", configPath, "--item", "1", "--file", file});
    ASSERT_EQ(exported.Exit, 0) << exported.Out;
    EXPECT_NE(exported.Out.find("Create successful"), std::string::npos);
    const Result imported = RunCli({"import", "--db", paths[1], "--config", configPath, "--file", file});
    ASSERT_EQ(imported.Exit, 0) << imported.Out;
    EXPECT_NE(imported.Out.find("Load operation \xE2\x84\x96"), std::string::npos);  // the numero sign in UTF-8
    EXPECT_NE(imported.Out.find("Replication successful"), std::string::npos);
    auto b = testdb::OpenConnection(paths[1]);
    EXPECT_EQ(testdb::Rows(b, "select ID, NAME from T order by ID"), (std::vector<std::string>{"1|one", "2|two"}));
    b.db->Close();

    const Result status = RunCli({"status", "--db", paths[1], "--config", configPath, "--item", "1"});
    EXPECT_EQ(status.Exit, 0) << status.Out;
    EXPECT_NE(status.Out.find("pending temporary-log rows: 0"), std::string::npos) << status.Out;
    EXPECT_NE(status.Out.find("item 1 last exported operation: 2"), std::string::npos) << status.Out;

    const Result noFile = RunCli({"import", "--db", paths[1], "--config", configPath, "--file", file + ".missing"});
    EXPECT_EQ(noFile.Exit, 1);
    EXPECT_NE(noFile.Out.find("Prepare for replication failed"), std::string::npos);
}
