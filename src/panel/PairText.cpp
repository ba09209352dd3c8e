#include "PairText.h"

QString GetPairName(const QString& text) {
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    return eq < 0 ? text : text.left(eq);
}

QString GetPairValue(const QString& text) {
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : text.mid(eq + 1);
}

QString FilterChars(const QString& text, const QString& allowed) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() <= 255 && allowed.contains(c))
            out.append(c);
    }
    return out;
}
