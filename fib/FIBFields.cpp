#include "fib/FIBFields.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "fib/FIBDataSet.h"
#include "fib/FIBError.h"

std::string UpperCase1251(std::string text) {
    for (auto& ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            ch = static_cast<char>(c - 'a' + 'A');
        else if (c >= 0xE0)  // а..я
            ch = static_cast<char>(c - 0x20);
        else if (c == 0xB8)  // ё
            ch = static_cast<char>(0xA8);
    }
    return text;
}

namespace {

bool IsNumber(const TFIBVariant& v) {
    return std::holds_alternative<std::int64_t>(v) || std::holds_alternative<double>(v);
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// A text that is blank after trimming reads as NULL in a typed field.
bool BlankText(const TFIBVariant& v, std::string& trimmed) {
    if (!std::holds_alternative<std::string>(v)) return false;
    trimmed = Trim(std::get<std::string>(v));
    return trimmed.empty();
}

}  // namespace

bool SameValue(const TFIBVariant& a, const TFIBVariant& b, bool caseInsensitive) {
    if (VarIsNull(a) || VarIsNull(b)) return VarIsNull(a) && VarIsNull(b);
    if (std::holds_alternative<std::int64_t>(a) && std::holds_alternative<std::int64_t>(b))
        return std::get<std::int64_t>(a) == std::get<std::int64_t>(b);
    if (IsNumber(a) && IsNumber(b)) return VarToFloat(a) == VarToFloat(b);
    if (std::holds_alternative<TDateTime>(a) && std::holds_alternative<TDateTime>(b))
        return std::get<TDateTime>(a) == std::get<TDateTime>(b);
    if (caseInsensitive) return UpperCase1251(VarToStr(a)) == UpperCase1251(VarToStr(b));
    return VarToStr(a) == VarToStr(b);
}

TField::~TField() = default;

TFIBVariant TField::Value() const {
    if (!FDataSet) return std::monostate{};
    return FDataSet->GetFieldValue(*this);
}

void TField::SetValue(const TFIBVariant& value) {
    if (!FDataSet) throw EFIBError("Field '" + FFieldName + "' has no dataset");
    FDataSet->SetFieldValue(*this, value);
}

TFIBVariant TField::OldValue() const {
    if (!FDataSet) return std::monostate{};
    return FDataSet->GetOldValue(*this);
}

TFIBVariant TField::ValueAt(int row) const {
    if (!FDataSet) return std::monostate{};
    if (Lookup()) return FDataSet->LookupValue(*this, row);
    return FDataSet->RecordValue(row, FFieldNo);
}

TFIBVariant TStringField::Convert(const TFIBVariant& value) const {
    if (VarIsNull(value)) return value;
    return VarToStr(value);
}

TFIBVariant TFIBStringField::Convert(const TFIBVariant& value) const {
    TFIBVariant v = TStringField::Convert(value);
    if (BlanksToNULL && !VarIsNull(v) && std::get<std::string>(v).find_first_not_of(' ') == std::string::npos)
        return std::monostate{};
    return v;
}

TFIBVariant TIntegerField::Convert(const TFIBVariant& value) const {
    std::string text;
    if (VarIsNull(value) || BlankText(value, text)) return std::monostate{};
    if (std::holds_alternative<std::string>(value)) {
        std::int64_t result = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
        if (ec != std::errc() || end != text.data() + text.size())
            throw EFIBError("'" + text + "' is not a valid integer value");
        return result;
    }
    return VarToInt64(value);
}

TFIBVariant TFloatField::Convert(const TFIBVariant& value) const {
    std::string text;
    if (VarIsNull(value) || BlankText(value, text)) return std::monostate{};
    if (std::holds_alternative<std::string>(value)) {
        char* end = nullptr;
        const double d = std::strtod(text.c_str(), &end);
        if (*end != '\0' || !std::isfinite(d))
            throw EFIBError("'" + text + "' is not a valid floating point value");
        return d;
    }
    return VarToFloat(value);
}

TFIBVariant TDateTimeField::Convert(const TFIBVariant& value) const {
    std::string text;
    if (VarIsNull(value) || BlankText(value, text)) return std::monostate{};
    if (std::holds_alternative<std::string>(value)) return VarToDateTime(text);
    return VarToDateTime(value);
}

TFIBVariant TDateField::Convert(const TFIBVariant& value) const {
    TFIBVariant v = TDateTimeField::Convert(value);
    if (VarIsNull(v)) return v;
    return TDateTime{std::floor(std::get<TDateTime>(v).Value)};
}

std::string TDateField::Text(const TFIBVariant& value) const {
    if (VarIsNull(value)) return {};
    return DateToStr(VarToDateTime(value));
}

TFIBVariant TBlobField::Convert(const TFIBVariant& value) const {
    if (VarIsNull(value)) return value;
    return VarToStr(value);
}

FIB_DEFINE_FIELD_CLASS(TStringField)
FIB_DEFINE_FIELD_CLASS(TFIBStringField)
FIB_DEFINE_FIELD_CLASS(TIntegerField)
FIB_DEFINE_FIELD_CLASS(TFloatField)
FIB_DEFINE_FIELD_CLASS(TDateTimeField)
FIB_DEFINE_FIELD_CLASS(TDateField)
FIB_DEFINE_FIELD_CLASS(TBlobField)
FIB_DEFINE_FIELD_CLASS(TMemoField)
FIB_DEFINE_FIELD_CLASS(TSmallintField)
FIB_DEFINE_FIELD_CLASS(TWordField)
FIB_DEFINE_FIELD_CLASS(TBooleanField)
FIB_DEFINE_FIELD_CLASS(TCurrencyField)
FIB_DEFINE_FIELD_CLASS(TBCDField)
FIB_DEFINE_FIELD_CLASS(TTimeField)
FIB_DEFINE_FIELD_CLASS(TBytesField)
FIB_DEFINE_FIELD_CLASS(TVarBytesField)
FIB_DEFINE_FIELD_CLASS(TAutoIncField)
FIB_DEFINE_FIELD_CLASS(TGraphicField)
