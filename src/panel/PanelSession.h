#pragma once

#include "ConnectOptions.h"
#include "LinkTimings.h"
#include "OperationResult.h"
#include "OperationState.h"
#include "PanelInfo.h"
#include "SessionExchange.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class TCommandExchange;
class TConnectSequence;
class TDevice;
class TDisconnectSequence;

// One panel at a time, without widgets: the serial device, the command
// exchange with its owed answers, the link's timings, the connection and
// disconnection sequences, the connected panel's identity, the device's
// wake-up, the line or the modem's call lost, and the one operation state
// with its rules (StateRules.h). The window and the command line drive it
// and listen to what it says; neither opens a port, runs a sequence or
// judges a loss itself.
//
// Connecting: BeginConnecting, then one or more attempts (Connect), each of
// which ends in Connected, ConnectFailed, or nothing (CancelConnect); then
// EndConnecting gives up what has not connected. An identified panel puts
// the session into Connected, BootLoader or Incompatible (TPanelInfo::Kind).
//
// An operation (BeginOperation) suspends the state it began from and gives
// it back at its end, so that operations nest (writing all pages, one
// page's erase); EndOperation returns what it came to. A line lost or a
// close during an operation moves the state on: the operation's wait ends at
// once, its further requests fail, and its end leaves the state where it is.
class TPanelSession : public QObject {
    Q_OBJECT
public:
    explicit TPanelSession(const TLinkTimings& timings = {}, QObject* parent = nullptr);
    ~TPanelSession() override;

    // The link's time-outs, retries and pauses for the exchange and every
    // sequence from now on (tests shorten them).
    void SetLinkTimings(const TLinkTimings& timings);
    const TLinkTimings& LinkTimings() const { return fTimings; }

    TOperationState State() const { return fState; }
    // Nothing runs (the state's rule).
    bool Idle() const;
    // A panel is connected: idle with one, or in an operation begun with one.
    bool HasPanel() const;

    // ---- connecting
    // Disconnected to Connecting: a connection is to be made. False (and
    // nothing changes) from any other state.
    bool BeginConnecting();
    // One attempt while connecting: opens the port and runs the connection
    // sequence. It ends in Connected, in ConnectFailed, or in nothing when
    // cancelled.
    TConnectStart Connect(const TConnectOptions& options);
    // Stops the attempt running and closes the port; still connecting.
    void CancelConnect();
    // No more attempts: one that has not connected is stopped and the port
    // closed; back to Disconnected (or on with closing). Nothing once
    // connected.
    void EndConnecting();
    TConnectSequence& Sequence() const { return *fSequence; }

    // The panel connected last (kept after it is disconnected; a release of
    // -1 before the first connection).
    const TPanelInfo& Panel() const { return fPanel; }

    // ---- disconnecting and closing
    // From an idle state with a panel: the disconnect writes and pauses,
    // then the port closes, Disconnected. False when not possible now.
    bool Disconnect();
    // The window closes: whatever runs is let to unwind first (an
    // operation's wait ends at once, an attempt stops, a connected panel is
    // disconnected properly); then CloseReady. The front end that began
    // connecting ends it (EndConnecting) for the close to go on.
    void Close();
    // Nothing is left to unwind: disconnected, or closing and all ended.
    bool ReadyToClose() const;

    // ---- operations
    // Enters `operation` (an IsOperation state) when the state rules let it
    // begin from the state now, and never from an event handled while an
    // operation waits for the panel. Every successful call is paired with
    // one EndOperation.
    bool BeginOperation(TOperationState operation);
    TOperationResult EndOperation();
    // The operation running failed at `names` (parameters, steps, messages).
    void ReportFailure(const QStringList& names);
    // Ends the wait in progress at once (a busy indicator's Cancel): the
    // request fails, and the operations running end as cancelled.
    void CancelWait();

    // ---- the link
    // The pages' exchange: requests pass only inside an operation.
    TPanelExchange& Exchange() { return fPageExchange; }
    // The exchange itself, for a front end that runs its own requests.
    TCommandExchange& CommandExchange() const { return *fExchange; }
    TDevice& Device() const { return *fDevice; }
    // The device's periodic wake-up: on only with a panel connected and
    // where the state allows it.
    void SetWakeUp(bool on);

    // The session's exchange saw the panel take a journal erase.
    void JournalWasErased();

signals:
    void StateChanged(TOperationState state);
    // One log line: "<< " and a command as written, ">> " and a line
    // received, and the connection's own notes.
    void LogLine(const QString& text);
    // A new attempt may be started (true), or one runs (false).
    void ConnectEnabled(bool enabled);
    // The port did not open: the device's error code and the system's
    // reason (errno, 0 when none).
    void PortFailed(const QString& port, int code, int osError);
    // An attempt stopped: "Ошибка подключения" after the resends ran out (an
    // error box), "Ошибка при подключении" when an answer could not be
    // handled (a plain box), the line-lost message when the port went away
    // (an error box).
    void ConnectFailed(const QString& message, bool errorIcon);
    // The connection's step under way, in words.
    void ConnectStep(const QString& text);
    // A panel is identified and the session is in its state.
    void Connected(const TPanelInfo& panel);
    // The port went away or the modem dropped the call: whatever ran has
    // ended, the port is closed.
    void Lost(const QString& message);
    // The disconnect is done (or the line was lost) and the port closed.
    void Disconnected();
    // The panel took a journal erase: its journal is empty now.
    void JournalErased();
    // Closing: everything has unwound.
    void CloseReady();

private:
    struct TRunning {
        TOperationState Resumed; // the state the operation began from
        TOperationResult Result;
    };

    void SetState(TOperationState state);
    void SequenceSucceeded();
    void StartDisconnect();
    void FinishDisconnect();
    void ContinueClosing();
    void LineLost();
    void CallLost();
    // Every operation running comes to `status` (lost, cancelled).
    void MarkRunning(TOperationResult::TStatus status);

    TLinkTimings fTimings;
    // The exchange and the sequences use the device: they go first.
    std::unique_ptr<TDevice> fDevice;
    std::unique_ptr<TCommandExchange> fExchange;
    std::unique_ptr<TConnectSequence> fSequence;
    QPointer<TDisconnectSequence> fDisconnect;
    TSessionExchange fPageExchange{*this};

    TOperationState fState = TOperationState::Disconnected;
    std::vector<TRunning> fRunning; // innermost last
    bool fConnecting = false;       // between BeginConnecting and a connection or EndConnecting
    TConnectOptions fAttempt;
    TPanelInfo fPanel;
};
