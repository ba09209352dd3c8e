#include "ConnectSequence.h"

#include "Cp1251.h"
#include "DeviceVersion.h"
#include "LinkMessages.h"
#include "PanelExchange.h"
#include "ValueShapes.h"
#include "serial/Device.h"
#include "serial/nComPort.h"

#include <QPointer>

#include <exception>

namespace {
const QString kOK = QStringLiteral("OK");
const QString kCableConnect = QStringLiteral("CABLE CONNECT");
const QString kCableDisconnect = QStringLiteral("CABLE DISCONNECT");
} // namespace

TConnectSequence::TConnectSequence(QObject* parent) : QObject(parent) {
    ReSendTimer.setSingleShot(true);
    connect(&ReSendTimer, &QTimer::timeout, this, &TConnectSequence::ReSendTimerTimer);
    fSettleTimer.setSingleShot(true);
    connect(&fSettleTimer, &QTimer::timeout, this, &TConnectSequence::SendCurrentCommand);
}

TConnectSequence::~TConnectSequence() {
    ResetDevice();
}

void TConnectSequence::SetLink(TOwedAnswers* owed, const TLinkTimings& timings) {
    fOwed = owed ? owed : &fOwnOwed;
    fSeenWriteOffs = fOwed->WriteOffs();
    fTimings = timings;
}

void TConnectSequence::SetDevice(TDevice* aDevice) {
    ResetDevice();
    FDevice = aDevice;
    if (!FDevice)
        return;
    FOldDataHandler = FDevice->OnData;
    fOldLineLostHandler = FDevice->OnLineLost;
    FDevice->OnData = [this](TDevice*, const QByteArray& d) { DataReceived(d); };
    FDevice->OnLineLost = [this](TDevice*) { LineLost(); };
    fOwnsData = true;
}

void TConnectSequence::ResetDevice() {
    if (FDevice && fOwnsData) {
        FDevice->OnData = FOldDataHandler;
        FDevice->OnLineLost = fOldLineLostHandler;
    }
    fOwnsData = false;
}

bool TConnectSequence::Running() const {
    return fActive && !FBreack;
}

QString TConnectSequence::CurrentCommand() const {
    if (FIndex < 0 || FIndex >= FCommandList.size())
        return {};
    return FCommandList.at(FIndex);
}

void TConnectSequence::After(int ms, void (TConnectSequence::*step)()) {
    const unsigned generation = fGeneration;
    QPointer<TConnectSequence> self(this);
    QTimer::singleShot(ms, this, [self, generation, step] {
        if (self && self->fGeneration == generation && !self->FBreack)
            (self.data()->*step)();
    });
}

void TConnectSequence::ClosePort() {
    if (FDevice)
        FDevice->SetComActive(false);
}

void TConnectSequence::Stop() {
    // Pending pauses, resends and waits for owed answers end here.
    ++fGeneration;
    ReSendTimer.stop();
    fSettleTimer.stop();
    fSendPending = false;
    fActive = false;
}

bool TConnectSequence::Connect(const QString& port, bool modem, const QString& phone) {
    if (!FDevice)
        return false;
    FBreack = false;
    if (modem && phone.trimmed().isEmpty())
        return false;
    Stop();
    FRepeat = 0;
    FIndex = -1;
    FList.clear();
    FBuffer.Clear();
    FCommandList.clear();
    FPhone = phone;
    fLineLost = false;
    // A fresh attempt identifies the panel afresh.
    FVer.clear();
    FMemory.clear();
    FMajor = FMinor = FRelease = -1;
    emit ConnectEnabled(false);

    if (FDevice->ComActive())
        FDevice->SetComActive(false);
    FDevice->SetPort(port);
    FDevice->SetComActive(true);
    if (!FDevice->ComActive()) {
        emit ConnectEnabled(true);
        return false;
    }

    FModem = modem;
    fOwed->SetModem(modem);
    fOwed->SetLateBound(fTimings.LateBound(modem));
    fActive = true;
    if (!modem) {
        FCommandList = {kCableConnect, QStringLiteral("+v"), QStringLiteral("+typepan")};
        FIndex = 0;
        SendCurrentCommand();
        return true;
    }
    // The modem's RTS pulse; a port without modem lines (a pseudo-terminal)
    // refuses it, which is logged and does not stop the sequence.
    fRegistrationAsks = 0;
    emit Step(QStringLiteral("Сброс модема…"));
    if (!EscapeCommFunction(FDevice->PortHandle(), CLRRTS))
        Log(QStringLiteral("Clear RTS: порт не управляет линией RTS"));
    else
        Log(QStringLiteral("Clear RTS"));
    After(fTimings.RtsPulseMs, &TConnectSequence::RtsSet);
    return true;
}

void TConnectSequence::RtsSet() {
    if (!EscapeCommFunction(FDevice->PortHandle(), SETRTS))
        Log(QStringLiteral("Set RTS: порт не управляет линией RTS"));
    else
        Log(QStringLiteral("Set RTS"));
    After(fTimings.RtsPulseMs + fTimings.ModemSettleMs, &TConnectSequence::StartModemCommands);
}

void TConnectSequence::StartModemCommands() {
    FCommandList = {QStringLiteral("ATZ"), QStringLiteral("AT"), QStringLiteral("AT"),
                    QStringLiteral("AT+CREG?")};
    FIndex = 0;
    SendCurrentCommand();
}

void TConnectSequence::SendCurrentCommand() {
    if (FBreack || !FDevice || !fActive)
        return;
    if (FIndex == -1) {
        fActive = false;
        emit Succeeded();
        return;
    }
    const QString cmd = CurrentCommand();
    if (cmd.isEmpty())
        return;
    const QByteArray bytes = ToCp1251(cmd);
    // Answers still owed to other commands come first.
    if (!fOwed->OwesOnly(bytes) && !fOwed->ExpireDue()) {
        fSendPending = true;
        fSettleTimer.start(int(std::max<uint32_t>(1, fOwed->MsUntilDue())));
        return;
    }
    fSendPending = false;
    fSettleTimer.stop();
    if (cmd == QLatin1String("AT+CREG?") && FRepeat == 0)
        ++fRegistrationAsks;
    if (FRepeat == 0)
        emit Step(ConnectStepText(cmd, fRegistrationAsks));
    if (fOwed->Empty())
        FBuffer.Clear(); // text owed to nobody is not this command's answer
    const int interval = ResendInterval(cmd);
    // The command's answer is awaited as long as its resend interval.
    fOwed->ExpectNextWithin(uint32_t(interval));
    FDevice->Command(bytes, true);
    if (fOwed == &fOwnOwed)
        fOwnOwed.Written(bytes);
    ReSendTimer.start(interval);
}

bool TConnectSequence::IdentityAnswer(const QString& cmd, const QStringList& answer) {
    // The version's answer carries a value line (one without "REV" is a
    // panel of another kind, told as incompatible); a lone "OK" is someone
    // else's. The memory type's value line is a hexadecimal number, or there
    // is none ("Unknown"); a version line there is the version's answer
    // again.
    if (cmd == QLatin1String("+v"))
        return answer.size() >= 2;
    if (cmd == QLatin1String("+typepan"))
        return answer.size() < 2 || ValueFitsShape(cmd, AnswerValue(answer).trimmed());
    return true;
}

int TConnectSequence::ResendInterval(const QString& cmd) const {
    if (cmd.contains(QLatin1String("ATD")))
        return fTimings.DialResendMs;
    return FModem ? fTimings.ModemResendMs : fTimings.CableResendMs;
}

void TConnectSequence::ReSendTimerTimer() {
    ReSendTimer.stop();
    if (FBreack || !fActive)
        return;
    if (FRepeat < fTimings.ConnectResends) {
        ++FRepeat;
        DropBrokenAnswer();
        SendCurrentCommand();
        return;
    }
    Stop();
    FIndex = -2;
    ClosePort();
    emit Failed(QStringLiteral("Ошибка подключения"), true);
    emit ConnectEnabled(true);
}

void TConnectSequence::DropBrokenAnswer() {
    // The panel sends the lines of one answer back to back. An answer begun
    // and then silent for half the resend interval broke off (the line
    // dropped bytes, the call faltered): what came of it is dropped, so
    // that the answer to the resent command neither continues its
    // unfinished line nor follows its lines.
    const bool begun = !FBuffer.Pending().isEmpty() || !FList.isEmpty();
    if (!begun || !fSinceByte.isValid() || fSinceByte.elapsed() < ResendInterval(CurrentCommand()) / 2)
        return;
    FBuffer.Clear();
    FList.clear();
    fOwed->RestartAnswer();
}

void TConnectSequence::Cancel() {
    emit ConnectEnabled(true);
    // A cancelled attempt must not report a failure later.
    FBreack = true;
    Stop();
    ClosePort();
}

void TConnectSequence::LineLost() {
    if (!fActive) {
        if (fOldLineLostHandler)
            fOldLineLostHandler(FDevice);
        return;
    }
    // Nothing more can be written or heard: end at once instead of
    // resending into a port that is gone.
    const QString port = FDevice->Port();
    Stop();
    fLineLost = true;
    FIndex = -2;
    ClosePort();
    emit Failed(LineLostMessage(port), true);
    emit ConnectEnabled(true);
}

void TConnectSequence::DataReceived(const QByteArray& Data) {
    // An answer past its deadline was written off: what comes now is not it.
    fOwed->ExpireDue();
    fSinceByte.start();
    if (fOwed->WriteOffs() != fSeenWriteOffs) {
        fSeenWriteOffs = fOwed->WriteOffs();
        FBuffer.Clear();
    }
    const QByteArray current = ToCp1251(CurrentCommand());
    bool settled = false;
    // The whole batch is sorted before anything is written, so that no line
    // that came before the next command is taken as its answer.
    for (const QString& line : FBuffer.Feed(Data)) {
        Log(QStringLiteral(">> ") + line);
        const TOwedAnswers::TFate fate = fOwed->Take(line);
        settled = settled || fate.Completes;
        if (fActive && !fSendPending && !current.isEmpty() && fate.Owed && fate.Command == current)
            FList.append(line);
    }
    if (fSendPending) {
        if (settled)
            SendCurrentCommand();
        return;
    }
    if (FList.isEmpty() || FBreack || !fActive || CurrentCommand().isEmpty())
        return;
    try {
        ProcessAnswer(FList);
    } catch (const std::exception&) {
        Stop();
        FIndex = -2;
        ClosePort();
        emit Failed(QStringLiteral("Ошибка при подключении"), false);
        emit ConnectEnabled(true);
    }
}

void TConnectSequence::ProcessAnswer(QStringList& L) {
    const QString current = CurrentCommand();
    if (current.contains(QLatin1String("ATD"))) {
        for (const QString& line : L) {
            if (line.toUpper().contains(QLatin1String("CONNECT"))) {
                ReSendTimer.stop();
                L.clear();
                FRepeat = 0;
                ++FIndex;
                SendCurrentCommand();
                return;
            }
        }
    }

    for (qsizetype i = 0; i < L.size(); ++i) {
        if (L.at(i) != kOK)
            continue;
        const QString cmd = CurrentCommand();
        if (!IdentityAnswer(cmd, L.mid(0, i + 1))) {
            // Another command's late or repeated answer, not the panel's
            // identity: dropped. The command's own answer is still to come
            // (or the resends run out).
            L.remove(0, i + 1);
            i = -1;
            continue;
        }
        ReSendTimer.stop();
        bool emptied = true;
        if (cmd == kCableConnect || cmd == kCableDisconnect || cmd == QLatin1String("AT") ||
            cmd == QLatin1String("ATZ")) {
            L.clear();
        } else if (cmd == QLatin1String("AT+CREG?")) {
            const bool registered = L.join(QString()).contains(QLatin1Char('1'));
            L.clear();
            if (!registered) {
                // Ask the same question again after a pause.
                FRepeat = 0;
                After(fTimings.RegistrationRetryMs, &TConnectSequence::SendCurrentCommand);
                return;
            }
            FCommandList << QStringLiteral("ATD%1").arg(FPhone) << QStringLiteral("+v")
                         << QStringLiteral("+typepan");
        } else if (cmd == QLatin1String("+v")) {
            ParseVersion(L, FVer, FMajor, FMinor, FRelease);
            L.clear();
        } else if (cmd == QLatin1String("+typepan")) {
            ParseMemoryType(L, FMemory);
            L.clear();
        } else {
            emptied = false;
        }
        FRepeat = 0;
        if (FIndex == FCommandList.size() - 1)
            FIndex = -1;
        else
            ++FIndex;
        SendCurrentCommand();
        if (emptied || FIndex == -1)
            return;
    }
}

QString ConnectStepText(const QString& command, int registrationAsks) {
    if (command == kCableConnect)
        return QStringLiteral("Подключение по кабелю…");
    if (command == QLatin1String("ATZ") || command == QLatin1String("AT"))
        return QStringLiteral("Подготовка модема…");
    if (command == QLatin1String("AT+CREG?"))
        return QStringLiteral("Ожидание регистрации в сети (%1)…").arg(registrationAsks);
    if (command.startsWith(QLatin1String("ATD")))
        return QStringLiteral("Набор номера…");
    return QStringLiteral("Опознание панели…");
}
