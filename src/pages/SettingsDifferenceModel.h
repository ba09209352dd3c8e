#pragma once

#include "SettingsCompare.h"

#include <QAbstractTableModel>

#include <vector>

// The settings where a file differs from the pages, as a read-only table:
// page, setting (its caption), the value on the page, the value in the
// file. A key the file lacks shows "нет в файле" in the file's column, with
// what loading the file does to such a setting in its tool tip.
class TSettingsDifferenceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { cPage, cSetting, cPageValue, cFileValue, cColumnCount };

    explicit TSettingsDifferenceModel(std::vector<TSettingsDifference> rows, QObject* parent = nullptr);

    const std::vector<TSettingsDifference>& Rows() const { return fRows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The file column's text for a key the file lacks.
    static QString NotInFileText();

private:
    std::vector<TSettingsDifference> fRows;
};
