#include "ImageText.h"

#include "panel/Cp1251.h"

#include <QStringDecoder>

namespace {

QString Decode(const QByteArray& bytes) {
    // Only a byte-order mark chooses (no guessing from zero bytes); the
    // decoder drops the mark itself.
    if (const auto bom = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*bom).decode(bytes);
    return FromCp1251(bytes);
}

} // namespace

QStringList ImageTextLines(const QByteArray& bytes) {
    const QString text = Decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}
