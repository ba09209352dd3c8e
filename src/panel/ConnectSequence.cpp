#include "ConnectSequence.h"

#include "Cp1251.h"
#include "DeviceVersion.h"
#include "serial/Device.h"
#include "serial/nComPort.h"

#include <QPointer>

#include <exception>

TConnectTiming TConnectSequence::Timing;

namespace {
const QString kOK = QStringLiteral("OK");
const QString kCableConnect = QStringLiteral("CABLE CONNECT");
const QString kCableDisconnect = QStringLiteral("CABLE DISCONNECT");
} // namespace

TConnectSequence::TConnectSequence(QObject* parent) : QObject(parent) {
    ReSendTimer.setSingleShot(true);
    connect(&ReSendTimer, &QTimer::timeout, this, &TConnectSequence::ReSendTimerTimer);
}

TConnectSequence::~TConnectSequence() {
    ResetDevice();
}

void TConnectSequence::SetDevice(TDevice* aDevice) {
    ResetDevice();
    FDevice = aDevice;
    if (!FDevice)
        return;
    FOldDataHandler = FDevice->OnData;
    FDevice->OnData = [this](TDevice*, const QByteArray& d) { DataReceived(d); };
    fOwnsData = true;
}

void TConnectSequence::ResetDevice() {
    if (FDevice && fOwnsData)
        FDevice->OnData = FOldDataHandler;
    fOwnsData = false;
}

bool TConnectSequence::Running() const {
    return FIndex >= 0 && !FBreack;
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

bool TConnectSequence::Connect(const QString& port, bool modem, const QString& phone) {
    if (!FDevice)
        return false;
    FBreack = false;
    if (modem && phone.trimmed().isEmpty())
        return false;
    ++fGeneration;
    ReSendTimer.stop();
    FRepeat = 0;
    FIndex = -1;
    FList.clear();
    FBuffer.Clear();
    FCommandList.clear();
    FPhone = phone;
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
    if (!modem) {
        FCommandList = {kCableConnect, QStringLiteral("+v"), QStringLiteral("+typepan")};
        FIndex = 0;
        SendCurrentCommand();
        return true;
    }
    // The modem's RTS pulse; a port without modem lines (a pseudo-terminal)
    // refuses it, which is logged and does not stop the sequence.
    if (!EscapeCommFunction(FDevice->PortHandle(), CLRRTS))
        Log(QStringLiteral("Clear RTS: порт не управляет линией RTS"));
    else
        Log(QStringLiteral("Clear RTS"));
    After(Timing.RtsPulseMs, &TConnectSequence::RtsSet);
    return true;
}

void TConnectSequence::RtsSet() {
    if (!EscapeCommFunction(FDevice->PortHandle(), SETRTS))
        Log(QStringLiteral("Set RTS: порт не управляет линией RTS"));
    else
        Log(QStringLiteral("Set RTS"));
    After(Timing.RtsPulseMs + Timing.ModemSettleMs, &TConnectSequence::StartModemCommands);
}

void TConnectSequence::StartModemCommands() {
    FCommandList = {QStringLiteral("ATZ"), QStringLiteral("AT"), QStringLiteral("AT"),
                    QStringLiteral("AT+CREG?")};
    FIndex = 0;
    SendCurrentCommand();
}

void TConnectSequence::SendCurrentCommand() {
    if (FBreack || !FDevice)
        return;
    if (FIndex == -1) {
        emit Succeeded();
        return;
    }
    const QString cmd = CurrentCommand();
    if (cmd.isEmpty())
        return;
    int interval = Timing.CableResendMs;
    if (cmd.contains(QLatin1String("ATD")))
        interval = Timing.DialResendMs;
    else if (FModem)
        interval = Timing.ModemResendMs;
    FDevice->Command(ToCp1251(cmd), true);
    ReSendTimer.start(interval);
}

void TConnectSequence::ReSendTimerTimer() {
    ReSendTimer.stop();
    if (FBreack)
        return;
    if (FRepeat < kMaxResends) {
        ++FRepeat;
        SendCurrentCommand();
        return;
    }
    FIndex = -2;
    ClosePort();
    emit Failed(QStringLiteral("Ошибка подключения"), true);
    emit ConnectEnabled(true);
}

void TConnectSequence::Cancel() {
    emit ConnectEnabled(true);
    // Pending pauses and resends end here too: a cancelled attempt must not
    // report a failure later.
    FBreack = true;
    ++fGeneration;
    ReSendTimer.stop();
    ClosePort();
}

void TConnectSequence::DataReceived(const QByteArray& Data) {
    const QStringList lines = FBuffer.Feed(Data);
    for (const QString& line : lines) {
        FList.append(line);
        Log(QStringLiteral(">> ") + line);
    }
    if (FList.isEmpty() || FBreack || CurrentCommand().isEmpty())
        return;
    try {
        ProcessAnswer(FList);
    } catch (const std::exception&) {
        ReSendTimer.stop();
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
        ReSendTimer.stop();
        const QString cmd = CurrentCommand();
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
                After(Timing.RegistrationRetryMs, &TConnectSequence::SendCurrentCommand);
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
