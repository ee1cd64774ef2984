// A change travels: capture at the sender, export, load and apply at the receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <streambuf>

#include "engine/LogTransport.h"
#include "engine/Replicator.h"
#include "fib/FIBError.h"
#include "tests/support/TestDatabases.h"

using testdb::Exec;
using testdb::IntValue;
using testdb::Rows;
using testdb::Value;
using Strings = std::vector<std::string>;

namespace {

// Item 1 sends from database 1 to database 2 with flow 1: CUSTOMERS (ID, NAME, CITY,
// BORN, RATE) and ORDERS (ID, CUST_ID referring to CUSTOMERS.ID, QTY, NOTE).
const char* const kConfig[] = {
    "insert into DD_OBJECTS values (1, 'Sender')",
    "insert into DD_OBJECTS values (2, 'Receiver')",
    "insert into DD_REPL_ITEMS values (1, 'Sender to receiver', 1, 2)",
    "insert into DD_PUBLICATIONS values (1, 'Sales')",
    "insert into DD_SUBSCRIPTIONS values (1, 1, 1)",
    "insert into DD_TABLES values (1, 'CUSTOMERS', 1, null)",
    "insert into DD_TABLES values (2, 'ORDERS', 1, null)",
    "insert into DD_FIELDS values (1, 'ID', 1, null, null)",
    "insert into DD_FIELDS values (2, 'NAME', 1, null, null)",
    "insert into DD_FIELDS values (3, 'CITY', 1, null, null)",
    "insert into DD_FIELDS values (4, 'BORN', 1, null, null)",
    "insert into DD_FIELDS values (5, 'RATE', 1, null, null)",
    "insert into DD_FIELDS values (6, 'ID', 2, null, null)",
    "insert into DD_FIELDS values (7, 'CUST_ID', 2, 'CUSTOMERS', 'ID')",
    "insert into DD_FIELDS values (8, 'QTY', 2, null, null)",
    "insert into DD_FIELDS values (9, 'NOTE', 2, null, null)",
};

const char* const kTables[] = {
    "create table CUSTOMERS (ID integer not null primary key, NAME varchar(40), CITY char(10), BORN date, "
    "RATE numeric(9,2), SECRET varchar(20))",
    "create table ORDERS (ID integer not null primary key, CUST_ID integer references CUSTOMERS (ID), "
    "QTY integer, NOTE varchar(100))",
};

const char* const kCustomers = "select DD_REPL_DB, DD_REPL_KEY, ID, NAME, CITY, BORN, RATE from CUSTOMERS order by ID";
const char* const kOrders = "select DD_REPL_DB, DD_REPL_KEY, ID, CUST_ID, QTY, NOTE from ORDERS order by ID";

// A stream buffer that takes only so many bytes, like a disk that fills up.
class TLimitedBuffer : public std::streambuf {
public:
    explicit TLimitedBuffer(std::size_t room) : FRoom(room) {}

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof() || FRoom == 0) return traits_type::eof();
        --FRoom;
        return c;
    }

private:
    std::size_t FRoom;
};

}  // namespace

class ReplicationTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        config = testdb::OpenConnection(NewConfigDatabase());
        for (const char* sql : kConfig) Exec(config, sql);
        sender = testdb::OpenConnection(NewDatabase("sender.gdb"));
        receiver = testdb::OpenConnection(NewDatabase("receiver.gdb"));
        for (auto* side : {&sender, &receiver})
            for (const char* sql : kTables) Exec(*side, sql);
        Bind(out, sender);
        Bind(in, receiver);
        out.PrepareDatabase(1, 1);
        in.PrepareDatabase(2, 1);
    }

    void Bind(TReplicator& r, testdb::Connection& work) {
        r.SetWorkDB(work.db.get());
        r.SetTran(work.tr.get());
        r.SetConfigDB(config.db.get());
        r.SetCfgTran(config.tr.get());
        r.OnJobProgress = [this](TReplicator&, const std::string& text) { progress.push_back(text); };
    }

    // Exports item 1 (operator's start number: 0 continues) and returns the file's bytes.
    std::string Export(int start = 0, bool expectOk = true) {
        std::ostringstream file;
        EXPECT_EQ(out.CreateLogTransport(&file, 1, start - 1), expectOk) << out.LastError;
        return file.str();
    }

    bool Load(const std::string& bytes) {
        std::istringstream file(bytes);
        return in.LoadLogTransport(&file);
    }

    void Import(const std::string& bytes) {
        ASSERT_TRUE(Load(bytes)) << in.LastError;
        ASSERT_TRUE(in.ReplicateData()) << in.LastError;
    }

    Strings History() {
        return Rows(config, "select BEG_LOG_ID, END_LOG_ID, REPL_ITEM_ID from DD_REPL_HISTORY order by ID");
    }

    testdb::Connection config, sender, receiver;
    TReplicator out, in;
    Strings progress;
};

TEST_F(ReplicationTest, InsertsUpdatesAndDeletesArriveEqual) {
    const std::string cyrillic = "\xCC\xEE\xF1\xEA\xE2\xE0";  // WIN1251 letters
    Exec(sender, "insert into CUSTOMERS (ID, NAME, CITY, BORN, RATE, SECRET) values "
                 "(1, 'O''Brien \"Bob\"', 'Cork', '2026-01-02 03:04:05', 12.5, 'not sent')");
    Exec(sender, "insert into CUSTOMERS (ID, NAME, CITY) values (2, '" + cyrillic + "', '" + cyrillic + "')");
    Exec(sender, "insert into CUSTOMERS (ID, NAME, RATE) values (3, 'null', -0.25)");
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (4, 'gone soon')");
    Exec(sender, "insert into ORDERS (ID, CUST_ID, QTY, NOTE) values (10, 1, 5, 'a:b ? -- /* x '' \" ; %s')");
    Exec(sender, "insert into ORDERS (ID, CUST_ID, QTY, NOTE) values (11, 2, null, null)");
    Exec(sender, "insert into ORDERS (ID, CUST_ID, QTY, NOTE) values (12, 4, 1, 'to delete')");
    Exec(sender, "update CUSTOMERS set NAME = 'changed '' twice', RATE = null where ID = 3");
    Exec(sender, "update ORDERS set CUST_ID = 2, QTY = 7 where ID = 10");
    Exec(sender, "delete from ORDERS where ID = 12");
    Exec(sender, "delete from CUSTOMERS where ID = 4");

    Import(Export());
    EXPECT_EQ(Rows(receiver, kCustomers), Rows(sender, kCustomers));
    EXPECT_EQ(Rows(receiver, kOrders), Rows(sender, kOrders));
    EXPECT_EQ(Value(receiver, "select NAME from CUSTOMERS where ID = 1"), "O'Brien \"Bob\"");
    EXPECT_EQ(Value(receiver, "select NAME from CUSTOMERS where ID = 2"), cyrillic);
    EXPECT_EQ(IntValue(receiver, "select count(*) from CUSTOMERS where SECRET is not null"), 0);
    EXPECT_EQ(Rows(receiver, "select count(*) from DD_TMP_LOG"), Strings{"0"});
    // Replayed changes were not captured again, and the semaphore is back at 0.
    EXPECT_EQ(IntValue(receiver, "select count(*) from DD_LOG"), 0);
    EXPECT_EQ(IntValue(receiver, "select gen_id(DD_SEMAPHORE, 0) from rdb$database"), 0);
    EXPECT_EQ(progress.back(), "Replication successful");

    // A second round carries only what changed since.
    Exec(sender, "update CUSTOMERS set CITY = 'Kyiv' where ID = 2");
    Import(Export());
    EXPECT_EQ(Rows(receiver, kCustomers), Rows(sender, kCustomers));
}

TEST_F(ReplicationTest, HistoryAndStartOperation) {
    // Never exported, nothing logged: an empty file and a history row 1..0.
    EXPECT_EQ(Export(), "");
    EXPECT_EQ(History(), (Strings{"1|0|1"}));
    EXPECT_EQ(progress.back(), "Create successful");
    EXPECT_EQ(Export(), "");
    EXPECT_EQ(History(), (Strings{"1|0|1", "1|0|1"}));

    for (int id = 1; id <= 3; ++id)
        Exec(sender, "insert into CUSTOMERS (ID, NAME) values (" + std::to_string(id) + ", 'c')");
    const auto ops = IntValue(sender, "select max(ID) from DD_LOG");
    Export();
    EXPECT_EQ(History().back(), "1|" + std::to_string(ops) + "|1");
    // Nothing new: no history row, since the log holds nothing beyond the start point.
    EXPECT_EQ(Export(), "");
    EXPECT_EQ(History().size(), 3u);

    // Operator's number 1 exports everything again; number 2 starts with operation 2.
    const std::string all = Export(1);
    EXPECT_EQ(History().back(), "1|" + std::to_string(ops) + "|1");
    const std::string fromSecond = Export(2);
    EXPECT_EQ(History().back(), "2|" + std::to_string(ops) + "|1");
    EXPECT_LT(fromSecond.size(), all.size());
    EXPECT_EQ(std::count(progress.begin(), progress.end(), "Update history list"), 5);

    // An update of a column no flow configures writes nothing, yet advances the history.
    Exec(sender, "update CUSTOMERS set SECRET = 'x' where ID = 1");
    const auto after = IntValue(sender, "select max(ID) from DD_LOG");
    if (after > ops) {
        EXPECT_EQ(Export(), "");
        EXPECT_EQ(History().back(), std::to_string(ops + 1) + "|" + std::to_string(after) + "|1");
    }
}

TEST_F(ReplicationTest, ConditionsAndFieldsInTwoFlows) {
    Exec(config, "insert into DD_REPL_CONDITIONS values (1, 1, 'CUSTOMERS', "
                 "'select * from CUSTOMERS where (CUSTOMERS.NAME starting with ''keep'')')");
    // The same table and field in a second flow of the item: its values go twice.
    Exec(config, "insert into DD_PUBLICATIONS values (2, 'Sales again')");
    Exec(config, "insert into DD_SUBSCRIPTIONS values (2, 2, 1)");
    Exec(config, "insert into DD_TABLES values (3, 'ORDERS', 2, null)");
    Exec(config, "insert into DD_FIELDS values (10, 'QTY', 3, null, null)");

    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'keep me')");
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (2, 'skip me')");
    Exec(sender, "insert into ORDERS (ID, CUST_ID, QTY) values (5, 1, 3)");
    Exec(sender, "delete from CUSTOMERS where ID = 2");

    const std::string file = Export();
    std::istringstream stream(file);
    TLogTransportReader reader(stream);
    Strings operations;  // each operation with its values, sorted (their order is the server's)
    Strings values;
    auto flush = [&] {
        std::sort(values.begin(), values.end());
        for (const auto& v : values) operations.back() += " " + v;
        values.clear();
    };
    for (auto r = reader.Next(); r != TLogTransportReader::TRecord::End; r = reader.Next()) {
        if (r == TLogTransportReader::TRecord::Operation) {
            if (!operations.empty()) flush();
            operations.push_back(std::string(1, reader.Operation().Oper) + " " + reader.Operation().TableName + ":");
        } else {
            values.push_back(reader.Value().FieldName + "=" + reader.Value().NewValue);
        }
    }
    flush();
    // The kept customer passes its condition; the skipped one and the delete (no row to
    // test any more) do not; QTY travels twice.
    EXPECT_EQ(operations, (Strings{"I CUSTOMERS: BORN= CITY= ID=1 NAME=keep me RATE=",
                                   "I ORDERS: CUST_ID=(1,1) ID=5 NOTE= QTY=3 QTY=3"}));
}

TEST_F(ReplicationTest, ValueWithCaretFailsTheExportAndKeepsTheHistory) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'fine')");
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (2, 'up^down')");
    Export(0, false);
    EXPECT_EQ(progress.back(), "Create failed");
    EXPECT_TRUE(History().empty());
    const auto op = IntValue(sender, "select max(ID) from DD_LOG");
    EXPECT_NE(out.LastError.find("Operation " + std::to_string(op) + ", table CUSTOMERS, field NAME"),
              std::string::npos)
        << out.LastError;
    for (TFIBQuery* q : {&out.LogQuery(), &out.ValuesQuery(), &out.FieldsQuery(), &out.ConfigQuery(), &out.WorkQuery()})
        EXPECT_FALSE(q->Open());

    // Mended where the message says, the next export carries both rows.
    Exec(sender, "update CUSTOMERS set NAME = 'up-down' where ID = 2");
    Exec(sender, "update DD_LOG_VALUES set NEW_VALUE = replace(NEW_VALUE, '^', '-'), "
                 "OLD_VALUE = replace(OLD_VALUE, '^', '-')");
    Import(Export());
    EXPECT_EQ(Rows(receiver, kCustomers), Rows(sender, kCustomers));
}

TEST_F(ReplicationTest, AShortWriteFailsTheExport) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'a name long enough')");
    TLimitedBuffer buffer(60);
    std::ostream full(&buffer);
    EXPECT_FALSE(out.CreateLogTransport(&full, 1, -1));
    EXPECT_EQ(progress.back(), "Create failed");
    EXPECT_TRUE(History().empty());
}

TEST_F(ReplicationTest, LoadingTwiceLoadsEachOperationOnce) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'a')");
    Exec(sender, "update CUSTOMERS set NAME = 'b' where ID = 1");
    const std::string file = Export();
    ASSERT_TRUE(Load(file));
    const auto rows = Rows(receiver, "select ID, OPER from DD_TMP_LOG order by ID");
    const auto values = IntValue(receiver, "select count(*) from DD_TMP_LOG_VALUES");
    progress.clear();
    ASSERT_TRUE(Load(file));
    EXPECT_EQ(Rows(receiver, "select ID, OPER from DD_TMP_LOG order by ID"), rows);
    EXPECT_EQ(IntValue(receiver, "select count(*) from DD_TMP_LOG_VALUES"), values);
    // Skipped values are still reported, and the load ends with its success text.
    EXPECT_EQ(progress.size(), static_cast<std::size_t>(values) + 1);
    EXPECT_EQ(progress.front().rfind("Load operation \xB9", 0), 0u);
    EXPECT_EQ(progress.back(), "Prepare for replication successful");
}

TEST_F(ReplicationTest, AnInterruptedLoadLeavesNoHalfOperation) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME, CITY) values (1, 'a', 'x')");
    Exec(sender, "insert into CUSTOMERS (ID, NAME, CITY) values (2, 'b', 'y')");
    const std::string file = Export();
    const auto firstOp = IntValue(sender, "select min(ID) from DD_LOG");
    EXPECT_FALSE(Load(file.substr(0, file.size() - 4)));  // cut inside the last value
    EXPECT_EQ(progress.back(), "Prepare for replication failed");
    EXPECT_EQ(Rows(receiver, "select ID from DD_TMP_LOG"), Strings{std::to_string(firstOp)});
    EXPECT_EQ(IntValue(receiver, "select count(*) from DD_TMP_LOG_VALUES where DD_LOG_ID <> " +
                                     std::to_string(firstOp)),
              0);
    // The whole file later loads the rest.
    Import(file);
    EXPECT_EQ(Rows(receiver, kCustomers), Rows(sender, kCustomers));
}

TEST_F(ReplicationTest, AFailedRowStaysMarkedAndAppliesOnceItsCauseIsGone) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'a')");
    Exec(receiver, "create unique index BLOCK_NAME on CUSTOMERS (NAME)");
    Exec(receiver, "insert into CUSTOMERS (ID, NAME) values (99, 'a')");  // blocks the insert
    Import(Export());
    EXPECT_EQ(progress.back(), "Replication successful");
    const auto marked = Rows(receiver, "select NOT_COMPLETE from DD_TMP_LOG");
    EXPECT_EQ(marked, Strings{"1"});
    EXPECT_NE(Value(receiver, "select ERR_MESSAGE from DD_TMP_LOG").find("BLOCK_NAME"), std::string::npos);
    EXPECT_GT(IntValue(receiver, "select count(*) from DD_TMP_LOG_VALUES"), 0);
    EXPECT_EQ(IntValue(receiver, "select gen_id(DD_SEMAPHORE, 0) from rdb$database"), 0);

    Exec(receiver, "delete from CUSTOMERS where ID = 99");
    ASSERT_TRUE(in.ReplicateData());
    EXPECT_EQ(IntValue(receiver, "select count(*) from DD_TMP_LOG"), 0);
    EXPECT_EQ(Value(receiver, "select NAME from CUSTOMERS where ID = 1"), "a");
}

TEST_F(ReplicationTest, ARowWhoseLogRowCannotBeDeletedIsUndoneAndMarked) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'a')");
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (2, 'b')");
    const auto second = IntValue(sender, "select max(ID) from DD_LOG");
    Exec(receiver, "create exception KEEP_ROW 'kept'");
    Exec(receiver, "create trigger KEEP_SECOND for DD_TMP_LOG before delete position 5 as begin if (old.ID = " +
                       std::to_string(second) + ") then exception KEEP_ROW; end");
    Import(Export());
    EXPECT_EQ(Rows(receiver, "select ID from CUSTOMERS"), Strings{"1"});  // customer 2 undone
    EXPECT_EQ(Rows(receiver, "select ID, NOT_COMPLETE from DD_TMP_LOG"), Strings{std::to_string(second) + "|1"});
    EXPECT_NE(Value(receiver, "select ERR_MESSAGE from DD_TMP_LOG").find("kept"), std::string::npos);

    Exec(receiver, "drop trigger KEEP_SECOND");
    ASSERT_TRUE(in.ReplicateData());  // replayed once, not twice
    EXPECT_EQ(Rows(receiver, kCustomers), Rows(sender, kCustomers));
}

TEST_F(ReplicationTest, RowsThatCannotBeBuiltAreMarkedNotRun) {
    // A crafted file: an unknown operation, a field name that would rewrite the
    // statement, and a reference value that is no row identity.
    Exec(receiver, "insert into CUSTOMERS (ID, NAME) values (7, 'untouched')");
    std::ostringstream file;
    TLogTransportWriter writer(file);
    writer.WriteOperation({1, "CUSTOMERS", 'X', 1, 1});
    writer.WriteValue({"NAME", 1, "", "x"});
    writer.WriteOperation({2, "CUSTOMERS", 'U', 2, 7});
    writer.WriteValue({"NAME='hacked' --", 2, "", "x"});
    writer.WriteOperation({3, "ORDERS", 'I', 1, 50});
    writer.WriteValue({"ID", 3, "", "50"});
    writer.WriteValue({"CUST_ID", 3, "", "(1,1) or 1=1"});
    Import(file.str());
    EXPECT_EQ(Rows(receiver, "select ID, NOT_COMPLETE from DD_TMP_LOG order by ID"),
              (Strings{"1|1", "2|1", "3|1"}));
    EXPECT_NE(Value(receiver, "select ERR_MESSAGE from DD_TMP_LOG where ID = 1").find("Unknown operation"),
              std::string::npos);
    EXPECT_EQ(Value(receiver, "select NAME from CUSTOMERS where ID = 7"), "untouched");
    EXPECT_EQ(IntValue(receiver, "select count(*) from ORDERS"), 0);
}

TEST_F(ReplicationTest, AnErrorEndsTheApplyWithTheSemaphoreLowered) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'a')");
    ASSERT_TRUE(Load(Export()));
    config.db->Close();  // the reference lookup cannot run
    EXPECT_FALSE(in.ReplicateData());
    EXPECT_EQ(progress.back(), "Replication failed");
    EXPECT_EQ(IntValue(receiver, "select gen_id(DD_SEMAPHORE, 0) from rdb$database"), 0);
    for (TFIBQuery* q : {&in.LogQuery(), &in.ValuesQuery(), &in.FieldsQuery(), &in.ConfigQuery(), &in.WorkQuery()})
        EXPECT_FALSE(q->Open());
}

TEST_F(ReplicationTest, DefaultFileCarriesTheExportToTheImport) {
    Exec(sender, "insert into CUSTOMERS (ID, NAME) values (1, 'a')");
    out.FileName = (Dir / "transfer.swp").string();
    ASSERT_TRUE(out.CreateLogTransport(nullptr, 1, -1));
    in.FileName = out.FileName;
    ASSERT_TRUE(in.LoadLogTransport(nullptr));
    ASSERT_TRUE(in.ReplicateData());
    EXPECT_EQ(Rows(receiver, kCustomers), Rows(sender, kCustomers));

    in.FileName = (Dir / "missing.swp").string();
    EXPECT_FALSE(in.LoadLogTransport(nullptr));
    EXPECT_EQ(progress.back(), "Prepare for replication failed");
}
