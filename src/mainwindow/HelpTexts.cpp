#include "HelpTexts.h"

#include "version.h"

#include <QFileInfo>
#include <QtGlobal>

QStringList GuideCandidates() {
    QStringList candidates;
    // A test, or an installer with the guide elsewhere, may point at it.
    const QString chosen = qEnvironmentVariable("TARVIK1_GUIDE");
    if (!chosen.isEmpty())
        candidates << chosen;
    candidates << QStringLiteral(TARVIK_GUIDE_INSTALLED) << QStringLiteral(TARVIK_GUIDE_SOURCE);
    return candidates;
}

QString GuideFile() {
    for (const QString& path : GuideCandidates()) {
        const QFileInfo info(path);
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return {};
}

QString AboutText() {
    return QStringLiteral("<p><b>Программа настройки Tarvik-1</b>, версия %1</p>"
                          "<p>Чтение, запись и хранение настроек GSM/GPRS-панели Tarvik-1, "
                          "журнал событий, обновление прошивки.</p>"
                          "<p>Лицензия MIT: программу можно свободно использовать, изменять и "
                          "распространять; она поставляется без каких-либо гарантий.</p>"
                          "<p>Qt %2 (собрано с Qt %3)</p>")
        .arg(QStringLiteral(TARVIK_VERSION), QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
}
