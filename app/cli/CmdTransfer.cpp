// export, import and status: moving changes through a log-transport file.
#include <iostream>

#include "app/cli/Commands.h"
#include "fib/CodePage1251.h"
#include "fib/FIBError.h"

namespace cli {

namespace {

// Reports why an operation failed and gives the exit code.
int Finish(TReplicator& replicator, bool ok) {
    if (!ok && !replicator.LastError.empty()) PrintError(Win1251ToUtf8(replicator.LastError));
    return ok ? kSuccess : kFailure;
}

long long Count(Session& s, const std::string& sql) {
    TFIBQuery q(&s.WorkDB, &s.WorkTran);
    q.SetSQL(sql);
    q.ExecQuery();
    return q.Fields(0).AsInt64();
}

int RunExport(const Options& options) {
    if (!options.Has("item")) throw UsageError("option --item is required");
    const int item = options.GetInt("item", 0);
    const int start = options.GetInt("start", 0);
    if (start < 0) throw UsageError("option --start needs 0 (continue) or an operation number of 1 or more");
    Session s(options, true);
    {
        TFIBQuery q(&s.ConfigDB, &s.ConfigTran);
        q.SetSQL("select ID from DD_REPL_ITEMS where ID = :Id");
        q.ParamByName("Id").SetAsInteger(item);
        q.ExecQuery();
        if (q.Eof()) {
            PrintError("replication item " + std::to_string(item) + " does not exist");
            return kFailure;
        }
    }
    if (options.Has("file")) s.Replicator.FileName = options.Get("file");
    const bool ok = s.Replicator.CreateLogTransport(nullptr, item, start - 1);
    if (ok) std::cerr << "Log-transport file: " << s.Replicator.FileName << std::endl;
    return Finish(s.Replicator, ok);
}

int RunImport(const Options& options) {
    Session s(options, true);
    if (options.Has("file")) s.Replicator.FileName = options.Get("file");
    if (!s.Replicator.LoadLogTransport(nullptr)) return Finish(s.Replicator, false);
    if (!s.Replicator.ReplicateData()) return Finish(s.Replicator, false);
    const long long failed = Count(s, "select count(*) from dd_tmp_log where not_complete = 1");
    if (failed > 0)
        std::cerr << "warning: " << failed
                  << " operation(s) could not be applied and stay in the temporary log; "
                     "their messages are in DD_TMP_LOG.ERR_MESSAGE (see: quillon-cli status)"
                  << std::endl;
    return kSuccess;
}

int RunStatus(const Options& options) {
    const bool withItem = options.Has("item");
    const int item = options.GetInt("item", 0);
    Session s(options, withItem);
    std::cout << "change log rows: " << Count(s, "select count(*) from dd_log") << "\n"
              << "pending temporary-log rows: " << Count(s, "select count(*) from dd_tmp_log where not_complete is null")
              << "\n"
              << "failed temporary-log rows: " << Count(s, "select count(*) from dd_tmp_log where not_complete = 1")
              << "\n";
    {
        TFIBQuery q(&s.WorkDB, &s.WorkTran);
        q.SetSQL("select ID, DD_REPL_DB, TABLE_NAME, OPER, ERR_MESSAGE from dd_tmp_log where not_complete = 1 "
                 "order by ID");
        for (q.ExecQuery(); !q.Eof(); q.Next())
            std::cout << "  failed operation " << q.FieldByName("ID").AsString() << " (database "
                      << q.FieldByName("DD_REPL_DB").AsString() << ", " << q.FieldByName("OPER").AsString() << " "
                      << Win1251ToUtf8(q.FieldByName("TABLE_NAME").AsString())
                      << "): " << Win1251ToUtf8(q.FieldByName("ERR_MESSAGE").AsString()) << "\n";
    }
    if (withItem) {
        TFIBQuery q(&s.ConfigDB, &s.ConfigTran);
        q.SetSQL("select End_Log_Id from dd_repl_history where (Repl_Item_Id = :ReplId) order by Repl_Item_Id, "
                 "REPL_DATE desc");
        q.ParamByName("ReplId").SetAsInteger(item);
        q.ExecQuery();
        std::cout << "item " << item << " last exported operation: "
                  << (q.Eof() ? std::string("never exported") : q.Fields(0).AsString()) << "\n";
    }
    return kSuccess;
}

}  // namespace

Command ExportCommand() {
    return {"export",
            "write the changes of one replication item to a log-transport file",
            "--db PATH --item ID [OPTIONS]",
            ConnectionSpecs(true,
                      {{"item", "ID", "replication item to export (DD_REPL_ITEMS.ID)"},
                       {"start", "N", "0 (default): continue after the item's last export; N: begin with operation N"},
                       {"file", "PATH", "log-transport file (default: _repl_.swp in the temporary folder)"}}),
            &RunExport};
}

Command ImportCommand() {
    return {"import",
            "load a log-transport file into the temporary log and apply it",
            "--db PATH [OPTIONS]",
            ConnectionSpecs(true,
                      {{"file", "PATH", "log-transport file (default: _repl_.swp in the temporary folder)"}}),
            &RunImport};
}

Command StatusCommand() {
    return {"status",
            "show the change log and temporary log of a work database, and an item's last export",
            "--db PATH [OPTIONS]",
            ConnectionSpecs(true, {{"item", "ID", "also show the last exported operation of this item"}}),
            &RunStatus};
}

}  // namespace cli
