// Export: the change log beyond the item's last export, filtered by its data flows
// and export conditions, into a log-transport file; then a history row.
#include <chrono>
#include <map>
#include <ctime>
#include <optional>
#include <variant>
#include <vector>

#include "engine/LogTransport.h"
#include "engine/Replicator.h"
#include "engine/SlotSql.h"
#include "engine/SqlText.h"
#include "engine/TransportStream.h"
#include "fib/FIBError.h"

namespace {

// Local date and time as a timestamp text every server accepts, with ten-thousandths
// of a second so that two exports in one second still order by their date.
std::string NowText() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto units =
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() % 1000000 / 100;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%04d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(units));
    return text;
}

using TRecord = std::variant<TLogOperation, TLogValue>;

struct TTableRule {
    std::string Condition;            // COND_TEXT, empty when the table has none
    std::vector<std::string> Fields;  // configured field names, trimmed, one per DD_FIELDS row
};

// A value with '^' would end early when read back and put the reader out of step.
void CheckTransportable(const TLogOperation& op, const TLogValue& value) {
    if (value.OldValue.find(kValueTerminator) == std::string::npos &&
        value.NewValue.find(kValueTerminator) == std::string::npos)
        return;
    throw EFIBError("Operation " + std::to_string(op.Id) + ", table " + Trim(op.TableName) + ", field " +
                    Trim(value.FieldName) +
                    ": the value holds the character \"^\", which a log-transport file cannot carry. "
                    "Mend the value in DD_LOG_VALUES (DD_LOG_ID " +
                    std::to_string(op.Id) + ", FIELD_NAME " + Trim(value.FieldName) + ") and export again.");
}

}  // namespace

bool TReplicator::CreateLogTransport(std::ostream* Stream, std::int32_t ReplItemId, std::int32_t StartOp) {
    LastError.clear();
    try {
        CheckWorkSide();
        CheckConfigSide();
        TTransportOutput output(*this, Stream);
        TLogTransportWriter writer(output.Stream());

        std::int32_t startPoint = StartOp;
        if (StartOp < 0) {
            SetSlotSQL(ConfigQuery(),
                       "select End_Log_Id from dd_repl_history where (Repl_Item_Id = :ReplId) order by "
                       "Repl_Item_Id, REPL_DATE desc");
            ConfigQuery().Prepare();
            ConfigQuery().ParamByName("ReplId").SetAsInteger(ReplItemId);
            ConfigQuery().ExecQuery();
            startPoint = ConfigQuery().Eof() ? 0 : ConfigQuery().FieldByName("End_Log_Id").AsInteger();
        }
        ConfigQuery().Close();

        SetSlotSQL(LogQuery(), "select count(*) as LOG_SIZE from dd_log where (Id > :LastId)");
        LogQuery().ParamByName("LastId").SetAsInteger(startPoint);
        LogQuery().ExecQuery();
        const std::int32_t logSize = LogQuery().FieldByName("LOG_SIZE").AsInteger();
        LogQuery().Close();

        SetSlotSQL(LogQuery(), "select * from dd_log where (Id > :LastId) order by Id");
        SetSlotSQL(ValuesQuery(), "select * from dd_log_values where (DD_LOG_ID = :LogId) order by DD_LOG_ID");
        SetSlotSQL(FieldsQuery(),
                   "select f.Name from dd_subscriptions s, dd_tables t, dd_fields f where (s.Rep_Item_Id=:item) "
                   "and (t.Publication_Id=s.Publication_id) and (t.Name=:tbl) and (f.table_id=t.id) order by "
                   "s.Rep_Item_id, t.Name, t.Publication_id, f.Table_id");

        // The item's export condition and configured fields for one table.
        auto ReadRule = [this](const std::string& tableName, std::int32_t item) {
            TTableRule rule;
            SetSlotSQL(ConfigQuery(),
                       "select * from dd_repl_conditions where (Table_Name = :TableName) and (Repl_Items_Id = "
                       ":ReplItem)");
            ConfigQuery().Prepare();
            ConfigQuery().ParamByName("ReplItem").SetAsInteger(item);
            ConfigQuery().ParamByName("TableName").SetAsString(tableName);
            ConfigQuery().ExecQuery();
            if (!ConfigQuery().Eof()) rule.Condition = ConfigQuery().FieldByName("COND_TEXT").AsString();
            ConfigQuery().Close();
            FieldsQuery().Close();
            FieldsQuery().ParamByName("tbl").SetAsString(Trim(tableName));
            FieldsQuery().ParamByName("item").SetAsInteger(item);
            for (FieldsQuery().ExecQuery(); !FieldsQuery().Eof(); FieldsQuery().Next())
                rule.Fields.push_back(Trim(FieldsQuery().FieldByName("NAME").AsString()));
            FieldsQuery().Close();
            return rule;
        };

        LogQuery().ParamByName("LastId").SetAsInteger(startPoint);
        LogQuery().ExecQuery();
        std::int32_t counter = 0;
        std::int32_t lastId = 0;
        std::vector<TRecord> records;
        std::map<std::string, TTableRule> rules;  // by TABLE_NAME as stored
        for (; !LogQuery().Eof(); LogQuery().Next()) {
            TLogOperation op;
            op.Id = LogQuery().FieldByName("ID").AsInteger();
            op.TableName = LogQuery().FieldByName("TABLE_NAME").AsString();
            const std::string oper = LogQuery().FieldByName("OPER").AsString();
            op.Oper = oper.empty() ? '\0' : oper[0];
            op.DdReplDb = LogQuery().FieldByName("DD_REPL_DB").AsInteger();
            op.DdReplKey = LogQuery().FieldByName("DD_REPL_KEY").AsInteger();
            const std::string table = Trim(op.TableName);

            // A table's condition and field list are read once per run: they cannot
            // change in between for this item, and reading them per row dominated the run.
            auto rule = rules.find(op.TableName);
            if (rule == rules.end()) rule = rules.emplace(op.TableName, ReadRule(op.TableName, ReplItemId)).first;

            bool passes = true;
            if (!rule->second.Condition.empty()) {
                RunSlotSQL(WorkQuery(), rule->second.Condition + " and (" + table + ".Dd_Repl_Db=" +
                                            std::to_string(op.DdReplDb) + ") and (" + table +
                                            ".Dd_Repl_Key=" + std::to_string(op.DdReplKey) + ")");
                passes = !WorkQuery().Eof();
                WorkQuery().Close();
            }

            if (passes) {
                // The row's values are read once; each configured field takes its matches
                // in turn (a field configured twice sends its values twice). The records
                // are written only when all of them can travel, so a refused value leaves
                // no part of its operation behind.
                std::vector<TLogValue> values;
                if (!rule->second.Fields.empty()) {
                    ValuesQuery().Close();
                    ValuesQuery().ParamByName("LogId").SetAsInteger(op.Id);
                    for (ValuesQuery().ExecQuery(); !ValuesQuery().Eof(); ValuesQuery().Next()) {
                        TLogValue value;
                        value.FieldName = ValuesQuery().FieldByName("FIELD_NAME").AsString();
                        value.DdLogId = ValuesQuery().FieldByName("DD_LOG_ID").AsInteger();
                        value.OldValue = ValuesQuery().FieldByName("OLD_VALUE").AsString();
                        value.NewValue = ValuesQuery().FieldByName("NEW_VALUE").AsString();
                        values.push_back(std::move(value));
                    }
                    ValuesQuery().Close();
                }
                records.clear();
                for (const auto& configured : rule->second.Fields) {
                    for (const auto& value : values) {
                        if (Trim(value.FieldName) != configured) continue;
                        if (records.empty()) records.emplace_back(op);
                        CheckTransportable(op, value);
                        records.emplace_back(value);
                    }
                }
                if (op.Oper == 'D') records.emplace_back(op);
                for (const auto& record : records) {
                    if (const auto* o = std::get_if<TLogOperation>(&record)) writer.WriteOperation(*o);
                    else writer.WriteValue(std::get<TLogValue>(record));
                }
            }

            lastId = op.Id;
            ++counter;
            ReportProgress("Create Log-transport: operation " + std::to_string(counter) + " of " +
                           std::to_string(logSize));
        }

        // Everything must be on disk before the history says it was exported.
        output.Finish();

        if (lastId >= startPoint) {
            ReportProgress("Update history list");
            RunSlotSQL(ConfigQuery(),
                       "insert into dd_repl_history (Id, Beg_Log_Id, End_Log_Id, Repl_Date, Repl_Item_Id) values "
                       "(Gen_Id(Gen_dd_Repl_History_Kod, 1), " +
                           std::to_string(static_cast<std::int64_t>(startPoint) + 1) + "," + std::to_string(lastId) +
                           ",\"" + NowText() + "\"," + std::to_string(ReplItemId) + ")");
            CfgTran()->CommitRetaining();
            ConfigQuery().Close();
        }
        CloseQueries();
        ReportProgress("Create successful");
        return true;
    } catch (const std::exception& e) {
        LastError = e.what();
        CloseQueries();
        ReportProgress("Create failed");
        return false;
    }
}
