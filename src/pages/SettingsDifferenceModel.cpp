#include "SettingsDifferenceModel.h"

TSettingsDifferenceModel::TSettingsDifferenceModel(std::vector<TSettingsDifference> rows, QObject* parent)
    : QAbstractTableModel(parent), fRows(std::move(rows)) {}

QString TSettingsDifferenceModel::NotInFileText() {
    return QStringLiteral("нет в файле");
}

int TSettingsDifferenceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(fRows.size());
}

int TSettingsDifferenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cColumnCount;
}

QVariant TSettingsDifferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(fRows.size()))
        return {};
    const TSettingsDifference& d = fRows[size_t(index.row())];
    const bool missing = index.column() == cFileValue && !d.InFile;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case cPage: return d.PageName;
        case cSetting: return d.Caption;
        case cPageValue: return d.PageValue;
        case cFileValue: return missing ? NotInFileText() : d.FileValue;
        default: return {};
        }
    case Qt::ToolTipRole:
        if (index.column() == cSetting)
            return QStringLiteral("Ключ в файле: %1").arg(d.Key);
        if (missing)
            return QStringLiteral("При загрузке файла текст станет пустым, а число вернёт всю страницу "
                                  "к значениям по умолчанию.");
        return {};
    default: return {};
    }
}

QVariant TSettingsDifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case cPage: return QStringLiteral("Страница");
    case cSetting: return QStringLiteral("Настройка");
    case cPageValue: return QStringLiteral("На странице");
    case cFileValue: return QStringLiteral("В файле");
    default: return {};
    }
}

Qt::ItemFlags TSettingsDifferenceModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
