#pragma once

#include "PageFrame.h"
#include "SystemEventsCodec.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

// The System events page: the period of the panel's automatic test event
// and whether a restart of the panel produces an event, all in one "+pwlog"
// value. Unlike the other pages it reports a failed read or write in a
// message box at once, not in the error list.
class TSystemEventsFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TSystemEventsFrame(IPageHost& host, QWidget* parent = nullptr);

    void ReadPage() override;
    void WritePage() override;

    static QString ReadFailed();  // "Произошла ошибка чтения."
    static QString WriteFailed(); // "Произошла ошибка записи."

private:
    void BuildControls();
    void DescribeParams();

    // The period as the page holds it: the lists' indices, or a value read
    // from the panel that the lists cannot show (no selection then), kept
    // to be written back as it came until the user picks an entry.
    int Hours() const;
    void SetHours(int hours);
    int Minutes() const;
    void SetMinutes(int minutes);
    TSystemEventsValues Values() const;
    void SetValues(const TSystemEventsValues& values);

    QGroupBox* SysEventsGroup = nullptr;
    QGroupBox* AutotestPeriodGroup = nullptr;
    QComboBox* HourCombo = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* MinCombo = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* GenerateGroup = nullptr;
    QCheckBox* RebootEventCheckBox = nullptr;
    int FHoursAsRead = 0;
    int FMinutesAsRead = 0;
};
