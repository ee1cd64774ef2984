// Import, first stage: a log-transport file into the temporary log. Each operation
// is committed together with its values, so an interrupted load leaves no part of one.
// Names and values go in as statement parameters: every byte arrives as it was read,
// whatever quotes it holds, and each statement is prepared once per load.
#include "engine/LogTransport.h"
#include "engine/Replicator.h"
#include "engine/TransportStream.h"

namespace {

// The statements of one load, on the work database and its transaction.
struct TLoadStatements {
    explicit TLoadStatements(TReplicator& r)
        : Exists(r.WorkDB(), r.Tran()), InsertOperation(r.WorkDB(), r.Tran()), InsertValue(r.WorkDB(), r.Tran()),
          Savepoint(r.WorkDB(), r.Tran()), Undo(r.WorkDB(), r.Tran()) {
        Exists.SetSQL("select id from dd_tmp_log where (id=:Id) and (dd_repl_db=:DbId)");
        InsertOperation.SetSQL(
            "insert into dd_tmp_log (Id, Table_Name, Oper, Dd_repl_db, Dd_Repl_Key) values (:Id, :TableName, :Oper, "
            ":DbId, :ReplKey)");
        InsertValue.SetSQL(
            "insert into dd_tmp_log_values (Field_Name, DD_LOG_ID, New_Value, Old_Value, Dd_Repl_Db) values "
            "(:FieldName, :LogId, :NewValue, :OldValue, :DbId)");
        Savepoint.SetSQL("savepoint DD_LOAD_OPERATION");
        Undo.SetSQL("rollback to savepoint DD_LOAD_OPERATION");
    }
    TFIBQuery Exists, InsertOperation, InsertValue, Savepoint, Undo;
};

}  // namespace

bool TReplicator::LoadLogTransport(std::istream* Stream) {
    LastError.clear();
    bool operationPending = false;  // an operation is inserted but not yet committed
    std::unique_ptr<TLoadStatements> sql;
    try {
        CheckWorkSide();
        TTransportInput input(*this, Stream);
        TLogTransportReader reader(input.Stream());
        sql = std::make_unique<TLoadStatements>(*this);
        bool loading = false;
        std::int32_t currentDb = 0;
        auto commitOperation = [&] {
            if (!operationPending) return;
            Tran()->CommitRetaining();
            operationPending = false;
        };
        for (;;) {
            const auto record = reader.Next();
            if (record == TLogTransportReader::TRecord::End) break;
            if (record == TLogTransportReader::TRecord::Operation) {
                commitOperation();
                const TLogOperation& op = reader.Operation();
                currentDb = op.DdReplDb;
                sql->Exists.ParamByName("Id").SetAsInteger(op.Id);
                sql->Exists.ParamByName("DbId").SetAsInteger(op.DdReplDb);
                sql->Exists.ExecQuery();
                loading = sql->Exists.Eof();
                sql->Exists.Close();
                if (loading) {
                    sql->Savepoint.ExecQuery();
                    operationPending = true;
                    TFIBQuery& q = sql->InsertOperation;
                    q.ParamByName("Id").SetAsInteger(op.Id);
                    q.ParamByName("TableName").SetAsString(op.TableName);
                    q.ParamByName("Oper").SetAsString(op.Oper ? std::string(1, op.Oper) : std::string());
                    q.ParamByName("DbId").SetAsInteger(op.DdReplDb);
                    q.ParamByName("ReplKey").SetAsInteger(op.DdReplKey);
                    q.ExecQuery();
                }
            } else {
                const TLogValue& value = reader.Value();
                if (loading) {
                    TFIBQuery& q = sql->InsertValue;
                    q.ParamByName("FieldName").SetAsString(value.FieldName);
                    q.ParamByName("LogId").SetAsInteger(value.DdLogId);
                    q.ParamByName("NewValue").SetAsString(value.NewValue);
                    q.ParamByName("OldValue").SetAsString(value.OldValue);
                    q.ParamByName("DbId").SetAsInteger(currentDb);
                    q.ExecQuery();
                }
                ReportProgress("Load operation \xB9" + std::to_string(value.DdLogId));
            }
        }
        commitOperation();
        ReportProgress("Prepare for replication successful");
        return true;
    } catch (const std::exception& e) {
        LastError = e.what();
        if (operationPending && sql) {
            // Undo the operation that was cut short; the ones before it stay committed.
            try {
                sql->Undo.ExecQuery();
            } catch (const std::exception&) {
                // The connection itself failed; the server drops the uncommitted part.
            }
        }
        ReportProgress("Prepare for replication failed");
        return false;
    }
}
