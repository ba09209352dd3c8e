#include "SMSTextFile.h"

#include "SMSCodec.h"
#include "TextFileLines.h"
#include "prefs/FileUtils.h"
#include "prefs/ReplacingFile.h"

QString SMSFileFormatError() {
    return QStringLiteral("Файл имеет неверный формат или поврежден");
}

TSMSFileResult ReadSMSFile(const QString& path) {
    TSMSFileResult result;
    const TFileRead file = ReadRegularFile(path, kMaxSMSFileBytes);
    if (file.Fault == TFileRead::Open) {
        result.Error = QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.Reason);
        return result;
    }
    if (file.Fault == TFileRead::TooLarge) {
        result.Error =
            QStringLiteral("Не удалось прочитать файл %1: %2 (файл СМС занимает несколько сотен байт)")
                .arg(path, file.Reason);
        return result;
    }
    if (file.Fault != TFileRead::None) {
        result.Error = QStringLiteral("Не удалось прочитать файл %1: %2").arg(path, file.Reason);
        return result;
    }
    QStringList lines;
    TLineFault fault;
    if (!DecodeTextFileLines(file.Bytes, lines, fault)) {
        result.Error = QStringLiteral("Не удалось прочитать файл %1: строка %2 %3")
                           .arg(path)
                           .arg(fault.Line + 1)
                           .arg(fault.What);
        return result;
    }
    if (lines.size() < SMSCount) {
        result.Error = SMSFileFormatError();
        return result;
    }
    result.Ok = true;
    result.Texts = lines.mid(0, SMSCount);
    return result;
}

bool WriteSMSFile(const QString& path, const QStringList& texts, QString* error) {
    QString reason;
    if (!TReplacingFile::WriteAll(path, EncodeTextFileLines(texts), TFileAccess::Shared, &reason)) {
        if (error)
            *error = QStringLiteral("Не удалось записать файл %1: %2").arg(path, reason);
        return false;
    }
    return true;
}
