#include "HexRecord.h"

#include "panel/HexDigit.h"

namespace {

QString Hex2(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// The smallest record: ':', count, address, type and sum, no data.
constexpr qsizetype kMinRecord = 11;

std::optional<THexRecord> Refuse(QString* problem, const QString& text) {
    if (problem)
        *problem = text;
    return std::nullopt;
}

} // namespace

QString HexRecordTypeName(int type) {
    switch (type) {
    case hrData: return QStringLiteral("данные");
    case hrEndOfFile: return QStringLiteral("конец файла");
    case hrExtendedSegmentAddress: return QStringLiteral("расширенный адрес сегмента");
    case hrStartSegmentAddress: return QStringLiteral("начальный адрес сегмента");
    case hrExtendedLinearAddress: return QStringLiteral("расширенный линейный адрес");
    case hrStartLinearAddress: return QStringLiteral("начальный линейный адрес");
    default: return {};
    }
}

std::optional<THexRecord> ParseHexRecord(const QString& line, QString* problem) {
    if (line.trimmed().isEmpty())
        return Refuse(problem, QStringLiteral("пустая строка"));
    if (line.at(0) != QLatin1Char(':'))
        return Refuse(problem, QStringLiteral("строка не начинается с двоеточия, это не запись Intel HEX"));
    if (line.size() < kMinRecord)
        return Refuse(problem,
                      QStringLiteral("строка короче %1 знаков, это не запись Intel HEX").arg(kMinRecord));
    if ((line.size() - 1) % 2 != 0)
        return Refuse(problem, QStringLiteral("после двоеточия нечётное число знаков"));

    QByteArray bytes;
    for (qsizetype i = 1; i < line.size(); i += 2) {
        const int hi = HexDigitValue(line.at(i));
        const int lo = HexDigitValue(line.at(i + 1));
        if (hi < 0 || lo < 0)
            return Refuse(problem, QStringLiteral("«%1» в знаках %2–%3 не шестнадцатеричное число")
                                       .arg(line.mid(i, 2))
                                       .arg(i + 1)
                                       .arg(i + 2));
        bytes.append(char(hi * 16 + lo));
    }

    const int count = quint8(bytes.at(0));
    const int carried = int(bytes.size()) - 5;
    if (count != carried)
        return Refuse(
            problem,
            QStringLiteral("в записи указано байт данных: %1, а в строке их %2").arg(count).arg(carried));
    quint8 sum = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i)
        sum += quint8(bytes.at(i));
    const quint8 expected = quint8(0x100 - sum);
    const quint8 given = quint8(bytes.back());
    if (given != expected)
        return Refuse(
            problem,
            QStringLiteral("контрольная сумма записи %1, а должна быть %2").arg(Hex2(given), Hex2(expected)));
    THexRecord record;
    record.Type = quint8(bytes.at(3));
    if (HexRecordTypeName(record.Type).isEmpty())
        return Refuse(problem, QStringLiteral("неизвестный тип записи %1").arg(Hex2(record.Type)));
    record.Address = quint16(quint8(bytes.at(1)) << 8 | quint8(bytes.at(2)));
    record.Data = bytes.mid(4, count);
    return record;
}
