#include "SettingsFile.h"

#include "SettingsLookup.h"
#include "TextFileLines.h"
#include "panel/PairText.h"
#include "prefs/FileUtils.h"
#include "prefs/ReplacingFile.h"

QByteArray TSettingsFile::Encode(const QStringList& lines) {
    return EncodeTextFileLines(lines);
}

bool TSettingsFile::Decode(const QByteArray& bytes, QStringList& lines, QString& reason) {
    TLineFault fault;
    if (DecodeTextFileLines(bytes, lines, fault))
        return true;
    reason = QStringLiteral("строка %1").arg(fault.Line + 1);
    // A control character is told with the key it came in.
    if (fault.Kind == TLineFault::Control && fault.Text.contains(QLatin1Char('=')))
        reason += QStringLiteral(" (ключ «%1»)").arg(VisibleText(GetPairName(fault.Text)));
    reason += QLatin1Char(' ') + fault.What;
    return false;
}

TSettingsFile::TResult TSettingsFile::Read(const QString& path) {
    const TFileRead file = ReadRegularFile(path, kMaxSettingsFileBytes);
    if (file.Fault == TFileRead::Open)
        return {false, QStringLiteral("Не удалось открыть файл настроек %1: %2").arg(path, file.Reason)};
    if (file.Fault == TFileRead::TooLarge)
        return {false, QStringLiteral("Не удалось прочитать файл настроек %1: %2 (файл настроек занимает "
                                      "несколько килобайт)")
                           .arg(path, file.Reason)};
    if (file.Fault != TFileRead::None)
        return {false, QStringLiteral("Не удалось прочитать файл настроек %1: %2").arg(path, file.Reason)};
    QStringList lines;
    QString reason;
    if (!Decode(file.Bytes, lines, reason))
        return {false, QStringLiteral("Не удалось прочитать файл настроек %1: %2").arg(path, reason)};
    fLines = std::move(lines);
    fUtf8WithoutMark = IsUtf8WithoutMark(file.Bytes);
    return {};
}

TSettingsFile::TResult TSettingsFile::Write(const QString& path) const {
    // The file holds the panel's passwords: a new one is the owner's alone.
    QString reason;
    if (!TReplacingFile::WriteAll(path, Encode(fLines), TFileAccess::Private, &reason))
        return {false, QStringLiteral("Не удалось записать файл настроек %1: %2").arg(path, reason)};
    return {};
}

QString TSettingsFile::Value(const QString& key) const {
    return SettingsValue(fLines, key);
}

bool TSettingsFile::Contains(const QString& key) const {
    return SettingsHasKey(fLines, key);
}
