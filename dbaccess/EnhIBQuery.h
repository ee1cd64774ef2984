#pragma once
// Enhanced data access: statements whose texts carry macros ("%Name") expanded before
// each prepare, and the datasets and field classes built on them.
#include <memory>
#include <string>

#include "dbaccess/MacroParam.h"
#include "fib/FIBQuery.h"

class TEnhIBQuery : public TFIBQuery {
public:
    explicit TEnhIBQuery(TFIBDatabase* db = nullptr, TFIBTransaction* tr = nullptr);
    ~TEnhIBQuery() override;

    // The macros of this statement; writing copies the given entries into the owned list.
    TMacroParamList& Macros() { return *FMacros; }
    const TMacroParamList& Macros() const { return *FMacros; }
    void SetMacros(const TMacroParamList& macros) { FMacros->Assign(&macros); }

    // After each successful execute: commit retaining, then close the cursor.
    bool AutoCommit = false;
    bool AutoClose = false;
    bool UseNativeMsg = false;  // kept with the window's settings only

    // A different text registers its new macro names (empty value, ParamType 1).
    void SetSQL(const std::string& text) override;
    void ExecQuery() override;

    // The parameter of that name (letter case ignored), preparing first; nullptr when absent.
    TFIBParam* ParamByName(const std::string& name) { return FindParam(name); }
    TMacroParam* MacroByName(const std::string& name) const { return FMacros->Find(name); }

protected:
    // Expands the macros, scans the expanded text for parameters and puts the stored
    // text back: the server sees the expansion while SQL() keeps the references.
    void PreprocessSQL() override;

private:
    std::unique_ptr<TMacroParamList> FMacros;
};

#include "dbaccess/EnhFields.h"
#include "dbaccess/EnhIBDataSet.h"
#include "dbaccess/MessageDlg.h"
