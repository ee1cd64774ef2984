// The buffered dataset as the windows use it: navigation, search, editing through the
// modifying statements, generated keys, automatic commit, refresh and lookups.
#include <gtest/gtest.h>

#include "tests/dbaccess/DbAccessFixture.h"

namespace {

class DataSetTest : public DbAccessTest {
protected:
    // A dataset over T as the configuration windows set theirs up.
    void SetUpT(TEnhIBDataSet& ds) {
        Attach(ds);
        ds.SetSelectSQL("select ID, NAME, QTY from T order by ID");
        ds.SetInsertSQL("insert into T (ID, NAME, QTY) values (?new_ID, ?new_NAME, ?new_QTY)");
        ds.SetUpdateSQL("update T set ID = ?new_ID, NAME = ?new_NAME, QTY = ?new_QTY where ID = ?old_ID");
        ds.SetDeleteSQL("delete from T where ID = ?old_ID");
        ds.SetRefreshSQL("select ID, NAME, QTY from T where ID = ?old_ID");
    }
    int CommittedCount(const std::string& where = "") {
        auto other = testdb::OpenConnection(conn.db->DatabaseName());
        return static_cast<int>(testdb::IntValue(other, "select count(*) from T " + where));
    }
};

TEST_F(DataSetTest, WalksAndLocatesIgnoringCase) {
    Exec("insert into T (ID, NAME) values (1, 'alpha')");
    Exec("insert into T (ID, NAME) values (2, '\xE6\xF3\xEA')");  // жук
    Exec("insert into T (ID, NAME) values (3, 'Gamma')");
    TEnhIBDataSet ds;
    SetUpT(ds);
    int scrolls = 0;
    ds.AfterScroll = [&](TFIBDataSet&) { ++scrolls; };
    ds.Open();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(ds.RecordCount(), 3);
    std::vector<int> ids;
    for (ds.First(); !ds.Eof(); ds.Next()) ids.push_back(ds.FieldByName("ID").AsInteger());
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 3);  // stays on the last row
    ds.Prior();
    ds.Prior();
    EXPECT_FALSE(ds.Bof());
    ds.Prior();
    EXPECT_TRUE(ds.Bof());

    EXPECT_TRUE(ds.Locate("NAME", std::string("\xC6\xD3\xCA"), {.CaseInsensitive = true}));  // ЖУК
    EXPECT_EQ(ds.FieldByName("id").AsInteger(), 2);
    EXPECT_FALSE(ds.Locate("NAME", std::string("GAMMA")));
    EXPECT_TRUE(ds.Locate("ID;NAME", {std::int64_t{3}, std::string("gamma")}, {.CaseInsensitive = true}));
    EXPECT_EQ(ds.CurrentRow(), 2);
    EXPECT_THROW(ds.Locate("ID;NAME", std::vector<TFIBVariant>{std::int64_t{3}}), EFIBError);
    EXPECT_THROW(ds.FieldByName("MISSING"), EFIBError);

    ds.Close();
    ds.SetSelectSQL("select ID from T where ID > 10");
    scrolls = 0;
    ds.Open();
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Eof() && ds.Bof());
    EXPECT_EQ(scrolls, 0);
    EXPECT_TRUE(ds.FieldByName("ID").IsNull());
}

TEST_F(DataSetTest, PostsThroughTheStatementsWithKeysRefreshAndCommit) {
    Exec("create trigger T_BI for T before insert as begin if (new.QTY is null) then new.QTY = 42; end");
    TEnhIBDataSet ds;
    SetUpT(ds);
    ds.KeyField = "ID";
    ds.KeyGenerator = "GEN_T";
    ds.AutoCommit = true;
    std::vector<std::string> posted;
    ds.BeforePost = [&](TFIBDataSet& d) { posted.push_back(d.FieldByName("NAME").AsString()); };
    ds.Open();

    ds.Append();
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    ds.FieldByName("NAME").SetAsString("first");
    ds.Post();
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 1);
    EXPECT_EQ(ds.FieldByName("QTY").AsInteger(), 42);  // read back through the refresh
    ds.Append();
    ds.FieldByName("NAME").SetAsString("second");
    ds.Post();
    EXPECT_EQ(CommittedCount(), 2);

    // An edit that changes the key addresses the row by its old key.
    ds.First();
    ds.Edit();
    ds.FieldByName("ID").SetAsInteger(10);
    ds.FieldByName("NAME").SetAsString("renamed");
    ds.Post();
    EXPECT_EQ(Str("select NAME from T where ID = 10"), "renamed");
    EXPECT_EQ(Int("select count(*) from T where ID = 1"), 0);

    // Cancel restores the row; delete removes it from the buffer and the table.
    ds.Edit();
    ds.FieldByName("NAME").SetAsString("not kept");
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "renamed");
    ds.Delete();
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(CommittedCount(), 1);
    EXPECT_EQ(posted, (std::vector<std::string>{"first", "second", "renamed"}));
}

TEST_F(DataSetTest, FailedPostStaysInEditWithItsValues) {
    Exec("insert into T (ID, NAME) values (1, 'one')");
    TEnhIBDataSet ds;
    SetUpT(ds);
    ds.Open();
    ds.Append();
    ds.FieldByName("ID").SetAsInteger(1);
    ds.FieldByName("NAME").SetAsString("dup");
    EXPECT_THROW(ds.Post(), EFIBInterBaseError);
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "dup");
    EXPECT_EQ(ds.RecordCount(), 2);
    ds.FieldByName("ID").SetAsInteger(2);
    ds.Post();
    EXPECT_EQ(Int("select count(*) from T"), 2);

    // Moving on posts a modified row; leaving an untouched new row drops it.
    ds.Append();
    ds.First();
    EXPECT_EQ(ds.RecordCount(), 2);
    ds.Edit();
    ds.FieldByName("QTY").SetAsInteger(5);
    ds.Last();
    EXPECT_EQ(Int("select QTY from T where ID = 1"), 5);
}

TEST_F(DataSetTest, FieldValuesAreCheckedAndConverted) {
    TEnhIBDataSet ds;
    Attach(ds);
    ds.SetSelectSQL("select ID, NAME, QTY, PRICE, D, NOTE from T");
    ds.SetInsertSQL("insert into T (ID, NAME, QTY, PRICE, D, NOTE) "
                    "values (?new_ID, ?new_NAME, ?new_QTY, ?new_PRICE, ?new_D, ?new_NOTE)");
    ds.Open();
    EXPECT_THROW(ds.FieldByName("NAME").SetAsString("x"), EFIBError);  // not editing
    ds.Append();
    TField& id = ds.FieldByName("ID");
    EXPECT_TRUE(id.Required);
    EXPECT_EQ(ds.FieldByName("NAME").Size, 50);
    struct Case {
        const char* field;
        const char* text;
        bool valid;
        const char* stored;
    };
    for (const Case& c : {Case{"QTY", " 12 ", true, "12"}, Case{"QTY", "12x", false, ""},
                          Case{"QTY", "99999999999999999999", false, ""}, Case{"QTY", "", true, ""},
                          Case{"PRICE", "2.5", true, "2.5"}, Case{"PRICE", "abc", false, ""},
                          Case{"D", "2026-12-11 14:05:09", true, "2026-12-11 14:05:09"},
                          Case{"D", "11.12.2026", true, "2026-12-11 00:00:00"}, Case{"D", "tomorrow", false, ""},
                          Case{"NAME", "   ", true, ""}, Case{"NAME", " a ", true, " a "}}) {
        TField& f = ds.FieldByName(c.field);
        if (c.valid) {
            f.SetAsString(c.text);
            EXPECT_EQ(f.AsString(), c.stored) << c.field << " " << c.text;
        } else {
            EXPECT_THROW(f.SetAsString(c.text), EFIBError) << c.field << " " << c.text;
        }
    }
    ds.FieldByName("NAME").SetAsString("  ");
    EXPECT_TRUE(ds.FieldByName("NAME").IsNull());  // blanks become NULL
    try {
        ds.Post();
        FAIL();
    } catch (const EFIBError& e) {
        EXPECT_STREQ(e.what(), "Field 'ID' must have a value");
    }
    id.SetAsInteger(5);
    ds.FieldByName("NOTE").SetAsString(std::string(40000, 'n'));
    ds.Post();
    EXPECT_EQ(Str("select NOTE from T where ID = 5").size(), 40000u);
}

TEST_F(DataSetTest, LookupFieldsShowAndSetTheKey) {
    Exec("insert into DEPT (ID, TITLE) values (1, 'Sales')");
    Exec("insert into DEPT (ID, TITLE) values (2, 'Stock')");
    Exec("insert into T (ID, QTY) values (1, 2)");
    TEnhIBDataSet depts;
    Attach(depts);
    depts.SetSelectSQL("select ID, TITLE from DEPT order by ID");

    TEnhIBDataSet ds;
    SetUpT(ds);
    ds.AddField(std::make_unique<TEnhIntegerField>()).SetFieldName("ID");
    ds.AddField(std::make_unique<TEnhStringField>()).SetFieldName("NAME");
    auto& qty = ds.AddField(std::make_unique<TEnhIntegerField>());
    qty.SetFieldName("QTY");
    auto& dept = AddDeptLookup(ds, depts);

    ds.Open();
    EXPECT_TRUE(depts.Active());  // opened with its owner
    EXPECT_EQ(dept.AsString(), "Stock");
    ds.Edit();
    dept.SetAsString("Sales");
    EXPECT_EQ(qty.AsInteger(), 1);
    EXPECT_THROW(dept.SetAsString("Nowhere"), EFIBError);
    ds.Post();
    EXPECT_EQ(Int("select QTY from T where ID = 1"), 1);
    ds.Close();
    EXPECT_EQ(ds.FieldCount(), 4);  // persistent fields stay
}

}  // namespace
