#pragma once
// A grid over a TDataSetModel that behaves as the windows expect of a data grid: a
// row's changes are posted when the current row changes (a failed post keeps the grid
// on that row and shows the error), Escape cancels the row, Insert adds a row before the
// current one, Down on the last row appends one, Ctrl+Delete deletes after confirmation.
#include <QTableView>

#include <functional>

class TDataSetModel;

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    void SetDataSetModel(TDataSetModel* model);
    TDataSetModel* DataSetModel() const { return FModel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void Run(const std::function<void()>& action);
    TDataSetModel* FModel = nullptr;
    bool FRestoring = false;
};
