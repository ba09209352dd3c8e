#pragma once

#include "PageHost.h"
#include "ParamTable.h"
#include "StringConsts.h"

#include <QStringList>
#include <QWidget>

#include <functional>

// The contract every page keeps. The main window creates each page once,
// calls Init, and runs the rest from its actions and the settings file.
//
// A page describes its values and panel parameters once, in fParams (see
// ParamTable.h), from its constructor; the defaults below read, write,
// default, save and load the page by walking that description. A page
// overrides one of them only for its real quirks, and calls the default
// from its override where it can.
class TPageFrame : public QWidget {
    Q_OBJECT
public:
    TPageFrame(IPageHost& host, int tag, QWidget* parent = nullptr);

    int Tag() const { return fTag; }
    TWorkMode Mode() const { return FMode; }

    // Called once after creation: fills lists and sets start values.
    virtual void Init();
    // Every parameter of the description, in order; failures are shown in
    // the error list window at the end.
    virtual void ReadPage();
    virtual void WritePage();
    // The question the page's write asks before it sends anything (empty:
    // none). Writing every page asks them all first, so that no page is
    // written before the user has said yes or no to each.
    virtual QString WriteQuestion() const { return {}; }
    // Every field's default (no panel traffic).
    virtual void SetDefault();
    // Clears List and appends the page's key=value lines.
    virtual void GetSettings(QStringList& List);
    // Takes the page's keys from the lines: text keys as they are (a missing
    // one empties its control), number keys converted; when a number key is
    // missing or not a number the whole page takes SetDefault instead, and
    // nothing of the file is applied.
    virtual void SetSettings(const QStringList& List);
    // What the setting of a settings-file key is called on the page (the
    // caption of its control), for a user comparing the page with a file;
    // the key itself when the page has no better name for it.
    virtual QString SettingsCaption(const QString& key) const;
    // The connected panel's firmware release, given on every connection.
    virtual void DevRelease(int Release);
    // The window's state after every change (connected, disconnected, an
    // operation running); a page whose own buttons need a panel follows it.
    virtual void HostStateChanged(TOperationState state);

protected:
    // Runs one page operation: the host's operation state for `mode`
    // (Reading or Writing) and FMode are held while `body` runs; the failed
    // parameter names it collects go to `report` at the end, or to the error
    // list window when `report` is empty. Does nothing and returns false
    // when the page or the window is busy with something else.
    bool RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body,
                      const std::function<void(const QStringList& errors)>& report = {});

    IPageHost& fHost;
    TParamTable fParams;
    TWorkMode FMode = wmNull;

private:
    const int fTag;
};
