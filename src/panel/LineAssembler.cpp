#include "LineAssembler.h"

#include "Cp1251.h"

QStringList TLineAssembler::Feed(const QByteArray& data) {
    QString text = FromCp1251(data);
    text.remove(QLatin1Char('\n'));
    text.remove(QLatin1Char('>'));
    FBuffer += text;

    QStringList lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = FBuffer.indexOf(QLatin1Char('\r'), start);
        if (cr < 0)
            break;
        if (cr > start)
            lines.append(FBuffer.mid(start, cr - start));
        start = cr + 1;
    }
    FBuffer.remove(0, start);
    while (FBuffer.size() >= kMaxPending) {
        lines.append(FBuffer.left(kMaxPending));
        FBuffer.remove(0, kMaxPending);
    }
    return lines;
}
