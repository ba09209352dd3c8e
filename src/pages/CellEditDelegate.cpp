#include "CellEditDelegate.h"

#include <QLineEdit>

QWidget* TCellEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    fEditor = editor;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        const QPersistentModelIndex cell(index);
        connect(edit, &QLineEdit::textEdited, edit, [this, cell](const QString& text) {
            if (OnTyped && cell.isValid())
                OnTyped(cell, text);
        });
    }
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
