#include "TextFileLines.h"

#include "panel/Cp1251.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
constexpr char kUndefined = '\x98'; // the one byte Windows-1251 leaves without a character

bool IsControl(char32_t c) {
    return c < 0x20 || c == 0x7F;
}

// Upper-case hexadecimal, at least `width` digits.
QString Hex(uint value, int width) {
    return QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

// CR LF, CR or LF alone end a line; a line end at the very end adds no
// empty line.
QList<QByteArray> SplitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

// The first character (a surrogate pair whole) that Windows-1251 has not, or
// nothing.
QString FirstOutsideCp1251(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, n);
        if (FromCp1251(ToCp1251(one)) != one)
            return one;
        i += n - 1;
    }
    return {};
}

// A character for a message: itself between quotes when it can be shown,
// else its code point.
QString CharacterText(const QString& one) {
    const char32_t code =
        one.size() == 2 ? QChar::surrogateToUcs4(one.at(0), one.at(1)) : char32_t(one.at(0).unicode());
    return QChar::isPrint(code) ? QStringLiteral("«%1»").arg(one) : QStringLiteral("U+") + Hex(uint(code), 4);
}

} // namespace

bool IsUtf8WithoutMark(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Bom))
        return false;
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    if (!multiByte)
        return false;
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = toUtf16(bytes);
    return !toUtf16.hasError();
}

bool DecodeTextFileLines(const QByteArray& bytes, QStringList& lines, TLineFault& fault) {
    const bool marked = bytes.startsWith(kUtf8Bom);
    const bool utf8 = marked || IsUtf8WithoutMark(bytes);
    const QList<QByteArray> raw = SplitLines(marked ? bytes.mid(kUtf8Bom.size()) : bytes);
    QStringList decoded;
    decoded.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QByteArray& line = raw.at(i);
        QString text;
        if (utf8) {
            QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            text = toUtf16(line);
            if (toUtf16.hasError()) {
                fault = {TLineFault::NotUtf8, i, QStringLiteral("не является текстом UTF-8"), {}};
                return false;
            }
            if (const QString foreign = FirstOutsideCp1251(text); !foreign.isEmpty()) {
                fault = {TLineFault::NotInCodePage, i,
                         QStringLiteral("содержит символ %1, которого нет в кодировке Windows-1251")
                             .arg(CharacterText(foreign)),
                         text};
                return false;
            }
        } else {
            if (line.contains(kUndefined)) {
                fault = {TLineFault::UndefinedByte,
                         i,
                         QStringLiteral("содержит байт 0x98, которого нет в кодировке Windows-1251 "
                                        "(файл не в этой кодировке или повреждён)"),
                         {}};
                return false;
            }
            text = FromCp1251(line);
        }
        for (const QChar c : text) {
            if (IsControl(c.unicode())) {
                fault = {TLineFault::Control, i,
                         QStringLiteral("содержит управляющий символ с кодом 0x%1").arg(Hex(c.unicode(), 2)),
                         text};
                return false;
            }
        }
        decoded.append(std::move(text));
    }
    lines = std::move(decoded);
    return true;
}

QByteArray EncodeTextFileLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToCp1251(line) + "\r\n";
    // Windows-1251 bytes that happen to be valid UTF-8 throughout would be
    // read back as UTF-8, as other texts: such a file is written as UTF-8
    // with its mark, so that it reads back as written.
    if (IsUtf8WithoutMark(bytes)) {
        bytes = kUtf8Bom;
        for (const QString& line : lines)
            bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

QString VisibleText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (IsControl(c.unicode()) || (c.unicode() >= 0x80 && c.unicode() < 0xA0))
            shown += QStringLiteral("\\x") + Hex(c.unicode(), 2);
        else
            shown += c;
    }
    return shown;
}
