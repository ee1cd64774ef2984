#include "ui/DBGrid.h"

#include <QKeyEvent>

#include "dbaccess/MessageDlg.h"
#include "ui/DataSetModel.h"
#include "ui/LookupDelegate.h"

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new TLookupDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
}

void TDBGrid::SetDataSetModel(TDataSetModel* model) {
    FModel = model;
    setModel(model);
}

void TDBGrid::Run(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        MessageDlg(e.what(), mtError, Buttons(mbOK));
    }
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!FModel || FRestoring || !previous.isValid() || current.row() == previous.row()) return;
    TFIBDataSet* ds = FModel->DataSet();
    // Only a pending row that the grid has just left is posted (a row the grid itself
    // inserted is already the dataset's current row).
    if (!ds || ds->State() == TDataSetState::dsBrowse || ds->CurrentRow() == current.row()) return;
    const int pendingRow = ds->CurrentRow();
    try {
        FModel->LeaveRow();
    } catch (const std::exception& e) {
        // The row stays in edit: go back to it and show why.
        FRestoring = true;
        setCurrentIndex(FModel->index(pendingRow, previous.column()));
        FRestoring = false;
        MessageDlg(e.what(), mtError, Buttons(mbOK));
    }
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    if (!FModel || state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    switch (event->key()) {
        case Qt::Key_Escape: Run([&] { FModel->CancelRow(); }); return;
        case Qt::Key_Insert:
            Run([&] {
                FModel->InsertRow(row);
                setCurrentIndex(FModel->index(FModel->DataSet()->CurrentRow(), column));
            });
            return;
        case Qt::Key_Delete:
            if (event->modifiers() & Qt::ControlModifier) {
                if (currentIndex().isValid()) Run([&] { FModel->DeleteRowConfirmed(row); });
                return;
            }
            break;
        case Qt::Key_Down:
            if (currentIndex().isValid() && row == FModel->rowCount() - 1 && !FModel->ReadOnly) {
                Run([&] {
                    FModel->InsertRow(FModel->rowCount());
                    setCurrentIndex(FModel->index(FModel->DataSet()->CurrentRow(), column));
                });
                return;
            }
            break;
        default: break;
    }
    QTableView::keyPressEvent(event);
}
