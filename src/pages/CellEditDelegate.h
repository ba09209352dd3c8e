#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

// The item delegate of a grid whose page reads and sets cells while the user
// may be editing one: FinishEdit puts the text of the open editor into its
// cell and closes the editor, as leaving the cell would. A page calls it
// before it takes texts from the grid (so that what was typed is what it
// writes) and before it puts texts in.
class TCellEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // The cell's editor is open.
    bool Editing() const { return !fEditor.isNull(); }
    void FinishEdit();

private:
    mutable QPointer<QWidget> fEditor;
};
