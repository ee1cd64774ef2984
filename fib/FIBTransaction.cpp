#include "fib/FIBTransaction.h"

#include <algorithm>

#include "fib/FIBDatabase.h"
#include "fib/FIBError.h"
#include "fib/FIBQuery.h"
#include "fib/FIBStatus.h"

namespace {

std::string BuildTPB(const std::vector<std::string>& lines) {
    static const struct {
        const char* name;
        char code;
    } kNames[] = {
        {"consistency", isc_tpb_consistency}, {"concurrency", isc_tpb_concurrency},
        {"shared", isc_tpb_shared},           {"protected", isc_tpb_protected},
        {"exclusive", isc_tpb_exclusive},     {"wait", isc_tpb_wait},
        {"nowait", isc_tpb_nowait},           {"read", isc_tpb_read},
        {"write", isc_tpb_write},             {"read_committed", isc_tpb_read_committed},
        {"rec_version", isc_tpb_rec_version}, {"no_rec_version", isc_tpb_no_rec_version},
        {"no_auto_undo", isc_tpb_no_auto_undo},
    };
    std::string tpb(1, static_cast<char>(isc_tpb_version3));
    for (auto line : lines) {
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (line.rfind("isc_tpb_", 0) == 0) line = line.substr(8);
        const auto it = std::find_if(std::begin(kNames), std::end(kNames),
                                     [&](const auto& n) { return line == n.name; });
        if (it == std::end(kNames)) throw EFIBError("Unknown transaction parameter \"" + line + "\"");
        tpb += it->code;
    }
    return tpb;
}

}  // namespace

TFIBTransaction::TFIBTransaction(TFIBDatabase* db) { SetDefaultDatabase(db); }

TFIBTransaction::~TFIBTransaction() {
    if (Active()) {
        try {
            Rollback();
        } catch (...) {
            // Nothing to report to at destruction; the server ends it with the attachment.
        }
    }
    for (auto* q : std::vector<TFIBQuery*>(FQueries)) q->TransactionGone();
    if (FDatabase) FDatabase->Unregister(this);
}

void TFIBTransaction::SetDefaultDatabase(TFIBDatabase* db) {
    if (db == FDatabase) return;
    if (Active()) throw EFIBError("Cannot change the database of an active transaction");
    if (FDatabase) FDatabase->Unregister(this);
    FDatabase = db;
    if (FDatabase) FDatabase->Register(this);
}

void TFIBTransaction::DatabaseGone() {
    FHandle = 0;
    FDatabase = nullptr;
}

void TFIBTransaction::SetActive(bool value) {
    if (value == Active()) return;
    if (value) StartTransaction();
    else Commit();
}

void TFIBTransaction::StartTransaction() {
    if (Active()) throw EFIBError("Transaction is active");
    if (!FDatabase || !FDatabase->Connected()) throw EFIBError("Database not connected");
    const std::string tpb = BuildTPB(FTRParams);
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &FHandle, 1, FDatabase->Handle(), static_cast<unsigned short>(tpb.size()),
                          tpb.data());
    CheckStatus(status);
}

void TFIBTransaction::Commit() {
    if (!Active()) throw EFIBError("Transaction is not active");
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &FHandle);
    CheckStatus(status);
    CursorsClosedByServer();
}

void TFIBTransaction::CommitRetaining() {
    if (!Active()) throw EFIBError("Transaction is not active");
    ISC_STATUS_ARRAY status;
    isc_commit_retaining(status, &FHandle);
    CheckStatus(status);
}

void TFIBTransaction::Rollback() {
    if (!Active()) throw EFIBError("Transaction is not active");
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &FHandle);
    CheckStatus(status);
    CursorsClosedByServer();
}

void TFIBTransaction::RollbackRetaining() {
    if (!Active()) throw EFIBError("Transaction is not active");
    ISC_STATUS_ARRAY status;
    isc_rollback_retaining(status, &FHandle);
    CheckStatus(status);
}

void TFIBTransaction::CursorsClosedByServer() {
    for (auto* q : FQueries) q->CursorClosedByServer();
}

void TFIBTransaction::Register(TFIBQuery* q) { FQueries.push_back(q); }
void TFIBTransaction::Unregister(TFIBQuery* q) {
    FQueries.erase(std::remove(FQueries.begin(), FQueries.end(), q), FQueries.end());
}
