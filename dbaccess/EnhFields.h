#pragma once
// Field classes of the enhanced datasets: the common field classes with settings that
// are stored with a window and copied when one dataset is assigned to another.
#include <memory>
#include <string>

#include "dbaccess/SwitchParam.h"
#include "fib/FIBFields.h"

// The settings every enhanced field adds; no operation gives them a meaning.
class TEnhFieldSettings {
public:
    int Attributes = 0;  // a bit set
    std::string LookUpTableName;
    std::string SwitchField;
    // Only string fields own a list; the others have none (nullptr).
    TSwitchParamList* SwitchParams() const { return FSwitchParams.get(); }

protected:
    std::unique_ptr<TSwitchParamList> FSwitchParams;
};

class TEnhStringField : public TFIBStringField, public TEnhFieldSettings {
    FIB_FIELD_CLASS(TEnhStringField)
    TEnhStringField() { FSwitchParams = std::make_unique<TSwitchParamList>(this); }
};

class TEnhIntegerField : public TIntegerField, public TEnhFieldSettings {
    FIB_FIELD_CLASS(TEnhIntegerField)
};

class TEnhFloatField : public TFloatField, public TEnhFieldSettings {
    FIB_FIELD_CLASS(TEnhFloatField)
};

class TEnhDateField : public TDateField, public TEnhFieldSettings {
    FIB_FIELD_CLASS(TEnhDateField)
};

class TEnhDateTimeField : public TDateTimeField, public TEnhFieldSettings {
    FIB_FIELD_CLASS(TEnhDateTimeField)
};

// Copies the enhanced settings (and the field properties that go with them) from source
// to target when both are of the same enhanced class; otherwise does nothing.
void CopyEnhStringAttributes(TField& target, const TField& source);
void CopyEnhIntegerAttributes(TField& target, const TField& source);
void CopyEnhFloatAttributes(TField& target, const TField& source);
void CopyEnhDateAttributes(TField& target, const TField& source);
void CopyEnhDateTimeAttributes(TField& target, const TField& source);
// The copy that matches the target's class (string, integer, float, date, date-time).
void CopyEnhAttributes(TField& target, const TField& source);
