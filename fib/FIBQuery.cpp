#include "fib/FIBQuery.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fib/FIBDatabase.h"
#include "fib/FIBStatus.h"
#include "fib/FIBTransaction.h"

// Owns an XSQLDA and the buffers its variables point to.
class TSQLDA {
public:
    explicit TSQLDA(int count) { Resize(count); }
    void Resize(int count) {
        FBuffer.assign(XSQLDA_LENGTH(std::max(count, 1)), 0);
        Da()->version = SQLDA_VERSION1;
        Da()->sqln = static_cast<ISC_SHORT>(std::max(count, 1));
        Da()->sqld = 0;
    }
    XSQLDA* Da() { return reinterpret_cast<XSQLDA*>(FBuffer.data()); }
    const XSQLDA* Da() const { return reinterpret_cast<const XSQLDA*>(FBuffer.data()); }
    int Count() const { return Da()->sqld; }
    XSQLVAR& Var(int i) { return Da()->sqlvar[i]; }
    const XSQLVAR& Var(int i) const { return Da()->sqlvar[i]; }

    // Gives every variable a data buffer and a null indicator of its described type.
    void AllocateData() {
        FData.assign(Count(), {});
        FNulls.assign(Count(), 0);
        for (int i = 0; i < Count(); ++i) {
            XSQLVAR& v = Var(i);
            std::size_t size = static_cast<std::size_t>(v.sqllen);
            if ((v.sqltype & ~1) == SQL_VARYING) size += 2;
            FData[i].assign(std::max<std::size_t>(size, 8) + 8, 0);
            v.sqldata = FData[i].data();
            v.sqlind = &FNulls[i];
        }
    }

private:
    std::vector<char> FBuffer;
    std::vector<std::vector<char>> FData;
    std::vector<short> FNulls;
};

namespace {

std::string UpperAscii(std::string s) {
    for (auto& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

std::string VarName(const char* text, short length) {
    return std::string(text, static_cast<std::size_t>(std::max<short>(length, 0)));
}

TFIBStatementType StatementTypeFromInfo(int code) {
    switch (code) {
        case isc_info_sql_stmt_select: return TFIBStatementType::Select;
        case isc_info_sql_stmt_insert: return TFIBStatementType::Insert;
        case isc_info_sql_stmt_update: return TFIBStatementType::Update;
        case isc_info_sql_stmt_delete: return TFIBStatementType::Delete;
        case isc_info_sql_stmt_ddl: return TFIBStatementType::DDL;
        case isc_info_sql_stmt_get_segment: return TFIBStatementType::GetSegment;
        case isc_info_sql_stmt_put_segment: return TFIBStatementType::PutSegment;
        case isc_info_sql_stmt_exec_procedure: return TFIBStatementType::ExecProcedure;
        case isc_info_sql_stmt_start_trans: return TFIBStatementType::StartTrans;
        case isc_info_sql_stmt_commit: return TFIBStatementType::Commit;
        case isc_info_sql_stmt_rollback: return TFIBStatementType::Rollback;
        case isc_info_sql_stmt_select_for_upd: return TFIBStatementType::SelectForUpdate;
        case isc_info_sql_stmt_set_generator: return TFIBStatementType::SetGenerator;
        case isc_info_sql_stmt_savepoint: return TFIBStatementType::SavePoint;
        default: return TFIBStatementType::Unknown;
    }
}

TDateTime FromIscDate(ISC_DATE date, ISC_TIME time) {
    // ISC_DATE counts days from 1858-11-17; TDateTime from 1899-12-30 (15018 days later).
    return TDateTime{static_cast<double>(date - 15018) + static_cast<double>(time) / (86400.0 * 10000.0)};
}

void ToIscTimestamp(TDateTime dt, ISC_TIMESTAMP& ts) {
    const double days = std::floor(dt.Value);
    long long units = std::llround((dt.Value - days) * 86400.0 * 10000.0);
    long long day = static_cast<long long>(days) + 15018;
    if (units >= 864000000LL) {
        units -= 864000000LL;
        ++day;
    }
    ts.timestamp_date = static_cast<ISC_DATE>(day);
    ts.timestamp_time = static_cast<ISC_TIME>(units);
}

std::string ScaledToStr(std::int64_t value, short scale) {
    if (scale >= 0) {
        std::string s = std::to_string(value);
        if (value != 0) s.append(static_cast<std::size_t>(scale), '0');
        return s;
    }
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value));
    const std::size_t decimals = static_cast<std::size_t>(-scale);
    if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, '0');
    digits.insert(digits.size() - decimals, ".");
    return (negative ? "-" : "") + digits;
}

}  // namespace

// ---------------------------------------------------------------- TFIBField

const XSQLVAR& TFIBField::Var() const { return FQuery->FOutDA->Var(FIndex); }

bool TFIBField::IsNull() const {
    if (!FQuery->FOpen && FQuery->FStatementType != TFIBStatementType::ExecProcedure) return true;
    if (FQuery->FEof && FQuery->FStatementType != TFIBStatementType::ExecProcedure) return true;
    const XSQLVAR& v = Var();
    return (v.sqltype & 1) && v.sqlind && *v.sqlind < 0;
}

std::string TFIBField::ReadBlob() const {
    ISC_QUAD id;
    std::memcpy(&id, Var().sqldata, sizeof id);
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    isc_open_blob2(status, FQuery->FDatabase->Handle(), FQuery->FTransaction->Handle(), &blob, &id, 0,
                   nullptr);
    CheckStatus(status);
    std::string result;
    char segment[32768];
    for (;;) {
        unsigned short got = 0;
        const ISC_STATUS rc = isc_get_segment(status, &blob, &got, sizeof segment, segment);
        if (rc != 0 && rc != isc_segment) {
            if (rc == isc_segstr_eof) break;
            ISC_STATUS_ARRAY closeStatus;
            isc_close_blob(closeStatus, &blob);
            CheckStatus(status);
        }
        result.append(segment, got);
    }
    isc_close_blob(status, &blob);
    CheckStatus(status);
    return result;
}

TFIBVariant TFIBField::AsVariant() const {
    if (IsNull()) return std::monostate{};
    const XSQLVAR& v = Var();
    const char* data = v.sqldata;
    switch (v.sqltype & ~1) {
        case SQL_TEXT: return std::string(data, static_cast<std::size_t>(v.sqllen));
        case SQL_VARYING: {
            short length;
            std::memcpy(&length, data, sizeof length);
            return std::string(data + 2, static_cast<std::size_t>(length));
        }
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64: {
            const std::int64_t value = AsInt64Unscaled();
            if (v.sqlscale == 0) return value;
            return static_cast<double>(value) * std::pow(10.0, v.sqlscale);
        }
        case SQL_FLOAT: {
            float f;
            std::memcpy(&f, data, sizeof f);
            return static_cast<double>(f);
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double d;
            std::memcpy(&d, data, sizeof d);
            return d;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP ts;
            std::memcpy(&ts, data, sizeof ts);
            return FromIscDate(ts.timestamp_date, ts.timestamp_time);
        }
        case SQL_TYPE_DATE: {
            ISC_DATE d;
            std::memcpy(&d, data, sizeof d);
            return FromIscDate(d, 0);
        }
        case SQL_TYPE_TIME: {
            ISC_TIME t;
            std::memcpy(&t, data, sizeof t);
            return TDateTime{static_cast<double>(t) / (86400.0 * 10000.0)};
        }
        case SQL_BOOLEAN: return std::int64_t{*reinterpret_cast<const unsigned char*>(data) != 0};
        case SQL_BLOB: return ReadBlob();
        default: throw EFIBError("Unsupported column type of \"" + FName + "\"");
    }
}

std::string TFIBField::AsString() const {
    if (IsNull()) return {};
    const XSQLVAR& v = Var();
    switch (v.sqltype & ~1) {
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            if (v.sqlscale != 0) return ScaledToStr(AsInt64Unscaled(), v.sqlscale);
            break;
        case SQL_TYPE_DATE: return DateToStr(AsDateTime());
        case SQL_TYPE_TIME: return DateTimeToStr(AsDateTime()).substr(11);
        default: break;
    }
    return VarToStr(AsVariant());
}

std::int64_t TFIBField::AsInt64Unscaled() const {
    const XSQLVAR& v = Var();
    switch (v.sqltype & ~1) {
        case SQL_SHORT: {
            short s;
            std::memcpy(&s, v.sqldata, sizeof s);
            return s;
        }
        case SQL_LONG: {
            ISC_LONG l;
            std::memcpy(&l, v.sqldata, sizeof l);
            return l;
        }
        default: {
            ISC_INT64 l;
            std::memcpy(&l, v.sqldata, sizeof l);
            return l;
        }
    }
}

std::int32_t TFIBField::AsInteger() const { return static_cast<std::int32_t>(AsInt64()); }
std::int64_t TFIBField::AsInt64() const { return VarToInt64(AsVariant()); }
double TFIBField::AsDouble() const { return VarToFloat(AsVariant()); }
TDateTime TFIBField::AsDateTime() const { return VarToDateTime(AsVariant()); }

// ---------------------------------------------------------------- TFIBQuery

TFIBQuery::TFIBQuery(TFIBDatabase* db, TFIBTransaction* tr) {
    SetDatabase(db);
    SetTransaction(tr);
}

TFIBQuery::~TFIBQuery() {
    FreeHandle();
    if (FDatabase) FDatabase->Unregister(this);
    if (FTransaction) FTransaction->Unregister(this);
}

void TFIBQuery::SetDatabase(TFIBDatabase* db) {
    if (db == FDatabase) return;
    FreeHandle();
    if (FDatabase) FDatabase->Unregister(this);
    FDatabase = db;
    if (FDatabase) FDatabase->Register(this);
}

void TFIBQuery::SetTransaction(TFIBTransaction* tr) {
    if (tr == FTransaction) return;
    Close();
    if (FTransaction) FTransaction->Unregister(this);
    FTransaction = tr;
    if (FTransaction) FTransaction->Register(this);
}

void TFIBQuery::DatabaseGone() {
    FHandle = 0;
    FOpen = false;
    FEof = true;
    FParams.clear();
    FParamOfPlace.clear();
    FFields.clear();
    FDatabase = nullptr;
}

void TFIBQuery::TransactionGone() {
    FOpen = false;
    FEof = true;
    FTransaction = nullptr;
}

void TFIBQuery::SetSQL(const std::string& text) { ChangeSQL(text); }

void TFIBQuery::ChangeSQL(const std::string& text) {
    if (FOpen) throw EFIBError("Dataset open.");
    if (OnSQLChanging) OnSQLChanging(*this);
    if (FHandle) FreeHandle();
    FSQL = text;
}

void TFIBQuery::CheckDatabase() const {
    if (!FDatabase) throw EFIBError("Database not assigned");
    if (!FDatabase->Connected()) throw EFIBError("Database not connected");
}

void TFIBQuery::CheckTransaction() const {
    if (!FTransaction) throw EFIBError("Transaction not assigned");
    if (!FTransaction->Active()) throw EFIBError("Transaction not active");
}

void TFIBQuery::PreprocessSQL() {
    // Copies the text, replacing each ":Name" or "?Name" outside literals and comments
    // by "?" and recording the parameter; a lone "?" is an unnamed parameter.
    const std::string& s = FSQL;
    std::string out;
    out.reserve(s.size());
    FParams.clear();
    FParamOfPlace.clear();
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '\'' || c == '"') {
            std::size_t j = i + 1;
            while (j < s.size() && s[j] != c) ++j;
            j = std::min(j + 1, s.size());
            out.append(s, i, j - i);
            i = j;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            std::size_t j = s.find('\n', i);
            j = j == std::string::npos ? s.size() : j;
            out.append(s, i, j - i);
            i = j;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            std::size_t j = s.find("*/", i + 2);
            j = j == std::string::npos ? s.size() : j + 2;
            out.append(s, i, j - i);
            i = j;
        } else if (c == ':' || c == '?') {
            std::size_t j = i + 1;
            while (j < s.size() && IsNameChar(s[j])) ++j;
            if (c == ':' && j == i + 1) {  // a colon alone is not a parameter
                out += c;
                ++i;
                continue;
            }
            const std::string name = UpperAscii(s.substr(i + 1, j - i - 1));
            int index = -1;
            if (!name.empty()) {
                for (std::size_t k = 0; k < FParams.size(); ++k)
                    if (FParams[k]->FName == name) index = static_cast<int>(k);
            }
            if (index < 0) {
                auto p = std::make_unique<TFIBParam>();
                p->FName = name;
                FParams.push_back(std::move(p));
                index = static_cast<int>(FParams.size()) - 1;
            }
            FParamOfPlace.push_back(index);
            out += '?';
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    FProcessedSQL = std::move(out);
}

void TFIBQuery::Prepare() {
    if (FOpen) throw EFIBError("Dataset open.");
    CheckDatabase();
    CheckTransaction();
    if (FParamCheck) {
        PreprocessSQL();
    } else {
        FParams.clear();
        FParamOfPlace.clear();
        FProcessedSQL = FSQL;
    }
    if (FProcessedSQL.find_first_not_of(" \t\r\n") == std::string::npos) throw EFIBError("Empty query.");
    if (FHandle) {
        // Preparing a prepared statement prepares it afresh; parameters come from the scan above.
        ISC_STATUS_ARRAY st;
        isc_dsql_free_statement(st, &FHandle, DSQL_drop);
        FHandle = 0;
        FFields.clear();
    }

    ISC_STATUS_ARRAY status;
    isc_stmt_handle handle = 0;
    isc_dsql_allocate_statement(status, FDatabase->Handle(), &handle);
    CheckStatus(status);
    try {
        auto out = std::make_unique<TSQLDA>(16);
        isc_dsql_prepare(status, FTransaction->Handle(), &handle, 0, FProcessedSQL.c_str(),
                         TFIBDatabase::SQLDialect, out->Da());
        CheckStatus(status);

        const char request[] = {isc_info_sql_stmt_type};
        char info[32];
        isc_dsql_sql_info(status, &handle, sizeof request, request, sizeof info, info);
        CheckStatus(status);
        int type = 0;
        if (info[0] == isc_info_sql_stmt_type) {
            const short length = static_cast<short>(isc_vax_integer(info + 1, 2));
            type = static_cast<int>(isc_vax_integer(info + 3, length));
        }

        if (out->Da()->sqld > out->Da()->sqln) {
            const int n = out->Da()->sqld;
            out->Resize(n);
            isc_dsql_describe(status, &handle, 1, out->Da());
            CheckStatus(status);
        }
        out->AllocateData();

        auto in = std::make_unique<TSQLDA>(16);
        isc_dsql_describe_bind(status, &handle, 1, in->Da());
        CheckStatus(status);
        if (in->Da()->sqld > in->Da()->sqln) {
            const int n = in->Da()->sqld;
            in->Resize(n);
            isc_dsql_describe_bind(status, &handle, 1, in->Da());
            CheckStatus(status);
        }
        if (in->Count() != static_cast<int>(FParamOfPlace.size()))
            throw EFIBError("Parameter count mismatch: the server expects " + std::to_string(in->Count()) +
                            " parameters");
        for (int i = 0; i < in->Count(); ++i) {
            TFIBParam& p = *FParams[FParamOfPlace[i]];
            if (p.FSQLType == 0) {
                p.FSQLType = static_cast<short>(in->Var(i).sqltype & ~1);
                p.FSQLScale = in->Var(i).sqlscale;
            }
        }

        FFields.clear();
        FFields.reserve(out->Count());
        for (int i = 0; i < out->Count(); ++i) {
            const XSQLVAR& v = out->Var(i);
            TFIBField f;
            f.FQuery = this;
            f.FIndex = i;
            f.FName = VarName(v.aliasname, v.aliasname_length);
            f.FFieldName = VarName(v.sqlname, v.sqlname_length);
            f.FRelationName = VarName(v.relname, v.relname_length);
            f.FSQLType = static_cast<short>(v.sqltype & ~1);
            f.FSQLSubtype = v.sqlsubtype;
            f.FSQLScale = v.sqlscale;
            f.FSQLLen = v.sqllen;
            f.FNullable = (v.sqltype & 1) != 0;
            FFields.push_back(std::move(f));
        }
        FStatementType = StatementTypeFromInfo(type);
        FInDA = std::move(in);
        FOutDA = std::move(out);
        FHandle = handle;
    } catch (...) {
        ISC_STATUS_ARRAY st;
        isc_dsql_free_statement(st, &handle, DSQL_drop);
        FFields.clear();
        throw;
    }
}

void TFIBQuery::FreeHandle() {
    if (!FHandle) return;
    ISC_STATUS_ARRAY status;
    // Dropping the statement also closes its cursor on the server.
    if (FDatabase && FDatabase->Connected()) isc_dsql_free_statement(status, &FHandle, DSQL_drop);
    FHandle = 0;
    FOpen = false;
    FEof = true;
    FParams.clear();
    FParamOfPlace.clear();
    FFields.clear();
    FInDA.reset();
    FOutDA.reset();
    FStatementType = TFIBStatementType::Unknown;
}

void TFIBQuery::Unprepare() {
    Close();
    FreeHandle();
}

int TFIBQuery::ParamCount() {
    if (!Prepared()) Prepare();
    return static_cast<int>(FParams.size());
}

TFIBParam& TFIBQuery::Param(int index) {
    if (index < 0 || index >= ParamCount()) throw EFIBError("Parameter index out of range");
    return *FParams[static_cast<std::size_t>(index)];
}

TFIBParam* TFIBQuery::FindParam(const std::string& name) {
    if (!Prepared()) Prepare();
    const std::string wanted = UpperAscii(name);
    for (auto& p : FParams)
        if (p->FName == wanted) return p.get();
    return nullptr;
}

TFIBParam& TFIBQuery::ParamByName(const std::string& name) {
    if (TFIBParam* p = FindParam(name)) return *p;
    throw EFIBError("Parameter \"" + name + "\" not found");
}

void TFIBQuery::BindParams(std::vector<std::string>& storage, std::vector<short>& indicators) {
    storage.assign(static_cast<std::size_t>(FInDA->Count()), {});
    indicators.assign(static_cast<std::size_t>(FInDA->Count()), 0);
    for (int i = 0; i < FInDA->Count(); ++i) {
        XSQLVAR& v = FInDA->Var(i);
        const TFIBParam& p = *FParams[FParamOfPlace[i]];
        std::string& buf = storage[static_cast<std::size_t>(i)];
        const short described = static_cast<short>(v.sqltype & ~1);
        short& indicator = indicators[static_cast<std::size_t>(i)];
        v.sqlind = &indicator;
        if (p.IsNull()) {
            v.sqltype = static_cast<short>(described | 1);
            indicator = -1;
            continue;
        }
        const TFIBVariant& value = p.Value();
        if (described == SQL_BLOB) {
            // A blob parameter is written as a new blob holding the value's text.
            const std::string text = VarToStr(value);
            ISC_STATUS_ARRAY status;
            isc_blob_handle blob = 0;
            ISC_QUAD id{};
            isc_create_blob2(status, FDatabase->Handle(), FTransaction->Handle(), &blob, &id, 0, nullptr);
            CheckStatus(status);
            for (std::size_t pos = 0; pos < text.size(); pos += 32767) {
                const auto n = static_cast<unsigned short>(std::min<std::size_t>(32767, text.size() - pos));
                isc_put_segment(status, &blob, n, text.data() + pos);
                if (status[0] == 1 && status[1]) {
                    ISC_STATUS_ARRAY cs;
                    isc_cancel_blob(cs, &blob);
                    CheckStatus(status);
                }
            }
            isc_close_blob(status, &blob);
            CheckStatus(status);
            buf.assign(reinterpret_cast<const char*>(&id), sizeof id);
            v.sqltype = SQL_BLOB | 1;
            v.sqllen = sizeof id;
        } else if (std::holds_alternative<std::int64_t>(value)) {
            const std::int64_t i64 = std::get<std::int64_t>(value);
            buf.assign(reinterpret_cast<const char*>(&i64), sizeof i64);
            v.sqltype = SQL_INT64 | 1;
            v.sqllen = sizeof i64;
            v.sqlscale = 0;
        } else if (std::holds_alternative<double>(value)) {
            const double d = std::get<double>(value);
            buf.assign(reinterpret_cast<const char*>(&d), sizeof d);
            v.sqltype = SQL_DOUBLE | 1;
            v.sqllen = sizeof d;
            v.sqlscale = 0;
        } else if (std::holds_alternative<TDateTime>(value)) {
            ISC_TIMESTAMP ts;
            ToIscTimestamp(std::get<TDateTime>(value), ts);
            buf.assign(reinterpret_cast<const char*>(&ts), sizeof ts);
            v.sqltype = SQL_TIMESTAMP | 1;
            v.sqllen = sizeof ts;
        } else {
            buf = std::get<std::string>(value);
            if (buf.size() > 32767) throw EFIBError("Parameter \"" + p.Name() + "\": string too long");
            v.sqltype = SQL_TEXT | 1;
            v.sqllen = static_cast<ISC_SHORT>(buf.size());
            v.sqlsubtype = 0;
            v.sqlscale = 0;
        }
        v.sqldata = buf.data();
    }
}

void TFIBQuery::ExecQuery() {
    if (FOpen) throw EFIBError("Dataset open.");
    if (!Prepared()) Prepare();
    CheckDatabase();
    CheckTransaction();
    std::vector<std::string> storage;
    std::vector<short> indicators;
    BindParams(storage, indicators);
    ISC_STATUS_ARRAY status;
    XSQLDA* in = FInDA->Count() > 0 ? FInDA->Da() : nullptr;
    FRecordNumber = 0;
    if (FStatementType == TFIBStatementType::Select || FStatementType == TFIBStatementType::SelectForUpdate) {
        isc_dsql_execute(status, FTransaction->Handle(), &FHandle, 1, in);
        CheckStatus(status);
        FOpen = true;
        FEof = false;
        if (FGoToFirst) Next();
    } else {
        XSQLDA* out = FOutDA->Count() > 0 ? FOutDA->Da() : nullptr;
        isc_dsql_execute2(status, FTransaction->Handle(), &FHandle, 1, in, out);
        CheckStatus(status);
        FOpen = false;
        FEof = out == nullptr;
        if (out) FRecordNumber = 1;
    }
}

void TFIBQuery::Next() {
    if (!FOpen) throw EFIBError("Dataset closed.");
    if (FEof) return;
    Fetch();
}

void TFIBQuery::Fetch() {
    ISC_STATUS_ARRAY status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &FHandle, 1, FOutDA->Da());
    if (rc == 100) {
        FEof = true;
        return;
    }
    CheckStatus(status);
    ++FRecordNumber;
}

void TFIBQuery::Close() {
    if (!FOpen) return;
    FOpen = false;
    FEof = true;
    if (FHandle && FDatabase && FDatabase->Connected()) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &FHandle, DSQL_close);
        // A cursor the server already closed (its transaction ended) needs no release.
    }
}

int TFIBQuery::RowsAffected() {
    if (!FHandle) return 0;
    const char request[] = {isc_info_sql_records};
    char info[128];
    ISC_STATUS_ARRAY status;
    isc_dsql_sql_info(status, &FHandle, sizeof request, request, sizeof info, info);
    CheckStatus(status);
    if (info[0] != isc_info_sql_records) return 0;
    int total = 0;
    for (const char* p = info + 3; *p != isc_info_end;) {
        const char item = *p++;
        const short length = static_cast<short>(isc_vax_integer(p, 2));
        p += 2;
        const int count = static_cast<int>(isc_vax_integer(p, length));
        p += length;
        if (item == isc_info_req_insert_count || item == isc_info_req_update_count ||
            item == isc_info_req_delete_count)
            total += count;
    }
    return total;
}

TFIBField& TFIBQuery::Fields(int index) {
    if (index < 0 || index >= FieldCount()) throw EFIBError("Field index out of range");
    return FFields[static_cast<std::size_t>(index)];
}

TFIBField* TFIBQuery::FindField(const std::string& name) {
    const std::string wanted = UpperAscii(name);
    for (auto& f : FFields)
        if (UpperAscii(f.FName) == wanted) return &f;
    return nullptr;
}

TFIBField& TFIBQuery::FieldByName(const std::string& name) {
    if (TFIBField* f = FindField(name)) return *f;
    throw EFIBError("Field \"" + name + "\" not found.");
}
