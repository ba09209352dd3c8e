#include "DirectionRec.h"

#include "Cp1251.h"
#include "PairText.h"

namespace {

uint8_t HexDigit(QChar c) {
    bool ok = false;
    const uint v = QString(c).toUInt(&ok, 16);
    return ok ? uint8_t(v) : 0;
}

QString Hex(uint v) {
    return QString::number(v, 16).toUpper();
}

} // namespace

QString DirectionPhone(const QString& text) {
    return FromCp1251(ToCp1251(text).left(TDirectionRec::kPhoneMax));
}

TDirectionRec ParseDirectionAnswer(const QStringList& lines) {
    TDirectionRec rec;
    const QString text = FilterChars(lines.join(QString()), QStringLiteral("0123456789+="));
    rec.Phone = DirectionPhone(GetPairValue(text));
    const QString head = GetPairName(text);
    if (head.size() != 6)
        return rec;
    rec.Direction = HexDigit(head.at(0));
    rec.Order = HexDigit(head.at(1));
    rec.Reserved[0] = HexDigit(head.at(2));
    rec.Channel = HexDigit(head.at(5));
    return rec;
}

QString DirectionWriteLine(int entry, const TDirectionRec& rec) {
    return QStringLiteral("+alphon%1%2%3%4%5%6%7=%8")
        .arg(entry)
        .arg(Hex(rec.Direction), Hex(rec.Order), Hex(rec.Reserved[0]), Hex(rec.Reserved[1]),
             Hex(rec.Reserved[2]), Hex(rec.Channel), DirectionPhone(rec.Phone));
}
