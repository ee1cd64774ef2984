// TReplicator's references, slots, default file name and progress event.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Replicator.h"
#include "tests/support/TestDatabases.h"

TEST(ReplicatorTest, SettingAReferenceBindsItsSlotsAndClearingItLeavesThem) {
    TReplicator r;
    TFIBDatabase work, config;
    TFIBTransaction tr, cfgTr;
    r.SetWorkDB(&work);
    r.SetConfigDB(&config);
    r.SetTran(&tr);
    r.SetCfgTran(&cfgTr);
    for (TFIBQuery* q : {&r.WorkQuery(), &r.LogQuery(), &r.ValuesQuery()}) {
        EXPECT_EQ(q->Database(), &work);
        EXPECT_EQ(q->Transaction(), &tr);
    }
    for (TFIBQuery* q : {&r.ConfigQuery(), &r.FieldsQuery()}) {
        EXPECT_EQ(q->Database(), &config);
        EXPECT_EQ(q->Transaction(), &cfgTr);
    }
    r.SetWorkDB(nullptr);
    r.SetTran(nullptr);
    EXPECT_EQ(r.WorkDB(), nullptr);
    EXPECT_EQ(r.Tran(), nullptr);
    EXPECT_EQ(r.WorkQuery().Database(), &work);
    EXPECT_EQ(r.LogQuery().Transaction(), &tr);
}

TEST(ReplicatorTest, DefaultFileNameIsInTheTemporaryFolderAndStays) {
    TReplicator r;
    EXPECT_EQ(r.FileName, "");
    const std::string expected = (std::filesystem::temp_directory_path() / "_repl_.swp").string();
    EXPECT_EQ(r.TransportFileName(), expected);
    EXPECT_EQ(r.FileName, expected);
    r.FileName = "/somewhere/else.swp";
    EXPECT_EQ(r.TransportFileName(), "/somewhere/else.swp");
}

TEST(ReplicatorTest, ProgressGoesToTheHandlerOnlyWhenAssigned) {
    TReplicator r;
    r.ReportProgress("nobody listens");  // no handler: nothing happens
    r.ReportInformation("nobody listens");
    std::vector<std::string> seen;
    r.OnJobProgress = [&](TReplicator& sender, const std::string& text) {
        EXPECT_EQ(&sender, &r);
        seen.push_back(text);
    };
    r.ReportProgress("step");
    EXPECT_EQ(seen, std::vector<std::string>{"step"});
}

class ReplicatorSlotsTest : public DatabaseTest {};

TEST_F(ReplicatorSlotsTest, CloseQueriesClosesEveryOpenSlot) {
    auto work = testdb::OpenConnection(NewDatabase("work.gdb"));
    TReplicator r;
    r.SetWorkDB(work.db.get());
    r.SetTran(work.tr.get());
    r.SetConfigDB(work.db.get());
    r.SetCfgTran(work.tr.get());
    for (TFIBQuery* q : {&r.LogQuery(), &r.ValuesQuery(), &r.FieldsQuery(), &r.ConfigQuery(), &r.WorkQuery()}) {
        q->SetSQL("select 1 from rdb$database");
        q->ExecQuery();
        EXPECT_TRUE(q->Open());
    }
    r.CloseQueries();
    r.CloseQueries();  // closing closed slots does nothing
    for (TFIBQuery* q : {&r.LogQuery(), &r.ValuesQuery(), &r.FieldsQuery(), &r.ConfigQuery(), &r.WorkQuery()})
        EXPECT_FALSE(q->Open());
}
