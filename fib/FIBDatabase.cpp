#include "fib/FIBDatabase.h"

#include <algorithm>

#include "fib/FIBError.h"
#include "fib/FIBQuery.h"
#include "fib/FIBStatus.h"
#include "fib/FIBTransaction.h"

namespace {

// Builds the database parameter buffer from "name=value" lines.
std::string BuildDPB(const std::vector<std::string>& lines) {
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    for (const auto& line : lines) {
        const auto eq = line.find('=');
        std::string name = line.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (name.rfind("isc_dpb_", 0) == 0) name = name.substr(8);
        char code;
        if (name == "user_name" || name == "user") code = isc_dpb_user_name;
        else if (name == "password") code = isc_dpb_password;
        else if (name == "lc_ctype") code = isc_dpb_lc_ctype;
        else if (name == "sql_role_name") code = isc_dpb_sql_role_name;
        else throw EFIBError("Unknown database parameter \"" + line + "\"");
        if (value.size() > 255) throw EFIBError("Database parameter too long: \"" + name + "\"");
        dpb += code;
        dpb += static_cast<char>(value.size());
        dpb += value;
    }
    return dpb;
}

}  // namespace

TFIBDatabase::~TFIBDatabase() {
    try {
        Close();
    } catch (...) {
        // A failing detach at destruction has nobody to report to.
    }
    for (auto* q : std::vector<TFIBQuery*>(FQueries)) q->DatabaseGone();
    for (auto* tr : std::vector<TFIBTransaction*>(FTransactions)) tr->DatabaseGone();
}

void TFIBDatabase::SetDatabaseName(const std::string& name) {
    if (Connected()) throw EFIBError("Cannot change the database name of a connected database");
    FDatabaseName = name;
}

void TFIBDatabase::SetConnected(bool value) {
    if (value == Connected()) return;
    ISC_STATUS_ARRAY status;
    if (value) {
        if (FDatabaseName.empty()) throw EFIBError("Database name is empty");
        const std::string dpb = BuildDPB(FDBParams);
        isc_db_handle handle = 0;
        isc_attach_database(status, 0, FDatabaseName.c_str(), &handle,
                            static_cast<short>(dpb.size()), dpb.data());
        CheckStatus(status);
        FHandle = handle;
        return;
    }
    // Statements first, then transactions: nothing stays open on a detached handle.
    for (auto* q : std::vector<TFIBQuery*>(FQueries)) q->FreeHandle();
    for (auto* tr : std::vector<TFIBTransaction*>(FTransactions)) {
        if (tr->Active()) {
            try {
                tr->Rollback();
            } catch (const EFIBError&) {
                // The connection may be broken; detaching below releases the rest.
            }
        }
    }
    isc_detach_database(status, &FHandle);
    if (status[0] == 1 && status[1] != 0) {
        // A broken connection cannot be detached cleanly; drop the handle all the same.
        FHandle = 0;
        CheckStatus(status);
    }
    FHandle = 0;
}

void TFIBDatabase::Register(TFIBTransaction* tr) { FTransactions.push_back(tr); }
void TFIBDatabase::Unregister(TFIBTransaction* tr) {
    FTransactions.erase(std::remove(FTransactions.begin(), FTransactions.end(), tr), FTransactions.end());
}
void TFIBDatabase::Register(TFIBQuery* q) { FQueries.push_back(q); }
void TFIBDatabase::Unregister(TFIBQuery* q) {
    FQueries.erase(std::remove(FQueries.begin(), FQueries.end(), q), FQueries.end());
}
