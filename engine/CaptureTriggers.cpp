#include "engine/CaptureTriggers.h"

#include "engine/Replicator.h"
#include "engine/SchemaObjects.h"
#include "engine/SqlText.h"
#include "fib/FIBQuery.h"

namespace {

void DropTriggersOfKind(TReplicator& r, const std::string& message, const std::string& prefix) {
    r.ReportProgress(message);
    const auto names = ListWorkValues(
        r,
        "select rdb$trigger_name as TRIGGER_NAME from rdb$triggers where rdb$trigger_name "
        "starting with \"" + prefix + "\"",
        "TRIGGER_NAME");
    for (const auto& name : names) ExecWorkStatement(r, "drop trigger " + name);
    CommitWork(r);
}

void ExecuteAll(TReplicator& r, const std::vector<TTriggerStatement>& triggers) {
    for (const auto& trigger : triggers) ExecWorkStatement(r, trigger.Text);
}

}  // namespace

std::vector<TCaptureField> ReadCaptureFields(TReplicator& r, const std::string& table) {
    std::vector<TCaptureField> fields;
    TFIBQuery q(r.ConfigDB(), r.CfgTran());
    q.SetSQL(
        "select f.name, f.ref_table_name, f.ref_field_name from dd_tables t, dd_fields f, "
        "dd_subscriptions s, dd_repl_items i where (i.Publisher_Id = :PublId) and "
        "(s.rep_item_id = i.id) and (t.publication_id = s.publication_id) and (f.table_id = "
        "t.id) and (t.name = :tableName) group by f.name, f.ref_table_name, f.ref_field_name "
        "order by f.name, f.ref_table_name, f.ref_field_name");
    q.ParamByName("PublId").SetAsInteger(r.PublisherId);
    q.ParamByName("TableName").SetAsString(table);
    q.ExecQuery();
    while (!q.Eof()) {
        fields.push_back({Trim(q.FieldByName("NAME").AsString()),
                          Trim(q.FieldByName("REF_TABLE_NAME").AsString()),
                          Trim(q.FieldByName("REF_FIELD_NAME").AsString())});
        q.Next();
    }
    q.Close();
    return fields;
}

void CreateKeyTrigger(TReplicator& r, const std::string& table) {
    r.ReportProgress("Create BEFORE INSERT trigger for table " + table);
    ExecWorkStatement(r, KeyTriggerText(table));
    CommitWork(r);
}

void CreateInsertLogTriggers(TReplicator& r, const std::string& table) {
    r.ReportProgress("Create AFTER INSERT trigger for table " + table);
    ExecuteAll(r, InsertLogTriggers(table, ReadCaptureFields(r, table)));
    CommitWork(r);
}

void CreateUpdateLogTriggers(TReplicator& r, const std::string& table) {
    r.ReportProgress("Create AFTER UPDATE trigger for table " + table);
    ExecuteAll(r, UpdateLogTriggers(table, ReadCaptureFields(r, table)));
    CommitWork(r);
}

void CreateDeleteLogTrigger(TReplicator& r, const std::string& table) {
    r.ReportProgress("Create AFTER DELETE trigger for table " + table);
    if (!ReadCaptureFields(r, table).empty()) ExecWorkStatement(r, DeleteLogTriggerText(table));
    CommitWork(r);
}

void DropKeyTriggers(TReplicator& r) {
    DropTriggersOfKind(r, "Drop all BEFORE INSERT triggers", "DD_LOG_BI_");
}

void DropInsertLogTriggers(TReplicator& r) {
    DropTriggersOfKind(r, "Drop all AFTER INSERT triggers", "DD_LOG_AI_");
}

void DropUpdateLogTriggers(TReplicator& r) {
    DropTriggersOfKind(r, "Drop all AFTER UPDATE triggers", "DD_LOG_AU_");
}

void DropDeleteLogTriggers(TReplicator& r) {
    DropTriggersOfKind(r, "Drop all AFTER DELETE triggers", "DD_LOG_AD_");
}
