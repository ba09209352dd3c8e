#include "JournalProgress.h"

#include <algorithm>

namespace {

QString TimeLeft(qint64 ms) {
    const qint64 seconds = (std::max<qint64>(ms, 0) + 999) / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 с").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 мин %2 с").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    const qint64 minutes = (seconds + 59) / 60;
    return QStringLiteral("%1 ч %2 мин").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString JournalProgressText(int done, int total, qint64 msLeft) {
    QString text = QStringLiteral("Прочитано %1 из %2 записей").arg(done).arg(total);
    if (msLeft >= 0)
        text += QStringLiteral(", осталось ") + TimeLeft(msLeft);
    return text;
}
