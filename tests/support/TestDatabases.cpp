#include "tests/support/TestDatabases.h"

#include <atomic>
#include <unistd.h>

#include "fib/FIBCreateDatabase.h"
#include "schema/ConfigSchema.h"

namespace testdb {

void Connect(TFIBDatabase& db, const std::string& path) {
    db.SetDatabaseName(path);
    db.DBParams().clear();
    db.DBParams().push_back(std::string("user_name=") + kUser);
    db.DBParams().push_back(std::string("password=") + kPassword);
    db.DBParams().push_back("lc_ctype=Win1251");
    db.Open();
}

Connection OpenConnection(const std::string& path) {
    Connection c{std::make_unique<TFIBDatabase>(), nullptr};
    Connect(*c.db, path);
    c.tr = std::make_unique<TFIBTransaction>(c.db.get());
    c.tr->TRParams() = {"read_committed", "rec_version", "nowait"};
    c.db->SetDefaultTransaction(c.tr.get());
    c.tr->StartTransaction();
    return c;
}

void Exec(Connection& c, const std::string& sql) {
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetParamCheck(false);
    q.SetSQL(sql);
    q.ExecQuery();
    q.Close();
    c.tr->CommitRetaining();
}

std::string Value(Connection& c, const std::string& sql) {
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL(sql);
    q.ExecQuery();
    return q.Eof() ? std::string() : q.Fields(0).AsString();
}

long long IntValue(Connection& c, const std::string& sql) {
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL(sql);
    q.ExecQuery();
    return q.Eof() ? 0 : q.Fields(0).AsInt64();
}

std::vector<std::string> Rows(Connection& c, const std::string& sql) {
    std::vector<std::string> rows;
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL(sql);
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        std::string row;
        for (int i = 0; i < q.FieldCount(); ++i) row += (i ? "|" : "") + q.Fields(i).AsString();
        rows.push_back(row);
    }
    return rows;
}

}  // namespace testdb

void DatabaseTest::SetUp() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Dir = std::filesystem::temp_directory_path() /
          ("quillon-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
           info->name());
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
}

void DatabaseTest::TearDown() {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
}

std::string DatabaseTest::NewDatabase(const std::string& name) {
    const std::string path = (Dir / name).string();
    TFIBCreateOptions options;
    options.User = testdb::kUser;
    options.Password = testdb::kPassword;
    options.ForcedWrites = false;
    CreateDialect1Database(path, options);
    return path;
}

std::string DatabaseTest::NewConfigDatabase(const std::string& name) {
    const std::string path = (Dir / name).string();
    CreateConfigDatabase(path, testdb::kUser, testdb::kPassword, false);
    return path;
}
