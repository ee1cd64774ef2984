// The generated capture trigger texts, character by character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CaptureTriggerText.h"

namespace {

// Expected texts are written here line by line, independently of the generator.
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    return text;
}

std::vector<TCaptureField> PlainFields(int count, int nameLength) {
    std::vector<TCaptureField> fields;
    for (int i = 1; i <= count; ++i) {
        std::string name = "F" + std::to_string(i);
        name.resize(nameLength, 'X');
        fields.push_back({name, "", ""});
    }
    return fields;
}

int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
}

}  // namespace

TEST(CaptureTriggerTextTest, KeyTrigger) {
    EXPECT_EQ(KeyTriggerText("ORDERS"),
              Lines({"create trigger DD_LOG_BI_ORDERS for ORDERS before insert position 99",
                     "as ",
                     "declare variable Semaphore Integer; ",
                     "begin ",
                     "Semaphore = gen_id(DD_SEMAPHORE,0);",
                     "if ((Semaphore=0) or (new.DD_REPL_KEY is null)) then ",
                     "begin ",
                     "   new.DD_REPL_KEY = gen_id(DD_REPL_GEN_ORDERS,1); ",
                     "   new.DD_REPL_DB = gen_id(DD_ID_VALUE,0); ",
                     "end ",
                     "end "}));
}

TEST(CaptureTriggerTextTest, OnePlainFieldGivesMainInsertUpdateAndDeleteTriggers) {
    const std::vector<TCaptureField> fields = {{"QTY", "", ""}};
    const std::string insertValues = "   insert into DD_LOG_VALUES(DD_LOG_ID,FIELD_NAME, OLD_VALUE, NEW_VALUE) ";

    const auto inserts = InsertLogTriggers("ITEMS", fields);
    ASSERT_EQ(inserts.size(), 1u);
    EXPECT_EQ(inserts[0].Name, "DD_LOG_AI_ITEMS");
    EXPECT_EQ(inserts[0].Position, 99);
    EXPECT_EQ(inserts[0].Text,
              Lines({"create trigger DD_LOG_AI_ITEMS for ITEMS after insert position 99 ",
                     "as ",
                     "declare variable LogId integer; ",
                     "declare variable Semaphore integer; ",
                     "begin ",
                     "Semaphore = gen_id(DD_SEMAPHORE,0); ",
                     "if (:Semaphore=0) then begin ",
                     "   LogId = gen_id(DD_LOG_ID_GEN,1); ",
                     "   insert into DD_LOG ",
                     "   (ID,TABLE_NAME,OPER,DD_REPL_DB, DD_REPL_KEY) ",
                     "   values (:LogId,\"ITEMS\",\"I\", new.DD_REPL_DB, new.DD_REPL_KEY ); ",
                     "   " + insertValues,
                     "   values (:LogId, \"QTY\", null, cast(new.QTY as varchar(255))); ",
                     "",
                     " ",
                     "end ",
                     "end; "}));

    const auto updates = UpdateLogTriggers("ITEMS", fields);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].Name, "DD_LOG_AU_ITEMS");
    EXPECT_EQ(updates[0].Position, 99);
    EXPECT_EQ(updates[0].Text,
              Lines({"create trigger DD_LOG_AU_ITEMS for ITEMS after update position 99 ",
                     "as ",
                     "declare variable LogId integer; ",
                     "declare variable Semaphore integer; ",
                     "begin ",
                     "if ((1=1) and ((New.QTY<>Old.QTY))) then begin ",
                     "Semaphore = gen_id(DD_SEMAPHORE,0); ",
                     "if (:Semaphore=0) then begin ",
                     "   LogId = gen_id(DD_LOG_ID_GEN,1); ",
                     "   insert into DD_LOG ",
                     "   (ID,TABLE_NAME,OPER,DD_REPL_DB, DD_REPL_KEY) ",
                     "   values (:LogId,\"ITEMS\",\"U\", new.DD_REPL_DB, new.DD_REPL_KEY ); ",
                     "   ",
                     "",
                     insertValues,
                     "   values (:LogId, \"QTY\",cast(old.QTY as varchar(255)) , cast(new.QTY as varchar(255))); ",
                     "",
                     " ",
                     "end ",
                     "end ",
                     "end; "}));

    EXPECT_EQ(DeleteLogTriggerText("ITEMS"),
              Lines({"create trigger DD_LOG_AD_ITEMS for ITEMS after delete position 99 ",
                     "as ",
                     "declare variable LogId integer; ",
                     "declare variable Semaphore integer; ",
                     "begin ",
                     "Semaphore = gen_id(DD_SEMAPHORE,0); ",
                     "if (:Semaphore=0) then begin ",
                     "   LogId = gen_id(DD_LOG_ID_GEN,1); ",
                     "   insert into DD_LOG ",
                     "   (ID,TABLE_NAME,OPER,DD_REPL_DB, DD_REPL_KEY) ",
                     "   values (:LogId,\"ITEMS\",\"D\", old.DD_REPL_DB, old.DD_REPL_KEY ); ",
                     "   ",
                     "",
                     " ",
                     "end ",
                     "end; "}));
}

TEST(CaptureTriggerTextTest, NoFieldsGiveNoLogTriggers) {
    EXPECT_TRUE(InsertLogTriggers("T", {}).empty());
    EXPECT_TRUE(UpdateLogTriggers("T", {}).empty());
    EXPECT_EQ(ChangeCondition({}), "");
}

TEST(CaptureTriggerTextTest, ReferenceFieldsTravelAsRowIdentity) {
    const TCaptureField ref{"CUST_ID", "CUSTOMERS", "ID"};
    const std::string refNew =
        "(select \"(\" || cast(DD_REPL_DB as varchar(9)) || \",\" || cast(DD_REPL_KEY as varchar(9)) "
        "|| \")\" from CUSTOMERS where ID=new.CUST_ID)";
    const std::string refOld =
        "(select \"(\" || cast(DD_REPL_DB as varchar(9)) || \",\" || cast(DD_REPL_KEY as varchar(9)) "
        "|| \")\" from CUSTOMERS where ID=old.CUST_ID)";
    EXPECT_EQ(ReferenceForm("CUSTOMERS", "ID", "new.CUST_ID"), refNew);
    EXPECT_EQ(CountOf(refNew, "\""), 6);
    const std::string head = "   insert into DD_LOG_VALUES(DD_LOG_ID,FIELD_NAME, OLD_VALUE, NEW_VALUE) \n";
    EXPECT_EQ(InsertValueBlock(ref), head + "   values (:LogId, \"CUST_ID\", null," + refNew + "); \n\n");
    EXPECT_EQ(UpdateValueBlock(ref),
              head + "   values (:LogId, \"CUST_ID\"," + refOld + "," + refNew + "); \n\n");

    // Only both reference settings make a reference field.
    EXPECT_FALSE((TCaptureField{"CUST_ID", "CUSTOMERS", ""}.IsReference()));
    EXPECT_FALSE((TCaptureField{"CUST_ID", "", "ID"}.IsReference()));
}

TEST(CaptureTriggerTextTest, SameFieldWithTwoReferenceSettingsOccursTwice) {
    const std::vector<TCaptureField> fields = {{"A", "", ""}, {"B", "", ""}, {"B", "T2", "ID"}};
    EXPECT_EQ(ChangeCondition(fields), "and ((New.A<>Old.A) or (New.B<>Old.B) or (New.B<>Old.B))");
    const auto text = UpdateLogTriggers("T", fields).at(0).Text;
    EXPECT_NE(text.find("if ((1=1) and ((New.A<>Old.A) or (New.B<>Old.B) or (New.B<>Old.B))) then begin \n"),
              std::string::npos);
    EXPECT_EQ(CountOf(text, "insert into DD_LOG_VALUES"), 3);
    EXPECT_EQ(CountOf(InsertLogTriggers("T", fields).at(0).Text, "\"B\""), 2);
}

TEST(CaptureTriggerTextTest, BlockAndConditionLengthsGrowWithTheNameLength) {
    for (int length : {1, 3, 10, 31}) {
        SCOPED_TRACE(length);
        const auto fields = PlainFields(2, length);
        EXPECT_EQ(InsertValueBlock(fields[0]).size(), 134u + 2 * length);
        EXPECT_EQ(UpdateValueBlock(fields[0]).size(), 156u + 3 * length);
        EXPECT_EQ(ChangeCondition({fields[0]}).size(), 17u + 2 * length + 1);
        EXPECT_EQ(ChangeCondition(fields).size(), (17u + 2 * length) + (16u + 2 * length) + 1);
    }
}

// 25 fields of 10 characters: the insert list is cut after field 24, the update list
// (whose change condition counts too) after field 15.
TEST(CaptureTriggerTextTest, LongFieldListIsSplitIntoContinuationTriggers) {
    const auto fields = PlainFields(25, 10);
    std::string firstInsertChunk, lastInsertChunk = "\n\n", firstUpdateChunk = "\n\n", lastUpdateChunk = "\n\n";
    for (int i = 0; i < 25; ++i) {
        (i < 24 ? firstInsertChunk : lastInsertChunk) += InsertValueBlock(fields[i]);
        (i < 15 ? firstUpdateChunk : lastUpdateChunk) += UpdateValueBlock(fields[i]);
    }
    ASSERT_EQ(firstInsertChunk.size(), 3696u);
    ASSERT_EQ(lastInsertChunk.size(), 156u);
    const std::string condition = ChangeCondition(fields);
    ASSERT_EQ(condition.size(), 902u);

    const auto inserts = InsertLogTriggers("T", fields);
    ASSERT_EQ(inserts.size(), 2u);
    EXPECT_EQ(inserts[0].Name, "DD_LOG_AI_T99");
    EXPECT_EQ(inserts[0].Position, 99);
    EXPECT_EQ(inserts[0].Text,
              Lines({"create trigger DD_LOG_AI_T99 for T after insert position 99 ",
                     "as ",
                     "declare variable LogId integer; ",
                     "declare variable Semaphore integer; ",
                     "begin ",
                     "Semaphore = gen_id(DD_SEMAPHORE,0); ",
                     "if (:Semaphore=0) then begin ",
                     "   for select id from dd_log where table_name=\"T\" and oper=\"I\" and    "
                     "dd_repl_db=new.dd_repl_db and dd_repl_key=new.dd_repl_key    order by dd_repl_key, "
                     "table_name, oper, dd_repl_db, id into :LogId do LogId = :LogId; ",
                     "   " + firstInsertChunk + " ",
                     "end ",
                     "end; "}));
    EXPECT_EQ(inserts[1].Name, "DD_LOG_AI_T");
    EXPECT_EQ(inserts[1].Position, 98);
    EXPECT_NE(inserts[1].Text.find("create trigger DD_LOG_AI_T for T after insert position 98 \n"), std::string::npos);
    EXPECT_NE(inserts[1].Text.find("\n   " + lastInsertChunk + " \nend \nend; "), std::string::npos);

    const auto updates = UpdateLogTriggers("T", fields);
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_EQ(updates[0].Name, "DD_LOG_AU_T99");
    EXPECT_EQ(updates[0].Position, 99);
    EXPECT_EQ(updates[0].Text,
              Lines({"create trigger DD_LOG_AU_T99 for T after update position 99 ",
                     "as ",
                     "declare variable LogId integer; ",
                     "declare variable Semaphore integer; ",
                     "begin ",
                     "if ((1=1) " + condition + ") then begin ",
                     "Semaphore = gen_id(DD_SEMAPHORE,0); ",
                     "if (:Semaphore=0) then begin ",
                     "   for select id from dd_log where table_name=\"T\" and oper=\"U\" and    "
                     "dd_repl_db=new.dd_repl_db and dd_repl_key=new.dd_repl_key    order by dd_repl_key, "
                     "table_name, oper, dd_repl_db, id into :LogId do LogId = :LogId; ",
                     "   " + firstUpdateChunk + " ",
                     "end ",
                     "end ",
                     "end; "}));
    EXPECT_EQ(updates[1].Name, "DD_LOG_AU_T");
    EXPECT_EQ(updates[1].Position, 98);
    EXPECT_NE(updates[1].Text.find("\n   " + lastUpdateChunk + " \nend \nend \nend; "), std::string::npos);
}

TEST(CaptureTriggerTextTest, EveryCutLowersThePositionByOne) {
    // Three cuts: continuation triggers at 99, 98, 97 and the main trigger at 96.
    const auto inserts = InsertLogTriggers("T", PlainFields(90, 10));
    ASSERT_EQ(inserts.size(), 4u);
    EXPECT_EQ(inserts[2].Name, "DD_LOG_AI_T97");
    EXPECT_EQ(inserts[3].Name, "DD_LOG_AI_T");
    EXPECT_EQ(inserts[3].Position, 96);
    int blocks = 0;
    for (const auto& t : inserts) blocks += CountOf(t.Text, "insert into DD_LOG_VALUES");
    EXPECT_EQ(blocks, 90);
}
