// Import, first stage: a log-transport file into the temporary log. Each operation
// is committed together with its values, so an interrupted load leaves no part of one.
#include "engine/LogTransport.h"
#include "engine/Replicator.h"
#include "engine/SlotSql.h"
#include "engine/SqlText.h"
#include "engine/TransportStream.h"

namespace {

const char* const kOperationSavepoint = "savepoint DD_LOAD_OPERATION";
const char* const kUndoOperation = "rollback to savepoint DD_LOAD_OPERATION";

}  // namespace

bool TReplicator::LoadLogTransport(std::istream* Stream) {
    LastError.clear();
    bool operationPending = false;  // an operation is inserted but not yet committed
    try {
        CheckWorkSide();
        TTransportInput input(*this, Stream);
        TLogTransportReader reader(input.Stream());
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
                RunSlotSQL(WorkQuery(), "select id from dd_tmp_log where (id=" + std::to_string(op.Id) +
                                            ") and (dd_repl_db=" + std::to_string(op.DdReplDb) + ")");
                loading = WorkQuery().Eof();
                WorkQuery().Close();
                if (loading) {
                    RunSlotSQL(WorkQuery(), kOperationSavepoint);
                    operationPending = true;
                    RunSlotSQL(WorkQuery(),
                               "insert into dd_tmp_log (Id, Table_Name, Oper, Dd_repl_db, Dd_Repl_Key) values (" +
                                   std::to_string(op.Id) + "," + DoubleQuoted(op.TableName) + "," +
                                   DoubleQuoted(op.Oper ? std::string(1, op.Oper) : std::string()) + "," +
                                   std::to_string(op.DdReplDb) + "," + std::to_string(op.DdReplKey) + ")");
                    WorkQuery().Close();
                }
            } else {
                const TLogValue& value = reader.Value();
                if (loading) {
                    RunSlotSQL(WorkQuery(),
                               "insert into dd_tmp_log_values (Field_Name, DD_LOG_ID, New_Value, Old_Value, "
                               "Dd_Repl_Db) values (" +
                                   DoubleQuoted(value.FieldName) + "," + std::to_string(value.DdLogId) + "," +
                                   DoubleQuoted(value.NewValue) + "," + DoubleQuoted(value.OldValue) + "," +
                                   std::to_string(currentDb) + ")");
                    WorkQuery().Close();
                }
                ReportProgress("Load operation \xB9" + std::to_string(value.DdLogId));
            }
        }
        commitOperation();
        ReportProgress("Prepare for replication successful");
        return true;
    } catch (const std::exception& e) {
        LastError = e.what();
        WorkQuery().Close();
        if (operationPending) {
            // Undo the operation that was cut short; the ones before it stay committed.
            try {
                RunSlotSQL(WorkQuery(), kUndoOperation);
                WorkQuery().Close();
            } catch (const std::exception&) {
                // The connection itself failed; the server drops the uncommitted part.
            }
        }
        ReportProgress("Prepare for replication failed");
        return false;
    }
}
