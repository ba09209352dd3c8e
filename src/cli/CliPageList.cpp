#include "CliPageList.h"

#include "pages/StringConsts.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char*, 7> kLatinNames{
    "common", "system-events", "gprs", "channels", "alarm-buttons", "engineer-numbers", "sms",
};

// The settings page an item names, or -1.
int PageOf(const QString& item) {
    bool number = false;
    const int tag = item.toInt(&number);
    if (number)
        return tag >= ptCommon && tag <= ptSMS ? tag : -1;
    for (int t = ptCommon; t <= ptSMS; ++t) {
        if (item.compare(PageName(t), Qt::CaseInsensitive) == 0 ||
            item.compare(QLatin1String(kLatinNames[size_t(t)]), Qt::CaseInsensitive) == 0)
            return t;
    }
    return -1;
}

} // namespace

QString PageLatinName(int tag) {
    return tag >= ptCommon && tag <= ptSMS ? QLatin1String(kLatinNames[size_t(tag)]) : QString();
}

bool ParsePageList(const QString& list, std::vector<int>& tags, QString& error) {
    std::vector<int> chosen;
    if (list.trimmed().isEmpty()) {
        for (int t = ptCommon; t <= ptSMS; ++t)
            chosen.push_back(t);
        tags = chosen;
        return true;
    }
    for (const QString& raw : list.split(QLatin1Char(','))) {
        const QString item = raw.trimmed();
        const int tag = PageOf(item);
        if (tag < 0) {
            const bool history = item.compare(PageName(ptHistory), Qt::CaseInsensitive) == 0 ||
                                 item == QString::number(ptHistory) ||
                                 item.compare(QLatin1String("history"), Qt::CaseInsensitive) == 0;
            error = history
                        ? QStringLiteral("Страница «%1» не входит в файл настроек").arg(PageName(ptHistory))
                        : QStringLiteral("Неизвестная страница «%1» в --pages").arg(item);
            return false;
        }
        if (std::find(chosen.begin(), chosen.end(), tag) == chosen.end())
            chosen.push_back(tag);
    }
    std::sort(chosen.begin(), chosen.end());
    tags = chosen;
    return true;
}
