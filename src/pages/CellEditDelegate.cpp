#include "CellEditDelegate.h"

QWidget* TCellEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    fEditor = editor;
    return editor;
}

void TCellEditDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (fEditor == editor)
        fEditor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void TCellEditDelegate::FinishEdit() {
    QWidget* editor = fEditor;
    if (!editor)
        return;
    fEditor = nullptr;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}
