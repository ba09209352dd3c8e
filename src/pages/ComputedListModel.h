#pragma once

#include <QAbstractListModel>

#include <functional>

// A list whose item texts are made when they are asked for: a long list of
// numbered items ("5 мин.") costs nothing until its popup shows them, where
// a combo box's own items would all be made, and laid out, when it is
// filled.
class TComputedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using TItemText = std::function<QString(int row)>;
    TComputedListModel(int rows, TItemText text, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int fRows;
    TItemText fText;
};
