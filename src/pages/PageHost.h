#pragma once

#include "OperationState.h"
#include "StringConsts.h"

#include <QString>
#include <QStringList>

class TPanelArchive;
class TPanelExchange;

// A file to ask the user for: to open or to save, the dialog's caption, its
// filter ("ini файлы (*.ini);;все файлы (*)"), the name offered first and the
// extension added to a name typed without one.
struct TFileChoice {
    bool Save = false;
    QString Caption;
    QString Filter;
    QString DefaultName;
    QString DefaultSuffix;
};

// The answers to a question that may also be cancelled.
enum class TAnswer { Yes, No, Cancel };

// What a page may use of whatever holds it: the panel dialogue, the
// connection, the operation state, the error list, message boxes, file
// choices and a busy indicator. Pages never see the main window itself; the
// command line drives the same pages through a host of its own, so nothing
// here names a window type.
class IPageHost {
public:
    virtual ~IPageHost() = default;

    // The panel dialogue. Outside an operation (BeginOperation) the
    // window's exchange refuses every request at once.
    virtual TPanelExchange& Exchange() = 0;
    virtual bool isConnected() const = 0;
    // The connected panel's firmware release (TDeviceVersion::Release);
    // -1 before the first connection. Pages also get it through
    // TPageFrame::DevRelease on every connection.
    virtual int DeviceRelease() const = 0;
    // The device's periodic wake-up command ("+v" when the line was quiet).
    virtual void SetWakeUp(bool on) = 0;

    // Enters an operation state (IsOperation) for as long as a page talks to
    // the panel or works on a file. Refused (false) when something else runs:
    // another operation waiting for the panel, a connection, a disconnection,
    // the window closing, no panel connected. Called again from inside the
    // running operation's own steps (Writing, then Erasing) it nests. Every
    // successful call is paired with one EndOperation (TOperationScope).
    virtual bool BeginOperation(TOperationState state) = 0;
    virtual void EndOperation() = 0;

    // Failed parameter names, shown once at the end of an operation.
    virtual void ShowErrorList(const QStringList& errors, TWorkMode mode) = 0;
    // A plain message box (no icon, an OK button).
    virtual void ShowMessage(const QString& text) = 0;
    // An error message box (error icon, an OK button).
    virtual void ShowError(const QString& text) = 0;
    // A question with Yes and No (confirmation icon); true for Yes.
    virtual bool Confirm(const QString& question) = 0;
    // A question with Yes, No and Cancel (confirmation icon). A host that
    // cannot offer Cancel asks with Yes and No.
    virtual TAnswer Ask(const QString& question) { return Confirm(question) ? TAnswer::Yes : TAnswer::No; }
    // The file the user chose; empty when cancelled.
    virtual QString ChooseFile(const TFileChoice& choice) = 0;

    // A busy indicator for a long wait: what it waits for, the seconds gone
    // by, and a progress bar once SetBusyProgress gives a maximum above 0.
    // It keeps updating while the exchange waits. With `cancellable` it has
    // a Cancel button, which ends the wait in progress at once (the exchange
    // then fails) and makes BusyCancelled true until EndBusy.
    virtual void BeginBusy(const QString& text, bool cancellable) = 0;
    virtual void SetBusyProgress(int value, int maximum) = 0;
    // A new text for the indicator on show (a long read's progress: what
    // came of how much, the time left). A host whose indicator shows only
    // the first text may ignore it.
    virtual void SetBusyText(const QString& text) { (void)text; }
    virtual bool BusyCancelled() const = 0;
    virtual void EndBusy() = 0;

    // The panel archive the host keeps (journal records and
    // configurations); none by default.
    virtual TPanelArchive* PanelArchive() { return nullptr; }
};

// An operation state for the lifetime of the scope; check it before doing
// anything: a refused scope holds nothing.
class TOperationScope {
public:
    TOperationScope(IPageHost& host, TOperationState state)
        : fHost(host), fEntered(host.BeginOperation(state)) {}
    ~TOperationScope() {
        if (fEntered)
            fHost.EndOperation();
    }
    TOperationScope(const TOperationScope&) = delete;
    TOperationScope& operator=(const TOperationScope&) = delete;

    explicit operator bool() const { return fEntered; }

private:
    IPageHost& fHost;
    const bool fEntered;
};

// The busy indicator for the lifetime of the scope.
class TBusyScope {
public:
    TBusyScope(IPageHost& host, const QString& text, bool cancellable = false) : fHost(host) {
        fHost.BeginBusy(text, cancellable);
    }
    ~TBusyScope() { fHost.EndBusy(); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

    void Progress(int value, int maximum) { fHost.SetBusyProgress(value, maximum); }
    void Text(const QString& text) { fHost.SetBusyText(text); }
    bool Cancelled() const { return fHost.BusyCancelled(); }

private:
    IPageHost& fHost;
};
