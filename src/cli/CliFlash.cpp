#include "CliFlash.h"

#include "firmware/FirmwareImage.h"
#include "firmware/ImageSummary.h"
#include "panel/CommandExchange.h"

#include <QEventLoop>
#include <QTextStream>

bool IsYes(const QString& answer) {
    const QString a = answer.trimmed().toLower();
    return a == QStringLiteral("да") || a == QStringLiteral("д") || a == QLatin1String("yes") ||
           a == QLatin1String("y");
}

int RunFlash(const TCliOptions& options, const TFlashOptions& flash, QTextStream& in, QTextStream& out,
             QTextStream& err, const TLinkTimings& timings) {
    TCliProgress progress(err, flash.Progress);
    QTextStream& errors = progress.Err();
    TFirmwareImage image;
    QString problem;
    if (!LoadFirmwareFile(flash.Image, image, problem)) {
        errors << problem << '\n';
        return ceImageRefused;
    }
    if (!progress.Quiet()) {
        for (const QString& line : SummaryText(SummariseImage(image)))
            out << line << '\n';
        out.flush();
    }

    if (!flash.Yes) {
        errors
            << "Записать эту прошивку в панель? Панель перейдёт в загрузчик, её флеш-память будет очищена. "
               "[да/нет]: ";
        errors.flush();
        if (!IsYes(in.readLine())) {
            errors << "Прошивка не записана: нет подтверждения.\n";
            return ceNotConfirmed;
        }
    }

    TCliSession session(options, out, errors, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);
    if (!progress.Quiet()) {
        out << QStringLiteral("Панель: %1, память %2\n")
                   .arg(session.Version().Name, session.Version().Memory);
        out.flush();
    }

    TUploadFirmware engine(session.Exchange());
    engine.SetTimeOuts(flash.TimeOuts);
    QString block;
    QObject::connect(&engine, &TUploadFirmware::StepChanged, [&](TUploadStep step, int k, int blocks) {
        if (step == TUploadStep::WriteBlock) {
            block = UploadStepText(step, k, blocks);
            return;
        }
        progress.Note(UploadStepText(step));
    });
    QObject::connect(&engine, &TUploadFirmware::ProgressChanged, [&](int percent, qint64 msLeft) {
        if (block.isEmpty())
            return;
        QString text = block + QStringLiteral(": %1 %").arg(percent);
        const QString left = TimeLeftText(msLeft);
        if (!left.isEmpty())
            text += QStringLiteral(", осталось %1").arg(left);
        progress.Progress(text, percent);
    });
    QEventLoop loop;
    TUploadResult result;
    QObject::connect(&engine, &TUploadFirmware::Finished, &loop, [&](const TUploadResult& r) {
        result = r;
        loop.quit();
    });
    if (!engine.UploadFirmware(image.Lines)) {
        errors << "Образ не содержит данных для записи.\n";
        return session.Finish(ceImageRefused);
    }
    loop.exec();
    progress.End();

    if (result.Ok()) {
        if (!progress.Quiet()) {
            out << result.Message << '\n';
            out.flush();
        }
        return session.Finish(ceOk);
    }
    errors << result.Message << '\n';
    return session.Finish(ceFlashFailed);
}
