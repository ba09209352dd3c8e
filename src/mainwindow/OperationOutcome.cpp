#include "OperationOutcome.h"

QString PagesWord(int n) {
    const int last2 = n % 100;
    const int last = n % 10;
    if (last2 >= 11 && last2 <= 14)
        return QStringLiteral("страниц");
    if (last == 1)
        return QStringLiteral("страница");
    if (last >= 2 && last <= 4)
        return QStringLiteral("страницы");
    return QStringLiteral("страниц");
}

QString OperationOutcomeText(TOperationState operation, int pages, const TOperationResult& result) {
    switch (result.Status) {
    case TOperationResult::Refused: return {};
    case TOperationResult::Lost: return QStringLiteral("Связь с панелью потеряна");
    case TOperationResult::Cancelled: return QStringLiteral("Прервано");
    case TOperationResult::Done:
    case TOperationResult::Failed: break;
    }
    QString done;
    switch (operation) {
    case TOperationState::Reading: done = QStringLiteral("Прочитано"); break;
    case TOperationState::Writing: done = QStringLiteral("Записано"); break;
    case TOperationState::Defaulting: done = QStringLiteral("Установлены значения по умолчанию"); break;
    default: done = QStringLiteral("Выполнено"); break;
    }
    const QString errors = result.Failures.isEmpty() && result.Status == TOperationResult::Done
                               ? QStringLiteral("без ошибок")
                               : QStringLiteral("ошибок: %1").arg(qMax<qsizetype>(1, result.Failures.size()));
    return QStringLiteral("%1: %2 %3, %4").arg(done).arg(pages).arg(PagesWord(pages), errors);
}
