#include <gtest/gtest.h>

#include "tests/dbaccess/DbAccessFixture.h"

namespace {

struct ExpansionCase {
    const char* text;
    std::vector<std::tuple<const char*, const char*, int>> macros;  // name, value, ParamType
    const char* expanded;
};

TEST(MacroExpansion, ReferencesAndDateLiterals) {
    const ExpansionCase cases[] = {
        {"select * from T\r\n%Filter\r\n", {{"filter", "where Rep_Item_Id = :ItemKod", 1}},
         "select * from T\r\nwhere Rep_Item_Id = :ItemKod\r\n"},
        {"select * from T\r\n%Filter\r\n", {{"FILTER", "", 1}}, "select * from T\r\n\r\n"},
        {"x %Filter %Sorts y", {{"filter", "F", 1}, {"sorts", "S", 1}}, "x F S y"},
        {"a %Missing b", {}, "a  b"},
        {"a = %V", {{"v", "A'B", 0}}, "a = 'A'B'"},
        {"%V", {{"v", "%Other here", 1}, {"other", "NO", 1}}, "%Other here"},
        {"%sort2", {{"sort", "S", 1}, {"sort2", "WRONG", 1}}, "S2"},
        {"%_x_y!", {{"_X_Y", "ok", 1}}, "ok!"},
        {"100% 5%", {}, "100% 5%"},
        {"a %1b %", {}, "a %1b %"},
        {"where d = \"5/11/1999\"", {}, "where d = \"5.11.1999\""},
        {"31/12/2004 1/2/2004 01/02/03 12/31/2004", {},
         "31.12.2004 1.2.2004 01.02.03 12.31.2004"},
        {"1/2/3 12/12/12/12 a/b/cd", {}, "1/2/3 12.12.12/12 a/b/cd"},
        {"%D", {{"d", "1/22/1999", 1}}, "1.22.1999"},
        {"", {}, ""},
        {"%", {}, "%"},
    };
    for (const auto& c : cases) {
        TMacroParamList list;
        for (const auto& [name, value, type] : c.macros) {
            TMacroParam& m = list.Add();
            m.Name = name;
            m.SetValue(value);
            m.ParamType = type;
        }
        EXPECT_EQ(ExpandMacros(c.text, list), c.expanded) << c.text;
    }
}

TEST(MacroExpansion, NamesFoldLatinAndRussianLetters) {
    TMacroParamList list;
    list.Add().Name = "first";
    list.Add().Name = "\xF4\xE8\xEB\xFC\xF2\xF0\xB8";  // фильтрё
    list.Add().Name = "FIRST";
    EXPECT_EQ(list.Find("FiRsT"), &list.Items(0));
    EXPECT_EQ(list.Find("\xD4\xC8\xCB\xDC\xD2\xD0\xA8"), &list.Items(1));  // ФИЛЬТРЁ
    EXPECT_EQ(list.Find("firs"), nullptr);
    EXPECT_EQ(list.Find(""), nullptr);
    list.Add();
    EXPECT_EQ(list.Find(""), &list.Items(3));
}

TEST(MacroRegistration, AddsOnlyNewNamesWithDigits) {
    TMacroParamList list;
    TMacroParam& sort = list.Add();
    sort.Name = "SORT";
    sort.SetValue("keep");
    RegisterMacros("%sort %sort2 %Filter % %filter %9", list);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Items(0).Value(), "keep");
    EXPECT_EQ(list.Items(1).Name, "sort2");
    EXPECT_EQ(list.Items(2).Name, "Filter");
    EXPECT_EQ(list.Items(3).Name, "9");
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(list.Items(i).ParamType, 1);
        EXPECT_EQ(list.Items(i).Value(), "");
    }
}

TEST(MacroParamItem, DisplayNameAndAssign) {
    TMacroParamList list;
    TMacroParam& m = list.Add();
    m.Name = "   ";
    EXPECT_EQ(m.GetDisplayName(), "New Parameter");
    m.Name = "Sorts";
    EXPECT_EQ(m.GetDisplayName(), "Sorts");

    TMacroParamList source;
    for (const char* n : {"b", "a"}) {
        TMacroParam& s = source.Add();
        s.Name = n;
        s.SetValue(std::string("v") + n);
        s.ParamType = 5;
    }
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.Assign(&source);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Name, "b");
    EXPECT_EQ(list.Items(1).Value(), "va");
    EXPECT_EQ(list.Items(1).ParamType, 5);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(list.UpdateCount(), 0);

    TSwitchParam other;
    try {
        list.Items(0).Assign(&other);
        FAIL();
    } catch (const EFIBError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TSwitchParam to a TMacroParam");
    }
}

class MacroOnQueryTest : public DbAccessTest {};

TEST_F(MacroOnQueryTest, FilterMacroDecidesTheParameters) {
    TEnhIBQuery q;
    Attach(q);
    q.SetSQL("select ID from T\r\n%Filter\r\n");
    TMacroParam* filter = q.MacroByName("filter");
    ASSERT_NE(filter, nullptr);
    filter->SetValue("where ID = :ItemKod");
    q.Prepare();
    ASSERT_EQ(q.ParamCount(), 1);
    EXPECT_EQ(q.Param(0).Name(), "ITEMKOD");
    EXPECT_EQ(q.SQL(), "select ID from T\r\n%Filter\r\n");
    EXPECT_EQ(q.ProcessedSQL(), "select ID from T\r\nwhere ID = ?\r\n");

    filter->SetValue("");  // prepared: prepared again at once
    EXPECT_TRUE(q.Prepared());
    EXPECT_EQ(q.ParamCount(), 0);
    EXPECT_EQ(q.ParamByName("ItemKod"), nullptr);
}

TEST_F(MacroOnQueryTest, ValueChangeCarriesParametersByPosition) {
    Exec("insert into T (ID, NAME) values (7, 'x')");
    TEnhIBQuery q;
    Attach(q);
    q.SetSQL("select ID from T where ID = :A and NAME = :B %More");
    q.Prepare();
    q.ParamByName("A")->SetAsInteger(7);
    q.ParamByName("B")->SetAsString("x");
    q.MacroByName("More")->SetValue("and (:C is null or QTY = :C)");
    ASSERT_EQ(q.ParamCount(), 3);
    EXPECT_EQ(VarToInt64(q.Param(0).Value()), 7);
    EXPECT_EQ(q.Param(1).AsString(), "x");
    EXPECT_TRUE(q.Param(2).IsNull());
    EXPECT_EQ(q.Param(2).Name(), "C");
    q.ExecQuery();
    EXPECT_FALSE(q.Eof());
    EXPECT_EQ(q.FieldByName("id").AsInteger(), 7);
}

TEST_F(MacroOnQueryTest, ValueChangeOnUnpreparedStatementTouchesNothing) {
    TEnhIBQuery q;  // no database at all: a prepare would fail
    q.SetSQL("select %Cols from T");
    q.MacroByName("cols")->SetValue("ID");
    EXPECT_FALSE(q.Prepared());
    EXPECT_EQ(q.MacroByName("cols")->Value(), "ID");
}

TEST_F(MacroOnQueryTest, InvalidValueFailsAtOnceAndLeavesItUnprepared) {
    TEnhIBQuery q;
    Attach(q);
    q.SetSQL("select ID from T %Filter");
    q.Prepare();
    EXPECT_THROW(q.MacroByName("Filter")->SetValue("where where"), EFIBInterBaseError);
    EXPECT_EQ(q.MacroByName("Filter")->Value(), "where where");
    EXPECT_FALSE(q.Prepared());
    EXPECT_EQ(q.SQL(), "select ID from T %Filter");
    q.MacroByName("Filter")->SetValue("where ID > 0");
    EXPECT_NO_THROW(q.ExecQuery());
}

TEST_F(MacroOnQueryTest, ValueChangeOnOpenCursorKeepsThePreparation) {
    TEnhIBQuery q;
    Attach(q);
    q.SetSQL("select ID from T where ID = :A %Filter");
    q.ParamByName("A")->SetAsInteger(1);
    q.ExecQuery();
    try {
        q.MacroByName("Filter")->SetValue("and NAME = :N");
        FAIL();
    } catch (const EFIBError& e) {
        EXPECT_STREQ(e.what(), "Dataset open.");
    }
    EXPECT_EQ(q.MacroByName("Filter")->Value(), "and NAME = :N");
    EXPECT_TRUE(q.Prepared());
    ASSERT_EQ(q.ParamCount(), 1);
    EXPECT_EQ(VarToInt64(q.Param(0).Value()), 1);
}

TEST_F(MacroOnQueryTest, CarryOverStopsAt256Parameters) {
    std::string where;
    for (int i = 0; i < 300; ++i) where += (i ? " or ID = :P" : "ID = :P") + std::to_string(i);
    TEnhIBQuery q;
    Attach(q);
    q.SetSQL("select ID from T where " + where + " %Extra");
    ASSERT_EQ(q.ParamCount(), 300);
    for (int i = 0; i < 300; ++i) q.Param(i).SetAsInteger(i);
    q.MacroByName("Extra")->SetValue("or ID = :Q");
    ASSERT_EQ(q.ParamCount(), 301);
    EXPECT_EQ(VarToInt64(q.Param(255).Value()), 255);
    for (int i = 256; i < 301; ++i) EXPECT_TRUE(q.Param(i).IsNull()) << i;
    EXPECT_NO_THROW(q.ExecQuery());
}

}  // namespace
