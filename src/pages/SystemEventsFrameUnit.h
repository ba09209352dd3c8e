#pragma once

#include "PageFrame.h"
#include "SystemEventsPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

// The System events page: the period of the panel's automatic test event
// and whether a restart of the panel produces an event, all in one "+pwlog"
// value. Unlike the other pages it reports a failed read or write in a
// message box at once, not in the error list. It shows a TSystemEventsPage;
// a period the lists cannot show leaves them without a selection.
class TSystemEventsFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TSystemEventsFrame(IPageHost& host, QWidget* parent = nullptr);

    TSystemEventsPage& Page() const { return *fPage; }

    static QString ReadFailed() { return TSystemEventsPage::ReadFailed(); }
    static QString WriteFailed() { return TSystemEventsPage::WriteFailed(); }

private:
    void BuildControls();

    TSystemEventsPage* fPage;

    QGroupBox* SysEventsGroup = nullptr;
    QGroupBox* AutotestPeriodGroup = nullptr;
    QComboBox* HourCombo = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* MinCombo = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* GenerateGroup = nullptr;
    QCheckBox* RebootEventCheckBox = nullptr;
};
