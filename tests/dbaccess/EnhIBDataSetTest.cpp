#include <gtest/gtest.h>

#include "fib/CodePage1251.h"
#include "tests/dbaccess/DbAccessFixture.h"

namespace {

class EnhIBDataSetTest : public DbAccessTest {};

TEST_F(EnhIBDataSetTest, SelectParametersFollowTheFilterMacro) {
    Exec("insert into T (ID, NAME) values (1, 'a')");
    Exec("insert into T (ID, NAME) values (2, 'b')");
    TEnhIBDataSet ds;
    Attach(ds);
    ds.SetSelectSQL("select ID, NAME from T\r\n%Filter\r\n");
    ds.MacroByName(0, "FILTER")->SetValue("where ID = :ItemKod");
    ASSERT_NE(ds.ParamByName("itemkod"), nullptr);
    ds.ParamByName("itemkod")->SetAsInteger(2);
    ds.Open();  // the value set before opening is kept
    ASSERT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "b");

    // Open: a macro value change cannot prepare again; the value is kept for later.
    try {
        ds.SelectMacros().Items(0).SetValue("");
        FAIL();
    } catch (const EFIBError& e) {
        EXPECT_STREQ(e.what(), "Dataset open.");
    }
    EXPECT_EQ(ds.SelectMacros().Items(0).Value(), "");
    EXPECT_THROW(ds.SetSelectSQL("select ID from T"), EFIBError);
    EXPECT_EQ(ds.SelectSQL(), "select ID, NAME from T\r\n%Filter\r\n");

    ds.Close();
    ds.SelectMacros().Items(0).SetValue("");  // closed and prepared: prepared again now
    EXPECT_TRUE(ds.QSelect().Prepared());
    EXPECT_EQ(ds.ParamByName("ItemKod"), nullptr);
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 2);
}

TEST_F(EnhIBDataSetTest, MacroByNameAddressesTheStatementOfAKind) {
    TEnhIBDataSet ds;
    ds.SetSelectSQL("select * from T %S");
    ds.SetUpdateSQL("update T set %U");
    ds.SetDeleteSQL("delete from T %D");
    ds.SetInsertSQL("insert into T %I");
    ds.SetRefreshSQL("select * from T %R");
    for (int kind : {0, 7, 255}) EXPECT_EQ(ds.MacroByName(static_cast<std::uint8_t>(kind), "s"), &ds.SelectMacros().Items(0));
    EXPECT_EQ(ds.MacroByName(1, "u"), &ds.UpdateMacros().Items(0));
    EXPECT_EQ(ds.MacroByName(2, "d"), &ds.DeleteMacros().Items(0));
    EXPECT_EQ(ds.MacroByName(3, "i"), &ds.InsertMacros().Items(0));
    EXPECT_EQ(ds.MacroByName(4, "r"), &ds.RefreshMacros().Items(0));
    EXPECT_EQ(ds.MacroByName(2, "s"), nullptr);
    EXPECT_EQ(ds.SelectMacros().Query(), &ds.EnhStatement(skSelect));
}

TEST_F(EnhIBDataSetTest, ServerErrorsWhileOpeningAreShownOnce) {
    TEnhIBDataSet ds;
    Attach(ds);
    ds.SetSelectSQL("select * from NO_SUCH_TABLE");
    const std::string prefix = Utf8ToWin1251(
        "Запишите, пожалуста, приведенное ниже сообщение и обратитесь к разработчикам:");
    ds.Open();
    EXPECT_FALSE(ds.Active());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Type, mtInformation);
    EXPECT_EQ(boxes[0].Buttons, Buttons(mbCancel));
    ASSERT_GT(boxes[0].Text.size(), prefix.size());
    EXPECT_EQ(boxes[0].Text.substr(0, prefix.size()), prefix);
    EXPECT_NE(boxes[0].Text.find("NO_SUCH_TABLE"), std::string::npos);

    ds.UseNativeMsg = true;
    ds.Open();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Type, mtError);
    EXPECT_EQ(boxes[1].Text, boxes[0].Text.substr(prefix.size()));

    // Errors of the access layer itself pass on.
    ds.SetSelectSQL("  ");
    EXPECT_THROW(ds.Open(), EFIBError);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST(DatabaseErrorText, ChosenBySQLCode) {
    struct Case {
        int code;
        const char* message;
        const char* shownUtf8;
    };
    const Case cases[] = {
        {-913, "deadlock", "Данные заняты другим пользователем."},
        {-902, "login", "Неверный пароль или имя пользователя."},
        {-836, "exception 1\nE_X\n|Stock is empty|", "Stock is empty"},
        {-836, "exception 1\n|Stock is empty|\nAt procedure 'P'", "Stock is empty|\nAt procedure 'P"},
        {-836, "no bars here", "no bars here"},
        {-836, "ends with a bar|", ""},
        {-836, "|", ""},
        {-836, "a|b", ""},
        {-803, "violation of PRIMARY", "Вносимые изменения дублируют уже имеющуюся информацию."},
        {-551, "no permission", " Вы не имеете прав на доступ к этой таблице. "},
        {-530, "Operation violates CHECK constraint C1 on view or table T",
         "Вы попытались ввести в одну из колонок недопустимое значение."},
        {-530, "violation of FOREIGN KEY constraint",
         "Операция удаления или корректировки невозможна, т.к. нарушаются связи с другими таблицами. "},
        {-204, "Table unknown",
         "Запишите, пожалуста, приведенное ниже сообщение и обратитесь к разработчикам:Table unknown"},
    };
    for (const Case& c : cases) {
        std::vector<TMessageRequest> shown;
        TScopedMessageHandler handler([&](const TMessageRequest& r) {
            shown.push_back(r);
            return int(mrOk);
        });
        const EFIBInterBaseError e(c.code, 0, c.message);
        const int answer = ShowDatabaseError(e, mbOKCancel);
        if (std::string(c.shownUtf8).empty()) {
            EXPECT_EQ(answer, 0) << c.message;
            EXPECT_TRUE(shown.empty()) << c.message;
        } else {
            EXPECT_EQ(answer, mrOk);
            ASSERT_EQ(shown.size(), 1u) << c.message;
            EXPECT_EQ(shown[0].Text, Utf8ToWin1251(c.shownUtf8)) << c.message;
            EXPECT_EQ(shown[0].Type, mtInformation);
            EXPECT_EQ(shown[0].Buttons, mbOKCancel);
        }
    }
    // The texts are WIN1251 bytes: "Данные" written out.
    EXPECT_EQ(DatabaseErrorText(EFIBInterBaseError(-913, 0, "")).substr(0, 6), "\xC4\xE0\xED\xED\xFB\xE5");
}

TEST(EnhFieldClasses, FollowTheFieldTypeTable) {
    const char* expected[] = {nullptr, "TEnhStringField", "TSmallintField", "TEnhIntegerField", "TWordField",
                              "TBooleanField", "TEnhFloatField", "TCurrencyField", "TBCDField", "TEnhDateField",
                              "TTimeField", "TEnhDateTimeField", "TBytesField", "TVarBytesField",
                              "TAutoIncField", "TBlobField", "TMemoField", "TGraphicField", "TBlobField",
                              "TBlobField", "TBlobField", "TBlobField"};
    TEnhIBDataSet ds;
    for (int t = ftUnknown; t <= ftTypedBinary; ++t) {
        TFieldClass cls = ds.GetFieldClass(static_cast<TFieldType>(t));
        if (!expected[t]) {
            EXPECT_EQ(cls, nullptr);
            continue;
        }
        ASSERT_NE(cls, nullptr) << t;
        EXPECT_STREQ(cls->Name, expected[t]) << t;
        EXPECT_STREQ(cls->Create()->ClassName(), expected[t]);
    }
    EXPECT_EQ(ds.GetFieldClass(static_cast<TFieldType>(40)), nullptr);
}

TEST_F(EnhIBDataSetTest, DefaultFieldsAreEnhancedFields) {
    TEnhIBDataSet ds;
    Attach(ds);
    ds.SetSelectSQL("select ID, NAME, QTY, PRICE, D, NOTE, cast(1.5 as numeric(9,2)) as N from T");
    ds.Open();
    std::vector<std::string> classes;
    for (int i = 0; i < ds.FieldCount(); ++i) classes.push_back(ds.Fields(i).ClassName());
    EXPECT_EQ(classes, (std::vector<std::string>{"TEnhIntegerField", "TEnhStringField", "TEnhIntegerField",
                                                 "TEnhFloatField", "TEnhDateTimeField", "TMemoField",
                                                 "TEnhFloatField"}));
    ds.Close();
    EXPECT_EQ(ds.FieldCount(), 0);  // default fields go with the open dataset
}

TEST(EnhFieldAttributes, CopiedOnlyBetweenTheSameClass) {
    TEnhStringField s;
    TEnhIntegerField i;
    ASSERT_NE(s.SwitchParams(), nullptr);
    EXPECT_EQ(s.SwitchParams()->Count(), 0);
    EXPECT_EQ(i.SwitchParams(), nullptr);

    TEnhIntegerField src;
    src.Attributes = 1;
    src.DisplayFormat = "#,##0";
    src.EditFormat = "0";
    src.KeyFields = "K";
    src.Origin = "T.ID";
    CopyEnhAttributes(i, src);
    EXPECT_EQ(i.Attributes, 1);
    EXPECT_EQ(i.DisplayFormat, "#,##0");
    EXPECT_EQ(i.EditFormat, "0");
    EXPECT_EQ(i.KeyFields, "K");
    EXPECT_EQ(i.Origin, "T.ID");

    TEnhIntegerField untouched;
    TIntegerField plain;
    plain.DisplayFormat = "0.00";
    CopyEnhAttributes(untouched, plain);
    CopyEnhAttributes(untouched, s);
    EXPECT_EQ(untouched.DisplayFormat, "");
    TEnhDateField date;
    TEnhDateTimeField dateTime;
    dateTime.Attributes = 3;
    CopyEnhAttributes(date, dateTime);
    EXPECT_EQ(date.Attributes, 0);

    TEnhStringField from;
    from.SwitchField = "SW";
    from.EditMask = "999";
    for (const char* link : {"b", "a", ""}) from.SwitchParams()->Add().LinkName = link;
    from.SwitchParams()->Items(0).GridId = 9;
    s.SwitchParams()->Add().LinkName = "old";
    CopyEnhAttributes(s, from);
    ASSERT_EQ(s.SwitchParams()->Count(), 3);
    EXPECT_EQ(s.SwitchParams()->Items(0).LinkName, "b");
    EXPECT_EQ(s.SwitchParams()->Items(0).GridId, 9);
    EXPECT_EQ(s.SwitchParams()->Items(2).GetDisplayName(), "New Parameter");
    EXPECT_EQ(s.SwitchField, "SW");
    EXPECT_EQ(s.EditMask, "999");
    EXPECT_EQ(s.SwitchParams()->Field(), &s);
}

TEST_F(EnhIBDataSetTest, AssignCopiesStatementsAndMatchingFieldSettings) {
    TEnhIBDataSet source;
    Attach(source);
    source.SetSelectSQL("select ID as A, NAME as B, QTY as C from T %Sorts");
    source.SetDeleteSQL("delete from T where ID = ?old_A");
    source.MacroByName(0, "Sorts")->SetValue("order by 1");
    source.KeyField = "A";
    source.KeyGenerator = "GEN_T";
    source.AutoCommit = true;
    source.UseNativeMsg = true;
    auto& a = static_cast<TEnhIntegerField&>(source.AddField(std::make_unique<TEnhIntegerField>()));
    a.SetFieldName("A");
    a.Attributes = 1;
    auto& c = static_cast<TEnhIntegerField&>(source.AddField(std::make_unique<TEnhIntegerField>()));
    c.SetFieldName("C");
    c.DisplayFormat = "0.0";

    TEnhIBDataSet target;
    TFIBDataSet plain;
    target.Assign(plain);  // not an enhanced dataset: nothing happens
    EXPECT_EQ(target.Database(), nullptr);

    target.Assign(source);
    EXPECT_EQ(target.Database(), conn.db.get());
    EXPECT_EQ(target.SelectSQL(), source.SelectSQL());
    EXPECT_EQ(target.DeleteSQL(), source.DeleteSQL());
    ASSERT_EQ(target.SelectMacros().Count(), 1);
    EXPECT_EQ(target.SelectMacros().Items(0).Value(), "order by 1");
    EXPECT_EQ(target.SelectMacros().Query(), &target.EnhStatement(skSelect));
    EXPECT_EQ(target.KeyGenerator, "GEN_T");
    EXPECT_TRUE(target.AutoCommit);
    EXPECT_FALSE(target.UseNativeMsg);

    ASSERT_EQ(target.FieldCount(), 3);
    auto& ta = dynamic_cast<TEnhIntegerField&>(target.FieldByName("A"));
    auto& tb = dynamic_cast<TEnhStringField&>(target.FieldByName("B"));
    auto& tc = dynamic_cast<TEnhIntegerField&>(target.FieldByName("C"));
    EXPECT_EQ(ta.Attributes, 1);
    EXPECT_EQ(tb.Attributes, 0);
    EXPECT_EQ(tc.DisplayFormat, "0.0");

    Exec("insert into T (ID, NAME, QTY) values (1, 'x', 3)");
    target.Open();
    EXPECT_EQ(target.FieldByName("C").AsInteger(), 3);
    EXPECT_THROW(target.Assign(source), EFIBError);  // open: the text setter refuses
}

}  // namespace
