#pragma once
// The dataset of the windows: its five statements are enhanced queries with macros, its
// default fields are enhanced fields, and a server error while opening is shown to the
// operator instead of passed on.
#include <cstdint>
#include <functional>
#include <string>

#include "dbaccess/EnhIBQuery.h"
#include "dbaccess/MessageDlg.h"
#include "fib/FIBDataSet.h"
#include "fib/FIBError.h"

class TEnhIBDataSet : public TFIBDataSet {
public:
    TEnhIBDataSet();

    // On: an error while opening is shown with the server's own text; off: in friendly words.
    bool UseNativeMsg = false;
    // Kept for the windows' settings; rows are never filtered.
    bool Filtered = false;
    std::function<void(TFIBDataSet&, bool& accept)> OnFilterRecord;

    TEnhIBQuery& EnhStatement(int kind) const { return static_cast<TEnhIBQuery&>(Statement(kind)); }
    // The macro lists of the five statements; the setters copy the given entries.
    TMacroParamList& SelectMacros() const { return EnhStatement(skSelect).Macros(); }
    TMacroParamList& InsertMacros() const { return EnhStatement(skInsert).Macros(); }
    TMacroParamList& UpdateMacros() const { return EnhStatement(skUpdate).Macros(); }
    TMacroParamList& DeleteMacros() const { return EnhStatement(skDelete).Macros(); }
    TMacroParamList& RefreshMacros() const { return EnhStatement(skRefresh).Macros(); }
    void SetSelectMacros(const TMacroParamList& m) { SelectMacros().Assign(&m); }
    void SetInsertMacros(const TMacroParamList& m) { InsertMacros().Assign(&m); }
    void SetUpdateMacros(const TMacroParamList& m) { UpdateMacros().Assign(&m); }
    void SetDeleteMacros(const TMacroParamList& m) { DeleteMacros().Assign(&m); }
    void SetRefreshMacros(const TMacroParamList& m) { RefreshMacros().Assign(&m); }

    // The select parameter of that name (letter case ignored), preparing the select
    // statement first; nullptr when absent.
    TFIBParam* ParamByName(const std::string& name) { return QSelect().FindParam(name); }
    // kind: 1 update, 2 delete, 3 insert, 4 refresh, anything else select.
    TMacroParam* MacroByName(std::uint8_t kind, const std::string& name) const {
        return EnhStatement(kind).MacroByName(name);
    }

    TFieldClass GetFieldClass(TFieldType type) const override;

    // From another enhanced dataset (this one closed): connection, statements and their
    // macros, key settings, field definitions, fresh fields, and the enhanced settings of
    // the fields both have in the same order. Any other source changes nothing.
    void Assign(TFIBDataSet& source);

protected:
    void InternalOpen() override;
};

// Shows a server error in friendly words chosen by its SQL code (an information box
// with the given buttons) and returns the button pressed, or 0 when nothing was shown.
int ShowDatabaseError(const EFIBInterBaseError& error, TMsgDlgButtons buttons);
// The text ShowDatabaseError shows for an error; empty when it shows nothing.
std::string DatabaseErrorText(const EFIBInterBaseError& error);
