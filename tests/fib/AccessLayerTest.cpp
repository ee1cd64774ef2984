// The access layer against real embedded databases.
#include <gtest/gtest.h>

#include <filesystem>

#include "fib/FIBCreateDatabase.h"
#include "fib/FIBError.h"
#include "tests/support/TestDatabases.h"

using testdb::Exec;
using testdb::IntValue;
using testdb::Value;

class AccessLayerTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        path = NewDatabase("work.gdb");
        c = testdb::OpenConnection(path);
        Exec(c, "create table T (ID integer not null, NAME varchar(20), primary key (ID))");
    }
    std::string path;
    testdb::Connection c;
};

TEST_F(AccessLayerTest, DoubleQuotedTextIsAStringLiteral) {
    Exec(c, "insert into T (ID, NAME) values (1, \"double\")");
    EXPECT_EQ(Value(c, "select NAME from T where NAME = \"double\""), "double");
}

TEST_F(AccessLayerTest, NullReadsAsEmptyTextAndZero) {
    Exec(c, "insert into T (ID, NAME) values (1, null)");
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("select NAME, cast(null as integer) as N from T");
    q.ExecQuery();
    EXPECT_TRUE(q.FieldByName("name").IsNull());
    EXPECT_EQ(q.FieldByName("NAME").AsString(), "");
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 0);
    EXPECT_TRUE(VarIsNull(q.FieldByName("N").AsVariant()));
}

TEST_F(AccessLayerTest, CommitRetainingKeepsAnOpenCursorReadable) {
    for (int i = 1; i <= 3; ++i) Exec(c, "insert into T (ID) values (" + std::to_string(i) + ")");
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("select ID from T order by ID");
    q.ExecQuery();
    std::vector<int> ids;
    while (!q.Eof()) {
        ids.push_back(q.FieldByName("ID").AsInteger());
        c.tr->CommitRetaining();
        q.Next();
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
}

TEST_F(AccessLayerTest, ACommitThatEndsTheTransactionClosesItsCursors) {
    Exec(c, "insert into T (ID) values (1)");
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("select ID from T");
    q.ExecQuery();
    c.tr->Commit();
    EXPECT_FALSE(q.Open());
    c.tr->StartTransaction();
    q.ExecQuery();  // still prepared, runs again
    EXPECT_EQ(q.FieldByName("ID").AsInteger(), 1);
}

TEST_F(AccessLayerTest, NamedParametersMatchInAnyLetterCase) {
    TFIBQuery ins(c.db.get(), c.tr.get());
    ins.SetSQL("insert into T (ID, NAME) values (:Id, :Name)");
    ins.ParamByName("ID").SetAsInteger(5);
    ins.ParamByName("name").SetAsString("it's \"quoted\"");
    ins.ExecQuery();
    ins.ParamByName("iD").SetAsInteger(6);
    ins.ParamByName("NaMe").Clear();
    ins.ExecQuery();

    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("select NAME from T where ID = :WANTED or ID = :wanted + 100 and NAME = ':not_a_param'");
    EXPECT_EQ(q.ParamCount(), 1);
    q.ParamByName("Wanted").SetAsInteger(5);
    q.ExecQuery();
    EXPECT_EQ(q.FieldByName("NAME").AsString(), "it's \"quoted\"");
    q.Close();
    q.ParamByName("WANTED").SetAsString("6");
    q.ExecQuery();
    EXPECT_TRUE(q.FieldByName("NAME").IsNull());
}

TEST_F(AccessLayerTest, ParamCheckOffSendsTheTextUnchanged) {
    Exec(c, "create generator G");
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetParamCheck(false);
    q.SetGoToFirstRecordOnExecute(false);
    const std::string body =
        "create trigger T_BI for T before insert position 0 as\n"
        "declare variable LogId integer;\n"
        "begin\n"
        "  LogId = gen_id(G, 1);\n"
        "  new.NAME = :LogId;\n"
        "end";
    q.SetSQL(body);
    q.ExecQuery();
    c.tr->CommitRetaining();
    EXPECT_NE(Value(c, "select rdb$trigger_source from rdb$triggers where rdb$trigger_name = 'T_BI'")
                  .find("new.NAME = :LogId;"),
              std::string::npos);
    Exec(c, "insert into T (ID) values (1)");
    EXPECT_EQ(Value(c, "select NAME from T"), "1");
}

TEST_F(AccessLayerTest, ServerErrorCarriesSqlCodeAndText) {
    Exec(c, "insert into T (ID) values (1)");
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("insert into T (ID) values (1)");
    try {
        q.ExecQuery();
        FAIL() << "duplicate key accepted";
    } catch (const EFIBInterBaseError& e) {
        EXPECT_EQ(e.SQLCode, -803);
        EXPECT_NE(std::string(e.what()).find("violation of PRIMARY or UNIQUE KEY"), std::string::npos);
    }
}

TEST_F(AccessLayerTest, BadStatementsFailClearlyAndLeaveTheObjectUsable) {
    TFIBQuery q(c.db.get(), c.tr.get());
    const struct {
        const char* sql;
        int sqlCode;
    } cases[] = {
        {"selec ID from T", -104},
        {"select ID from NO_SUCH_TABLE", -204},
        {"select NO_SUCH_COLUMN from T", -206},
    };
    for (const auto& bad : cases) {
        q.SetSQL(bad.sql);
        try {
            q.ExecQuery();
            ADD_FAILURE() << bad.sql << " was accepted";
        } catch (const EFIBInterBaseError& e) {
            EXPECT_EQ(e.SQLCode, bad.sqlCode) << bad.sql << ": " << e.what();
        }
        EXPECT_FALSE(q.Prepared());
        q.SetSQL("select count(*) from T");
        q.ExecQuery();
        EXPECT_EQ(q.FieldByName("COUNT").AsInteger(), 0);
        q.Close();
    }

    q.SetSQL("select ID from T where ID = :Id");
    EXPECT_THROW(q.ParamByName("Other"), EFIBError);
    EXPECT_EQ(q.FindParam("Other"), nullptr);
    q.ParamByName("Id").SetAsInteger(1);
    q.ExecQuery();
    EXPECT_THROW(q.FieldByName("NAME"), EFIBError);
    try {
        q.FieldByName("NAME");
    } catch (const EFIBError& e) {
        EXPECT_STREQ(e.what(), "Field \"NAME\" not found.");
    }
    EXPECT_THROW(q.ExecQuery(), EFIBError);  // still open
    q.Close();
    q.Close();  // harmless
    q.ExecQuery();
    EXPECT_TRUE(q.Eof());
}

TEST_F(AccessLayerTest, DisconnectingRollsBackWhatWasNotCommitted) {
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("insert into T (ID) values (1)");
    q.ExecQuery();
    TFIBQuery open(c.db.get(), c.tr.get());
    open.SetSQL("select ID from T");
    open.ExecQuery();
    c.db->Close();
    EXPECT_FALSE(c.tr->Active());
    EXPECT_FALSE(q.Prepared());
    EXPECT_FALSE(open.Open());

    c.db->Open();  // reconnects with the parameter lines it holds
    c.tr->StartTransaction();
    EXPECT_EQ(IntValue(c, "select count(*) from T"), 0);
}

TEST_F(AccessLayerTest, WrongDatabaseOrLoginRaisesServerErrors) {
    const std::string missing = (Dir / "missing.gdb").string();
    TFIBDatabase db;
    EXPECT_THROW(testdb::Connect(db, missing), EFIBInterBaseError);
    EXPECT_FALSE(db.Connected());
    try {
        testdb::Connect(db, missing);
    } catch (const EFIBInterBaseError& e) {
        EXPECT_EQ(e.SQLCode, -902);
        EXPECT_NE(std::string(e.what()).find("missing.gdb"), std::string::npos);
    }
    db.DBParams() = {"user_name=SYSDBA", "no_such_line=1"};
    EXPECT_THROW(db.Open(), EFIBError);
    EXPECT_FALSE(db.Connected());
}

TEST_F(AccessLayerTest, ValuesTravelInWin1251AndCommonTypes) {
    Exec(c, "create table V (S varchar(40), C char(4), D date, F double precision, N numeric(9,2), B blob sub_type 1)");
    TFIBQuery q(c.db.get(), c.tr.get());
    q.SetSQL("insert into V values (:S, :C, :D, :F, :N, :B)");
    const std::string cyrillic = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in WIN1251
    q.ParamByName("S").SetAsString(cyrillic);
    q.ParamByName("C").SetAsString("ab");
    q.ParamByName("D").SetAsDateTime(EncodeDateTime(2026, 12, 11, 14, 5, 9));
    q.ParamByName("F").SetAsDouble(1.5);
    q.ParamByName("N").SetAsString("12.34");
    q.ParamByName("B").SetAsString(std::string(70000, 'x'));
    q.ExecQuery();
    q.SetSQL("select * from V");
    q.ExecQuery();
    EXPECT_EQ(q.FieldByName("S").AsString(), cyrillic);
    EXPECT_EQ(q.FieldByName("C").AsString(), "ab  ");
    EXPECT_EQ(q.FieldByName("D").AsString(), "2026-12-11 14:05:09");
    EXPECT_EQ(q.FieldByName("F").AsString(), "1.5");
    EXPECT_EQ(q.FieldByName("N").AsString(), "12.34");
    EXPECT_EQ(q.FieldByName("B").AsString().size(), 70000u);
}

TEST_F(AccessLayerTest, CreatingOverAnExistingFileIsRefused) {
    EXPECT_THROW(NewDatabase("work.gdb"), EFIBError);
    EXPECT_EQ(IntValue(c, "select count(*) from T"), 0);  // the existing database is untouched
}
