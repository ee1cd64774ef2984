#pragma once
// A table model over a dataset: its rows and columns for a grid view, edited in place.
// A row's changes are posted when the grid leaves the row and cancelled by Escape.
// Text is WIN1251 in the dataset and Unicode on the screen.
#include <QAbstractTableModel>
#include <QStringList>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "fib/FIBDataSet.h"

class TDataSetModel : public QAbstractTableModel, private TDataSetObserver {
    Q_OBJECT
public:
    // The looked-up names of a lookup column (a QStringList; no value for other columns).
    static constexpr int LookupListRole = Qt::UserRole + 1;

    struct TColumn {
        std::string FieldName;
        QString Title;  // empty: the field's display label
    };

    explicit TDataSetModel(TFIBDataSet* dataSet = nullptr, QObject* parent = nullptr);
    ~TDataSetModel() override;

    TFIBDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TFIBDataSet* dataSet);
    // Without columns the model shows every visible field.
    void SetColumns(std::vector<TColumn> columns);
    TField* ColumnField(int column) const;
    bool ReadOnly = false;

    // Editing from code or from a grid. Errors of the dataset (post, delete, conversion)
    // reach the caller unchanged; a row whose post failed stays in edit.
    void SetValue(int row, int column, const QString& text);
    void InsertRow(int row);  // row == rowCount() appends
    void DeleteRow(int row);
    // Asks "Delete record?" first; true when the row was deleted.
    bool DeleteRowConfirmed(int row);
    void LeaveRow();   // posts a changed row, drops an untouched new one
    void CancelRow();  // Escape
    QStringList LookupItems(int column) const;

    // Where the errors of the item-model calls (setData, insertRows, removeRows) go;
    // by default an error box through the message seam.
    std::function<void(const std::exception&)> OnError;

    static QString ToScreen(const std::string& text);
    static std::string FromScreen(const QString& text);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;
    // A row is posted when the grid leaves it, not when one cell's editor closes.
    bool submit() override { return true; }
    void revert() override;

private:
    void DataSetAboutToReset() override;
    void DataSetReset() override;
    void RowAboutToBeInserted(int row) override;
    void RowInserted(int row) override;
    void RowAboutToBeRemoved(int row) override;
    void RowRemoved(int row) override;
    void RowChanged(int row) override;
    void DataSetDestroyed() override;
    void ResolveColumns();
    void Report(const std::exception& e);
    bool Guard(const std::function<void()>& action);

    TFIBDataSet* FDataSet = nullptr;
    std::vector<TColumn> FColumns;
    std::vector<TField*> FFields;  // the field of each shown column (nullptr when absent)
    std::vector<QString> FTitles;
    bool FResetting = false;
};
