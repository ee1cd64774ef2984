#include "fib/FIBVariant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "fib/FIBError.h"

namespace {

// Days from 0001-01-01 style civil date to 1970-01-01 (Howard Hinnant's algorithm).
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long yy = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr long kDayZeroFromUnix = -25569;  // 1899-12-30 is 25569 days before 1970-01-01

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    const long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                      kDayZeroFromUnix;
    const double time = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
    return TDateTime{days >= 0 ? days + time : days - time};
}

void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec) {
    double whole = std::trunc(dt.Value);
    double frac = std::fabs(dt.Value - whole);
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000LL) {  // rounding reached the next day
        ms -= 86400000LL;
        whole += dt.Value < 0 ? -1 : 1;
    }
    CivilFromDays(static_cast<long>(whole) + kDayZeroFromUnix, year, month, day);
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

std::string DateTimeToStr(TDateTime dt) {
    int y, m, d, h, n, s, ms;
    DecodeDateTime(dt, y, m, d, h, n, s, ms);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, h, n, s);
    return buf;
}

std::string DateToStr(TDateTime dt) {
    return DateTimeToStr(dt).substr(0, 10);
}

bool TryStrToDateTime(const std::string& text, TDateTime& result) {
    int a = 0, b = 0, c = 0, h = 0, n = 0, s = 0;
    char sep1 = 0, sep2 = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &a, &sep1, &b, &sep2, &c, &consumed) < 5) return false;
    int year, month, day;
    if (sep1 == '-' && sep2 == '-') {
        year = a, month = b, day = c;
    } else if (sep1 == '.' && sep2 == '.') {
        day = a, month = b, year = c;
    } else {
        return false;
    }
    std::string rest = text.substr(static_cast<std::size_t>(consumed));
    if (!rest.empty()) {
        int got = std::sscanf(rest.c_str(), " %d:%d:%d", &h, &n, &s);
        if (got < 2) {
            if (rest.find_first_not_of(' ') != std::string::npos) return false;
        }
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || h < 0 || h > 23 || n < 0 || n > 59 ||
        s < 0 || s > 59)
        return false;
    result = EncodeDateTime(year, month, day, h, n, s);
    return true;
}

std::string FloatToStr(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

std::string VarToStr(const TFIBVariant& v) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int64_t i) const { return std::to_string(i); }
        std::string operator()(double d) const { return FloatToStr(d); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(TDateTime dt) const { return DateTimeToStr(dt); }
    };
    return std::visit(Visitor{}, v);
}

std::int64_t VarToInt64(const TFIBVariant& v) {
    struct Visitor {
        std::int64_t operator()(std::monostate) const { return 0; }
        std::int64_t operator()(std::int64_t i) const { return i; }
        std::int64_t operator()(double d) const { return std::llround(d); }
        std::int64_t operator()(const std::string& s) const {
            char* end = nullptr;
            const long long value = std::strtoll(s.c_str(), &end, 10);
            if (s.empty() || *end != '\0')
                throw EFIBError("'" + s + "' is not a valid integer value");
            return value;
        }
        std::int64_t operator()(TDateTime dt) const { return static_cast<std::int64_t>(dt.Value); }
    };
    return std::visit(Visitor{}, v);
}

double VarToFloat(const TFIBVariant& v) {
    struct Visitor {
        double operator()(std::monostate) const { return 0; }
        double operator()(std::int64_t i) const { return static_cast<double>(i); }
        double operator()(double d) const { return d; }
        double operator()(const std::string& s) const {
            char* end = nullptr;
            const double value = std::strtod(s.c_str(), &end);
            if (s.empty() || *end != '\0')
                throw EFIBError("'" + s + "' is not a valid floating point value");
            return value;
        }
        double operator()(TDateTime dt) const { return dt.Value; }
    };
    return std::visit(Visitor{}, v);
}

TDateTime VarToDateTime(const TFIBVariant& v) {
    struct Visitor {
        TDateTime operator()(std::monostate) const { return {}; }
        TDateTime operator()(std::int64_t i) const { return TDateTime{static_cast<double>(i)}; }
        TDateTime operator()(double d) const { return TDateTime{d}; }
        TDateTime operator()(const std::string& s) const {
            TDateTime dt;
            if (!TryStrToDateTime(s, dt)) throw EFIBError("'" + s + "' is not a valid date and time");
            return dt;
        }
        TDateTime operator()(TDateTime dt) const { return dt; }
    };
    return std::visit(Visitor{}, v);
}
