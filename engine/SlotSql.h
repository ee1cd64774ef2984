#pragma once
// Running statements on the replicator's slots.
#include <string>

#include "fib/FIBQuery.h"

// Closes the slot and gives it text. The prepared form is kept when the text and the
// parameter scan are unchanged, so a statement repeated per row is prepared once.
void SetSlotSQL(TFIBQuery& slot, const std::string& text, bool paramCheck = true);

// Closes the slot, gives it text and runs it. Built texts carry their values inside
// literals and run without the parameter scan.
void RunSlotSQL(TFIBQuery& slot, const std::string& text, bool paramCheck = false);
