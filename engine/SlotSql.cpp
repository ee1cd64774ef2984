#include "engine/SlotSql.h"

void SetSlotSQL(TFIBQuery& slot, const std::string& text, bool paramCheck) {
    slot.Close();
    if (slot.SQL() == text && slot.ParamCheck() == paramCheck) return;
    slot.SetParamCheck(paramCheck);
    slot.SetSQL(text);
}

void RunSlotSQL(TFIBQuery& slot, const std::string& text, bool paramCheck) {
    SetSlotSQL(slot, text, paramCheck);
    slot.ExecQuery();
}
