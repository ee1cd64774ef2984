#include <gtest/gtest.h>

#include "tests/dbaccess/DbAccessFixture.h"

namespace {

class EnhIBQueryTest : public DbAccessTest {};

TEST_F(EnhIBQueryTest, TextChangeRegistersNewMacrosOnly) {
    TEnhIBQuery q;
    q.SetSQL("select * from T %Filter");
    q.MacroByName("Filter")->SetValue("where ID = 1");
    q.SetSQL("select * from T %Filter");  // same text: no scan
    q.Macros().Clear();
    q.SetSQL("select * from T %Filter");
    EXPECT_EQ(q.Macros().Count(), 0);
    q.SetSQL("select * from T %Filter %Sorts");
    ASSERT_EQ(q.Macros().Count(), 2);
    q.SetSQL("select * from T");
    ASSERT_EQ(q.Macros().Count(), 2);  // never removed
    EXPECT_EQ(q.Macros().Items(1).Name, "Sorts");
    EXPECT_EQ(q.Macros().Items(1).ParamType, 1);
}

TEST_F(EnhIBQueryTest, ParamCheckOffSendsTheTextUnchanged) {
    TEnhIBQuery q;
    Attach(q);
    q.SetParamCheck(false);
    q.SetSQL("select ID from T where D = '5/11/1999' %Filter");
    q.MacroByName("Filter")->SetValue("and ID = 1");
    try {
        q.Prepare();
        FAIL() << "the reference reached the server and should have failed";
    } catch (const EFIBInterBaseError&) {
    }
    EXPECT_EQ(q.ProcessedSQL(), "select ID from T where D = '5/11/1999' %Filter");

    q.SetParamCheck(true);
    q.Prepare();
    EXPECT_EQ(q.ProcessedSQL(), "select ID from T where D = '5.11.1999' and ID = 1");
}

// The flow configuration window's foreign key query, used repeatedly on one statement.
TEST_F(EnhIBQueryTest, RelationInfoQueryRepeatsOnAPreparedStatement) {
    Exec("create table ORDERS (ID integer not null primary key, DEPT_ID integer, "
         "constraint FK_ORD_DEPT foreign key (DEPT_ID) references DEPT (ID))");
    TEnhIBQuery q;
    Attach(q);
    q.AutoCommit = true;
    q.SetSQL(
        "select ref_tbl.rdb$relation_name, ref_fld.rdb$field_name\n"
        "from rdb$relation_constraints ref_tbl, rdb$index_segments ref_fld,\n"
        "     rdb$ref_constraints cntr, rdb$relation_constraints src_tbl,\n"
        "     rdb$index_segments src_fld\n"
        "where (src_tbl.rdb$constraint_type = \"FOREIGN KEY\") and\n"
        "      (src_tbl.rdb$relation_name = :TableName) and\n"
        "      (src_fld.rdb$index_name = src_tbl.rdb$index_name) and\n"
        "      (src_fld.rdb$field_name = :FieldName) and\n"
        "      (cntr.rdb$constraint_name = src_tbl.rdb$constraint_name) and\n"
        "      (ref_tbl.rdb$constraint_name = cntr.rdb$const_name_uq) and\n"
        "      (ref_fld.rdb$index_name = ref_tbl.rdb$index_name)\n");
    struct Case {
        const char* table;
        const char* field;
        const char* refTable;
        const char* refField;
    };
    for (const Case& c : {Case{"ORDERS", "DEPT_ID", "DEPT", "ID"}, Case{"ORDERS", "ID", "", ""},
                          Case{"ORDERS", "DEPT_ID", "DEPT", "ID"}}) {
        q.Prepare();
        q.ParamByName("TableName")->SetAsString(c.table);
        q.ParamByName("fieldname")->SetAsString(c.field);
        q.ExecQuery();
        auto trim = [](std::string s) { return s.substr(0, s.find_last_not_of(' ') + 1); };
        EXPECT_EQ(trim(q.FieldByName("rdb$relation_name").AsString()), c.refTable);
        EXPECT_EQ(trim(q.FieldByName("RDB$FIELD_NAME").AsString()), c.refField);
        EXPECT_THROW(q.ExecQuery(), EFIBError);  // still open
        q.Close();
    }
    try {
        q.FieldByName("NOPE");
        FAIL();
    } catch (const EFIBError& e) {
        EXPECT_STREQ(e.what(), "Field \"NOPE\" not found.");
    }
}

TEST_F(EnhIBQueryTest, AutoCommitCommitsOnlySuccessfulExecutes) {
    TEnhIBQuery q;
    Attach(q);
    q.AutoCommit = true;
    q.SetSQL("insert into T (ID, NAME) values (:ID, 'a')");
    q.ParamByName("ID")->SetAsInteger(1);
    q.ExecQuery();
    EXPECT_THROW(q.ExecQuery(), EFIBInterBaseError);  // duplicate key

    // A second connection sees only what was committed.
    auto other = testdb::OpenConnection(conn.db->DatabaseName());
    EXPECT_EQ(testdb::IntValue(other, "select count(*) from T"), 1);

    TEnhIBQuery plain;
    Attach(plain);
    plain.SetSQL("insert into T (ID) values (2)");
    plain.ExecQuery();
    other.tr->Commit();
    other.tr->StartTransaction();
    EXPECT_EQ(testdb::IntValue(other, "select count(*) from T"), 1);
}

TEST_F(EnhIBQueryTest, AutoCloseClosesAfterTheFirstRow) {
    Exec("insert into T (ID) values (1)");
    Exec("insert into T (ID) values (2)");
    TEnhIBQuery q;
    Attach(q);
    q.AutoClose = true;
    q.SetSQL("select ID from T order by ID");
    q.ExecQuery();
    EXPECT_FALSE(q.Open());
    q.ExecQuery();  // closed, so it runs again
    EXPECT_FALSE(q.Open());
}

}  // namespace
