#include "engine/SchemaObjects.h"

#include "engine/Replicator.h"
#include "engine/SqlText.h"
#include "fib/FIBError.h"
#include "fib/FIBQuery.h"
#include "fib/FIBTransaction.h"

namespace {

TFIBTransaction& WorkTransaction(TReplicator& r) {
    if (!r.Tran()) throw EFIBError("The work database has no transaction.");
    return *r.Tran();
}

// Runs a probe query, notes whether it found a row, and commits with retaining.
bool Probe(TReplicator& r, const std::string& sql) {
    TFIBQuery q(r.WorkDB(), r.Tran());
    q.SetParamCheck(false);
    q.SetSQL(sql);
    q.ExecQuery();
    const bool found = !q.Eof();
    CommitWork(r);
    q.Close();
    return found;
}

// After a handled failure of a per-table step, discards that step's uncommitted work.
// The server keeps a failed index build pending until the transaction ends, so without
// this every later commit of the preparation would fail with the same error. Everything
// before the step is committed already.
void DiscardFailedStep(TReplicator& r) noexcept {
    try {
        WorkTransaction(r).RollbackRetaining();
    } catch (const EFIBError&) {
        // The next step's own statement or commit reports a broken transaction.
    }
}

// Generators cannot be removed by deleting catalog rows on this server; every generator
// that the condition selects is dropped by name instead.
void DropGenerators(TReplicator& r, const std::string& condition) {
    const auto names = ListWorkValues(
        r, "select rdb$generator_name as GENERATOR_NAME from rdb$generators where " + condition,
        "GENERATOR_NAME");
    for (const auto& name : names) ExecWorkStatement(r, "drop generator " + name);
}

}  // namespace

void CommitWork(TReplicator& r) { WorkTransaction(r).CommitRetaining(); }

void ExecWorkStatement(TReplicator& r, const std::string& sql) {
    TFIBQuery q(r.WorkDB(), r.Tran());
    // Trigger bodies carry ":LogId" and ":Semaphore", which must reach the server as written.
    q.SetParamCheck(false);
    q.SetGoToFirstRecordOnExecute(false);
    q.SetSQL(sql);
    q.ExecQuery();
    q.Close();
}

std::vector<std::string> ListWorkValues(TReplicator& r, const std::string& sql,
                                        const std::string& column) {
    std::vector<std::string> values;
    TFIBQuery q(r.WorkDB(), r.Tran());
    q.SetParamCheck(false);
    q.SetSQL(sql);
    q.ExecQuery();
    while (!q.Eof()) {
        values.push_back(Trim(q.FieldByName(column).AsString()));
        q.Next();
    }
    q.Close();
    return values;
}

std::vector<std::string> TablesWithTooLongNames(const std::vector<std::string>& tables) {
    std::vector<std::string> tooLong;
    for (const auto& table : tables)
        if (table.size() + kLongestNameAddition > kMaxObjectNameLength) tooLong.push_back(table);
    return tooLong;
}

bool IndexExists(TReplicator& r, const std::string& name) {
    return Probe(r, "select rdb$index_name from rdb$indices where rdb$index_name=\"" + name + "\"");
}

bool TableExists(TReplicator& r, const std::string& name) {
    return Probe(r, "select rdb$relation_name from rdb$relations t where (rdb$relation_name=\"" +
                        name +
                        "\")  and (not exists (select * from rdb$view_relations where "
                        "rdb$view_name = t.rdb$relation_name))");
}

bool TriggerExists(TReplicator& r, const std::string& name) {
    return Probe(r, "select rdb$trigger_name from rdb$triggers where rdb$trigger_name=\"" + name +
                        "\"");
}

// ---- create steps ----

void CreateLogIdGenerator(TReplicator& r) {
    r.ReportProgress("Creating DD_LOG_ID generator");
    ExecWorkStatement(r, "create generator DD_LOG_ID_GEN");
    CommitWork(r);
}

void CreateIdGenerators(TReplicator& r) {
    r.ReportProgress("Creating DD_ID generator");
    ExecWorkStatement(r, "create generator DD_ID_VALUE");
    CommitWork(r);
    ExecWorkStatement(r, "set generator DD_ID_VALUE to " + std::to_string(r.PublisherId));
    CommitWork(r);
    ExecWorkStatement(r, "Create generator DD_SEMAPHORE");
    CommitWork(r);
}

void CreateLogTables(TReplicator& r) {
    r.ReportProgress("Create primary log table");
    ExecWorkStatement(r,
                      "create table DD_LOG( \n"
                      "ID integer not null primary key, \n"
                      "TABLE_NAME varchar(31) not null, \n"
                      "OPER varchar(1) not null, \n"
                      "DD_REPL_DB integer not null, \n"
                      "DD_REPL_KEY integer not null ) ");
    CommitWork(r);
    ExecWorkStatement(r,
                      "create table DD_LOG_VALUES( \n"
                      "DD_LOG_ID integer not null references DD_LOG, \n"
                      "FIELD_NAME varchar(31) not null, \n"
                      "OLD_VALUE varchar(255), \n"
                      "NEW_VALUE varchar(255)) ");
    CommitWork(r);
}

void CreateLogIndex(TReplicator& r) {
    r.ReportProgress("Create log index");
    ExecWorkStatement(
        r, "CREATE ASCENDING INDEX DD_LOG_IND ON DD_LOG (DD_REPL_KEY, TABLE_NAME, OPER, DD_REPL_DB)");
    CommitWork(r);
}

void CreateTempLogTables(TReplicator& r) {
    r.ReportProgress("Create temporal log table");
    ExecWorkStatement(r,
                      "create table DD_TMP_LOG( \n"
                      "ID integer not null, \n"
                      "TABLE_NAME varchar(31) not null, \n"
                      "OPER varchar(1) not null, \n"
                      "NOT_COMPLETE integer, \n"
                      "ERR_MESSAGE varchar(1024), \n"
                      "DD_REPL_DB integer not null, \n"
                      "DD_REPL_KEY integer not null ) ");
    CommitWork(r);
    ExecWorkStatement(r,
                      "create table DD_TMP_LOG_VALUES( \n"
                      "DD_LOG_ID integer not null, \n"
                      "FIELD_NAME varchar(31) not null, \n"
                      "DD_REPL_DB integer not null, \n"
                      "OLD_VALUE varchar(255), \n"
                      "NEW_VALUE varchar(255)) ");
    CommitWork(r);
    ExecWorkStatement(
        r, "alter table dd_tmp_log add constraint pk_dd_tmp_log primary key (Id, Dd_Repl_Db)");
    CommitWork(r);
    ExecWorkStatement(r,
                      "alter table dd_tmp_log_values add constraint fk_dd_tmp_log_values foreign "
                      "key (Dd_Log_Id, Dd_Repl_Db) references dd_tmp_log");
    CommitWork(r);
    ExecWorkStatement(r,
                      "create trigger DD_TMP_LOG_DELETE for dd_tmp_log before delete position 0 "
                      "as begin delete from dd_tmp_log_values where (dd_log_id=old.id) and "
                      "(dd_repl_db=old.dd_repl_db); end");
    CommitWork(r);
}

void CreateTempLogIndex(TReplicator& r) {
    r.ReportProgress("Create temp.log index");
    ExecWorkStatement(r, "CREATE ASCENDING INDEX DD_TMP_LOG_IND ON DD_TMP_LOG (NOT_COMPLETE, ID)");
    CommitWork(r);
}

void CreateTableGenerator(TReplicator& r, const std::string& table) {
    r.ReportProgress("Creating DD_REPL_GEN" + table + " generator");
    ExecWorkStatement(r, "create generator DD_REPL_GEN_" + table);
    CommitWork(r);
}

void CreateAddonFields(TReplicator& r, const std::string& table) {
    r.ReportProgress("Creating addon fields for table " + table);
    ExecWorkStatement(r, "alter table " + table + " add DD_REPL_DB integer, add DD_REPL_KEY integer ");
    CommitWork(r);
}

void InitAddonFields(TReplicator& r, const std::string& table, std::int32_t masterId) {
    const std::string replDb = masterId != 0 ? std::to_string(masterId)
                                             : "(select gen_id(DD_ID_VALUE,0) from rdb$database)";
    r.ReportProgress("Initializing addon fields for table " + table);
    try {
        ExecWorkStatement(r, "update " + table + " set DD_REPL_DB=" + replDb +
                                 ", DD_REPL_KEY=(select gen_id(DD_REPL_GEN_" + table +
                                 ",1) from rdb$database)");
        CommitWork(r);
    } catch (const EFIBError&) {
        // The table keeps null add-on fields; the operator is told and the preparation goes on.
        DiscardFailedStep(r);
        r.ReportInformation("Sorry, cann\"t update table " + table +
                            ", please check your constraints.");
    }
}

bool CreateAddonIndex(TReplicator& r, const std::string& table) {
    r.ReportProgress("Creating addon indexes for table " + table);
    try {
        ExecWorkStatement(r, "create unique index DD_REPL_" + table + "_IDX on " + table +
                                 "(DD_REPL_DB, DD_REPL_KEY)");
        CommitWork(r);
        return true;
    } catch (const EFIBError&) {
        DiscardFailedStep(r);
        r.ReportInformation("Cann\"t create add-on index for table " + table +
                            " bacause add-on fields initialization was failed.");
        return false;
    }
}

// ---- drop steps ----

void DropLogIndex(TReplicator& r) {
    r.ReportProgress("Drop log index");
    if (IndexExists(r, "DD_LOG_IND")) ExecWorkStatement(r, "drop index DD_LOG_IND");
    CommitWork(r);
}

void DropTempLogIndex(TReplicator& r) {
    r.ReportProgress("Drop temp.log index");
    if (IndexExists(r, "DD_TMP_LOG_IND")) ExecWorkStatement(r, "drop index DD_TMP_LOG_IND");
    CommitWork(r);
}

void DropIdGenerators(TReplicator& r) {
    r.ReportProgress("Dropping DD_ID generator");
    DropGenerators(r, "rdb$generator_name = \"DD_ID_VALUE\" ");
    CommitWork(r);
    DropGenerators(r, "rdb$generator_name starting with \"DD_SEMAPHORE\"");
    CommitWork(r);
}

void DropTableGenerators(TReplicator& r) {
    r.ReportProgress("Dropping all DD_REPL_GEN generators");
    DropGenerators(r, "rdb$generator_name starting with \"DD_REPL_GEN_\" ");
    CommitWork(r);
}

void DropTempLogTables(TReplicator& r) {
    r.ReportProgress("Drop temporal log table");
    if (TriggerExists(r, "DD_TMP_LOG_DELETE")) ExecWorkStatement(r, "drop trigger dd_tmp_log_delete ");
    CommitWork(r);
    if (TableExists(r, "DD_TMP_LOG_VALUES")) ExecWorkStatement(r, "drop table DD_TMP_LOG_VALUES ");
    CommitWork(r);
    if (TableExists(r, "DD_TMP_LOG")) ExecWorkStatement(r, "drop table DD_TMP_LOG ");
    CommitWork(r);
}

void DropAddonIndexesAndFields(TReplicator& r) {
    // The lists come from the catalog, so tables prepared by hand lose their add-on
    // objects too. Each list is read to its end before its drops run.
    r.ReportProgress("Dropping all addon indexes");
    for (const auto& index : ListWorkValues(
             r,
             "select rdb$index_name as INDEX_NAME, rdb$relation_name as TABLE_NAME from "
             "rdb$indices where rdb$index_name starting with \"DD_REPL_\"",
             "INDEX_NAME"))
        ExecWorkStatement(r, "drop index " + index);
    r.ReportProgress("Dropping all addon fields");
    CommitWork(r);
    for (const auto& table : ListWorkValues(
             r,
             "select rdb$relation_name as TABLE_NAME from rdb$relation_fields where "
             "rdb$field_name=\"DD_REPL_DB\"",
             "TABLE_NAME"))
        ExecWorkStatement(r, "alter table " + table + " drop DD_REPL_DB");
    CommitWork(r);
    for (const auto& table : ListWorkValues(
             r,
             "select rdb$relation_name as TABLE_NAME from rdb$relation_fields where "
             "rdb$field_name=\"DD_REPL_KEY\"",
             "TABLE_NAME"))
        ExecWorkStatement(r, "alter table " + table + " drop DD_REPL_KEY");
    CommitWork(r);
}

void DropLogIdGenerator(TReplicator& r) {
    r.ReportProgress("Dropping DD_LOG_ID generator");
    DropGenerators(r, "rdb$generator_name starting with \"DD_LOG_ID_GEN\" ");
    CommitWork(r);
}

void DropLogTables(TReplicator& r) {
    r.ReportProgress("Drop primary log table");
    if (TableExists(r, "DD_LOG_VALUES")) ExecWorkStatement(r, "drop table DD_LOG_VALUES ");
    CommitWork(r);
    if (TableExists(r, "DD_LOG")) ExecWorkStatement(r, "drop table DD_LOG ");
    CommitWork(r);
}
