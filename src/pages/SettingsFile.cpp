#include "SettingsFile.h"

#include "SettingsLookup.h"
#include "panel/Cp1251.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
constexpr char kUndefined = '\x98'; // the one byte Windows-1251 leaves without a character

// The byte lines of a file: CR LF, CR or LF alone end a line; a line end at
// the very end adds no empty line.
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

} // namespace

QByteArray TSettingsFile::Encode(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToCp1251(line) + "\r\n";
    return bytes;
}

bool TSettingsFile::Decode(const QByteArray& bytes, QStringList& lines, QString& reason) {
    const bool utf8 = bytes.startsWith(kUtf8Bom);
    const QList<QByteArray> raw = SplitLines(utf8 ? bytes.mid(kUtf8Bom.size()) : bytes);
    QStringList decoded;
    decoded.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QByteArray& line = raw.at(i);
        if (utf8) {
            QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            QString text = toUtf16(line);
            if (toUtf16.hasError()) {
                reason = QStringLiteral("строка %1 не является текстом UTF-8").arg(i + 1);
                return false;
            }
            // The panel and the file the tool writes hold Windows-1251 only: a
            // character outside it would be saved, and sent, as "?".
            if (const QString foreign = FirstOutsideCp1251(text); !foreign.isEmpty()) {
                reason =
                    QStringLiteral("строка %1 содержит символ «%2», которого нет в кодировке Windows-1251")
                        .arg(i + 1)
                        .arg(foreign);
                return false;
            }
            decoded.append(std::move(text));
            continue;
        }
        if (line.contains(kUndefined)) {
            reason = QStringLiteral("строка %1 содержит байт 0x98, которого нет в кодировке Windows-1251 "
                                    "(файл не в этой кодировке или повреждён)")
                         .arg(i + 1);
            return false;
        }
        decoded.append(FromCp1251(line));
    }
    lines = std::move(decoded);
    return true;
}

TSettingsFile::TResult TSettingsFile::Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false,
                QStringLiteral("Не удалось открыть файл настроек %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false,
                QStringLiteral("Не удалось прочитать файл настроек %1: %2").arg(path, file.errorString())};
    QStringList lines;
    QString reason;
    if (!Decode(bytes, lines, reason))
        return {false, QStringLiteral("Не удалось прочитать файл настроек %1: %2").arg(path, reason)};
    fLines = std::move(lines);
    return {};
}

TSettingsFile::TResult TSettingsFile::Write(const QString& path) const {
    const QByteArray bytes = Encode(fLines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {false,
                QStringLiteral("Не удалось записать файл настроек %1: %2").arg(path, file.errorString())};
    return {};
}

QString TSettingsFile::Value(const QString& key) const {
    return SettingsValue(fLines, key);
}

bool TSettingsFile::Contains(const QString& key) const {
    return SettingsHasKey(fLines, key);
}
