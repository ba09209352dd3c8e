#pragma once

#include "PageHost.h"
#include "StringConsts.h"

#include <QStringList>
#include <QWidget>

#include <functional>

// The contract every page keeps. The main window creates each page once,
// calls Init, and runs the rest from its actions and the settings file.
class TPageFrame : public QWidget {
    Q_OBJECT
public:
    TPageFrame(IPageHost& host, int tag, QWidget* parent = nullptr);

    int Tag() const { return fTag; }
    TWorkMode Mode() const { return FMode; }

    virtual void Init() = 0;
    virtual void ReadPage() = 0;
    virtual void WritePage() = 0;
    virtual void SetDefault() = 0;
    // The page's key=value lines for the settings file (none by default).
    virtual void GetSettings(QStringList& List);
    virtual void SetSettings(const QStringList& List);

protected:
    // Runs one page operation: FMode is `mode` while `body` runs, the
    // failed parameter names it collects are shown once at the end.
    void RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body);

    IPageHost& fHost;
    TWorkMode FMode = wmNull;

private:
    const int fTag;
};
