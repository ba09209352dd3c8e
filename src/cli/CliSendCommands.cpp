#include "CliSendCommands.h"

#include <algorithm>

namespace {

const TDestructiveCommand kDestructive[] = {
    {"+erase", "очищает журнал событий панели (как erase-journal)"},
    {"+BL", "переводит панель в загрузчик (настройки недоступны до прошивки)"},
    {"+BE", "стирает прошивку панели (в загрузчике)"},
    {"+W", "записывает блок прошивки (в загрузчике)"},
    {"+EE", "завершает запись прошивки (в загрузчике)"},
};

bool IsControl(QChar c) {
    return c.category() == QChar::Other_Control;
}

// The argument as it can be shown on a terminal: control characters
// escaped, nothing else changed.
QString Shown(const QString& text) {
    QString shown;
    for (const QChar c : text) {
        if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\t')
            shown += QStringLiteral("\\t");
        else if (IsControl(c))
            shown +=
                QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            shown += c;
    }
    return shown;
}

} // namespace

std::span<const TDestructiveCommand> DestructiveCommands() {
    return kDestructive;
}

const TDestructiveCommand* DestructiveCommandOf(const QString& command) {
    // Spaces in front do not hide it.
    const QString text = command.trimmed();
    for (const TDestructiveCommand& d : kDestructive) {
        if (text.startsWith(QLatin1String(d.Name), Qt::CaseInsensitive))
            return &d;
    }
    return nullptr;
}

QString SendCommandsError(const QStringList& commands, bool confirmed) {
    for (const QString& command : commands) {
        if (std::any_of(command.begin(), command.end(), IsControl))
            return QStringLiteral("Управляющий символ в команде «%1»: каждая команда — отдельный аргумент, "
                                  "без управляющих символов")
                .arg(Shown(command));
    }
    if (confirmed)
        return {};
    for (const QString& command : commands) {
        if (const TDestructiveCommand* d = DestructiveCommandOf(command))
            return QStringLiteral("Команда %1 %2: подтвердите её параметром --yes")
                .arg(command.trimmed(), QString::fromUtf8(d->Effect));
    }
    return {};
}
