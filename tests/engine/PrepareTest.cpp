// Preparing and unpreparing real work databases: schema objects, row identities,
// capture triggers, progress and failure handling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Replicator.h"
#include "engine/SchemaObjects.h"
#include "fib/FIBError.h"
#include "tests/support/TestDatabases.h"

namespace {

using Strings = std::vector<std::string>;

using testdb::Rows;

const Strings kSharedObjectMessages = {
    "Creating DD_LOG_ID generator", "Creating DD_ID generator", "Create primary log table",
    "Create log index",             "Create temporal log table", "Create temp.log index"};

const Strings kUnprepareMessages = {
    "Drop log index",
    "Drop temp.log index",
    "Drop all BEFORE INSERT triggers",
    "Drop all AFTER INSERT triggers",
    "Drop all AFTER UPDATE triggers",
    "Drop all AFTER DELETE triggers",
    "Dropping DD_ID generator",
    "Dropping all DD_REPL_GEN generators",
    "Drop temporal log table",
    "Dropping all addon indexes",
    "Dropping all addon fields",
    "Dropping DD_LOG_ID generator",
    "Drop primary log table",
    "Unprepare successful"};

Strings Concat(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Database objects of work database 1 in the configuration: item 1 sends from database 1,
// its flow configures A.QTY, A.NAME and A.B_ID (a reference to B.ID). Item 2 sends from
// database 3 and configures B.CODE, which database 1 must not capture.
const char* const kConfigRows[] = {
    "insert into DD_OBJECTS values (1, 'Main')",
    "insert into DD_OBJECTS values (2, 'Branch')",
    "insert into DD_OBJECTS values (3, 'Other')",
    "insert into DD_REPL_ITEMS values (1, 'Main to branch', 1, 2)",
    "insert into DD_REPL_ITEMS values (2, 'Other to branch', 3, 2)",
    "insert into DD_PUBLICATIONS values (1, 'Orders')",
    "insert into DD_PUBLICATIONS values (2, 'Codes')",
    "insert into DD_SUBSCRIPTIONS values (1, 1, 1)",
    "insert into DD_SUBSCRIPTIONS values (2, 2, 2)",
    "insert into DD_TABLES values (1, 'A', 1, null)",
    "insert into DD_TABLES values (2, 'B', 2, null)",
    "insert into DD_FIELDS values (1, 'QTY', 1, null, null)",
    "insert into DD_FIELDS values (2, 'NAME', 1, '', '')",
    "insert into DD_FIELDS values (3, 'B_ID', 1, 'B', 'ID')",
    "insert into DD_FIELDS values (4, 'CODE', 2, null, null)",
};

class PrepareTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        config = testdb::OpenConnection(NewConfigDatabase());
        for (const char* sql : kConfigRows) testdb::Exec(config, sql);
        work = OpenWork("work.gdb");
        r = std::make_unique<TReplicator>();
        r->SetWorkDB(work.db.get());
        r->SetTran(work.tr.get());
        r->SetConfigDB(config.db.get());
        r->SetCfgTran(config.tr.get());
        r->OnJobProgress = [this](TReplicator&, const std::string& text) { progress.push_back(text); };
        r->OnInformation = [this](TReplicator&, const std::string& text) { information.push_back(text); };
    }

    void TearDown() override {
        r.reset();
        work = {};
        config = {};
        DatabaseTest::TearDown();
    }

    // A work database with the user tables A (captured) and B (referenced by A).
    testdb::Connection OpenWork(const std::string& name) {
        auto c = testdb::OpenConnection(NewDatabase(name));
        testdb::Exec(c, "create table B (ID integer not null primary key, CODE varchar(10))");
        testdb::Exec(c, "create table A (ID integer, QTY integer, NAME varchar(20), B_ID integer)");
        return c;
    }

    void Exec(const std::string& sql) { testdb::Exec(work, sql); }
    long long Int(const std::string& sql) { return testdb::IntValue(work, sql); }
    Strings Log() {
        return Rows(work, "select ID, TABLE_NAME, OPER, DD_REPL_DB, DD_REPL_KEY from DD_LOG order by ID");
    }
    Strings LogValues() {
        return Rows(work,
                    "select DD_LOG_ID, FIELD_NAME, coalesce(OLD_VALUE, '<null>'), NEW_VALUE "
                    "from DD_LOG_VALUES order by DD_LOG_ID, FIELD_NAME");
    }
    // Names of the replication objects left in the work database.
    Strings ReplicationObjects() {
        return Rows(work,
                    "select rdb$generator_name from rdb$generators where rdb$generator_name starting with 'DD_' "
                    "union all select rdb$trigger_name from rdb$triggers where rdb$trigger_name starting with 'DD_' "
                    "union all select rdb$relation_name from rdb$relations where rdb$relation_name starting with 'DD_' "
                    "union all select rdb$index_name from rdb$indices where rdb$index_name starting with 'DD_' "
                    "union all select rdb$relation_name || '.' || rdb$field_name from rdb$relation_fields "
                    "where rdb$field_name starting with 'DD_REPL_'");
    }
    // The capture triggers of a table (of every table when none is named), as NAME@POSITION.
    Strings Triggers(const std::string& table = "") {
        return Rows(work,
                    "select trim(rdb$trigger_name) || '@' || rdb$trigger_sequence from rdb$triggers "
                    "where rdb$trigger_name starting with 'DD_LOG_'" +
                        (table.empty() ? "" : " and rdb$relation_name = '" + table + "'") +
                        " order by rdb$trigger_name");
    }

    testdb::Connection config;
    testdb::Connection work;
    std::unique_ptr<TReplicator> r;
    Strings progress;
    Strings information;
};

TEST_F(PrepareTest, ProgressMessagesComeInTheOrderOfThePasses) {
    r->PrepareDatabase(1, 1);
    const Strings expected = Concat(kSharedObjectMessages, {
        "Creating DD_REPL_GENA generator",
        "Creating addon fields for table A",
        "Create BEFORE INSERT trigger for table A",
        "Creating DD_REPL_GENB generator",
        "Creating addon fields for table B",
        "Create BEFORE INSERT trigger for table B",
        "Initializing addon fields for table A",
        "Initializing addon fields for table B",
        "Creating addon indexes for table A",
        "Creating addon indexes for table B",
        "Create AFTER INSERT trigger for table A",
        "Create AFTER UPDATE trigger for table A",
        "Create AFTER DELETE trigger for table A",
        "Create AFTER INSERT trigger for table B",
        "Create AFTER UPDATE trigger for table B",
        "Create AFTER DELETE trigger for table B",
        "Prepare successful"});
    EXPECT_EQ(progress, expected);
    EXPECT_TRUE(information.empty());
    EXPECT_EQ(r->PublisherId, 1);
    // The work transaction is active again after the reconnections.
    EXPECT_TRUE(work.db->Connected());
    EXPECT_TRUE(work.tr->Active());
    // B is configured only for another sender: it gets its key trigger alone.
    EXPECT_EQ(Triggers(), (Strings{"DD_LOG_AD_A@99", "DD_LOG_AI_A@99", "DD_LOG_AU_A@99",
                                   "DD_LOG_BI_A@99", "DD_LOG_BI_B@99"}));
}

TEST_F(PrepareTest, DatabaseWithoutUserTablesGetsTheSharedObjectsOnly) {
    Exec("drop table A");
    Exec("drop table B");
    r->PrepareDatabase(1, 1);
    EXPECT_EQ(progress, Concat(kSharedObjectMessages, {"Prepare successful"}));
    EXPECT_EQ(Int("select count(*) from rdb$generators where rdb$generator_name starting with 'DD_'"), 3);
}

TEST_F(PrepareTest, ExistingRowsGetIdentitiesByMasterIdAndNewRowsByTheDatabaseId) {
    struct Case { int masterId; int expectedDb; };
    for (const Case c : {Case{7, 7}, Case{0, 4}}) {
        SCOPED_TRACE(c.masterId);
        auto db = OpenWork("work" + std::to_string(c.masterId) + ".gdb");
        testdb::Exec(db, "create table EMPTY_T (ID integer)");
        for (int i = 1; i <= 3; ++i) testdb::Exec(db, "insert into A (ID) values (" + std::to_string(i) + ")");
        TReplicator rep;
        rep.SetWorkDB(db.db.get());
        rep.SetTran(db.tr.get());
        rep.SetConfigDB(config.db.get());
        rep.SetCfgTran(config.tr.get());
        rep.PrepareDatabase(4, c.masterId);

        EXPECT_EQ(Rows(db, "select DD_REPL_DB, DD_REPL_KEY from A order by DD_REPL_KEY"),
                  (Strings{std::to_string(c.expectedDb) + "|1", std::to_string(c.expectedDb) + "|2",
                           std::to_string(c.expectedDb) + "|3"}));
        EXPECT_EQ(testdb::IntValue(db, "select gen_id(DD_REPL_GEN_A, 0) from rdb$database"), 3);
        EXPECT_EQ(testdb::IntValue(db, "select gen_id(DD_ID_VALUE, 0) from rdb$database"), 4);
        EXPECT_EQ(testdb::IntValue(db, "select gen_id(DD_REPL_GEN_EMPTY_T, 0) from rdb$database"), 0);

        testdb::Exec(db, "insert into A (ID, DD_REPL_DB, DD_REPL_KEY) values (4, 99, 99)");
        testdb::Exec(db, "insert into EMPTY_T (ID) values (1)");
        EXPECT_EQ(testdb::Value(db, "select DD_REPL_DB || ',' || DD_REPL_KEY from A where ID = 4"), "4,4");
        EXPECT_EQ(testdb::Value(db, "select DD_REPL_DB || ',' || DD_REPL_KEY from EMPTY_T"), "4,1");
        // The add-on index makes the row identity unique.
        EXPECT_THROW(testdb::Exec(db, "update A set DD_REPL_KEY = 1 where ID = 2"), EFIBInterBaseError);
    }
}

TEST_F(PrepareTest, CapturesInsertsUpdatesAndDeletesOfConfiguredFields) {
    Exec("insert into B values (10, 'b10')");
    r->PrepareDatabase(1, 7);

    Exec("insert into A (ID, QTY, NAME, B_ID) values (1, 5, 'x', 10)");
    EXPECT_EQ(Log(), (Strings{"1|A|I|1|1"}));
    EXPECT_EQ(LogValues(), (Strings{"1|B_ID|<null>|(7,1)", "1|NAME|<null>|x", "1|QTY|<null>|5"}));

    // A changed listed field logs every listed field, old and new.
    Exec("update A set QTY = 6");
    EXPECT_EQ(Log().back(), "2|A|U|1|1");
    const Strings values = LogValues();
    EXPECT_EQ(Strings(values.begin() + 3, values.end()),
              (Strings{"2|B_ID|(7,1)|(7,1)", "2|NAME|x|x", "2|QTY|5|6"}));

    // Unlisted fields, and changes from or to null, pass the change condition unlogged.
    Exec("update A set ID = 2");
    Exec("update A set NAME = null");
    Exec("update A set NAME = 'y'");
    Exec("update A set B_ID = null");
    EXPECT_EQ(Log().size(), 2u);

    // A reference to a row that is not there logs null.
    Exec("update A set QTY = 7, B_ID = 11 where ID = 2");
    Exec("insert into A (ID, QTY, B_ID) values (3, 1, 11)");
    EXPECT_EQ(Rows(work, "select FIELD_NAME, coalesce(NEW_VALUE, '<null>') from DD_LOG_VALUES "
                         "where DD_LOG_ID = 4 order by FIELD_NAME"),
              (Strings{"B_ID|<null>", "NAME|<null>", "QTY|1"}));

    Exec("delete from A where ID = 2");
    EXPECT_EQ(Log(), (Strings{"1|A|I|1|1", "2|A|U|1|1", "3|A|U|1|1", "4|A|I|1|2", "5|A|D|1|1"}));
    EXPECT_EQ(Int("select count(*) from DD_LOG_VALUES where DD_LOG_ID = 5"), 0);

    // B has no fields configured for this sender: its rows get identities, nothing is logged.
    Exec("insert into B (ID, CODE) values (20, 'b20')");
    Exec("update B set CODE = 'c'");
    Exec("delete from B where ID = 20");
    EXPECT_EQ(Log().size(), 5u);
}

TEST_F(PrepareTest, RaisedSemaphoreSilencesCaptureAndKeepsSuppliedIdentities) {
    r->PrepareDatabase(1, 1);
    Exec("set generator DD_SEMAPHORE to 1");
    Exec("insert into A (ID, QTY, DD_REPL_DB, DD_REPL_KEY) values (1, 1, 5, 40)");
    Exec("insert into A (ID, QTY) values (2, 2)");  // no identity supplied: one is given
    Exec("update A set QTY = QTY + 10");
    Exec("delete from A where ID = 2");
    EXPECT_EQ(Rows(work, "select ID, DD_REPL_DB, DD_REPL_KEY from A"), (Strings{"1|5|40"}));
    EXPECT_EQ(Int("select count(*) from DD_LOG"), 0);
    EXPECT_EQ(Int("select count(*) from DD_LOG_VALUES"), 0);

    Exec("set generator DD_SEMAPHORE to 0");
    Exec("insert into A (ID, QTY, DD_REPL_DB, DD_REPL_KEY) values (3, 3, 5, 40)");
    EXPECT_EQ(testdb::Value(work, "select DD_REPL_DB || ',' || DD_REPL_KEY from A where ID = 3"), "1,2");
    EXPECT_EQ(Log(), (Strings{"1|A|I|1|2"}));
}

// 25 configured fields of 10 characters need a continuation trigger per event; the
// continuation triggers find the change-log row of their own row and operation.
TEST_F(PrepareTest, LongFieldListIsCapturedThroughContinuationTriggers) {
    testdb::Exec(config, "insert into DD_TABLES values (3, 'W', 1, null)");
    std::string definitions, columns, values;
    for (int i = 1; i <= 25; ++i) {
        const std::string name = "F" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "XXXXXXX";
        definitions += (i > 1 ? ", " : "") + name + " integer";
        columns += (i > 1 ? ", " : "") + name;
        values += (i > 1 ? ", " : "") + std::to_string(i);
        testdb::Exec(config, "insert into DD_FIELDS values (" + std::to_string(100 + i) + ", '" + name + "', 3, null, null)");
    }
    Exec("create table W (" + definitions + ")");
    r->PrepareDatabase(1, 1);
    EXPECT_EQ(Triggers("W"),
              (Strings{"DD_LOG_AD_W@99", "DD_LOG_AI_W@98", "DD_LOG_AI_W99@99", "DD_LOG_AU_W@98",
                       "DD_LOG_AU_W99@99", "DD_LOG_BI_W@99"}));

    const std::string insert = "insert into W (" + columns + ") values (" + values + ")";
    Exec(insert);
    Exec(insert);
    Exec("update W set F25XXXXXXX = 0 where DD_REPL_KEY = 1");
    EXPECT_EQ(Log(), (Strings{"1|W|I|1|1", "2|W|I|1|2", "3|W|U|1|1"}));
    EXPECT_EQ(Rows(work, "select DD_LOG_ID, count(*) from DD_LOG_VALUES group by DD_LOG_ID"),
              (Strings{"1|25", "2|25", "3|25"}));
    EXPECT_EQ(Rows(work, "select OLD_VALUE, NEW_VALUE from DD_LOG_VALUES "
                         "where DD_LOG_ID = 3 and FIELD_NAME in ('F01XXXXXXX', 'F25XXXXXXX') order by FIELD_NAME"),
              (Strings{"1|1", "25|0"}));
}

TEST_F(PrepareTest, PreparingAPreparedDatabaseFailsAtItsFirstStatementAndChangesNothing) {
    r->PrepareDatabase(1, 1);
    const Strings objects = ReplicationObjects();
    progress.clear();
    EXPECT_THROW(r->PrepareDatabase(9, 0), EFIBInterBaseError);
    EXPECT_EQ(progress, (Strings{"Creating DD_LOG_ID generator", "Prepare failed"}));
    EXPECT_EQ(ReplicationObjects(), objects);
    EXPECT_EQ(Int("select gen_id(DD_ID_VALUE, 0) from rdb$database"), 1);
}

TEST_F(PrepareTest, TooLongTableNameFailsBeforeAnythingIsCreated) {
    const std::string longest(19, 'L');   // DD_REPL_<19>_IDX has 31 characters
    const std::string tooLong(20, 'M');
    Exec("create table " + longest + " (ID integer)");
    Exec("create table " + tooLong + " (ID integer)");
    Exec("create table " + tooLong + "Z (ID integer)");
    try {
        r->PrepareDatabase(1, 1);
        FAIL() << "PrepareDatabase did not fail";
    } catch (const EFIBError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(tooLong + ", " + tooLong + "Z"), std::string::npos) << message;
        EXPECT_EQ(message.find(longest + ","), std::string::npos) << message;
    }
    EXPECT_EQ(progress, (Strings{"Prepare failed"}));
    EXPECT_TRUE(ReplicationObjects().empty());

    Exec("drop table " + tooLong);
    Exec("drop table " + tooLong + "Z");
    r->PrepareDatabase(1, 1);
    EXPECT_EQ(progress.back(), "Prepare successful");
    EXPECT_EQ(Int("select count(*) from rdb$indices where rdb$index_name = 'DD_REPL_" + longest + "_IDX'"), 1);
}

TEST_F(PrepareTest, FailedTableStepsAreToldToTheOperatorAndThePreparationGoesOn) {
    // BAD's existing row breaks its check constraint, so its initialisation fails; an index
    // already named like its add-on index makes that step fail too. CAT comes after it.
    const auto makeTables = [](testdb::Connection& c) {
        testdb::Exec(c, "create table BAD (ID integer, X integer)");
        testdb::Exec(c, "insert into BAD values (1, -1)");
        testdb::Exec(c, "alter table BAD add constraint BAD_X check (X > 0)");
        testdb::Exec(c, "create index DD_REPL_BAD_IDX on BAD (ID)");
        testdb::Exec(c, "create table CAT (ID integer)");
        testdb::Exec(c, "insert into CAT values (1)");
    };
    makeTables(work);
    r->PrepareDatabase(1, 1);
    EXPECT_EQ(information, (Strings{"Sorry, cann\"t update table BAD, please check your constraints.",
                                    "Cann\"t create add-on index for table BAD bacause add-on fields "
                                    "initialization was failed."}));
    EXPECT_EQ(progress.back(), "Prepare successful");
    EXPECT_EQ(Rows(work, "select coalesce(DD_REPL_DB, -1) from BAD"), (Strings{"-1"}));
    EXPECT_EQ(Rows(work, "select DD_REPL_DB || ',' || DD_REPL_KEY from CAT"), (Strings{"1,1"}));
    EXPECT_EQ(Int("select count(*) from rdb$indices where rdb$index_name = 'DD_REPL_CAT_IDX'"), 1);

    // Without an information handler the texts are dropped and the preparation goes on.
    auto other = OpenWork("other.gdb");
    makeTables(other);
    TReplicator silent;
    silent.SetWorkDB(other.db.get());
    silent.SetTran(other.tr.get());
    silent.SetConfigDB(config.db.get());
    silent.SetCfgTran(config.tr.get());
    Strings otherProgress;
    silent.OnJobProgress = [&](TReplicator&, const std::string& text) { otherProgress.push_back(text); };
    silent.PrepareDatabase(1, 1);
    EXPECT_EQ(otherProgress.back(), "Prepare successful");
    EXPECT_EQ(testdb::Value(other, "select DD_REPL_DB || ',' || DD_REPL_KEY from CAT"), "1,1");
}

// The server builds a new index when its creation is committed. When that commit fails,
// the failed work must not stay pending in the work transaction, or every later commit
// of the preparation fails with the same error.
TEST_F(PrepareTest, FailedAddonIndexDoesNotSpoilTheFollowingTables) {
    Exec("insert into A (ID) values (1)");
    Exec("insert into B (ID) values (1)");
    auto other = testdb::OpenConnection(work.db->DatabaseName());
    r->OnJobProgress = [&](TReplicator&, const std::string& text) {
        progress.push_back(text);
        if (text != "Creating addon indexes for table A") return;
        // Another connection stores a second row with the identity of A's first row.
        testdb::Exec(other, "set generator DD_SEMAPHORE to 1");
        testdb::Exec(other, "insert into A (ID, DD_REPL_DB, DD_REPL_KEY) values (2, 1, 1)");
        testdb::Exec(other, "set generator DD_SEMAPHORE to 0");
    };
    r->PrepareDatabase(1, 1);
    EXPECT_EQ(information, (Strings{"Cann\"t create add-on index for table A bacause add-on fields "
                                    "initialization was failed."}));
    EXPECT_EQ(progress.back(), "Prepare successful");
    EXPECT_EQ(Int("select count(*) from rdb$indices where rdb$index_name = 'DD_REPL_A_IDX'"), 0);
    EXPECT_EQ(Int("select count(*) from rdb$indices where rdb$index_name = 'DD_REPL_B_IDX'"), 1);
}

TEST_F(PrepareTest, UnprepareOfAnUnpreparedDatabaseReportsEveryStep) {
    r->UnprepareDatabase();
    EXPECT_EQ(progress, kUnprepareMessages);
}

TEST_F(PrepareTest, UnprepareRemovesEverythingFromAPreparedDatabase) {
    Exec("insert into A (ID, QTY) values (1, 1)");
    r->PrepareDatabase(1, 1);
    Exec("insert into A (ID, QTY) values (2, 2)");
    // Objects named like the system's own are removed with them.
    Exec("create generator DD_SEMAPHORE_OLD");
    Exec("create generator DD_REPL_GEN_GONE");
    Exec("create generator DD_LOG_ID_GEN2");
    Exec("create index DD_REPL_EXTRA on A (ID)");
    progress.clear();
    r->UnprepareDatabase();
    EXPECT_EQ(progress, kUnprepareMessages);
    EXPECT_EQ(ReplicationObjects(), Strings{});
    EXPECT_EQ(Rows(work, "select ID, QTY from A order by ID"), (Strings{"1|1", "2|2"}));

    // Unprepared completely, it can be prepared again.
    progress.clear();
    r->PrepareDatabase(1, 1);
    EXPECT_EQ(progress.back(), "Prepare successful");
}

TEST_F(PrepareTest, UnprepareRemovesWhatAFailedPreparationLeft) {
    // A configured field that A lacks makes the insert trigger fail in the last pass.
    testdb::Exec(config, "insert into DD_FIELDS values (9, 'MISSING', 1, null, null)");
    EXPECT_THROW(r->PrepareDatabase(1, 1), EFIBInterBaseError);
    EXPECT_EQ(progress.back(), "Prepare failed");
    EXPECT_EQ(progress[progress.size() - 2], "Create AFTER INSERT trigger for table A");
    EXPECT_FALSE(ReplicationObjects().empty());
    progress.clear();
    r->UnprepareDatabase();
    EXPECT_EQ(progress.back(), "Unprepare successful");
    EXPECT_EQ(ReplicationObjects(), Strings{});
}

TEST_F(PrepareTest, UnprepareErrorIsReportedAndNotRaised) {
    r->PrepareDatabase(1, 1);
    // A view on an add-on field stops the field from being dropped.
    Exec("create view V_A (DB) as select DD_REPL_DB from A");
    progress.clear();
    EXPECT_NO_THROW(r->UnprepareDatabase());
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.back(), "Unprepare failed");
    EXPECT_EQ(progress[progress.size() - 2], "Dropping all addon fields");
    EXPECT_NE(r->LastError.find("DD_REPL_DB"), std::string::npos) << r->LastError;
    EXPECT_EQ(Int("select count(*) from rdb$relations where rdb$relation_name = 'DD_LOG'"), 1);

    // With the cause gone, unpreparing the partly unprepared database completes.
    Exec("drop view V_A");
    progress.clear();
    r->UnprepareDatabase();
    EXPECT_EQ(progress.back(), "Unprepare successful");
    EXPECT_EQ(r->LastError, "");
    EXPECT_EQ(ReplicationObjects(), Strings{});
}

TEST_F(PrepareTest, CatalogProbesFindTablesButNotViews) {
    Exec("create view V_B (ID) as select ID from B");
    EXPECT_TRUE(TableExists(*r, "B"));
    EXPECT_FALSE(TableExists(*r, "V_B"));
    EXPECT_FALSE(TableExists(*r, "NO_SUCH_TABLE"));
    EXPECT_TRUE(IndexExists(*r, "RDB$INDEX_0"));
    EXPECT_FALSE(IndexExists(*r, "DD_LOG_IND"));
    EXPECT_FALSE(TriggerExists(*r, "DD_TMP_LOG_DELETE"));
}

}  // namespace
