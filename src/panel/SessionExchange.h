#pragma once

#include "PanelExchange.h"

#include <QString>

class TPanelSession;

// The panel dialogue as the session hands it to pages, the journal reader
// and the firmware upload: the session's command exchange, but only inside
// an operation; at any other moment (no operation, the window closing, the
// line lost) a request fails at once without a word to the panel. A journal
// erase the panel took, whoever sent it, is told to the session.
class TSessionExchange : public TPanelExchange {
public:
    // The panel's journal erase.
    static const QString kEraseCommand;

    explicit TSessionExchange(TPanelSession& session) : fSession(session) {}

    bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) override;
    int Attempts() const override;
    bool Uparam() const override;
    void SetUparam(bool value) override;
    void SetLeastAnswerTime(uint32_t ms) override;

private:
    TPanelSession& fSession;
};
