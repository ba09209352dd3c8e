#include "UploadStep.h"

QString UploadStepText(TUploadStep step, int block, int blocks) {
    switch (step) {
    case TUploadStep::EnterBootLoader: return QStringLiteral("Переход в загрузчик");
    case TUploadStep::EraseFlash: return QStringLiteral("Очистка флеш-памяти");
    case TUploadStep::WriteBlock: return QStringLiteral("Запись блока %1 из %2").arg(block).arg(blocks);
    case TUploadStep::FinalCheck: return QStringLiteral("Проверка");
    }
    return {};
}

QString TimeLeftText(qint64 ms) {
    if (ms < 0)
        return {};
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 с").arg(seconds);
    return QStringLiteral("%1 мин %2 с").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
