#include "CommandExchange.h"

#include "Cp1251.h"
#include "serial/Device.h"

#include <QEventLoop>
#include <QTimer>

namespace {
const QString kOK = QStringLiteral("OK");
}

TCommandExchange::TCommandExchange(TDevice* device, QObject* parent) : QObject(parent), Device(device) {}

void TCommandExchange::Attach() {
    Device->OnData = [this](TDevice* s, const QByteArray& d) { DeviceData(s, d); };
    Device->OnBeforeWrite = [this](TDevice* s, const QByteArray& c) { DeviceBeforeWrite(s, c); };
}

void TCommandExchange::DeviceBeforeWrite(TDevice*, const QByteArray& Cmd) {
    emit LogLine(QStringLiteral("<< ") + FromCp1251(Cmd));
}

void TCommandExchange::DeviceData(TDevice*, const QByteArray& Data) {
    const QStringList lines = FBuffer.Feed(Data);
    for (const QString& line : lines) {
        emit LogLine(QStringLiteral(">> ") + line);
        // Lines that come while no exchange waits (a late answer, the
        // answer to a wake-up) are logged only: nothing would read them.
        if (fLoop)
            FResultList.append(line);
    }
    if (!FResultList.isEmpty())
        CheckAnswerComplete(FResultList);
    if (FExitCommandFlag && fLoop)
        fLoop->quit();
}

void TCommandExchange::CheckAnswerComplete(const QStringList& L) {
    if (L.isEmpty())
        return;
    if (FUParam && !FModem) {
        if (L.count(kOK) == 2)
            FExitCommandFlag = true;
    } else if (L.last() == kOK) {
        FExitCommandFlag = true;
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
    timeout.start(int(std::min<uint32_t>(std::max(ms, kMinWaitMs), INT32_MAX)));
    fLoop = &loop;
    loop.exec();
    fLoop = nullptr;
}

bool TCommandExchange::DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) {
    // Not re-entrant: a second request while one waits is refused at once.
    if (fLoop || !Device || fBlocked)
        return false;
    // A closed port cannot answer: fail at once instead of waiting out
    // three time-outs.
    if (!Device->ComActive())
        return false;
    uint32_t T = FModem ? TimeOut + kModemExtraMs : TimeOut;
    if (fTimeOutLimit)
        T = std::min(T, fTimeOutLimit);
    const QByteArray line = ToCp1251(ACommand + QStringLiteral("\r\n"));

    fAborted = false;
    FExitCommandFlag = false;
    const bool heldBefore = Device->WakeUpHeld();
    Device->SetWakeUpHeld(true);
    for (int attempt = 0; attempt < kAttempts && !fAborted; ++attempt) {
        // Whatever came before this command is not its answer.
        FResultList.clear();
        FBuffer.Clear();
        Device->Command(line, true);
        FExitCommandFlag = false;
        Wait(T);
        if (FExitCommandFlag)
            break;
    }
    Device->SetWakeUpHeld(heldBefore);

    const bool ok = FExitCommandFlag && !fAborted;
    if (ok)
        Res = FResultList;
    FResultList.clear();
    FExitCommandFlag = false;
    return ok;
}
