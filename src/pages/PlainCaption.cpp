#include "PlainCaption.h"

QString PlainCaption(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
                plain += text.at(++i);
            continue;
        }
        plain += text.at(i);
    }
    plain = plain.simplified();
    if (plain.endsWith(QLatin1Char(':')))
        plain.chop(1);
    return plain;
}
