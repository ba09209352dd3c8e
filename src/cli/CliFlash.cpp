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
    TFirmwareImage image;
    QString problem;
    if (!LoadFirmwareFile(flash.Image, image, problem)) {
        err << problem << '\n';
        return ceImageRefused;
    }
    for (const QString& line : SummaryText(SummariseImage(image)))
        out << line << '\n';
    out.flush();

    if (!flash.Yes) {
        err << "Записать эту прошивку в панель? Панель перейдёт в загрузчик, её флеш-память будет очищена. "
               "[да/нет]: ";
        err.flush();
        if (!IsYes(in.readLine())) {
            err << "Прошивка не записана: нет подтверждения.\n";
            return ceNotConfirmed;
        }
    }

    TCliSession session(options, out, err, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);
    out << QStringLiteral("Панель: %1, память %2\n").arg(session.Version().Name, session.Version().Memory);
    out.flush();

    TUploadFirmware engine(session.Exchange());
    engine.SetTimeOuts(flash.TimeOuts);
    QString block;
    QObject::connect(&engine, &TUploadFirmware::StepChanged, [&](TUploadStep step, int k, int blocks) {
        if (step == TUploadStep::WriteBlock) {
            block = UploadStepText(step, k, blocks);
            return;
        }
        err << UploadStepText(step) << '\n';
        err.flush();
    });
    QObject::connect(&engine, &TUploadFirmware::ProgressChanged, [&](int percent, qint64 msLeft) {
        if (block.isEmpty())
            return;
        err << block << QStringLiteral(": %1 %").arg(percent);
        const QString left = TimeLeftText(msLeft);
        if (!left.isEmpty())
            err << QStringLiteral(", осталось %1").arg(left);
        err << '\n';
        err.flush();
    });
    QEventLoop loop;
    TUploadResult result;
    QObject::connect(&engine, &TUploadFirmware::Finished, &loop, [&](const TUploadResult& r) {
        result = r;
        loop.quit();
    });
    if (!engine.UploadFirmware(image.Lines)) {
        err << "Образ не содержит данных для записи.\n";
        return session.Finish(ceImageRefused);
    }
    loop.exec();

    if (result.Ok()) {
        out << result.Message << '\n';
        out.flush();
        return session.Finish(ceOk);
    }
    err << result.Message << '\n';
    return session.Finish(ceFlashFailed);
}
