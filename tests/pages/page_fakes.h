#pragma once

// A scripted panel dialogue and a recording page host for page tests.
#include "pages/PageHost.h"
#include "panel/PanelExchange.h"

#include <QMap>
#include <QStringList>

#include <functional>
#include <ostream>
#include <vector>

// Readable texts in failed expectations.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Answers each command from a script; a command without an answer fails as
// a time-out would. Every command is recorded with its time-out and the
// state of Uparam at the moment it went out.
class FakeExchange : public TPanelExchange {
public:
    struct Sent {
        QString Command;
        uint32_t TimeOut;
        bool Uparam;
    };

    QMap<QString, QStringList> answers;
    std::vector<Sent> sent;
    // Runs inside the exchange, as the window's message loop would.
    std::function<void(const QString& command)> during;
    // True while `during` runs: the exchange is waiting for the panel.
    bool waiting = false;

    bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) override;
    bool Uparam() const override { return fUparam; }
    void SetUparam(bool value) override { fUparam = value; }

    QStringList Commands() const;

private:
    bool fUparam = false;
};

// Records what a page asks of its host. Operations are taken as the window
// takes them: from idle, or nested from the running operation's own steps,
// never while the exchange waits.
class FakeHost : public IPageHost {
public:
    struct ErrorListCall {
        QStringList Errors;
        TWorkMode Mode;
    };

    FakeExchange exchange;
    bool connected = true;
    int release = -1;
    bool wakeUp = true;
    // The operation states entered, in order, and those still held.
    std::vector<TOperationState> began;
    std::vector<TOperationState> held;
    int ended = 0;
    std::vector<ErrorListCall> errorLists;
    QStringList messages;
    QStringList errors;
    QStringList questions;
    bool answerYes = true;
    std::vector<TFileChoice> fileChoices;
    QString chosenFile;
    QStringList busyTexts;
    std::vector<bool> busyCancellable; // one per BeginBusy
    QStringList busyUpdates;           // SetBusyText, in order
    bool busy = false;
    bool cancelled = false;

    TPanelExchange& Exchange() override { return exchange; }
    bool isConnected() const override { return connected; }
    int DeviceRelease() const override { return release; }
    void SetWakeUp(bool on) override { wakeUp = on; }
    bool BeginOperation(TOperationState state) override;
    void EndOperation() override;
    void ShowErrorList(const QStringList& list, TWorkMode mode) override {
        errorLists.push_back({list, mode});
    }
    void ShowMessage(const QString& text) override { messages.append(text); }
    void ShowError(const QString& text) override { errors.append(text); }
    bool Confirm(const QString& question) override;
    QString ChooseFile(const TFileChoice& choice) override;
    void BeginBusy(const QString& text, bool cancellable) override;
    void SetBusyProgress(int, int) override {}
    void SetBusyText(const QString& text) override { busyUpdates.append(text); }
    bool BusyCancelled() const override { return cancelled; }
    void EndBusy() override { busy = false; }
};

// The recording host with a real panel dialogue (an exchange over a pty) in
// place of the script.
class LinkHost : public FakeHost {
public:
    explicit LinkHost(TPanelExchange& link) : fLink(link) {}
    TPanelExchange& Exchange() override { return fLink; }

private:
    TPanelExchange& fLink;
};
