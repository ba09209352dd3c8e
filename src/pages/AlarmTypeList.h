#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The alarm types the Alarm buttons page offers for each button: one item
// for every line of the Contact ID event text table, in the table's order.
// A table line is "EEEQ=text": the three-digit event code and the qualifier
// digit (1 event, 3 restore). The item shows the text and carries the code
// the panel stores, the qualifier first: Q * 1000 + EEE.
// "1201=Тревожная кнопка" gives code 1120, "1203=ВОССТ: Тревожная кнопка"
// gives 3120.
struct TAlarmTypeItem {
    QString Caption;
    int Code = 0;
    bool operator==(const TAlarmTypeItem&) const = default;
};

using TAlarmTypeItems = QList<TAlarmTypeItem>;

// Items from the table's lines. A line whose key is not four decimal digits
// names no event the panel could report, and gives no item.
TAlarmTypeItems BuildAlarmTypeItems(const QStringList& tableLines);

// The first item carrying `code`; -1 when none does.
int AlarmTypeIndexOf(const TAlarmTypeItems& items, int code);
