#include "DirectionRec.h"

#include "Cp1251.h"
#include "PairText.h"
#include "PanelExchange.h"
#include "ValueShapes.h"

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

std::optional<TDirectionRec> ParseDirectionAnswer(const QStringList& lines) {
    const QString value = AnswerValue(lines);
    if (!ValueFitsShape(QStringLiteral("+alphon0"), value))
        return std::nullopt;
    TDirectionRec rec;
    rec.Phone = DirectionPhone(GetPairValue(value));
    const QString head = GetPairName(value);
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
