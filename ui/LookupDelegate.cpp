#include "ui/LookupDelegate.h"

#include <QComboBox>

#include "ui/DataSetModel.h"

namespace {

bool IsLookup(const QModelIndex& index) { return index.data(TDataSetModel::LookupListRole).isValid(); }

}  // namespace

QWidget* TLookupDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    if (!IsLookup(index)) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->setObjectName("lookupCombo");
    combo->addItems(index.data(TDataSetModel::LookupListRole).toStringList());
    return combo;
}

void TLookupDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && IsLookup(index)) {
        combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void TLookupDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && IsLookup(index)) {
        if (combo->currentIndex() >= 0) model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
