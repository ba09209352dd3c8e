#include "PanelSession.h"

#include "CommandExchange.h"
#include "ConnectSequence.h"
#include "DisconnectSequence.h"
#include "LinkMessages.h"
#include "StateRules.h"
#include "serial/ComTypes.h"
#include "serial/Device.h"

#include <cerrno>

TPanelSession::TPanelSession(const TLinkTimings& timings, QObject* parent)
    : QObject(parent), fTimings(timings), fDevice(std::make_unique<TDevice>()),
      fExchange(std::make_unique<TCommandExchange>(fDevice.get())),
      fSequence(std::make_unique<TConnectSequence>()) {
    // The link: 19200 baud, 8 data bits, no parity, one stop bit.
    fDevice->SetWakeUpInterval(fTimings.FirstWakeUpMs);
    fDevice->OnComCreateError = [this](TDevice*, int code) {
        // The port has just failed to open: errno still holds the system's
        // reason for it.
        const int reason = errno;
        emit PortFailed(fDevice->Port(), code, reason);
    };
    fDevice->OnLineLost = [this](TDevice*) { LineLost(); };
    fExchange->SetTimings(fTimings);
    fExchange->Attach();
    connect(fExchange.get(), &TCommandExchange::LogLine, this, &TPanelSession::LogLine);
    connect(fExchange.get(), &TCommandExchange::CallLost, this, &TPanelSession::CallLost);
    connect(fSequence.get(), &TConnectSequence::LogLine, this, &TPanelSession::LogLine);
    connect(fSequence.get(), &TConnectSequence::ConnectEnabled, this, &TPanelSession::ConnectEnabled);
    connect(fSequence.get(), &TConnectSequence::Failed, this, &TPanelSession::ConnectFailed);
    connect(fSequence.get(), &TConnectSequence::Step, this, &TPanelSession::ConnectStep);
    // Taken once the sequence's own step has returned: whoever listens to
    // the sequence hears of its success before the session acts on it.
    connect(fSequence.get(), &TConnectSequence::Succeeded, this, &TPanelSession::SequenceSucceeded,
            Qt::QueuedConnection);
}

TPanelSession::~TPanelSession() {
    // The sequences give the device's handlers back as they go; then the
    // device calls nothing of the session any more.
    delete fDisconnect;
    fSequence.reset();
    fExchange->Abort();
    fDevice->SetWakeUp(false);
    fDevice->OnLineLost = nullptr;
    fDevice->OnComCreateError = nullptr;
}

void TPanelSession::SetLinkTimings(const TLinkTimings& timings) {
    fTimings = timings;
    fExchange->SetTimings(timings);
}

bool TPanelSession::Idle() const {
    return StateRule(fState).Idle;
}

bool TPanelSession::HasPanel() const {
    switch (fState) {
    case TOperationState::Connected:
    case TOperationState::BootLoader:
    case TOperationState::Incompatible: return true;
    default:
        // A settings file saved or loaded with no panel runs from
        // Disconnected.
        return IsOperation(fState) && !fRunning.empty() &&
               fRunning.front().Resumed != TOperationState::Disconnected;
    }
}

void TPanelSession::SetState(TOperationState state) {
    if (state == fState)
        return;
    fState = state;
    // A state without the wake-up stops it (the upload alone talks to the
    // panel); whoever turned it off turns it on again where it may run.
    if (!StateRule(state).WakeUp)
        fDevice->SetWakeUp(false);
    emit StateChanged(state);
}

// ---- connecting -----------------------------------------------------------

bool TPanelSession::BeginConnecting() {
    if (fState != TOperationState::Disconnected)
        return false;
    fConnecting = true;
    SetState(TOperationState::Connecting);
    return true;
}

TConnectStart TPanelSession::Connect(const TConnectOptions& options) {
    if (!fConnecting || fState != TOperationState::Connecting)
        return TConnectStart::NotConnecting;
    if (options.Modem && options.Phone.trimmed().isEmpty())
        return TConnectStart::NoPhone;
    fAttempt = options;
    // The sequence takes the device's data and line loss while it runs, and
    // shares the answers owed with the exchange that records every write.
    fSequence->SetLink(&fExchange->OwedAnswers(), fTimings);
    fSequence->SetDevice(fDevice.get());
    if (!fSequence->Connect(options.Port, options.Modem, options.Phone))
        return TConnectStart::PortFailed;
    return TConnectStart::Started;
}

void TPanelSession::CancelConnect() {
    if (fConnecting)
        fSequence->Cancel();
}

void TPanelSession::EndConnecting() {
    if (!fConnecting)
        return;
    fConnecting = false;
    // An attempt given up leaves nothing open behind.
    fSequence->Cancel();
    fSequence->ResetDevice();
    fExchange->Attach();
    fDevice->SetComActive(false);
    if (fState == TOperationState::Closing)
        ContinueClosing();
    else
        SetState(TOperationState::Disconnected);
}

void TPanelSession::SequenceSucceeded() {
    // Given up meanwhile, or the line lost on the way (which has been told
    // and closed the port): that is no connection.
    if (!fConnecting || fState != TOperationState::Connecting || !fDevice->ComActive())
        return;
    const TConnectSequence& s = *fSequence;
    fPanel = {fAttempt.Port, s.Modem(), {s.Ver(), s.Major(), s.Minor(), s.Release(), s.Memory()}};
    fConnecting = false;
    fSequence->ResetDevice();
    fExchange->Attach();
    fExchange->SetModem(fPanel.Modem);
    switch (fPanel.Kind()) {
    case TPanelInfo::Configurable: SetState(TOperationState::Connected); break;
    // An update broke off: the panel waits in its boot loader and can only
    // be updated again. The connection stands for that alone.
    case TPanelInfo::BootLoader: SetState(TOperationState::BootLoader); break;
    case TPanelInfo::Incompatible: SetState(TOperationState::Incompatible); break;
    }
    SetWakeUp(true);
    emit Connected(fPanel);
}

// ---- disconnecting ---------------------------------------------------------

bool TPanelSession::Disconnect() {
    if (!Idle() || fState == TOperationState::Disconnected)
        return false;
    StartDisconnect();
    return true;
}

void TPanelSession::StartDisconnect() {
    fDevice->SetWakeUp(false);
    if (fState != TOperationState::Closing)
        SetState(TOperationState::Disconnecting);
    fDisconnect =
        new TDisconnectSequence(fDevice.get(), fPanel.Modem, fExchange->OwedAnswers(), fTimings, this);
    connect(fDisconnect, &TDisconnectSequence::Done, this, [this] {
        fDisconnect->deleteLater();
        fDisconnect = nullptr;
        FinishDisconnect();
    });
    fDisconnect->Start();
}

void TPanelSession::FinishDisconnect() {
    if (fState == TOperationState::Closing)
        ContinueClosing();
    else
        SetState(TOperationState::Disconnected);
    emit Disconnected();
}

// ---- the line and the call lost ---------------------------------------------

void TPanelSession::LineLost() {
    switch (fState) {
    case TOperationState::Disconnected:
    case TOperationState::Disconnecting: return; // the port is closed or closes anyway
    case TOperationState::Closing:
        fExchange->Abort();
        MarkRunning(TOperationResult::Lost);
        if (!fDisconnect)
            fDevice->SetComActive(false);
        ContinueClosing();
        return;
    case TOperationState::Connecting:
        // Lost in the moment the sequence succeeded, before the session
        // has taken the connection: the attempt ends, nothing is connected.
        fSequence->Cancel();
        fDevice->SetComActive(false);
        break;
    default:
        // The port is gone (an adapter unplugged): nothing can be written
        // any more, so the disconnect is only local. The operation running
        // unwinds at once: its wait ends and every further request fails.
        fExchange->Abort();
        MarkRunning(TOperationResult::Lost);
        fDevice->SetWakeUp(false);
        fDevice->SetComActive(false);
        SetState(TOperationState::Disconnected);
        emit Disconnected();
        break;
    }
    emit Lost(LineLostMessage(fDevice->Port()));
}

void TPanelSession::CallLost() {
    // The modem dropped a call that was up: for the installer it is the
    // panel lost as much as an unplugged adapter is. While connecting the
    // sequence judges the modem's lines itself (a failed dial is redialled),
    // and a disconnect ends the call anyway.
    switch (fState) {
    case TOperationState::Disconnected:
    case TOperationState::Disconnecting:
    case TOperationState::Connecting: return;
    default: LineLost(); break;
    }
}

// ---- closing ----------------------------------------------------------------

void TPanelSession::Close() {
    if (fState == TOperationState::Closing)
        return;
    const TOperationState was = fState;
    SetState(TOperationState::Closing);
    if (IsOperation(was)) {
        MarkRunning(TOperationResult::Cancelled);
        fExchange->Abort();
    } else if (was == TOperationState::Connecting) {
        // Nothing more is written; EndConnecting goes on with the close.
        fSequence->Cancel();
    } else if (was != TOperationState::Disconnecting) {
        ContinueClosing();
    }
    // Disconnecting: the disconnect's end goes on with the close.
}

bool TPanelSession::ReadyToClose() const {
    if (fState == TOperationState::Disconnected)
        return !fConnecting;
    return fState == TOperationState::Closing && fRunning.empty() && !fDisconnect && !fConnecting &&
           !fDevice->ComActive();
}

void TPanelSession::ContinueClosing() {
    // What runs is let to unwind first; a connected panel is disconnected
    // properly; then the close may go on.
    if (!fRunning.empty() || fDisconnect || fConnecting)
        return;
    if (fDevice->ComActive()) {
        StartDisconnect();
        return;
    }
    emit CloseReady();
}

// ---- operations -------------------------------------------------------------

bool TPanelSession::BeginOperation(TOperationState operation) {
    if (!MayBegin(fState, operation))
        return false;
    // An operation's own steps nest, but nothing begins from an event
    // handled while it waits for the panel.
    if (IsOperation(fState) && fExchange->Waiting())
        return false;
    fRunning.push_back({fState, {}});
    SetState(operation);
    return true;
}

TOperationResult TPanelSession::EndOperation() {
    if (fRunning.empty())
        return {TOperationResult::Refused, {}};
    const TRunning ended = fRunning.back();
    fRunning.pop_back();
    if (!fRunning.empty())
        fRunning.back().Result.Merge(ended.Result);
    // A lost line or a close during the operation has moved the state on;
    // it stays where it is.
    if (IsOperation(fState))
        SetState(ended.Resumed);
    else if (fState == TOperationState::Closing)
        ContinueClosing();
    return ended.Result;
}

void TPanelSession::ReportFailure(const QStringList& names) {
    if (fRunning.empty())
        return;
    fRunning.back().Result.Merge({TOperationResult::Failed, names});
}

void TPanelSession::CancelWait() {
    fExchange->Abort();
    MarkRunning(TOperationResult::Cancelled);
}

void TPanelSession::MarkRunning(TOperationResult::TStatus status) {
    for (TRunning& running : fRunning)
        running.Result.Merge({status, {}});
}

void TPanelSession::SetWakeUp(bool on) {
    fDevice->SetWakeUp(on && HasPanel() && StateRule(fState).WakeUp);
}

void TPanelSession::JournalWasErased() {
    emit JournalErased();
}
