#include "ui/DataSetModel.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "dbaccess/MessageDlg.h"
#include "fib/FIBError.h"

TDataSetModel::TDataSetModel(TFIBDataSet* dataSet, QObject* parent) : QAbstractTableModel(parent) {
    SetDataSet(dataSet);
}

TDataSetModel::~TDataSetModel() {
    if (FDataSet) FDataSet->RemoveObserver(this);
}

QString TDataSetModel::ToScreen(const std::string& text) {
    QStringDecoder decoder("windows-1251");
    return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string TDataSetModel::FromScreen(const QString& text) {
    QStringEncoder encoder("windows-1251", QStringConverter::Flag::Default);
    const QByteArray bytes = encoder(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void TDataSetModel::SetDataSet(TFIBDataSet* dataSet) {
    beginResetModel();
    if (FDataSet) FDataSet->RemoveObserver(this);
    FDataSet = dataSet;
    if (FDataSet) FDataSet->AddObserver(this);
    ResolveColumns();
    endResetModel();
}

void TDataSetModel::SetColumns(std::vector<TColumn> columns) {
    beginResetModel();
    FColumns = std::move(columns);
    ResolveColumns();
    endResetModel();
}

void TDataSetModel::ResolveColumns() {
    FFields.clear();
    FTitles.clear();
    if (!FColumns.empty()) {
        for (const auto& c : FColumns) {
            TField* f = FDataSet ? FDataSet->FindField(c.FieldName) : nullptr;
            FFields.push_back(f);
            FTitles.push_back(!c.Title.isEmpty() ? c.Title : ToScreen(f ? f->DisplayLabel() : c.FieldName));
        }
        return;
    }
    if (!FDataSet) return;
    for (int i = 0; i < FDataSet->FieldCount(); ++i) {
        TField& f = FDataSet->Fields(i);
        if (!f.Visible) continue;
        FFields.push_back(&f);
        FTitles.push_back(ToScreen(f.DisplayLabel()));
    }
}

TField* TDataSetModel::ColumnField(int column) const {
    if (column < 0 || column >= static_cast<int>(FFields.size())) return nullptr;
    return FFields[static_cast<std::size_t>(column)];
}

int TDataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !FDataSet || !FDataSet->Active() || FResetting) return 0;
    return FDataSet->RecordCount();
}

int TDataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FFields.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    TField* f = ColumnField(index.column());
    if (!f) return {};
    try {
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole: return ToScreen(f->TextAt(index.row()));
            case Qt::TextAlignmentRole:
                if (f->DataType() == ftInteger || f->DataType() == ftFloat)
                    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
                return {};
            case LookupListRole:
                if (f->Lookup()) return LookupItems(index.column());
                return {};
            default: return {};
        }
    } catch (const std::exception&) {
        return {};  // a misconfigured lookup shows nothing rather than stopping the paint
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= static_cast<int>(FTitles.size())) return {};
        return FTitles[static_cast<std::size_t>(section)];
    }
    return section + 1;
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const TField* f = ColumnField(index.column());
    if (!ReadOnly && f && !f->ReadOnly) result |= Qt::ItemIsEditable;
    return result;
}

QStringList TDataSetModel::LookupItems(int column) const {
    QStringList items;
    const TField* f = ColumnField(column);
    if (!f || !f->Lookup() || !f->LookupDataSet || !f->LookupDataSet->Active()) return items;
    const TField* result = f->LookupDataSet->FindField(f->LookupResultField);
    if (!result) return items;
    for (int row = 0; row < f->LookupDataSet->RecordCount(); ++row) items << ToScreen(result->TextAt(row));
    return items;
}

void TDataSetModel::SetValue(int row, int column, const QString& text) {
    TField* f = ColumnField(column);
    if (!FDataSet || !f) throw EFIBError("No field in column " + std::to_string(column));
    if (row != FDataSet->CurrentRow()) FDataSet->MoveTo(row);
    FDataSet->Edit();
    f->SetAsString(FromScreen(text));
}

void TDataSetModel::InsertRow(int row) {
    if (!FDataSet) throw EFIBError("No dataset");
    if (row >= FDataSet->RecordCount()) {
        FDataSet->Append();
    } else {
        FDataSet->MoveTo(row);
        FDataSet->Insert();
    }
}

void TDataSetModel::DeleteRow(int row) {
    if (!FDataSet) throw EFIBError("No dataset");
    if (row != FDataSet->CurrentRow()) FDataSet->MoveTo(row);
    FDataSet->Delete();
}

bool TDataSetModel::DeleteRowConfirmed(int row) {
    if (MessageDlg("Delete record?", mtConfirmation, mbOKCancel) != mrOk) return false;
    DeleteRow(row);
    return true;
}

void TDataSetModel::LeaveRow() {
    if (FDataSet && FDataSet->Active()) FDataSet->CheckBrowseMode();
}

void TDataSetModel::CancelRow() {
    if (FDataSet && FDataSet->Active()) FDataSet->Cancel();
}

void TDataSetModel::Report(const std::exception& e) {
    if (OnError)
        OnError(e);
    else
        MessageDlg(e.what(), mtError, Buttons(mbOK));
}

bool TDataSetModel::Guard(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        Report(e);
        return false;
    }
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return false;
    return Guard([&] { SetValue(index.row(), index.column(), value.toString()); });
}

bool TDataSetModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count != 1 || row < 0 || row > rowCount()) return false;
    return Guard([&] { InsertRow(row); });
}

bool TDataSetModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count < 1 || row < 0 || row + count > rowCount()) return false;
    return Guard([&] {
        for (int i = 0; i < count; ++i) DeleteRow(row);
    });
}

void TDataSetModel::revert() {
    try {
        CancelRow();
    } catch (const std::exception& e) {
        Report(e);
    }
}

void TDataSetModel::DataSetAboutToReset() {
    beginResetModel();
    FResetting = true;
    FFields.clear();  // default fields may be destroyed while the dataset changes
    FTitles.clear();
}

void TDataSetModel::DataSetReset() {
    FResetting = false;
    ResolveColumns();
    endResetModel();
}

void TDataSetModel::RowAboutToBeInserted(int row) { beginInsertRows({}, row, row); }
void TDataSetModel::RowInserted(int) { endInsertRows(); }
void TDataSetModel::RowAboutToBeRemoved(int row) { beginRemoveRows({}, row, row); }
void TDataSetModel::RowRemoved(int) { endRemoveRows(); }

void TDataSetModel::RowChanged(int row) {
    if (columnCount() > 0) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TDataSetModel::DataSetDestroyed() {
    beginResetModel();
    FDataSet = nullptr;
    ResolveColumns();
    endResetModel();
}
