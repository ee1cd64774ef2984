#include "fib/FIBDataSet.h"

#include <algorithm>

#include "fib/FIBDatabase.h"
#include "fib/FIBError.h"
#include "fib/FIBTransaction.h"

namespace {

bool BlankSQL(const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; }

// Closes a statement's cursor when a fetch loop ends, also on error.
struct CursorGuard {
    TFIBQuery& q;
    ~CursorGuard() {
        try {
            q.Close();
        } catch (...) {
        }
    }
};

TFieldType TypeOfColumn(const TFIBField& f) {
    switch (f.SQLType()) {
        case SQL_TEXT:
        case SQL_VARYING: return ftString;
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64: return f.SQLScale() == 0 ? ftInteger : ftFloat;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return ftFloat;
        case SQL_TIMESTAMP: return ftDateTime;
        case SQL_TYPE_DATE: return ftDate;
        case SQL_TYPE_TIME: return ftTime;
        case SQL_BLOB: return f.SQLSubtype() == 1 ? ftMemo : ftBlob;
        default: return ftUnknown;  // arrays and other kinds get no definition
    }
}

std::vector<std::string> SplitNames(const std::string& names) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(';', start), names.size());
        std::string name = names.substr(start, end - start);
        const auto b = name.find_first_not_of(' ');
        name = b == std::string::npos ? std::string() : name.substr(b, name.find_last_not_of(' ') - b + 1);
        if (!name.empty()) result.push_back(name);
        start = end + 1;
    }
    return result;
}

}  // namespace

TFIBDataSet::TFIBDataSet() {
    for (int kind = 0; kind < 5; ++kind) ReplaceStatement(kind, std::make_unique<TFIBQuery>());
    FKeyQuery = std::make_unique<TFIBQuery>();
    FKeyQuery->SetGoToFirstRecordOnExecute(false);
}

TFIBDataSet::~TFIBDataSet() {
    auto observers = FObservers;
    for (auto* o : observers) o->DataSetDestroyed();
    FObservers.clear();
}

template <class F>
void TFIBDataSet::Notify(F f) {
    auto observers = FObservers;  // an observer may detach itself while told
    for (auto* o : observers) f(*o);
}

void TFIBDataSet::AddObserver(TDataSetObserver* o) {
    if (std::find(FObservers.begin(), FObservers.end(), o) == FObservers.end()) FObservers.push_back(o);
}

void TFIBDataSet::RemoveObserver(TDataSetObserver* o) {
    FObservers.erase(std::remove(FObservers.begin(), FObservers.end(), o), FObservers.end());
}

void TFIBDataSet::SetDatabase(TFIBDatabase* db) {
    if (db == FDatabase) return;
    CheckInactive();
    FDatabase = db;
    for (auto& q : FStatements) q->SetDatabase(db);
    FKeyQuery->SetDatabase(db);
    FPrepared = false;
}

void TFIBDataSet::SetTransaction(TFIBTransaction* tr) {
    if (tr == FTransaction) return;
    CheckInactive();
    FTransaction = tr;
    for (auto& q : FStatements) q->SetTransaction(tr);
    FKeyQuery->SetTransaction(tr);
}

TFIBQuery& TFIBDataSet::Statement(int kind) const {
    if (kind < skSelect || kind > skRefresh) kind = skSelect;
    return *FStatements[kind];
}

void TFIBDataSet::ReplaceStatement(int kind, std::unique_ptr<TFIBQuery> statement) {
    statement->SetDatabase(FDatabase);
    statement->SetTransaction(FTransaction);
    statement->SetGoToFirstRecordOnExecute(false);
    statement->OnSQLChanging = [this](TFIBQuery& q) { StatementChanging(q); };
    FStatements[kind] = std::move(statement);
    FPrepared = false;
}

void TFIBDataSet::StatementChanging(TFIBQuery&) {
    CheckInactive();
    FFieldDefs.clear();
    FPrepared = false;
}

void TFIBDataSet::SetStatementSQL(int kind, const std::string& text) {
    CheckInactive();
    Statement(kind).SetSQL(text);
}

void TFIBDataSet::CheckInactive() const {
    if (Active()) throw EFIBError("Dataset open.");
}

void TFIBDataSet::CheckActive() const {
    if (!Active()) throw EFIBError("Dataset closed.");
}

void TFIBDataSet::CheckEditing() const {
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        throw EFIBError("Dataset not in edit or insert mode.");
}

void TFIBDataSet::Prepare() {
    // Statements prepared before (for instance by asking for a select parameter) keep
    // their preparation and their parameter values.
    static const int order[] = {skSelect, skUpdate, skDelete, skInsert, skRefresh};
    for (int kind : order) {
        TFIBQuery& q = *FStatements[kind];
        if ((kind == skSelect || !BlankSQL(q.SQL())) && !q.Prepared()) q.Prepare();
    }
    if (!KeyGenerator.empty()) PrepareKeyQuery();
    InternalInitFieldDefs();
    FPrepared = true;
}

void TFIBDataSet::PrepareKeyQuery() {
    const std::string text = "Select GEN_ID(" + KeyGenerator + ",1) as ID from rdb$database";
    if (FKeyQuery->SQL() != text) FKeyQuery->SetSQL(text);
    if (!FKeyQuery->Prepared()) FKeyQuery->Prepare();
}

void TFIBDataSet::InternalInitFieldDefs() {
    FFieldDefs.clear();
    TFIBQuery& q = QSelect();
    for (int i = 0; i < q.FieldCount(); ++i) {
        const TFIBField& f = q.Fields(i);
        const TFieldType type = TypeOfColumn(f);
        if (type == ftUnknown) continue;
        TFieldDef def;
        def.Name = f.Name();
        def.DataType = type;
        def.Size = type == ftString ? f.SQLLen() : 0;
        def.Required = !f.Nullable();
        def.FieldNo = i;
        FFieldDefs.push_back(def);
    }
}

void TFIBDataSet::UpdateFieldDefs() {
    if (!FPrepared) Prepare();
}

TFieldClass TFIBDataSet::GetFieldClass(TFieldType type) const {
    static const TFieldClass table[] = {
        nullptr,                      // ftUnknown
        &TFIBStringField::ClassInfo,  // ftString
        &TSmallintField::ClassInfo,   &TIntegerField::ClassInfo,   &TWordField::ClassInfo,
        &TBooleanField::ClassInfo,    &TFloatField::ClassInfo,     &TCurrencyField::ClassInfo,
        &TBCDField::ClassInfo,        &TDateField::ClassInfo,      &TTimeField::ClassInfo,
        &TDateTimeField::ClassInfo,   &TBytesField::ClassInfo,     &TVarBytesField::ClassInfo,
        &TAutoIncField::ClassInfo,    &TBlobField::ClassInfo,      &TMemoField::ClassInfo,
        &TGraphicField::ClassInfo,    &TBlobField::ClassInfo,      &TBlobField::ClassInfo,
        &TBlobField::ClassInfo,       &TBlobField::ClassInfo,
    };
    static_assert(std::size(table) == ftTypedBinary + 1);
    if (type < ftUnknown || type > ftTypedBinary) return nullptr;
    return table[type];
}

void TFIBDataSet::CreateFields() {
    for (const TFieldDef& def : FFieldDefs) {
        TFieldClass cls = GetFieldClass(def.DataType);
        if (!cls) continue;
        std::unique_ptr<TField> f = cls->Create();
        f->SetFieldName(def.Name);
        f->Size = def.Size;
        f->Required = def.Required;
        f->FFieldNo = def.FieldNo;
        AddField(std::move(f));
    }
}

void TFIBDataSet::DestroyFields() { FFields.clear(); }

TField& TFIBDataSet::AddField(std::unique_ptr<TField> field) {
    CheckInactive();
    field->FDataSet = this;
    FFields.push_back(std::move(field));
    return *FFields.back();
}

TField& TFIBDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) throw EFIBError("Field index out of range");
    return *FFields[static_cast<std::size_t>(index)];
}

TField* TFIBDataSet::FindField(const std::string& name) const {
    const std::string wanted = UpperCase1251(name);
    for (const auto& f : FFields)
        if (UpperCase1251(f->FieldName()) == wanted) return f.get();
    return nullptr;
}

TField& TFIBDataSet::FieldByName(const std::string& name) const {
    if (TField* f = FindField(name)) return *f;
    throw EFIBError("Field '" + name + "' not found");
}

const TFieldDef* TFIBDataSet::FindFieldDef(const std::string& name) const {
    const std::string wanted = UpperCase1251(name);
    for (const auto& d : FFieldDefs)
        if (UpperCase1251(d.Name) == wanted) return &d;
    return nullptr;
}

void TFIBDataSet::BindFields() {
    for (auto& f : FFields) {
        if (f->Lookup()) {
            f->FFieldNo = -1;
            continue;
        }
        const TFieldDef* def = FindFieldDef(f->FieldName());
        if (!def) throw EFIBError("Field '" + f->FieldName() + "' not found");
        f->FFieldNo = def->FieldNo;
    }
}

void TFIBDataSet::Open() {
    if (Active()) return;
    Notify([](TDataSetObserver& o) { o.DataSetAboutToReset(); });
    try {
        InternalOpen();
    } catch (...) {
        Notify([](TDataSetObserver& o) { o.DataSetReset(); });
        throw;
    }
    Notify([](TDataSetObserver& o) { o.DataSetReset(); });
    if (Active() && !FRecords.empty()) DoAfterScroll();
}

void TFIBDataSet::InternalOpen() {
    try {
        for (auto& f : FFields)
            if (f->Lookup() && f->LookupDataSet && f->LookupDataSet != this && !f->LookupDataSet->Active())
                f->LookupDataSet->Open();
        if (!FPrepared) Prepare();
        if (FFields.empty()) {
            CreateFields();
            FDefaultFields = true;
        }
        BindFields();
        FetchAll();
    } catch (...) {
        ClearBuffers();
        if (FDefaultFields) {
            DestroyFields();
            FDefaultFields = false;
        }
        throw;
    }
    FCurrent = FRecords.empty() ? -1 : 0;
    FBof = true;
    FEof = FRecords.empty();
    FState = TDataSetState::dsBrowse;
}

void TFIBDataSet::FetchAll() {
    TFIBQuery& q = QSelect();
    FRecords.clear();
    q.ExecQuery();
    {
        CursorGuard guard{q};
        const std::size_t columns = static_cast<std::size_t>(q.FieldCount());
        for (q.Next(); !q.Eof(); q.Next()) {
            TRecord rec(columns);
            for (const TFieldDef& d : FFieldDefs) rec[d.FieldNo] = q.Fields(d.FieldNo).AsVariant();
            FRecords.push_back(std::move(rec));
        }
    }
    AfterStatement(q);
}

void TFIBDataSet::AfterStatement(TFIBQuery& q) {
    if (AutoCommit && q.Transaction()) q.Transaction()->CommitRetaining();
}

void TFIBDataSet::ClearBuffers() {
    FRecords.clear();
    FOldValues.clear();
    FModified = false;
    FCurrent = -1;
    FEof = FBof = true;
}

void TFIBDataSet::Close() {
    if (!Active()) return;
    Notify([](TDataSetObserver& o) { o.DataSetAboutToReset(); });
    try {
        QSelect().Close();
    } catch (...) {
    }
    ClearBuffers();
    FState = TDataSetState::dsInactive;
    if (FDefaultFields) {
        DestroyFields();
        FDefaultFields = false;
    }
    Notify([](TDataSetObserver& o) { o.DataSetReset(); });
}

void TFIBDataSet::SetState(TDataSetState s) {
    if (s == FState) return;
    FState = s;
    Notify([](TDataSetObserver& o) { o.StateChanged(); });
}

void TFIBDataSet::DoAfterScroll() {
    if (AfterScroll) AfterScroll(*this);
}

void TFIBDataSet::SetCurrent(int row, bool scrolled) {
    const bool moved = row != FCurrent;
    FCurrent = row;
    if (moved) Notify([row](TDataSetObserver& o) { o.CurrentChanged(row); });
    if (scrolled) DoAfterScroll();
}

void TFIBDataSet::First() {
    CheckActive();
    CheckBrowseMode();
    FBof = true;
    FEof = FRecords.empty();
    if (!FRecords.empty()) SetCurrent(0, FCurrent != 0);
}

void TFIBDataSet::Next() {
    CheckActive();
    CheckBrowseMode();
    if (FCurrent + 1 < RecordCount()) {
        FBof = FEof = false;
        SetCurrent(FCurrent + 1, true);
    } else {
        FEof = true;
    }
}

void TFIBDataSet::Prior() {
    CheckActive();
    CheckBrowseMode();
    if (FCurrent > 0) {
        FBof = FEof = false;
        SetCurrent(FCurrent - 1, true);
    } else {
        FBof = true;
    }
}

void TFIBDataSet::Last() {
    CheckActive();
    CheckBrowseMode();
    FEof = true;
    FBof = FRecords.empty();
    if (!FRecords.empty()) SetCurrent(RecordCount() - 1, FCurrent != RecordCount() - 1);
}

void TFIBDataSet::MoveTo(int row) {
    CheckActive();
    if (row < 0 || row >= RecordCount()) throw EFIBError("Row " + std::to_string(row) + " out of range");
    if (row == FCurrent) return;
    // Cancelling an untouched new row removes it, which shifts the rows after it.
    if (FState == TDataSetState::dsInsert && !FModified && row > FCurrent) --row;
    CheckBrowseMode();
    FBof = FEof = false;
    SetCurrent(row, row != FCurrent);
}

bool TFIBDataSet::Locate(const std::string& keyFields, const std::vector<TFIBVariant>& values,
                         TLocateOptions options) {
    CheckActive();
    CheckBrowseMode();
    const std::vector<std::string> names = SplitNames(keyFields);
    if (names.empty() || names.size() != values.size())
        throw EFIBError("Locate needs one value for each of the fields \"" + keyFields + "\"");
    std::vector<const TField*> fields;
    for (const auto& n : names) fields.push_back(&FieldByName(n));
    for (int row = 0; row < RecordCount(); ++row) {
        bool match = true;
        for (std::size_t k = 0; k < fields.size() && match; ++k)
            match = SameValue(fields[k]->ValueAt(row), values[k], options.CaseInsensitive);
        if (match) {
            FBof = FEof = false;
            SetCurrent(row, true);
            return true;
        }
    }
    return false;
}

TFIBVariant TFIBDataSet::Lookup(const std::string& keyField, const TFIBVariant& keyValue,
                                const std::string& resultField) const {
    if (!Active()) return std::monostate{};
    const TField& key = FieldByName(keyField);
    const TField& result = FieldByName(resultField);
    for (int row = 0; row < RecordCount(); ++row)
        if (SameValue(key.ValueAt(row), keyValue)) return result.ValueAt(row);
    return std::monostate{};
}

TFIBVariant TFIBDataSet::RecordValue(int row, int fieldNo) const {
    if (row < 0 || row >= RecordCount() || fieldNo < 0) return std::monostate{};
    const TRecord& rec = FRecords[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(fieldNo) >= rec.size()) return std::monostate{};
    return rec[static_cast<std::size_t>(fieldNo)];
}

TFIBVariant TFIBDataSet::GetFieldValue(const TField& f) const {
    if (!Active() || FCurrent < 0) return std::monostate{};
    return f.ValueAt(FCurrent);
}

TFIBVariant TFIBDataSet::GetOldValue(const TField& f) const {
    if (FState == TDataSetState::dsEdit && f.FFieldNo >= 0 &&
        static_cast<std::size_t>(f.FFieldNo) < FOldValues.size())
        return FOldValues[static_cast<std::size_t>(f.FFieldNo)];
    if (FState == TDataSetState::dsInsert) return std::monostate{};
    return GetFieldValue(f);
}

TFIBVariant TFIBDataSet::LookupValue(const TField& f, int row) const {
    if (!f.LookupDataSet || !f.LookupDataSet->Active()) return std::monostate{};
    const TField* key = FindField(f.KeyFields);
    if (!key || key->Lookup()) return std::monostate{};
    const TFIBVariant keyValue = key->ValueAt(row);
    if (VarIsNull(keyValue)) return keyValue;
    return f.LookupDataSet->Lookup(f.LookupKeyFields, keyValue, f.LookupResultField);
}

void TFIBDataSet::SetFieldValue(TField& f, const TFIBVariant& value) {
    CheckEditing();
    if (f.ReadOnly) throw EFIBError("Field '" + f.FieldName() + "' cannot be modified");
    if (f.Lookup()) {
        SetLookupValue(f, value);
        return;
    }
    if (f.FFieldNo < 0) throw EFIBError("Field '" + f.FieldName() + "' is not bound to a column");
    TFIBVariant converted = f.Convert(value);
    TRecord& rec = FRecords[static_cast<std::size_t>(FCurrent)];
    if (static_cast<std::size_t>(f.FFieldNo) >= rec.size()) rec.resize(static_cast<std::size_t>(f.FFieldNo) + 1);
    rec[static_cast<std::size_t>(f.FFieldNo)] = std::move(converted);
    FModified = true;
    const int row = FCurrent;
    Notify([row](TDataSetObserver& o) { o.RowChanged(row); });
}

void TFIBDataSet::SetLookupValue(TField& f, const TFIBVariant& value) {
    // Choosing a looked-up value sets the key column to the key of the row that has it.
    TField& key = FieldByName(f.KeyFields);
    if (VarIsNull(value) || (std::holds_alternative<std::string>(value) && std::get<std::string>(value).empty())) {
        key.Clear();
        return;
    }
    if (!f.LookupDataSet || !f.LookupDataSet->Active())
        throw EFIBError("Field '" + f.FieldName() + "' has no open lookup dataset");
    const TFIBVariant keyValue = f.LookupDataSet->Lookup(f.LookupResultField, value, f.LookupKeyFields);
    if (VarIsNull(keyValue))
        throw EFIBError("'" + VarToStr(value) + "' is not a valid value for field '" + f.FieldName() + "'");
    key.SetValue(keyValue);
}

void TFIBDataSet::InsertAt(int position) {
    const std::size_t columns = static_cast<std::size_t>(QSelect().FieldCount());
    Notify([position](TDataSetObserver& o) { o.RowAboutToBeInserted(position); });
    FRecords.insert(FRecords.begin() + position, TRecord(columns));
    Notify([position](TDataSetObserver& o) { o.RowInserted(position); });
    FOldValues.clear();
    FModified = false;
    FBof = FEof = false;
    FCurrent = -1;  // the new row is always a move
    SetState(TDataSetState::dsInsert);
    SetCurrent(position, true);
}

void TFIBDataSet::Insert() {
    CheckActive();
    CheckBrowseMode();
    InsertAt(FCurrent < 0 ? 0 : FCurrent);
}

void TFIBDataSet::Append() {
    CheckActive();
    CheckBrowseMode();
    InsertAt(RecordCount());
}

void TFIBDataSet::Edit() {
    CheckActive();
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return;
    if (FRecords.empty()) {
        Insert();
        return;
    }
    FOldValues = FRecords[static_cast<std::size_t>(FCurrent)];
    FModified = false;
    SetState(TDataSetState::dsEdit);
}

void TFIBDataSet::Cancel() {
    if (FState == TDataSetState::dsInsert) {
        // Back in browse mode before observers hear of the removal, so that one reacting
        // to it (a grid moving its current row) cannot cancel the row a second time.
        const int row = FCurrent;
        FModified = false;
        FState = TDataSetState::dsBrowse;
        Notify([row](TDataSetObserver& o) { o.RowAboutToBeRemoved(row); });
        FRecords.erase(FRecords.begin() + row);
        Notify([row](TDataSetObserver& o) { o.RowRemoved(row); });
        Notify([](TDataSetObserver& o) { o.StateChanged(); });
        FCurrent = -1;
        FEof = FBof = FRecords.empty();
        if (!FRecords.empty()) SetCurrent(std::min(row, RecordCount() - 1), true);
    } else if (FState == TDataSetState::dsEdit) {
        FRecords[static_cast<std::size_t>(FCurrent)] = FOldValues;
        FOldValues.clear();
        FModified = false;
        const int row = FCurrent;
        Notify([row](TDataSetObserver& o) { o.RowChanged(row); });
        SetState(TDataSetState::dsBrowse);
    }
}

void TFIBDataSet::CheckBrowseMode() {
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
    if (FModified)
        Post();
    else
        Cancel();
}

void TFIBDataSet::SetParams(TFIBQuery& q, const TRecord& newValues, const TRecord* oldValues) {
    auto valueOf = [](const TRecord* rec, const TFieldDef* def) -> TFIBVariant {
        if (!rec || !def || static_cast<std::size_t>(def->FieldNo) >= rec->size()) return std::monostate{};
        return (*rec)[static_cast<std::size_t>(def->FieldNo)];
    };
    TFIBQuery& select = QSelect();
    for (int i = 0; i < q.ParamCount(); ++i) {
        TFIBParam& p = q.Param(i);
        const std::string& name = p.Name();
        if (name.rfind("NEW_", 0) == 0) {
            p.SetValue(valueOf(&newValues, FindFieldDef(name.substr(4))));
        } else if (name.rfind("OLD_", 0) == 0) {
            p.SetValue(valueOf(oldValues, FindFieldDef(name.substr(4))));
        } else if (const TFieldDef* def = FindFieldDef(name)) {
            p.SetValue(valueOf(&newValues, def));
        } else if (TFIBParam* sp = select.Prepared() ? select.FindParam(name) : nullptr) {
            p.SetValue(sp->Value());
        } else {
            p.Clear();
        }
    }
}

void TFIBDataSet::ExecModify(TFIBQuery& q, const TRecord& newValues, const TRecord* oldValues) {
    SetParams(q, newValues, oldValues);
    q.ExecQuery();
    q.Close();
    AfterStatement(q);
}

void TFIBDataSet::Post() {
    CheckActive();
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
    if (BeforePost) BeforePost(*this);
    const bool inserting = FState == TDataSetState::dsInsert;
    TFIBQuery& q = Statement(inserting ? skInsert : skUpdate);
    if (BlankSQL(q.SQL()))
        throw EFIBError(inserting ? "Cannot insert: the dataset has no insert statement."
                                  : "Cannot update: the dataset has no update statement.");
    const auto row = static_cast<std::size_t>(FCurrent);
    if (inserting && !KeyGenerator.empty() && !KeyField.empty()) {
        const TFieldDef* key = FindFieldDef(KeyField);
        if (!key) throw EFIBError("Field '" + KeyField + "' not found");
        PrepareKeyQuery();
        TFIBVariant id;
        FKeyQuery->ExecQuery();
        {
            CursorGuard guard{*FKeyQuery};
            FKeyQuery->Next();
            if (!FKeyQuery->Eof()) id = FKeyQuery->Fields(0).AsVariant();
        }
        AfterStatement(*FKeyQuery);
        FRecords[row][static_cast<std::size_t>(key->FieldNo)] = id;
        const int r = FCurrent;
        Notify([r](TDataSetObserver& o) { o.RowChanged(r); });
    }
    for (const auto& f : FFields)
        if (!f->Lookup() && f->Required && f->FFieldNo >= 0 &&
            VarIsNull(FRecords[row][static_cast<std::size_t>(f->FFieldNo)]))
            throw EFIBError("Field '" + f->FieldName() + "' must have a value");

    // A failed statement leaves the row in edit with the values it had.
    ExecModify(q, FRecords[row], inserting ? nullptr : &FOldValues);

    // The row is in the database now; a failing refresh must not leave it pending, or
    // posting again would write it twice.
    FOldValues.clear();
    FModified = false;
    SetState(TDataSetState::dsBrowse);
    if (!BlankSQL(RefreshSQL())) RefreshCurrent();
}

void TFIBDataSet::RefreshCurrent() {
    TFIBQuery& q = Statement(skRefresh);
    TRecord& rec = FRecords[static_cast<std::size_t>(FCurrent)];
    SetParams(q, rec, &rec);
    q.ExecQuery();
    {
        CursorGuard guard{q};
        q.Next();
        if (!q.Eof()) {
            for (int c = 0; c < q.FieldCount(); ++c) {
                const TFieldDef* def = FindFieldDef(q.Fields(c).Name());
                if (def && static_cast<std::size_t>(def->FieldNo) < rec.size())
                    rec[static_cast<std::size_t>(def->FieldNo)] = q.Fields(c).AsVariant();
            }
        }
    }
    AfterStatement(q);
    const int row = FCurrent;
    Notify([row](TDataSetObserver& o) { o.RowChanged(row); });
}

void TFIBDataSet::Delete() {
    CheckActive();
    if (FState == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (FRecords.empty()) throw EFIBError("Cannot perform this operation on an empty dataset");
    if (FState == TDataSetState::dsEdit) Cancel();
    TFIBQuery& q = Statement(skDelete);
    if (BlankSQL(q.SQL())) throw EFIBError("Cannot delete: the dataset has no delete statement.");
    const int row = FCurrent;
    ExecModify(q, FRecords[static_cast<std::size_t>(row)], &FRecords[static_cast<std::size_t>(row)]);
    Notify([row](TDataSetObserver& o) { o.RowAboutToBeRemoved(row); });
    FRecords.erase(FRecords.begin() + row);
    Notify([row](TDataSetObserver& o) { o.RowRemoved(row); });
    FCurrent = -1;
    FEof = FBof = FRecords.empty();
    if (!FRecords.empty()) SetCurrent(std::min(row, RecordCount() - 1), true);
}
