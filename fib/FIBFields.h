#pragma once
// Field definitions and field objects of a dataset: the typed view of one column of the
// current row (or of any buffered row, for grids).
#include <memory>
#include <string>
#include <vector>

#include "fib/FIBVariant.h"

class TFIBDataSet;

// Field types in their traditional order; the value of each is its position.
enum TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary
};

enum class TFieldKind { fkData, fkLookup };

// Upper case of WIN1251 text: Latin a-z and the Russian letters (with yo) folded.
std::string UpperCase1251(std::string text);
// Equality of two values as a search sees them: null equals only null, numbers compare
// by value, anything else by its text (letter case ignored when caseInsensitive).
bool SameValue(const TFIBVariant& a, const TFIBVariant& b, bool caseInsensitive = false);

// One column as the select statement describes it.
struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;  // characters of a text column, 0 otherwise
    bool Required = false;
    int FieldNo = 0;  // position of the column in a buffered row
};
using TFieldDefs = std::vector<TFieldDef>;

class TField;
// A field class as a value: its name and a way to make an instance.
struct TFieldClassInfo {
    const char* Name;
    std::unique_ptr<TField> (*Create)();
};
using TFieldClass = const TFieldClassInfo*;

#define FIB_FIELD_CLASS(Cls)                                                          \
public:                                                                               \
    static const TFieldClassInfo ClassInfo;                                           \
    const char* ClassName() const override { return #Cls; }

#define FIB_DEFINE_FIELD_CLASS(Cls) \
    const TFieldClassInfo Cls::ClassInfo{#Cls, []() -> std::unique_ptr<TField> { return std::make_unique<Cls>(); }};

class TField {
public:
    virtual ~TField();
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;
    virtual const char* ClassName() const { return "TField"; }

    TFIBDataSet* DataSet() const { return FDataSet; }
    TFieldType DataType() const { return FDataType; }

    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& name) { FFieldName = name; }
    // The column title: DisplayLabel when set, otherwise the field name.
    const std::string& DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& label) { FDisplayLabel = label; }

    int Size = 0;
    bool Required = false;
    bool ReadOnly = false;
    bool Visible = true;
    TFieldKind FieldKind = TFieldKind::fkData;

    // Lookup: the value is LookupResultField of the LookupDataSet row whose
    // LookupKeyFields equals this dataset's KeyFields.
    TFIBDataSet* LookupDataSet = nullptr;
    std::string KeyFields;
    std::string LookupKeyFields;
    std::string LookupResultField;
    bool Lookup() const { return FieldKind == TFieldKind::fkLookup; }

    std::string Origin;
    std::string EditMask;

    // Position of the column in a buffered row; -1 for a lookup field or an unbound one.
    int FieldNo() const { return FFieldNo; }

    // The value in the current row (null when the dataset is closed or empty).
    TFIBVariant Value() const;
    // Setting needs the dataset in edit or insert mode; text is converted to the field's type.
    void SetValue(const TFIBVariant& value);
    TFIBVariant OldValue() const;
    bool IsNull() const { return VarIsNull(Value()); }
    void Clear() { SetValue(std::monostate{}); }
    std::string AsString() const { return Text(Value()); }
    void SetAsString(const std::string& v) { SetValue(v); }
    std::int32_t AsInteger() const { return static_cast<std::int32_t>(VarToInt64(Value())); }
    void SetAsInteger(std::int32_t v) { SetValue(std::int64_t{v}); }
    double AsFloat() const { return VarToFloat(Value()); }
    void SetAsFloat(double v) { SetValue(v); }
    TDateTime AsDateTime() const { return VarToDateTime(Value()); }
    void SetAsDateTime(TDateTime v) { SetValue(v); }

    // The value and its text in any buffered row (0-based), without moving the cursor.
    TFIBVariant ValueAt(int row) const;
    std::string TextAt(int row) const { return Text(ValueAt(row)); }

    // The value as the field would store it: converted to its type, raising EFIBError
    // when the text is no value of that type.
    virtual TFIBVariant Convert(const TFIBVariant& value) const { return value; }
    virtual std::string Text(const TFIBVariant& value) const { return VarToStr(value); }

protected:
    explicit TField(TFieldType type) : FDataType(type) {}

private:
    friend class TFIBDataSet;
    TFIBDataSet* FDataSet = nullptr;
    TFieldType FDataType;
    std::string FFieldName;
    std::string FDisplayLabel;
    int FFieldNo = -1;
};

class TStringField : public TField {
    FIB_FIELD_CLASS(TStringField)
    TStringField() : TField(ftString) {}
    TFIBVariant Convert(const TFIBVariant& value) const override;
};

// A string field that can store blank texts as NULL.
class TFIBStringField : public TStringField {
    FIB_FIELD_CLASS(TFIBStringField)
    bool BlanksToNULL = true;
    TFIBVariant Convert(const TFIBVariant& value) const override;
};

class TNumericField : public TField {
public:
    // Kept and copied with the field; the grid shows the plain value.
    std::string DisplayFormat;
    std::string EditFormat;

protected:
    using TField::TField;
};

class TIntegerField : public TNumericField {
    FIB_FIELD_CLASS(TIntegerField)
    TIntegerField() : TNumericField(ftInteger) {}
    TFIBVariant Convert(const TFIBVariant& value) const override;
};

class TFloatField : public TNumericField {
    FIB_FIELD_CLASS(TFloatField)
    TFloatField() : TNumericField(ftFloat) {}
    TFIBVariant Convert(const TFIBVariant& value) const override;
};

class TDateTimeField : public TField {
    FIB_FIELD_CLASS(TDateTimeField)
    TDateTimeField() : TField(ftDateTime) {}
    TFIBVariant Convert(const TFIBVariant& value) const override;

protected:
    explicit TDateTimeField(TFieldType type) : TField(type) {}
};

class TDateField : public TDateTimeField {
    FIB_FIELD_CLASS(TDateField)
    TDateField() : TDateTimeField(ftDate) {}
    TFIBVariant Convert(const TFIBVariant& value) const override;
    std::string Text(const TFIBVariant& value) const override;
};

class TBlobField : public TField {
    FIB_FIELD_CLASS(TBlobField)
    TBlobField() : TField(ftBlob) {}
    TFIBVariant Convert(const TFIBVariant& value) const override;

protected:
    explicit TBlobField(TFieldType type) : TField(type) {}
};

class TMemoField : public TBlobField {
    FIB_FIELD_CLASS(TMemoField)
    TMemoField() : TBlobField(ftMemo) {}
};

// Classes that the field class table names but that no column of this access layer
// produces: they keep the value as given.
#define FIB_PLAIN_FIELD(Cls, Type)                 \
    class Cls : public TField {                    \
        FIB_FIELD_CLASS(Cls)                       \
        Cls() : TField(Type) {}                    \
    };
FIB_PLAIN_FIELD(TSmallintField, ftSmallint)
FIB_PLAIN_FIELD(TWordField, ftWord)
FIB_PLAIN_FIELD(TBooleanField, ftBoolean)
FIB_PLAIN_FIELD(TCurrencyField, ftCurrency)
FIB_PLAIN_FIELD(TBCDField, ftBCD)
FIB_PLAIN_FIELD(TTimeField, ftTime)
FIB_PLAIN_FIELD(TBytesField, ftBytes)
FIB_PLAIN_FIELD(TVarBytesField, ftVarBytes)
FIB_PLAIN_FIELD(TAutoIncField, ftAutoInc)
FIB_PLAIN_FIELD(TGraphicField, ftGraphic)
#undef FIB_PLAIN_FIELD
