#pragma once

#include "pages/PageHost.h"

#include <QString>

class QTextStream;
class TCliSession;

// The pages' host on the command line: the panel dialogue is the session's,
// and what the window would show goes to standard error as lines, each
// after the name of the page it came from (failed parameters with their
// names, the page's messages, what a long wait is for). Questions are
// answered from the command line's options (SetAnswer) and told with their
// answer; nothing chooses a file. Every failure a page reports (its error
// list, an error message) marks the run as failed.
class TCliPageHost : public IPageHost {
public:
    TCliPageHost(TCliSession& session, QTextStream& err) : fSession(session), fErr(err) {}

    // The page whose lines follow.
    void SetPage(const QString& name) { fPage = name; }
    // The answer to every question from now on.
    void SetAnswer(bool yes) { fAnswer = yes; }
    // Quiet: the questions and long waits are not told, failures still are.
    void SetQuiet(bool quiet) { fQuiet = quiet; }
    // A page reported a failure since the last ClearFailed.
    bool Failed() const { return fFailed; }
    void ClearFailed() { fFailed = false; }

    TPanelExchange& Exchange() override;
    bool isConnected() const override;
    int DeviceRelease() const override;
    void SetWakeUp(bool on) override;
    bool BeginOperation(TOperationState state) override;
    void EndOperation() override {}
    void ShowErrorList(const QStringList& errors, TWorkMode mode) override;
    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    bool Confirm(const QString& question) override;
    QString ChooseFile(const TFileChoice&) override { return {}; }
    void BeginBusy(const QString& text, bool cancellable) override;
    void SetBusyProgress(int, int) override {}
    bool BusyCancelled() const override { return false; }
    void EndBusy() override {}

private:
    void Line(const QString& text);

    TCliSession& fSession;
    QTextStream& fErr;
    QString fPage;
    bool fAnswer = false;
    bool fFailed = false;
    bool fQuiet = false;
};
