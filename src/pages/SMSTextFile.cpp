#include "SMSTextFile.h"

#include "SMSCodec.h"
#include "panel/Cp1251.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

QString decode(const QByteArray& bytes) {
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes.mid(kUtf8Bom.size()));
    return FromCp1251(bytes);
}

QStringList splitLines(const QString& text) {
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(kLineEnd);
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line, or an empty file
    return lines;
}

} // namespace

QString SMSFileFormatError() {
    return QStringLiteral("Файл имеет неверный формат или поврежден");
}

TSMSFileResult ReadSMSFile(const QString& path) {
    TSMSFileResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Error = QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.Error = QStringLiteral("Не удалось прочитать файл %1: %2").arg(path, file.errorString());
        return result;
    }
    const QStringList lines = splitLines(decode(bytes));
    if (lines.size() < SMSCount) {
        result.Error = SMSFileFormatError();
        return result;
    }
    result.Ok = true;
    result.Texts = lines.mid(0, SMSCount);
    return result;
}

bool WriteSMSFile(const QString& path, const QStringList& texts, QString* error) {
    QByteArray bytes;
    for (const QString& text : texts)
        bytes += ToCp1251(text) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
