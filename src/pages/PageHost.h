#pragma once

#include "StringConsts.h"

#include <QStringList>

class TPanelExchange;

// What a page may use of the window that holds it: the panel dialogue, the
// connection state, the window's controls, the error list window and the
// device's wake-up switch. Pages never see the main window itself.
class IPageHost {
public:
    virtual ~IPageHost() = default;
    virtual TPanelExchange& Exchange() = 0;
    virtual bool isConnected() const = 0;
    virtual void DisableControls() = 0;
    virtual void EnableControls() = 0;
    // Shows failed parameter names in the error list window.
    virtual void ShowErrorList(const QStringList& errors, TWorkMode mode) = 0;
    virtual void SetWakeUp(bool on) = 0;
    // A plain message box (no icon, an OK button).
    virtual void ShowMessage(const QString& text) = 0;
};
