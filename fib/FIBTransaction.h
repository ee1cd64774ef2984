#pragma once
// A transaction on one database.
#include <ibase.h>

#include <string>
#include <vector>

class TFIBDatabase;
class TFIBQuery;

class TFIBTransaction {
public:
    explicit TFIBTransaction(TFIBDatabase* db = nullptr);
    ~TFIBTransaction();  // rolls back when still active
    TFIBTransaction(const TFIBTransaction&) = delete;
    TFIBTransaction& operator=(const TFIBTransaction&) = delete;

    TFIBDatabase* DefaultDatabase() const { return FDatabase; }
    void SetDefaultDatabase(TFIBDatabase* db);

    // Parameter lines: "read_committed", "rec_version", "nowait" and the other
    // isc_tpb_ names without their prefix ("concurrency", "wait", "read", "write", ...).
    std::vector<std::string>& TRParams() { return FTRParams; }

    bool Active() const { return FHandle != 0; }
    void SetActive(bool value);
    void StartTransaction();
    void Commit();             // ends the transaction; its open cursors close
    void CommitRetaining();    // work becomes durable; transaction and cursors go on
    void Rollback();           // ends the transaction; its open cursors close
    void RollbackRetaining();

    isc_tr_handle* Handle() { return &FHandle; }

private:
    friend class TFIBDatabase;
    friend class TFIBQuery;
    void Register(TFIBQuery* q);
    void Unregister(TFIBQuery* q);
    void CursorsClosedByServer();
    void DatabaseGone();

    TFIBDatabase* FDatabase = nullptr;
    std::vector<std::string> FTRParams;
    isc_tr_handle FHandle = 0;
    std::vector<TFIBQuery*> FQueries;
};
