#include "CliSession.h"

#include "LogFile.h"

#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "panel/LogLine.h"
#include "panel/ValueShapes.h"
#include "prefs/FileUtils.h"
#include "serial/Device.h"
#include "serial/PortOpenError.h"

#include <QEventLoop>
#include <QTextStream>

TCliSession::TCliSession(const TCliOptions& options, QTextStream& out, QTextStream& err,
                         const TLinkTimings& timings)
    : fOptions(options), fOut(out), fErr(err), fSession(timings) {
    connect(&fSession, &TPanelSession::PortFailed, this,
            [this](const QString&, int code, int osError) {
                fCreateError = code;
                fOsError = osError;
            });
    connect(&fSession, &TPanelSession::LogLine, this, &TCliSession::Log);
    connect(&fSession, &TPanelSession::Lost, this, &TCliSession::LineLost);
}

TCliSession::~TCliSession() = default;

void TCliSession::Log(const QString& text) {
    if (fLog)
        fLog->Append(StampedLogLine(text));
}

namespace {

QString LogFailed(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать журнал обмена %1: %2\n").arg(path, reason);
}

} // namespace

int TCliSession::Connect() {
    if (!fOptions.LogFile.isEmpty()) {
        if (const QString problem = ForbiddenTargetProblem(fOptions.LogFile); !problem.isEmpty()) {
            fErr << LogFailed(fOptions.LogFile, problem);
            fLogRefused = true;
            return ceLogFailed;
        }
        fLog = std::make_unique<TLogFile>(fOptions.LogFile);
    }
    if (!fSession.BeginConnecting())
        return ceNoAnswer;
    // Until the attempt has ended: the panel identified, the attempt failed,
    // or the line lost in the moment of the connection.
    QEventLoop loop;
    QObject attempt;
    QString failure;
    connect(&fSession, &TPanelSession::Connected, &loop, &QEventLoop::quit);
    connect(&fSession, &TPanelSession::ConnectFailed, &attempt, [&](const QString& message) {
        failure = message;
        loop.quit();
    });
    connect(&fSession, &TPanelSession::Lost, &attempt, [&](const QString& message) {
        failure = message;
        loop.quit();
    });

    fCreateError = 0;
    fOsError = 0;
    switch (fSession.Connect({fOptions.Port, fOptions.Modem, fOptions.Phone})) {
    case TConnectStart::Started: break;
    case TConnectStart::NoPhone:
        fSession.EndConnecting();
        fErr << "Не указан номер телефона панели\n";
        return ceUsage;
    case TConnectStart::PortFailed:
    case TConnectStart::NotConnecting:
        fSession.EndConnecting();
        fErr << QStringLiteral("Не удалось открыть порт %1: %2\n")
                    .arg(fOptions.Port, PortOpenReason(fCreateError, fOsError));
        return cePortFailed;
    }
    loop.exec();
    if (!fSession.HasPanel()) {
        fSession.EndConnecting();
        // The line lost is told as it is (it was told already when lost in
        // the moment of the connection).
        if (fSession.Sequence().LineWasLost())
            fErr << failure << '\n';
        else if (!fLineLost)
            fErr << QStringLiteral("Панель не отвечает: %1\n").arg(failure);
        return ceNoAnswer;
    }
    return ceOk;
}

void TCliSession::LineLost(const QString& message) {
    // The port is gone: the session has ended whatever waited and sends
    // nothing more.
    if (fLineLost)
        return;
    fLineLost = true;
    fErr << message << '\n';
}

void TCliSession::SetWakeUp(bool on) {
    fSession.SetWakeUp(on);
}

int TCliSession::Send(const QStringList& commands) {
    int code = ceOk;
    for (const QString& cmd : commands) {
        // The signal reading is complete at the panel's second "OK" on the
        // cable, as on the Common page.
        const bool signal = cmd == QLatin1String("+U");
        TCommandExchange& exchange = fSession.CommandExchange();
        exchange.SetUparam(signal);
        QStringList lines;
        const bool ok = exchange.DeviceCommandLst(cmd, lines, fOptions.TimeOut);
        exchange.SetUparam(false);
        if (fLineLost) {
            code = ceExchangeFailed;
            break;
        }
        if (!ok) {
            if (exchange.LastRefused())
                fErr << QStringLiteral("Панель отвергла команду %1\n").arg(cmd);
            else
                fErr << QStringLiteral("Нет ответа на команду %1\n").arg(cmd);
            code = ceExchangeFailed;
            continue;
        }
        if (!ValueFitsShape(cmd, AnswerValue(lines))) {
            // Another command's answer (the panel answered one twice, or late):
            // printing it as this command's value would be a wrong value.
            fErr << QStringLiteral("Ответ на команду %1 не похож на её значение (%2): «%3»\n")
                        .arg(cmd, ValueShapeText(cmd), AnswerValue(lines));
            code = ceExchangeFailed;
            continue;
        }
        for (const QString& line : lines)
            fOut << line << '\n';
    }
    fOut.flush();
    return code;
}

int TCliSession::Finish(int code) {
    fSession.EndConnecting();
    // Disconnected as the window disconnects; a line lost meanwhile is no
    // news any more.
    QEventLoop loop;
    connect(&fSession, &TPanelSession::Disconnected, &loop, &QEventLoop::quit);
    if (fSession.Disconnect() && fSession.State() == TOperationState::Disconnecting)
        loop.exec();
    if (fLog && !fLogRefused) {
        QString error;
        const bool written = fLog->Commit(&error);
        fLog.reset();
        if (!written) {
            fErr << LogFailed(fOptions.LogFile, error);
            return code == ceOk ? ceLogFailed : code;
        }
    }
    return code;
}
