#pragma once
// Texts of the capture triggers that a prepared work database carries for each user
// table: the key trigger (row identity of new rows) and the log triggers that write
// DD_LOG / DD_LOG_VALUES. Pure text generation; executing them is CaptureTriggers.
#include <cstddef>
#include <string>
#include <vector>

// One configured field of a table: its name and, for a reference field, the table and
// column of the referenced row. Values are already trimmed.
struct TCaptureField {
    std::string Name;
    std::string RefTableName;
    std::string RefFieldName;

    // Both reference settings given: the field travels as the referenced row's identity.
    bool IsReference() const { return !RefTableName.empty() && !RefFieldName.empty(); }
};

// One generated trigger: its name, position and the full create statement.
struct TTriggerStatement {
    std::string Name;
    int Position = 0;
    std::string Text;
};

// A chunk of value rows is cut into a trigger of its own once it grows beyond this many
// characters (for update triggers: chunk and change condition together).
inline constexpr std::size_t kTriggerChunkLimit = 3584;
// Position of the key trigger, the delete trigger and the first trigger of a long list.
inline constexpr int kTopTriggerPosition = 99;

// The before-insert trigger DD_LOG_BI_<table>.
std::string KeyTriggerText(const std::string& table);

// "(DB,KEY)" of the row of refTable whose refField equals column ("new.X" / "old.X").
std::string ReferenceForm(const std::string& refTable, const std::string& refField,
                          const std::string& column);

// The insert into DD_LOG_VALUES for one field of an inserted / updated row.
std::string InsertValueBlock(const TCaptureField& field);
std::string UpdateValueBlock(const TCaptureField& field);

// " and ((New.A<>Old.A) or ...)" test of the update triggers; empty for no fields.
std::string ChangeCondition(const std::vector<TCaptureField>& fields);

// The after-insert triggers of a table in the order they are created: continuation
// triggers DD_LOG_AI_<table>99, 98, ... and last the main trigger DD_LOG_AI_<table>.
// Empty when the table has no configured fields.
std::vector<TTriggerStatement> InsertLogTriggers(const std::string& table,
                                                 const std::vector<TCaptureField>& fields);
// The after-update triggers, likewise (DD_LOG_AU_...).
std::vector<TTriggerStatement> UpdateLogTriggers(const std::string& table,
                                                 const std::vector<TCaptureField>& fields);
// The after-delete trigger DD_LOG_AD_<table>; it logs the row identity only.
std::string DeleteLogTriggerText(const std::string& table);

