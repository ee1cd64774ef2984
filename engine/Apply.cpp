// Import, second stage: every temporary-log row replayed into its table while the
// semaphore keeps capture silent; applied rows are deleted, failed ones marked.
#include <map>
#include <set>

#include "engine/Replicator.h"
#include "engine/SlotSql.h"
#include "engine/SqlText.h"
#include "fib/FIBError.h"

namespace {

// Column types (rdb$field_type) whose values are written as plain numbers.
bool IsNumericType(int type) {
    static const std::set<int> numeric = {7, 8, 16, 10, 27, 11};  // smallint, integer, int64, float, double, d_float
    return numeric.count(type) != 0;
}

constexpr std::size_t kMaxErrorMessage = 1024;

struct TColumnInfo {
    std::string RefTable, RefField;  // trimmed; empty for a column without reference
    bool Known = false;              // the catalog has the column
    int Type = 0;                    // its rdb$field_type
};

// A reason why a row cannot be built into a statement; the row is marked with it.
struct TUnbuildableRow : EFIBError {
    using EFIBError::EFIBError;
};

// "(db,key)" as the capture triggers write a reference: db and key must be whole numbers.
void SplitReference(const std::string& value, const std::string& field, std::string& db, std::string& key) {
    const std::string text = Trim(value);
    const auto comma = text.find(',');
    if (text.size() >= 2 && comma != std::string::npos) {
        db = text.substr(1, comma - 1);
        key = text.substr(comma + 1, text.size() - comma - 2);
    }
    auto isWhole = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789", s[0] == '-' ? 1 : 0) == std::string::npos &&
               s != "-";
    };
    if (text.size() < 2 || text.front() != '(' || text.back() != ')' || comma == std::string::npos ||
        !isWhole(db) || !isWhole(key))
        throw TUnbuildableRow("Field " + field + ": \"" + value + "\" is not a row identity (db,key)");
}

}  // namespace

bool TReplicator::ReplicateData() {
    LastError.clear();
    bool result = false;
    bool semaphoreRaised = false;
    try {
        CheckWorkSide();
        CheckConfigSide();
        RunSlotSQL(WorkQuery(), "select Gen_Id(DD_SEMAPHORE,1) from rdb$database");
        WorkQuery().Close();
        semaphoreRaised = true;

        RunSlotSQL(LogQuery(), "select count(id) from dd_tmp_log");
        const std::int32_t total = LogQuery().FieldByName("COUNT").AsInteger();
        LogQuery().Close();

        SetSlotSQL(LogQuery(), "select * from dd_tmp_log order by Not_COMPLETE, Id");
        SetSlotSQL(ValuesQuery(),
                   "select * from dd_tmp_log_values where (DD_LOG_ID = :LogId) and (dd_repl_db = :DbId) order by "
                   "DD_LOG_ID, DD_REPL_DB");
        SetSlotSQL(FieldsQuery(),
                   "select * from dd_fields f, dd_tables t where (t.Name = :tableName) and (f.Table_Id = t.Id) and "
                   "(f.Name = :FieldName)");

        // A column's reference and type, read once per run from the configuration
        // and the catalog; they cannot change while the run holds its transaction.
        auto ReadColumn = [this](const std::string& table, const std::string& field) {
            TColumnInfo info;
            FieldsQuery().Close();
            FieldsQuery().ParamByName("TableName").SetAsString(table);
            FieldsQuery().ParamByName("FieldName").SetAsString(field);
            FieldsQuery().ExecQuery();
            if (!FieldsQuery().Eof()) {
                info.RefTable = Trim(FieldsQuery().FieldByName("REF_TABLE_NAME").AsString());
                info.RefField = Trim(FieldsQuery().FieldByName("REF_FIELD_NAME").AsString());
            }
            FieldsQuery().Close();
            RunSlotSQL(WorkQuery(),
                       "select rdb$field_type from rdb$fields f, rdb$relation_fields rf where f.rdb$field_name "
                       "= rf.rdb$field_source and rf.rdb$field_name=" +
                           DoubleQuoted(field) + " and rf.rdb$relation_name=" + DoubleQuoted(table));
            info.Known = !WorkQuery().Eof();
            info.Type = info.Known ? WorkQuery().FieldByName("RDB$FIELD_TYPE").AsInteger() : 0;
            WorkQuery().Close();
            return info;
        };
        std::map<std::pair<std::string, std::string>, TColumnInfo> columns;

        TFIBQuery rowSavepoint(WorkDB(), Tran());
        rowSavepoint.SetSQL("savepoint DD_APPLY_ROW");
        TFIBQuery undoRow(WorkDB(), Tran());
        undoRow.SetSQL("rollback to savepoint DD_APPLY_ROW");

        std::int32_t counter = 0;
        for (LogQuery().ExecQuery(); !LogQuery().Eof(); LogQuery().Next()) {
            const std::int32_t id = LogQuery().FieldByName("ID").AsInteger();
            const std::int32_t db = LogQuery().FieldByName("DD_REPL_DB").AsInteger();
            const std::int32_t key = LogQuery().FieldByName("DD_REPL_KEY").AsInteger();
            const std::string table = Trim(LogQuery().FieldByName("TABLE_NAME").AsString());
            const std::string oper = LogQuery().FieldByName("OPER").AsString();
            const std::string where = " where Dd_repl_db=" + std::to_string(db) + " and Dd_Repl_Key=" + std::to_string(key);

            std::string statement;
            std::string unbuildable;
            try {
                if (oper != "I" && oper != "U" && oper != "D")
                    throw TUnbuildableRow("Unknown operation \"" + oper + "\": only I, U and D can be applied");
                if (!IsPlainIdentifier(table)) throw TUnbuildableRow("\"" + table + "\" is not a valid table name");
                std::string valuesList;
                if (oper == "I") {
                    statement = "insert into " + table + " (DD_REPL_DB, DD_REPL_KEY, ";
                    valuesList = " values (" + std::to_string(db) + "," + std::to_string(key) + ",";
                } else if (oper == "U") {
                    statement = "update " + table + " set ";
                } else {
                    statement = "delete from " + table + " where Dd_Repl_Key=" + std::to_string(key) +
                                " and Dd_repl_db=" + std::to_string(db);
                }

                ValuesQuery().Close();
                ValuesQuery().ParamByName("LogId").SetAsInteger(id);
                ValuesQuery().ParamByName("DbId").SetAsInteger(db);
                bool first = true;
                for (ValuesQuery().ExecQuery(); !ValuesQuery().Eof(); ValuesQuery().Next()) {
                    const std::string field = Trim(ValuesQuery().FieldByName("FIELD_NAME").AsString());
                    if (!IsPlainIdentifier(field))
                        throw TUnbuildableRow("\"" + field + "\" is not a valid field name");

                    auto column = columns.find({table, field});
                    if (column == columns.end()) column = columns.emplace(std::make_pair(table, field), ReadColumn(table, field)).first;
                    const std::string& refTable = column->second.RefTable;
                    const std::string& refField = column->second.RefField;
                    const bool known = column->second.Known;
                    const int type = column->second.Type;

                    const std::string value = ValuesQuery().FieldByName("NEW_VALUE").AsString();
                    std::string expression;
                    if (value.empty()) {
                        expression = "null";
                    } else if (!refTable.empty()) {
                        if (!IsPlainIdentifier(refTable) || !IsPlainIdentifier(refField))
                            throw TUnbuildableRow("Field " + field + ": the configured reference " + refTable + "." +
                                                  refField + " is not a valid name");
                        std::string refDb, refKey;
                        SplitReference(value, field, refDb, refKey);
                        expression = "(select " + refField + " from " + refTable + " where Dd_repl_db=" + refDb +
                                     " and Dd_Repl_Key=" + refKey + ")";
                    } else if (known && IsNumericType(type) && IsNumberText(value)) {
                        expression = value;
                    } else {
                        // Text, date and every other type, and a number that is not plain:
                        // a quoted literal that the server converts to the column's type.
                        expression = SingleQuoted(value);
                    }

                    if (!first && oper != "D") {
                        statement += ", ";
                        valuesList += ", ";
                    }
                    if (oper == "U") statement += field + "=" + expression;
                    else if (oper == "I") {
                        statement += field;
                        valuesList += expression;
                    }
                    first = false;
                }
                ValuesQuery().Close();
                if (oper == "I") statement += ")" + valuesList + ")";
                else if (oper == "U") statement += where;
            } catch (const TUnbuildableRow& e) {
                ValuesQuery().Close();
                FieldsQuery().Close();
                unbuildable = e.what();
            }

            std::string failure = unbuildable;
            if (failure.empty()) {
                // The row's statement and the deletion of its temporary-log row stand or
                // fall together: when the deletion fails, the statement is undone too, so
                // the row marked for the next run has not half taken effect already.
                rowSavepoint.ExecQuery();
                try {
                    RunSlotSQL(WorkQuery(), statement);
                    WorkQuery().Close();
                    RunSlotSQL(WorkQuery(), "delete from dd_tmp_log where (id=" + std::to_string(id) + ") " +
                                                "and (dd_repl_db=" + std::to_string(db) + ")");
                    WorkQuery().Close();
                } catch (const EFIBInterBaseError& e) {
                    failure = e.what();
                    if (failure.empty()) failure = "error " + std::to_string(e.SQLCode);
                    WorkQuery().Close();
                    undoRow.ExecQuery();
                }
            }
            if (!failure.empty()) {
                std::string message = Trim(failure);
                for (char& c : message)
                    if (c == '"') c = ' ';
                if (message.size() > kMaxErrorMessage) message.resize(kMaxErrorMessage);
                WorkQuery().Close();
                RunSlotSQL(WorkQuery(), "update dd_tmp_log set not_COMPLETE=1, ERR_MESSAGE= \"" + message +
                                            "\" where (id=" + std::to_string(id) + ") " +
                                            "and (dd_repl_db=" + std::to_string(db) + ")");
                WorkQuery().Close();
            }
            ++counter;
            ReportProgress("Replicate data: operation " + std::to_string(counter) + " of " + std::to_string(total));
        }
        result = true;
    } catch (const std::exception& e) {
        LastError = e.what();
    }

    // End action: lower the semaphore, commit, close the slots, whatever happened.
    try {
        WorkQuery().Close();
        if (semaphoreRaised) {
            RunSlotSQL(WorkQuery(), "select Gen_Id(DD_SEMAPHORE,-1) from rdb$database");
            WorkQuery().Close();
        }
        if (Tran() && Tran()->Active()) Tran()->CommitRetaining();
    } catch (const std::exception& e) {
        if (LastError.empty()) LastError = e.what();
        result = false;
    }
    CloseQueries();
    ReportProgress(result ? "Replication successful" : "Replication failed");
    return result;
}
