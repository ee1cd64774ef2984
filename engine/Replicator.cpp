#include "engine/Replicator.h"

#include <filesystem>

#include "fib/FIBError.h"

TReplicator::TReplicator()
    : FLogQuery(std::make_unique<TFIBQuery>()),
      FValuesQuery(std::make_unique<TFIBQuery>()),
      FFieldsQuery(std::make_unique<TFIBQuery>()),
      FConfigQuery(std::make_unique<TFIBQuery>()),
      FWorkQuery(std::make_unique<TFIBQuery>()) {}

TReplicator::~TReplicator() = default;

void TReplicator::SetWorkDB(TFIBDatabase* db) {
    if (db) {
        FWorkQuery->SetDatabase(db);
        FLogQuery->SetDatabase(db);
        FValuesQuery->SetDatabase(db);
    }
    FWorkDB = db;
}

void TReplicator::SetConfigDB(TFIBDatabase* db) {
    if (db) {
        FConfigQuery->SetDatabase(db);
        FFieldsQuery->SetDatabase(db);
    }
    FConfigDB = db;
}

void TReplicator::SetTran(TFIBTransaction* tr) {
    if (tr) {
        FWorkQuery->SetTransaction(tr);
        FLogQuery->SetTransaction(tr);
        FValuesQuery->SetTransaction(tr);
    }
    FTran = tr;
}

void TReplicator::SetCfgTran(TFIBTransaction* tr) {
    if (tr) {
        FConfigQuery->SetTransaction(tr);
        FFieldsQuery->SetTransaction(tr);
    }
    FCfgTran = tr;
}

void TReplicator::ReportProgress(const std::string& JobDesc) {
    if (OnJobProgress) OnJobProgress(*this, JobDesc);
}

void TReplicator::ReportInformation(const std::string& Text) {
    if (OnInformation) OnInformation(*this, Text);
}

void TReplicator::CloseQueries() {
    FLogQuery->Close();
    FValuesQuery->Close();
    FFieldsQuery->Close();
    FConfigQuery->Close();
    FWorkQuery->Close();
}

const std::string& TReplicator::TransportFileName() {
    if (FileName.empty()) {
        std::string folder = std::filesystem::temp_directory_path().string();
        const auto first = folder.find_first_not_of(' ');
        const auto last = folder.find_last_not_of(' ');
        folder = first == std::string::npos ? std::string() : folder.substr(first, last - first + 1);
        // The folder path is joined with the separator and the name as they stand:
        // a folder ending in a separator gives two in a row, which the file system accepts.
        FileName = folder + static_cast<char>(std::filesystem::path::preferred_separator) + "_repl_.swp";
    }
    return FileName;
}

void TReplicator::CheckWorkSide() const {
    if (!FWorkDB || !FTran) throw EFIBError("The work database and its transaction are not set");
}

void TReplicator::CheckConfigSide() const {
    if (!FConfigDB || !FCfgTran) throw EFIBError("The configuration database and its transaction are not set");
}
