#include "FirmwareImage.h"

#include "FirmwareBlocks.h"
#include "HexRecord.h"
#include "ImageText.h"

#include "prefs/FileUtils.h"

namespace {

QString FileProblem(const QString& name, const QString& what) {
    return QStringLiteral("Файл прошивки «%1»: %2.").arg(name, what);
}

QString LineProblem(const QString& name, qsizetype line, const QString& what) {
    return QStringLiteral("Файл прошивки «%1», строка %2: %3.").arg(name).arg(line + 1).arg(what);
}

} // namespace

bool ReadFirmwareFile(const QString& path, TFirmwareImage& image, QString& error) {
    // A FIFO or a device is refused before it is opened: opening a FIFO
    // waits for a writer, and a device may never end.
    const TFileRead file = ReadRegularFile(path, kMaxImageFileBytes);
    switch (file.Fault) {
    case TFileRead::None: break;
    case TFileRead::Open:
        error = FileProblem(path, QStringLiteral("не удаётся открыть (%1)").arg(file.Reason));
        return false;
    case TFileRead::TooLarge:
        error =
            FileProblem(path, QStringLiteral("слишком велик для образа прошивки (%1 байт)").arg(file.Size));
        return false;
    case TFileRead::Read:
        error = FileProblem(path, QStringLiteral("не удаётся прочитать (%1)").arg(file.Reason));
        return false;
    }
    image.Name = path;
    image.Lines = FirmwareImageLines(file.Bytes);
    return true;
}

QStringList FirmwareImageLines(const QByteArray& bytes) {
    QStringList lines = ImageTextLines(bytes);
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

QString ValidateFirmwareImage(const TFirmwareImage& image) {
    if (image.Lines.isEmpty())
        return FileProblem(image.Name, QStringLiteral("файл пуст, записывать нечего"));
    qsizetype endOfFile = -1;
    for (qsizetype i = 0; i < image.Lines.size(); ++i) {
        QString problem;
        const std::optional<THexRecord> record = ParseHexRecord(image.Lines.at(i), &problem);
        if (!record)
            return LineProblem(image.Name, i, problem);
        if (endOfFile >= 0)
            return LineProblem(image.Name, i,
                               QStringLiteral("запись после записи конца файла (тип 01) в строке %1; "
                                              "образ кончается на ней")
                                   .arg(endOfFile + 1));
        if (record->Type == hrEndOfFile)
            endOfFile = i;
    }
    if (endOfFile < 0)
        return FileProblem(image.Name, QStringLiteral("в конце нет записи конца файла (тип 01): файл, "
                                                      "видимо, обрезан"));
    const TUploadPlan plan = PlanUpload(image.Lines);
    if (plan.Blocks.isEmpty())
        return FileProblem(image.Name, QStringLiteral("в образе нет данных для записи"));
    for (const TFirmwareBlock& block : plan.Blocks) {
        if (block.Data.isEmpty())
            return FileProblem(image.Name, QStringLiteral("строки %1–%2 не несут данных, а загрузчик не "
                                                          "принимает пустой блок")
                                               .arg(block.FirstLine + 1)
                                               .arg(block.FirstLine + block.LineCount));
    }
    return {};
}

bool LoadFirmwareFile(const QString& path, TFirmwareImage& image, QString& error) {
    TFirmwareImage read;
    if (!ReadFirmwareFile(path, read, error))
        return false;
    error = ValidateFirmwareImage(read);
    if (!error.isEmpty())
        return false;
    image = read;
    return true;
}
