// Throughput of capture, export, load and apply on embedded databases.
//   replication_bench [ROWS] [--forced-writes]
// Prints the seconds each stage takes for ROWS inserts and ROWS updates of a table
// with five replicated columns (one a reference), and the rows per second.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>

#include <unistd.h>

#include "engine/Replicator.h"
#include "fib/FIBCreateDatabase.h"
#include "schema/ConfigSchema.h"
#include "tests/support/TestDatabases.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string NewDb(const std::filesystem::path& dir, const char* name, bool forcedWrites) {
    TFIBCreateOptions options;
    options.ForcedWrites = forcedWrites;
    const std::string path = (dir / name).string();
    CreateDialect1Database(path, options);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    int rows = 2000;
    bool forcedWrites = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--forced-writes") == 0) forcedWrites = true;
        else rows = std::atoi(argv[i]);
    }
    const auto dir = std::filesystem::temp_directory_path() / ("quillon-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string configPath = (dir / "config.gdb").string();
    CreateConfigDatabase(configPath, testdb::kUser, testdb::kPassword, forcedWrites);
    auto config = testdb::OpenConnection(configPath);
    for (const char* sql : {
             "insert into DD_OBJECTS values (1, 'A')", "insert into DD_OBJECTS values (2, 'B')",
             "insert into DD_REPL_ITEMS values (1, 'A to B', 1, 2)", "insert into DD_PUBLICATIONS values (1, 'P')",
             "insert into DD_SUBSCRIPTIONS values (1, 1, 1)", "insert into DD_TABLES values (1, 'ITEMS', 1, null)",
             "insert into DD_TABLES values (2, 'GROUPS', 1, null)",
             "insert into DD_FIELDS values (1, 'ID', 1, null, null)",
             "insert into DD_FIELDS values (2, 'NAME', 1, null, null)",
             "insert into DD_FIELDS values (3, 'PRICE', 1, null, null)",
             "insert into DD_FIELDS values (4, 'MADE', 1, null, null)",
             "insert into DD_FIELDS values (5, 'GROUP_ID', 1, 'GROUPS', 'ID')",
             "insert into DD_FIELDS values (6, 'ID', 2, null, null)"})
        testdb::Exec(config, sql);

    testdb::Connection side[2];
    TReplicator replicator[2];
    for (int i = 0; i < 2; ++i) {
        side[i] = testdb::OpenConnection(NewDb(dir, i == 0 ? "a.gdb" : "b.gdb", forcedWrites));
        testdb::Exec(side[i], "create table GROUPS (ID integer not null primary key)");
        testdb::Exec(side[i], "insert into GROUPS (ID) values (1)");
        testdb::Exec(side[i], "create table ITEMS (ID integer not null primary key, NAME varchar(60), "
                              "PRICE numeric(15,2), MADE date, GROUP_ID integer references GROUPS (ID))");
        auto& r = replicator[i];
        r.SetWorkDB(side[i].db.get());
        r.SetTran(side[i].tr.get());
        r.SetConfigDB(config.db.get());
        r.SetCfgTran(config.tr.get());
        r.PrepareDatabase(i + 1, 1);
    }

    auto start = std::chrono::steady_clock::now();
    {
        TFIBQuery q(side[0].db.get(), side[0].tr.get());
        q.SetSQL("insert into ITEMS (ID, NAME, PRICE, MADE, GROUP_ID) values (:ID, :NAME, :PRICE, :MADE, 1)");
        for (int i = 1; i <= rows; ++i) {
            q.ParamByName("ID").SetAsInteger(i);
            q.ParamByName("NAME").SetAsString("item number " + std::to_string(i));
            q.ParamByName("PRICE").SetAsDouble(i * 1.25);
            q.ParamByName("MADE").SetAsDateTime(EncodeDateTime(2026, 12, 11, 10, 0, 0));
            q.ExecQuery();
        }
        q.SetSQL("update ITEMS set PRICE = PRICE + 1");
        q.ExecQuery();
        side[0].tr->CommitRetaining();
    }
    const double capture = Seconds(start);

    std::stringstream file;
    start = std::chrono::steady_clock::now();
    const bool exported = replicator[0].CreateLogTransport(&file, 1, -1);
    const double exportTime = Seconds(start);

    start = std::chrono::steady_clock::now();
    const bool loaded = replicator[1].LoadLogTransport(&file);
    const double loadTime = Seconds(start);

    start = std::chrono::steady_clock::now();
    const bool applied = replicator[1].ReplicateData();
    const double applyTime = Seconds(start);

    const long long arrived = testdb::IntValue(side[1], "select count(*) from ITEMS");
    const int operations = 2 * rows;
    std::printf("rows %d, operations %d, forced writes %s, file %zu bytes\n", rows, operations,
                forcedWrites ? "on" : "off", file.str().size());
    std::printf("%-22s %8.2f s %10.0f operations/s\n", "capture (insert+update)", capture, operations / capture);
    std::printf("%-22s %8.2f s %10.0f operations/s %s\n", "export", exportTime, operations / exportTime,
                exported ? "" : "FAILED");
    std::printf("%-22s %8.2f s %10.0f operations/s %s\n", "load", loadTime, operations / loadTime,
                loaded ? "" : "FAILED");
    std::printf("%-22s %8.2f s %10.0f operations/s %s\n", "apply", applyTime, operations / applyTime,
                applied ? "" : "FAILED");
    std::printf("rows at the receiver: %lld of %d\n", arrived, rows);
    for (auto& s : side) s.db->Close();
    config.db->Close();
    std::filesystem::remove_all(dir);
    return exported && loaded && applied && arrived == rows ? 0 : 1;
}
