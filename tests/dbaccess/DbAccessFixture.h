#pragma once
// A work database with two small tables, connected as the program connects, and a
// message-box handler that records every box and answers Cancel.
#include <string>
#include <vector>

#include "dbaccess/EnhIBQuery.h"
#include "tests/support/TestDatabases.h"

class DbAccessTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        conn = testdb::OpenConnection(NewDatabase("work.gdb"));
        testdb::Exec(conn, "create table T (ID integer not null primary key, NAME varchar(50), "
                           "QTY integer, PRICE double precision, D date, NOTE blob sub_type 1)");
        testdb::Exec(conn, "create table DEPT (ID integer not null primary key, TITLE varchar(30) not null)");
        testdb::Exec(conn, "create generator GEN_T");
    }

    void Attach(TFIBQuery& q) {
        q.SetDatabase(conn.db.get());
        q.SetTransaction(conn.tr.get());
    }
    void Attach(TFIBDataSet& ds) {
        ds.SetDatabase(conn.db.get());
        ds.SetTransaction(conn.tr.get());
    }
    void Exec(const std::string& sql) { testdb::Exec(conn, sql); }
    // Adds the lookup field "Dept": TITLE of the depts row whose ID equals QTY.
    TField& AddDeptLookup(TFIBDataSet& ds, TFIBDataSet& depts) {
        TField& dept = ds.AddField(std::make_unique<TEnhStringField>());
        dept.SetFieldName("Dept");
        dept.FieldKind = TFieldKind::fkLookup;
        dept.LookupDataSet = &depts;
        dept.KeyFields = "QTY";
        dept.LookupKeyFields = "ID";
        dept.LookupResultField = "TITLE";
        return dept;
    }
    long long Int(const std::string& sql) { return testdb::IntValue(conn, sql); }
    std::string Str(const std::string& sql) { return testdb::Value(conn, sql); }

    testdb::Connection conn;
    std::vector<TMessageRequest> boxes;
    TScopedMessageHandler handler{[this](const TMessageRequest& r) {
        boxes.push_back(r);
        return int(mrCancel);
    }};
};
