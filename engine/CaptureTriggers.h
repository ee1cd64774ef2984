#pragma once
// Creating and dropping the capture triggers of a work database. The texts come from
// CaptureTriggerText; the fields a table logs come from the configuration database.
#include <string>
#include <vector>

#include "engine/CaptureTriggerText.h"

class TReplicator;

// The fields of table that the data flows of the items sent by r.PublisherId configure,
// each distinct (name, reference table, reference field) once, in ascending order.
std::vector<TCaptureField> ReadCaptureFields(TReplicator& r, const std::string& table);

void CreateKeyTrigger(TReplicator& r, const std::string& table);
// The log triggers are created only for a table with configured fields.
void CreateInsertLogTriggers(TReplicator& r, const std::string& table);
void CreateUpdateLogTriggers(TReplicator& r, const std::string& table);
void CreateDeleteLogTrigger(TReplicator& r, const std::string& table);

// Each drops every trigger whose name starts with its kind's prefix (continuation
// triggers included).
void DropKeyTriggers(TReplicator& r);
void DropInsertLogTriggers(TReplicator& r);
void DropUpdateLogTriggers(TReplicator& r);
void DropDeleteLogTriggers(TReplicator& r);
