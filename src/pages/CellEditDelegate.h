#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

// The item delegate of a grid whose page reads and sets cells while the user
// may be editing one: OnTyped hears every change of the open editor's text
// as it is typed; FinishEdit puts the text of the open editor into its cell
// and closes the editor, as leaving the cell would. A page calls it before
// it puts texts in.
class TCellEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // The cell's editor is open.
    bool Editing() const { return !fEditor.isNull(); }
    void FinishEdit();

    // The text of the editor of the cell at `index` as the user types it.
    std::function<void(const QModelIndex& index, const QString& text)> OnTyped;

private:
    mutable QPointer<QWidget> fEditor;
};
