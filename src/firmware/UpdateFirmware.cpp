#include "UpdateFirmware.h"

#include <QFile>

QString GetBuiltInVersion(const QString& listPath) {
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly))
        return QStringLiteral("no update");
    const QList<QByteArray> lines = list.readAll().split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed().toUpper() == "VER")
            return QString::fromLatin1(line.mid(eq + 1).trimmed());
    }
    return {};
}
