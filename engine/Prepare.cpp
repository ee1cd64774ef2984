// PrepareDatabase and UnprepareDatabase: the order of the schema and trigger steps,
// and the reconnections of the work database between the passes of the preparation.
#include <exception>
#include <string>
#include <vector>

#include "engine/CaptureTriggers.h"
#include "engine/Replicator.h"
#include "engine/SchemaObjects.h"
#include "fib/FIBDatabase.h"
#include "fib/FIBError.h"
#include "fib/FIBTransaction.h"

namespace {

// User tables of the work database (no system tables, no views), by name.
std::vector<std::string> ReadTableList(TReplicator& r) {
    return ListWorkValues(
        r,
        "select rdb$relation_name as name from rdb$relations t where (rdb$system_flag = 0)  "
        "and (not exists (select * from rdb$view_relations where rdb$view_name = "
        "t.rdb$relation_name)) order by rdb$relation_name",
        "NAME");
}

bool IsLogTable(const std::string& table) {
    return table == "DD_LOG" || table == "DD_LOG_VALUES" || table == "DD_TMP_LOG" ||
           table == "DD_TMP_LOG_VALUES";
}

void RequireWorkSide(TReplicator& r) {
    if (!r.WorkDB() || !r.Tran())
        throw EFIBError("The replicator has no work database or no work transaction.");
}

// Refuses the whole preparation when a table name would make one of the object names
// built from it longer than the server accepts; nothing has been created at that point.
void CheckTableNameLengths(const std::vector<std::string>& tables) {
    const auto tooLong = TablesWithTooLongNames(tables);
    if (tooLong.empty()) return;
    std::string names;
    for (const auto& table : tooLong) names += (names.empty() ? "" : ", ") + table;
    throw EFIBError("Table names longer than " +
                    std::to_string(kMaxObjectNameLength - kLongestNameAddition) +
                    " characters make replication object names longer than the server's " +
                    std::to_string(kMaxObjectNameLength) + " characters: " + names);
}

void Reconnect(TReplicator& r) {
    r.WorkDB()->SetConnected(false);
    r.WorkDB()->SetConnected(true);
    r.Tran()->StartTransaction();
}

}  // namespace

void TReplicator::PrepareDatabase(std::int32_t DbObjectId, std::int32_t MasterId) {
    PublisherId = DbObjectId;
    try {
        RequireWorkSide(*this);
        if (!ConfigDB() || !CfgTran())
            throw EFIBError("The replicator has no configuration database or transaction.");

        // The list is read whole before the first object is created, so pass 1 covers
        // exactly the tables that existed before and never the new log tables.
        std::vector<std::string> tables = ReadTableList(*this);
        CheckTableNameLengths(tables);

        CreateLogIdGenerator(*this);
        CreateIdGenerators(*this);
        CreateLogTables(*this);
        CreateLogIndex(*this);
        CreateTempLogTables(*this);
        CreateTempLogIndex(*this);

        for (const auto& table : tables) {
            CreateTableGenerator(*this, table);
            CreateAddonFields(*this, table);
            CreateKeyTrigger(*this, table);
        }

        Tran()->Commit();
        Reconnect(*this);
        tables = ReadTableList(*this);
        for (const auto& table : tables)
            if (!IsLogTable(table)) InitAddonFields(*this, table, MasterId);

        Tran()->Commit();
        Reconnect(*this);
        tables = ReadTableList(*this);
        for (const auto& table : tables)
            if (!IsLogTable(table)) CreateAddonIndex(*this, table);

        // Every index of pass 3 is committed; disconnecting ends the transaction.
        Reconnect(*this);
        tables = ReadTableList(*this);
        for (const auto& table : tables) {
            if (IsLogTable(table)) continue;
            CreateInsertLogTriggers(*this, table);
            CreateUpdateLogTriggers(*this, table);
            CreateDeleteLogTrigger(*this, table);
        }

        CommitWork(*this);
        ReportProgress("Prepare successful");
    } catch (...) {
        ReportProgress("Prepare failed");
        throw;
    }
}

void TReplicator::UnprepareDatabase() {
    LastError.clear();
    try {
        RequireWorkSide(*this);
        DropLogIndex(*this);
        DropTempLogIndex(*this);
        DropKeyTriggers(*this);
        DropInsertLogTriggers(*this);
        DropUpdateLogTriggers(*this);
        DropDeleteLogTriggers(*this);
        DropIdGenerators(*this);
        DropTableGenerators(*this);
        DropTempLogTables(*this);
        DropAddonIndexesAndFields(*this);
        DropLogIdGenerator(*this);
        DropLogTables(*this);
        CommitWork(*this);
        ReportProgress("Unprepare successful");
    } catch (const std::exception& e) {
        // Committed steps stay; the operator re-runs the unprepare after fixing the cause,
        // which LastError keeps since the error goes no further.
        LastError = e.what();
        ReportProgress("Unprepare failed");
    }
}
