#include "CidEventTable.h"

#include "panel/Cp1251.h"

#include <QFile>

// Pulls the table's resource in wherever this library is linked.
static void InitEventTextResource() {
    Q_INIT_RESOURCE(cid_event_texts);
}

namespace {

const char kResourcePath[] = ":/history/cid_event_texts.txt";

} // namespace

QByteArray TCidEventTable::BuiltinBytes() {
    InitEventTextResource();
    QFile file(QString::fromLatin1(kResourcePath));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The event text table is missing from the program's resources (%s)", kResourcePath);
    return file.readAll();
}

const TCidEventTable& TCidEventTable::Builtin() {
    static const TCidEventTable table(BuiltinBytes());
    return table;
}

TCidEventTable::TCidEventTable(const QByteArray& bytes) {
    const QStringList lines = FromCp1251(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        TCidEvent event;
        event.Key = line.left(eq);
        event.Text = line.mid(eq + 1);
        if (fByKey.contains(event.Key))
            continue;
        if (event.Key.size() == 4) {
            bool ok = false;
            const int number = event.Key.toInt(&ok);
            if (ok) {
                event.Code = number / 10;
                event.Qualifier = number % 10;
            }
        }
        fByKey.insert(event.Key, fEvents.size());
        fEvents.append(event);
    }
}

QString TCidEventTable::Text(const QString& key) const {
    const auto it = fByKey.constFind(key);
    return it == fByKey.cend() ? QString() : fEvents.at(*it).Text;
}

QString TCidEventTable::Text(int code, int qualifier) const {
    if (code < 0 || code > 999 || qualifier < 0 || qualifier > 9)
        return {};
    return Text(QStringLiteral("%1%2").arg(code, 3, 10, QLatin1Char('0')).arg(qualifier));
}

QStringList TCidEventTable::Lines() const {
    QStringList out;
    out.reserve(fEvents.size());
    for (const TCidEvent& e : fEvents)
        out.append(e.Key + u'=' + e.Text);
    return out;
}
