#pragma once
// Edits a lookup column of a TDataSetModel with a drop-down list of the looked-up
// names; choosing one sets the key column. Other columns get the usual editor.
#include <QStyledItemDelegate>

class TLookupDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};
