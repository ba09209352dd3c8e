#include "CommandExchange.h"

#include "CallLoss.h"
#include "Cp1251.h"
#include "serial/Device.h"

#include <algorithm>

#include <QEventLoop>
#include <QTimer>

TCommandExchange::TCommandExchange(TDevice* device, QObject* parent) : QObject(parent), Device(device) {
    ApplyLinkTimes();
}

void TCommandExchange::SetTimings(const TLinkTimings& timings) {
    fTimings = timings;
    ApplyLinkTimes();
}

void TCommandExchange::SetModem(bool value) {
    FModem = value;
    fOwed.SetModem(value);
    ApplyLinkTimes();
}

void TCommandExchange::ApplyLinkTimes() {
    fOwed.SetLateBound(fTimings.LateBound(FModem));
    fOwed.SetDefaultAnswerTime(EffectiveTimeOut(ExchangeTimeout::Param));
}

uint32_t TCommandExchange::EffectiveTimeOut(uint32_t timeOut) const {
    uint32_t T = FModem ? timeOut + fTimings.ModemExtraMs : timeOut;
    if (fTimings.TimeOutCapMs)
        T = std::min(T, fTimings.TimeOutCapMs);
    return std::max(T, fTimings.MinWaitMs);
}

void TCommandExchange::SetLeastAnswerTime(uint32_t ms) {
    fOwed.SetLeastAnswerTime(ms);
}

void TCommandExchange::Attach() {
    Device->OnData = [this](TDevice* s, const QByteArray& d) { DeviceData(s, d); };
    Device->OnBeforeWrite = [this](TDevice* s, const QByteArray& c) { DeviceBeforeWrite(s, c); };
}

void TCommandExchange::DeviceBeforeWrite(TDevice*, const QByteArray& Cmd) {
    emit LogLine(QStringLiteral("<< ") + FromCp1251(Cmd));
    // Every line written is answered, whoever wrote it; only the exchange's
    // own signal reading has the two-"OK" answer. The exchange's own command
    // is given its time-out; other writers' say theirs or take the default.
    fOwed.Written(Cmd, fWritingOwn && FUParam, fWritingOwn ? fCurrentTimeOut : 0);
}

void TCommandExchange::DeviceData(TDevice*, const QByteArray& Data) {
    // An answer past its deadline was written off: what comes now is not it.
    fOwed.ExpireDue();
    fSinceByte.start();
    if (fOwed.WriteOffs() != fSeenWriteOffs) {
        // The unfinished line was part of an answer written off as lost.
        fSeenWriteOffs = fOwed.WriteOffs();
        FBuffer.Clear();
    }
    bool settled = false;
    bool callLost = false;
    for (const QString& line : FBuffer.Feed(Data)) {
        emit LogLine(QStringLiteral(">> ") + line);
        const TOwedAnswers::TFate fate = fOwed.Take(line);
        settled = settled || fate.Completes;
        callLost = callLost || CallLostBy(line, FModem, fate);
        // Lines owed to another command (a late answer, the answer to a
        // wake-up) or asked for by nobody are logged only.
        const bool ours = fLoop && !fCurrent.isEmpty() && fate.Owed && fate.Command == fCurrent;
        if (!ours || FExitCommandFlag || fRefused)
            continue;
        if (fOverflow || fAnswerChars + line.size() > fMaxAnswerChars) {
            fOverflow = true;
        } else {
            FResultList.append(line);
            fAnswerChars += line.size();
        }
        if (fate.Completes) {
            if (fate.Success)
                FExitCommandFlag = true;
            else
                fRefused = true;
        }
    }
    // A wait before a write ends when an owed answer has come in; a wait
    // for the answer when it is complete.
    if (fLoop && (FExitCommandFlag || fRefused || (fCurrent.isEmpty() && settled)))
        fLoop->quit();
    if (callLost) {
        // Nothing more reaches the panel on this call: the request waiting
        // ends now, failed, and the owner ends the connection.
        Abort();
        emit CallLost();
    }
}

void TCommandExchange::Abort() {
    fAborted = true;
    if (fLoop)
        fLoop->quit();
}

void TCommandExchange::Wait(uint32_t ms) {
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(int(std::min<uint32_t>(std::max(ms, fTimings.MinWaitMs), INT32_MAX)));
    fLoop = &loop;
    loop.exec();
    fLoop = nullptr;
}

bool TCommandExchange::SettleBefore(const QByteArray& command) {
    while (!fOwed.OwesOnly(command) && !fOwed.ExpireDue()) {
        if (fAborted || fBlocked || !Device->ComActive())
            return false;
        Wait(fOwed.MsUntilDue());
    }
    return !fAborted;
}

void TCommandExchange::DropBrokenAnswer(uint32_t waitMs) {
    // The panel sends the lines of one answer back to back. An answer begun
    // and then silent for half an attempt's wait broke off (the line hung
    // up in the middle of it): what came of it is dropped, so that the
    // answer to the resent command neither continues its unfinished line
    // nor follows its lines.
    const bool begun = !FBuffer.Pending().isEmpty() || !FResultList.isEmpty() || fOverflow;
    if (!begun || !fSinceByte.isValid() || fSinceByte.elapsed() < qint64(waitMs / 2))
        return;
    FBuffer.Clear();
    ClearAnswer();
    fOwed.RestartAnswer();
}

void TCommandExchange::ClearAnswer() {
    FResultList.clear();
    fAnswerChars = 0;
    fOverflow = false;
}

bool TCommandExchange::DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) {
    // Not re-entrant: a second request while one waits is refused at once.
    fLastRefused = false;
    if (fLoop || !Device || fBlocked)
        return false;
    // A closed port cannot answer: fail at once instead of waiting out
    // three time-outs.
    if (!Device->ComActive())
        return false;
    const uint32_t T = EffectiveTimeOut(TimeOut);
    const QByteArray line = ToCp1251(ACommand + QStringLiteral("\r\n"));
    const QByteArray key = TOwedAnswers::Key(line);

    fAborted = false;
    FExitCommandFlag = false;
    fRefused = false;
    fLastRefused = false;
    ClearAnswer();
    const bool heldBefore = Device->WakeUpHeld();
    Device->SetWakeUpHeld(true);
    if (SettleBefore(key)) {
        fCurrentTimeOut = T;
        // Text that came before the command and is owed to nobody is not
        // its answer.
        if (fOwed.Empty())
            FBuffer.Clear();
        fCurrent = key;
        for (int attempt = 0; attempt < fTimings.Attempts && !fAborted; ++attempt) {
            if (attempt > 0)
                DropBrokenAnswer(T);
            fWritingOwn = true;
            Device->Command(line, true);
            fWritingOwn = false;
            Wait(T);
            if (FExitCommandFlag || fRefused)
                break;
        }
        fCurrent.clear();
    }
    Device->SetWakeUpHeld(heldBefore);

    const bool ok = FExitCommandFlag && !fRefused && !fAborted && !fOverflow;
    fLastRefused = fRefused && !fAborted;
    if (ok)
        Res = FResultList;
    ClearAnswer();
    FExitCommandFlag = false;
    fRefused = false;
    return ok;
}
