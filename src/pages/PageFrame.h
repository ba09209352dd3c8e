#pragma once

#include "PageHost.h"
#include "PageModel.h"
#include "ParamTable.h"
#include "StringConsts.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

// The contract every page keeps. The main window creates each page once,
// calls Init, and runs the rest from its actions and the settings file.
//
// A settings page shows a page model (PageModel.h), which holds its values
// and knows its panel parameters: the frame builds the widgets, shows the
// model in them and puts the user's edits into it (FieldBindings.h), and the
// calls below go to the model. A page without a model (History) does its
// own work.
class TPageFrame : public QWidget {
    Q_OBJECT
public:
    TPageFrame(IPageHost& host, int tag, QWidget* parent = nullptr);

    int Tag() const { return fTag; }
    // What the page is doing.
    TWorkMode Mode() const;
    // The values the page shows; none for a page without settings.
    TPageModel* PageModel() const { return fModel; }

    // Called once after creation: fills lists and sets start values.
    virtual void Init();
    // Every parameter of the page, in order; failures are shown in the error
    // list window at the end.
    virtual void ReadPage();
    virtual void WritePage();
    // The question the page's write asks before it sends anything (empty:
    // none). Writing every page asks them all first, so that no page is
    // written before the user has said yes or no to each.
    QString WriteQuestion() const { return fModel ? fModel->WriteQuestion() : QString(); }
    // Every value's default (no panel traffic).
    virtual void SetDefault();
    // Clears List and appends the page's key=value lines.
    virtual void GetSettings(QStringList& List);
    // Takes the page's keys from the lines (TPageModel::LoadSettings).
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
    // The model the page shows; the frame owns it.
    void SetPageModel(TPageModel* model);

    // Runs one page operation of a page without a model (RunPageOperation);
    // the failed parameter names it collects go to `report` at the end, or to
    // the error list window when `report` is empty. Does nothing and returns
    // false when the page or the window is busy with something else.
    bool RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body,
                      const std::function<void(const QStringList& errors)>& report = {});

    IPageHost& fHost;
    TParamTable fParams;
    TWorkMode FMode = wmNull;

private:
    const int fTag;
    TPageModel* fModel = nullptr;
};

// The models of the frames that keep their values in a settings file (every
// settings page; the History page keeps nothing there), in tag order.
std::vector<TPageModel*> SettingsPages(const std::vector<TPageFrame*>& frames);
