#pragma once
// Shared test fixture: fresh dialect-1 databases (forced writes off) in a temporary
// folder that is removed after each test.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fib/FIBDatabase.h"
#include "fib/FIBQuery.h"
#include "fib/FIBTransaction.h"

namespace testdb {

inline const char* kUser = "SYSDBA";
inline const char* kPassword = "masterkey";

// A connected database with one active transaction ("read_committed", "rec_version",
// "nowait"), as the program sets them up.
struct Connection {
    std::unique_ptr<TFIBDatabase> db;
    std::unique_ptr<TFIBTransaction> tr;
};

// Fills the parameter lines as the program does and connects.
void Connect(TFIBDatabase& db, const std::string& path);
Connection OpenConnection(const std::string& path);

// Runs one statement (ParamCheck off) and commits retaining.
void Exec(Connection& c, const std::string& sql);
// First column of the first row as text ("" when there is no row).
std::string Value(Connection& c, const std::string& sql);
// First column of the first row as an integer (0 when there is no row).
long long IntValue(Connection& c, const std::string& sql);
// Every row of a select, its columns as text joined by '|'.
std::vector<std::string> Rows(Connection& c, const std::string& sql);

}  // namespace testdb

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates an empty dialect-1 database file named name in the test's folder.
    std::string NewDatabase(const std::string& name);
    // Creates a configuration database with the installed schema.
    std::string NewConfigDatabase(const std::string& name = "config.gdb");

    std::filesystem::path Dir;
};
