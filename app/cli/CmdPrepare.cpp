// prepare / unprepare: add the replication objects and capture triggers to a work
// database, or remove them again.
#include "app/cli/Commands.h"
#include "fib/CodePage1251.h"

namespace cli {

namespace {

int RunPrepare(const Options& options) {
    if (!options.Has("object-id")) throw UsageError("option --object-id is required");
    const int objectId = options.GetInt("object-id", 0);
    const int masterId = options.GetInt("master-id", 1);
    Session session(options, true);
    // A failure is reported as "Prepare failed" and its error reaches main, which prints it.
    session.Replicator.PrepareDatabase(objectId, masterId);
    return kSuccess;
}

int RunUnprepare(const Options& options) {
    Session session(options, false);
    // The engine reports "Unprepare failed" and keeps the error to itself.
    session.Replicator.UnprepareDatabase();
    if (!session.Replicator.LastError.empty()) {
        PrintError(Win1251ToUtf8(session.Replicator.LastError));
        return kFailure;
    }
    return kSuccess;
}

// Both commands take the same options, so that one option set serves a script for both;
// unprepare needs only the work database and the login and ignores the others.
std::vector<OptionSpec> PrepareSpecs(bool forUnprepare) {
    auto specs = ConnectionSpecs(
        true, {{"object-id", "ID", "DD_OBJECTS.ID of this database in the configuration (required)"},
               {"master-id", "ID", "DD_REPL_DB given to the existing rows; 0: the object id (default 1)"}});
    if (forUnprepare)
        for (auto& spec : specs)
            if (spec.Name == "config" || spec.Name == "object-id" || spec.Name == "master-id")
                spec.Help = "accepted for use with prepare's options; not used";
    return specs;
}

}  // namespace

Command PrepareCommand() {
    return {"prepare",
            "add the replication objects and capture triggers to a work database",
            "--db PATH --object-id ID [OPTIONS]",
            PrepareSpecs(false),
            &RunPrepare};
}

Command UnprepareCommand() {
    return {"unprepare",
            "remove the replication objects and capture triggers from a work database",
            "--db PATH [OPTIONS]",
            PrepareSpecs(true),
            &RunUnprepare};
}

}  // namespace cli
