#include "ComputedListModel.h"

TComputedListModel::TComputedListModel(int rows, TItemText text, QObject* parent)
    : QAbstractListModel(parent), fRows(rows), fText(std::move(text)) {}

int TComputedListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fRows;
}

QVariant TComputedListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= fRows)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole)
        return fText(index.row());
    return {};
}
