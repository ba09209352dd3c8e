#include "AlarmTypeList.h"

#include "panel/PairText.h"

namespace {

bool IsFourDigits(const QString& key) {
    if (key.size() != 4)
        return false;
    for (const QChar c : key) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

TAlarmTypeItems BuildAlarmTypeItems(const QStringList& tableLines) {
    TAlarmTypeItems items;
    items.reserve(tableLines.size());
    for (const QString& line : tableLines) {
        const QString key = GetPairName(line);
        if (!IsFourDigits(key))
            continue;
        const int event = key.left(3).toInt();
        const int qualifier = key.right(1).toInt();
        items.append({GetPairValue(line), qualifier * 1000 + event});
    }
    return items;
}

int AlarmTypeIndexOf(const TAlarmTypeItems& items, int code) {
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].Code == code)
            return i;
    }
    return -1;
}
