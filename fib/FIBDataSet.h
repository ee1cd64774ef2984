#pragma once
// A buffered, editable dataset over a select statement, with statements that write its
// changes back (insert, update, delete) and read a posted row again (refresh).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fib/FIBFields.h"
#include "fib/FIBQuery.h"

class TFIBDatabase;
class TFIBTransaction;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// The five statements of a dataset, numbered as the statement kinds are.
enum TStatementKind { skSelect = 0, skUpdate = 1, skDelete = 2, skInsert = 3, skRefresh = 4 };

struct TLocateOptions {
    bool CaseInsensitive = false;
};

// Something that shows a dataset (a grid): told of every change of the buffered rows.
// "About to" calls come before the rows change, the others after.
class TDataSetObserver {
public:
    virtual ~TDataSetObserver() = default;
    virtual void DataSetAboutToReset() {}
    virtual void DataSetReset() {}  // opened, closed, fields rebuilt
    virtual void RowAboutToBeInserted(int /*row*/) {}
    virtual void RowInserted(int /*row*/) {}
    virtual void RowAboutToBeRemoved(int /*row*/) {}
    virtual void RowRemoved(int /*row*/) {}
    virtual void RowChanged(int /*row*/) {}
    virtual void CurrentChanged(int /*row*/) {}
    virtual void StateChanged() {}
    virtual void DataSetDestroyed() {}
};

class TFIBDataSet {
public:
    TFIBDataSet();
    virtual ~TFIBDataSet();
    TFIBDataSet(const TFIBDataSet&) = delete;
    TFIBDataSet& operator=(const TFIBDataSet&) = delete;

    TFIBDatabase* Database() const { return FDatabase; }
    void SetDatabase(TFIBDatabase* db);
    TFIBTransaction* Transaction() const { return FTransaction; }
    void SetTransaction(TFIBTransaction* tr);

    // The statement texts. Select parameters are written ":Name"; the modifying
    // statements take "?new_X" / "?old_X" (the row's new and old value of column X) and
    // ":Name" (the column Name, otherwise the select parameter Name).
    const std::string& SelectSQL() const { return FStatements[skSelect]->SQL(); }
    const std::string& InsertSQL() const { return FStatements[skInsert]->SQL(); }
    const std::string& UpdateSQL() const { return FStatements[skUpdate]->SQL(); }
    const std::string& DeleteSQL() const { return FStatements[skDelete]->SQL(); }
    const std::string& RefreshSQL() const { return FStatements[skRefresh]->SQL(); }
    // Each setter refuses an open dataset ("Dataset open.").
    virtual void SetSelectSQL(const std::string& text) { SetStatementSQL(skSelect, text); }
    virtual void SetInsertSQL(const std::string& text) { SetStatementSQL(skInsert, text); }
    virtual void SetUpdateSQL(const std::string& text) { SetStatementSQL(skUpdate, text); }
    virtual void SetDeleteSQL(const std::string& text) { SetStatementSQL(skDelete, text); }
    virtual void SetRefreshSQL(const std::string& text) { SetStatementSQL(skRefresh, text); }
    // The statement of a kind; kinds other than 1 to 4 mean the select statement.
    TFIBQuery& Statement(int kind) const;
    TFIBQuery& QSelect() const { return *FStatements[skSelect]; }

    // Generated keys: posting a new row first stores the next value of KeyGenerator
    // into the field KeyField.
    std::string KeyField;
    std::string KeyGenerator;
    // Commit retaining after every statement the dataset executes.
    bool AutoCommit = false;
    // Kept for the windows' settings; rows are always buffered both ways.
    int BufferChunks = 32;
    bool CachedUpdates = false;
    bool UniDirectional = false;

    std::function<void(TFIBDataSet&)> AfterScroll;
    std::function<void(TFIBDataSet&)> BeforePost;

    // Prepares the statements that are not prepared yet and builds the field definitions.
    void Prepare();
    bool Prepared() const { return FPrepared; }

    void Open();
    void Close();
    bool Active() const { return FState != TDataSetState::dsInactive; }
    TDataSetState State() const { return FState; }

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FRecords.empty(); }
    int RecordCount() const { return static_cast<int>(FRecords.size()); }
    // Current row, 0-based; -1 when there is none.
    int CurrentRow() const { return FCurrent; }
    // Moves to a row (0-based), posting or cancelling a pending edit first.
    void MoveTo(int row);
    // keyFields: one name or several separated by ';', with one value each.
    bool Locate(const std::string& keyFields, const std::vector<TFIBVariant>& values,
                TLocateOptions options = {});
    bool Locate(const std::string& keyField, const TFIBVariant& value, TLocateOptions options = {}) {
        return Locate(keyField, std::vector<TFIBVariant>{value}, options);
    }
    // The resultField value of the first row whose keyField equals keyValue; null when none.
    // The cursor does not move.
    TFIBVariant Lookup(const std::string& keyField, const TFIBVariant& keyValue,
                       const std::string& resultField) const;

    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Posts a modified pending row, cancels an unmodified one.
    void CheckBrowseMode();
    bool Modified() const { return FModified; }

    // Fields: persistent ones are added while closed and kept; otherwise opening makes
    // default fields from the field definitions and closing drops them.
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField& Fields(int index) const;
    TField* FindField(const std::string& name) const;  // letter case ignored
    TField& FieldByName(const std::string& name) const;  // raises "Field 'X' not found"
    TField& AddField(std::unique_ptr<TField> field);
    bool DefaultFields() const { return FDefaultFields; }

    const TFieldDefs& FieldDefs() const { return FFieldDefs; }
    // Brings the field definitions up to date, preparing the dataset when needed.
    void UpdateFieldDefs();

    void AddObserver(TDataSetObserver* o);
    void RemoveObserver(TDataSetObserver* o);

    // Values of the buffered rows (for fields).
    TFIBVariant RecordValue(int row, int fieldNo) const;

    virtual TFieldClass GetFieldClass(TFieldType type) const;

protected:
    virtual void InternalOpen();
    virtual void InternalInitFieldDefs();
    virtual void CreateFields();
    virtual void DestroyFields();
    void SetStatementSQL(int kind, const std::string& text);
    // Puts a statement in place of one of the five; it gets the dataset's text-change handler.
    void ReplaceStatement(int kind, std::unique_ptr<TFIBQuery> statement);
    void CheckInactive() const;
    TFieldDefs& MutableFieldDefs() { return FFieldDefs; }
    void SetDefaultFields(bool value) { FDefaultFields = value; }

private:
    friend class TField;
    using TRecord = std::vector<TFIBVariant>;

    void StatementChanging(TFIBQuery& q);
    void PrepareKeyQuery();
    void CheckActive() const;
    void CheckEditing() const;
    void BindFields();
    void FetchAll();
    void AfterStatement(TFIBQuery& q);
    void SetParams(TFIBQuery& q, const TRecord& newValues, const TRecord* oldValues);
    void ExecModify(TFIBQuery& q, const TRecord& newValues, const TRecord* oldValues);
    void RefreshCurrent();
    void InsertAt(int position);
    void SetCurrent(int row, bool scrolled);
    void DoAfterScroll();
    const TFieldDef* FindFieldDef(const std::string& name) const;
    TFIBVariant GetFieldValue(const TField& f) const;
    void SetFieldValue(TField& f, const TFIBVariant& value);
    TFIBVariant GetOldValue(const TField& f) const;
    TFIBVariant LookupValue(const TField& f, int row) const;
    void SetLookupValue(TField& f, const TFIBVariant& value);
    void ClearBuffers();
    void SetState(TDataSetState s);
    template <class F> void Notify(F f);

    TFIBDatabase* FDatabase = nullptr;
    TFIBTransaction* FTransaction = nullptr;
    std::unique_ptr<TFIBQuery> FStatements[5];
    std::unique_ptr<TFIBQuery> FKeyQuery;
    bool FPrepared = false;
    TFieldDefs FFieldDefs;
    std::vector<std::unique_ptr<TField>> FFields;
    bool FDefaultFields = false;
    TDataSetState FState = TDataSetState::dsInactive;
    std::vector<TRecord> FRecords;
    int FCurrent = -1;
    bool FEof = true;
    bool FBof = true;
    TRecord FOldValues;  // the row before Edit
    bool FModified = false;
    std::vector<TDataSetObserver*> FObservers;
};
