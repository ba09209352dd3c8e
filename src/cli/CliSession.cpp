#include "CliSession.h"

#include "LogFile.h"

#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "panel/DisconnectSequence.h"
#include "panel/LinkMessages.h"
#include "panel/LogLine.h"
#include "panel/ValueShapes.h"
#include "prefs/FileUtils.h"
#include "serial/Device.h"

#include <QEventLoop>
#include <QTextStream>

TCliSession::TCliSession(const TCliOptions& options, QTextStream& out, QTextStream& err,
                         const TLinkTimings& timings)
    : fOptions(options), fTimings(timings), fOut(out), fErr(err), fDevice(std::make_unique<TDevice>()),
      fExchange(std::make_unique<TCommandExchange>(fDevice.get())) {
    fExchange->SetTimings(fTimings);
    fDevice->SetWakeUpInterval(20000);
    fDevice->OnComCreateError = [this](TDevice*, int code) { fCreateError = code; };
    connect(fExchange.get(), &TCommandExchange::LogLine, this, &TCliSession::Log);
    fExchange->Attach();
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
    TConnectSequence sequence;
    sequence.SetLink(&fExchange->OwedAnswers(), fTimings);
    connect(&sequence, &TConnectSequence::LogLine, this, &TCliSession::Log);
    sequence.SetDevice(fDevice.get());

    QEventLoop loop;
    QString failure;
    connect(&sequence, &TConnectSequence::Succeeded, &loop, &QEventLoop::quit);
    connect(&sequence, &TConnectSequence::Failed, &loop, [&](const QString& message) {
        failure = message;
        loop.quit();
    });

    fCreateError = 0;
    if (!sequence.Connect(fOptions.Port, fOptions.Modem, fOptions.Phone)) {
        sequence.ResetDevice();
        if (fOptions.Modem && fOptions.Phone.trimmed().isEmpty()) {
            fErr << "Не указан номер телефона панели\n";
            return ceUsage;
        }
        fErr << QStringLiteral("Не удалось открыть порт %1: %2\n")
                    .arg(fOptions.Port, TDevice::GetStrCreateError(fCreateError));
        return cePortFailed;
    }
    loop.exec();
    sequence.ResetDevice();
    if (!failure.isEmpty()) {
        if (sequence.LineWasLost())
            fErr << failure << '\n';
        else
            fErr << QStringLiteral("Панель не отвечает: %1\n").arg(failure);
        return ceNoAnswer;
    }

    fConnected = true;
    fExchange->SetModem(sequence.Modem());
    fVersion = {sequence.Ver(), sequence.Major(), sequence.Minor(), sequence.Release(), sequence.Memory()};
    fDevice->OnLineLost = [this](TDevice*) { LineLost(); };
    // A modem call dropped is the panel lost as well.
    connect(fExchange.get(), &TCommandExchange::CallLost, this, &TCliSession::LineLost);
    fDevice->SetWakeUp(true);
    return ceOk;
}

void TCliSession::LineLost() {
    // The port is gone: whatever waits ends now, and nothing more is sent.
    if (fLineLost)
        return;
    fLineLost = true;
    fErr << LineLostMessage(fOptions.Port) << '\n';
    fDevice->SetWakeUp(false);
    fExchange->Abort();
    fExchange->SetBlocked(true);
    fDevice->SetComActive(false);
    fConnected = false;
}

void TCliSession::SetWakeUp(bool on) {
    fDevice->SetWakeUp(on);
}

int TCliSession::Send(const QStringList& commands) {
    int code = ceOk;
    for (const QString& cmd : commands) {
        // The signal reading is complete at the panel's second "OK" on the
        // cable, as on the Common page.
        const bool signal = cmd == QLatin1String("+U");
        fExchange->SetUparam(signal);
        QStringList lines;
        const bool ok = fExchange->DeviceCommandLst(cmd, lines, fOptions.TimeOut);
        fExchange->SetUparam(false);
        if (fLineLost) {
            code = ceExchangeFailed;
            break;
        }
        if (!ok) {
            if (fExchange->LastRefused())
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
    fDevice->SetWakeUp(false);
    fDevice->OnLineLost = nullptr;
    disconnect(fExchange.get(), &TCommandExchange::CallLost, this, nullptr);
    if (fConnected) {
        TDisconnectSequence disconnect(fDevice.get(), fExchange->Modem(), fExchange->OwedAnswers(), fTimings);
        QEventLoop loop;
        connect(&disconnect, &TDisconnectSequence::Done, &loop, &QEventLoop::quit);
        disconnect.Start();
        if (!disconnect.Finished())
            loop.exec();
        fConnected = false;
    }
    fDevice->SetComActive(false);
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
