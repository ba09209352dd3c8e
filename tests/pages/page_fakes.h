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

    bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) override;
    bool Uparam() const override { return fUparam; }
    void SetUparam(bool value) override { fUparam = value; }

    QStringList Commands() const;

private:
    bool fUparam = false;
};

class FakeHost : public IPageHost {
public:
    struct ErrorListCall {
        QStringList Errors;
        TWorkMode Mode;
    };

    FakeExchange exchange;
    bool connected = true;
    int disabled = 0;
    int enabled = 0;
    std::vector<ErrorListCall> errorLists;

    TPanelExchange& Exchange() override { return exchange; }
    bool isConnected() const override { return connected; }
    void DisableControls() override { ++disabled; }
    void EnableControls() override { ++enabled; }
    void ShowErrorList(const QStringList& errors, TWorkMode mode) override {
        errorLists.push_back({errors, mode});
    }
    void SetWakeUp(bool) override {}
    void ShowMessage(const QString& text) override { messages.append(text); }

    QStringList messages;
};
