#pragma once
// A statement on a database inside a transaction: prepare, named parameters,
// execute, walk the result and read columns.
#include <ibase.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fib/FIBError.h"
#include "fib/FIBVariant.h"

class TFIBDatabase;
class TFIBTransaction;
class TFIBQuery;
class TSQLDA;

// One named parameter of a prepared statement. A name written several times in the
// text is one parameter that fills every place where it stands.
class TFIBParam {
public:
    const std::string& Name() const { return FName; }  // upper case, as scanned

    const TFIBVariant& Value() const { return FValue; }
    void SetValue(const TFIBVariant& value) { FValue = value; }

    bool IsNull() const { return VarIsNull(FValue); }
    void Clear() { FValue = std::monostate{}; }  // sets it to NULL
    void SetAsInteger(std::int32_t v) { FValue = std::int64_t{v}; }
    void SetAsInt64(std::int64_t v) { FValue = v; }
    void SetAsDouble(double v) { FValue = v; }
    void SetAsString(const std::string& v) { FValue = v; }
    void SetAsDateTime(TDateTime v) { FValue = v; }
    std::string AsString() const { return VarToStr(FValue); }
    std::int32_t AsInteger() const { return static_cast<std::int32_t>(VarToInt64(FValue)); }

    // Server description of the first place where the parameter stands.
    short SQLType() const { return FSQLType; }
    short SQLScale() const { return FSQLScale; }

private:
    friend class TFIBQuery;
    std::string FName;
    TFIBVariant FValue;
    short FSQLType = 0;
    short FSQLScale = 0;
};

// One column of the current result row.
class TFIBField {
public:
    const std::string& Name() const { return FName; }          // alias
    const std::string& FieldName() const { return FFieldName; } // column name in its table
    const std::string& RelationName() const { return FRelationName; }
    short SQLType() const { return FSQLType; }   // SQL_VARYING, SQL_TEXT, ... without the null bit
    short SQLSubtype() const { return FSQLSubtype; }
    short SQLScale() const { return FSQLScale; }
    short SQLLen() const { return FSQLLen; }     // bytes in the connection's character set
    bool Nullable() const { return FNullable; }

    bool IsNull() const;
    std::string AsString() const;     // NULL reads as ""; text blobs are read whole
    std::int32_t AsInteger() const;   // NULL reads as 0
    std::int64_t AsInt64() const;
    double AsDouble() const;
    TDateTime AsDateTime() const;
    TFIBVariant AsVariant() const;    // NULL is std::monostate

private:
    friend class TFIBQuery;
    const XSQLVAR& Var() const;
    std::string ReadBlob() const;
    std::int64_t AsInt64Unscaled() const;

    TFIBQuery* FQuery = nullptr;
    int FIndex = 0;
    std::string FName, FFieldName, FRelationName;
    short FSQLType = 0, FSQLSubtype = 0, FSQLScale = 0, FSQLLen = 0;
    bool FNullable = false;
};

enum class TFIBStatementType {
    Unknown, Select, Insert, Update, Delete, DDL, GetSegment, PutSegment, ExecProcedure,
    StartTrans, Commit, Rollback, SelectForUpdate, SetGenerator, SavePoint
};

class TFIBQuery {
public:
    explicit TFIBQuery(TFIBDatabase* db = nullptr, TFIBTransaction* tr = nullptr);
    virtual ~TFIBQuery();
    TFIBQuery(const TFIBQuery&) = delete;
    TFIBQuery& operator=(const TFIBQuery&) = delete;

    TFIBDatabase* Database() const { return FDatabase; }
    void SetDatabase(TFIBDatabase* db);
    TFIBTransaction* Transaction() const { return FTransaction; }
    void SetTransaction(TFIBTransaction* tr);

    // The statement text. Replacing it refuses an open statement ("Dataset open."),
    // raises OnSQLChanging and discards the prepared form.
    const std::string& SQL() const { return FSQL; }
    virtual void SetSQL(const std::string& text);

    // Raised before the text changes (also by the text changes inside preparing).
    std::function<void(TFIBQuery&)> OnSQLChanging;

    // On: prepare scans the text for ":Name" and "?Name" parameters (outside literals
    // and comments). Off: the text reaches the server unchanged and has no parameters.
    bool ParamCheck() const { return FParamCheck; }
    void SetParamCheck(bool v) { FParamCheck = v; }
    // On: executing a select fetches its first row.
    bool GoToFirstRecordOnExecute() const { return FGoToFirst; }
    void SetGoToFirstRecordOnExecute(bool v) { FGoToFirst = v; }

    void Prepare();
    bool Prepared() const { return FHandle != 0; }
    void Unprepare();  // frees the server statement, its parameters and its columns
    TFIBStatementType StatementType() const { return FStatementType; }
    // The text sent to the server by the last prepare.
    const std::string& ProcessedSQL() const { return FProcessedSQL; }

    // The parameters, in order of first occurrence; asking prepares the statement.
    int ParamCount();
    TFIBParam& Param(int index);
    TFIBParam* FindParam(const std::string& name);  // letter case ignored; nullptr when absent
    TFIBParam& ParamByName(const std::string& name); // raises EFIBError when absent

    // Runs the statement (preparing it first when needed). A select opens its result and,
    // with GoToFirstRecordOnExecute, stands on its first row.
    virtual void ExecQuery();
    bool Open() const { return FOpen; }
    bool Eof() const { return FEof; }
    bool Bof() const { return FRecordNumber <= 1; }
    // Moves to the next row; at the end Eof becomes true.
    void Next();
    // Releases the result; harmless on a closed statement.
    void Close();
    // Rows changed by the last insert, update or delete.
    int RowsAffected();

    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TFIBField& Fields(int index);
    TFIBField* FindField(const std::string& name);    // letter case ignored
    TFIBField& FieldByName(const std::string& name);  // raises "Field "X" not found."

protected:
    // The text change path: refuses an open statement, raises OnSQLChanging and frees
    // the server statement (clearing parameters and columns) when there is one.
    void ChangeSQL(const std::string& text);
    // Preprocessing step run by Prepare when ParamCheck is on: scans SQL() for
    // parameters and sets the processed text.
    virtual void PreprocessSQL();

private:
    friend class TFIBField;
    friend class TFIBDatabase;
    friend class TFIBTransaction;
    void CheckDatabase() const;
    void CheckTransaction() const;
    void FreeHandle();
    void CursorClosedByServer() { FOpen = false; FEof = true; }
    void DatabaseGone();
    void TransactionGone();
    void BindParams(std::vector<std::string>& storage, std::vector<short>& indicators);
    void Fetch();

    TFIBDatabase* FDatabase = nullptr;
    TFIBTransaction* FTransaction = nullptr;
    std::string FSQL;
    std::string FProcessedSQL;
    bool FParamCheck = true;
    bool FGoToFirst = true;
    isc_stmt_handle FHandle = 0;
    TFIBStatementType FStatementType = TFIBStatementType::Unknown;
    std::vector<std::unique_ptr<TFIBParam>> FParams;
    std::vector<int> FParamOfPlace;  // for each '?' of the processed text: index into FParams
    std::vector<TFIBField> FFields;
    std::unique_ptr<TSQLDA> FInDA;
    std::unique_ptr<TSQLDA> FOutDA;
    bool FOpen = false;
    bool FEof = true;
    int FRecordNumber = 0;
};
