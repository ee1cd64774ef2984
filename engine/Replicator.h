#pragma once
// TReplicator: the replication engine. Prepares and unprepares a work database,
// exports its change log to a log-transport file, loads such a file into the
// temporary log and applies it.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "fib/FIBDatabase.h"
#include "fib/FIBQuery.h"
#include "fib/FIBTransaction.h"

class TReplicator;

// Progress event: Sender is the replicator, JobDesc the message (WIN1251 bytes).
using TOnJobProgress = std::function<void(TReplicator& Sender, const std::string& JobDesc)>;
// Information the operator should see while an operation goes on (WIN1251 bytes).
using TOnInformation = std::function<void(TReplicator& Sender, const std::string& Text)>;

class TReplicator {
public:
    TReplicator();
    ~TReplicator();
    TReplicator(const TReplicator&) = delete;
    TReplicator& operator=(const TReplicator&) = delete;

    // The four references (not owned). Setting one binds the matching slots first;
    // setting nullptr only clears the reference and leaves the slots bound as before.
    TFIBDatabase* ConfigDB() const { return FConfigDB; }
    void SetConfigDB(TFIBDatabase* db);
    TFIBDatabase* WorkDB() const { return FWorkDB; }
    void SetWorkDB(TFIBDatabase* db);
    TFIBTransaction* Tran() const { return FTran; }
    void SetTran(TFIBTransaction* tr);
    TFIBTransaction* CfgTran() const { return FCfgTran; }
    void SetCfgTran(TFIBTransaction* tr);

    // Path of the log-transport file; empty until set or until an operation without a
    // stream fills in the default.
    std::string FileName;
    TOnJobProgress OnJobProgress;
    // Receives the information texts of the preparation; unset, they are dropped.
    TOnInformation OnInformation;

    // Text of the error that ended the latest failed operation (for UnprepareDatabase, the
    // one it swallowed); empty after one that succeeded. The progress event reports only
    // the failure message.
    std::string LastError;

    // Database object id given to the latest PrepareDatabase.
    std::int32_t PublisherId = 0;

    // The five statement slots, owned.
    TFIBQuery& LogQuery() { return *FLogQuery; }
    TFIBQuery& ValuesQuery() { return *FValuesQuery; }
    TFIBQuery& FieldsQuery() { return *FFieldsQuery; }
    TFIBQuery& ConfigQuery() { return *FConfigQuery; }
    TFIBQuery& WorkQuery() { return *FWorkQuery; }

    // Public operations.
    bool CreateLogTransport(std::ostream* Stream, std::int32_t ReplItemId, std::int32_t StartOp);
    bool LoadLogTransport(std::istream* Stream);
    bool ReplicateData();
    void PrepareDatabase(std::int32_t DbObjectId, std::int32_t MasterId);
    void UnprepareDatabase();

    // Calls OnJobProgress when it is set.
    void ReportProgress(const std::string& JobDesc);
    // Tells the operator something through OnInformation when it is set.
    void ReportInformation(const std::string& Text);
    // Closes the five slots: LogQuery, ValuesQuery, FieldsQuery, ConfigQuery, WorkQuery.
    void CloseQueries();
    // Raises EFIBError unless the references that an operation uses are set.
    void CheckWorkSide() const;
    void CheckConfigSide() const;
    // FileName, after filling in the default "<temp folder>/_repl_.swp" when it is empty.
    const std::string& TransportFileName();

private:
    TFIBDatabase* FConfigDB = nullptr;
    TFIBDatabase* FWorkDB = nullptr;
    TFIBTransaction* FTran = nullptr;
    TFIBTransaction* FCfgTran = nullptr;
    std::unique_ptr<TFIBQuery> FLogQuery;
    std::unique_ptr<TFIBQuery> FValuesQuery;
    std::unique_ptr<TFIBQuery> FFieldsQuery;
    std::unique_ptr<TFIBQuery> FConfigQuery;
    std::unique_ptr<TFIBQuery> FWorkQuery;
};
