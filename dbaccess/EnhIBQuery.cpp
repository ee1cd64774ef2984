#include "dbaccess/EnhIBQuery.h"

#include "fib/FIBTransaction.h"

TEnhIBQuery::TEnhIBQuery(TFIBDatabase* db, TFIBTransaction* tr)
    : TFIBQuery(db, tr), FMacros(std::make_unique<TMacroParamList>(this)) {}

TEnhIBQuery::~TEnhIBQuery() = default;

void TEnhIBQuery::SetSQL(const std::string& text) {
    const bool changed = text != SQL();
    TFIBQuery::SetSQL(text);
    if (changed) RegisterMacros(text, *FMacros);
}

void TEnhIBQuery::PreprocessSQL() {
    const std::string stored = SQL();
    ChangeSQL(ExpandMacros(stored, *FMacros));
    try {
        TFIBQuery::PreprocessSQL();
    } catch (...) {
        ChangeSQL(stored);
        throw;
    }
    // No server statement exists at this point, so the scanned parameters stay.
    ChangeSQL(stored);
}

void TEnhIBQuery::ExecQuery() {
    TFIBQuery::ExecQuery();
    if (AutoCommit && Transaction()) Transaction()->CommitRetaining();
    if (AutoClose) Close();
}
