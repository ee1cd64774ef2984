#pragma once
// The value type that parameters and columns are read and written as.
#include <cstdint>
#include <string>
#include <variant>

// A date and time as days since 1899-12-30, the fraction being the time of day.
struct TDateTime {
    double Value = 0;
    bool operator==(const TDateTime&) const = default;
};

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int msec = 0);
void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec);
// "YYYY-MM-DD HH:MM:SS": a text every server reads back as a timestamp.
std::string DateTimeToStr(TDateTime dt);
// "YYYY-MM-DD".
std::string DateToStr(TDateTime dt);
// Reads "YYYY-MM-DD[ HH:MM[:SS]]" or "DD.MM.YYYY[ HH:MM[:SS]]"; false when the text is neither.
bool TryStrToDateTime(const std::string& text, TDateTime& result);

// Null is std::monostate.
using TFIBVariant = std::variant<std::monostate, std::int64_t, double, std::string, TDateTime>;

inline bool VarIsNull(const TFIBVariant& v) { return std::holds_alternative<std::monostate>(v); }
// Text of a value: "" for null, plain decimal for numbers, DateTimeToStr for dates.
std::string VarToStr(const TFIBVariant& v);
// Conversions that raise EFIBError when the value cannot be converted; null gives 0.
std::int64_t VarToInt64(const TFIBVariant& v);
double VarToFloat(const TFIBVariant& v);
TDateTime VarToDateTime(const TFIBVariant& v);
// Formats a double with up to 15 significant digits, no exponent for ordinary values.
std::string FloatToStr(double value);
