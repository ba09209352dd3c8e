#pragma once

#include "PageModel.h"
#include "SystemEventsCodec.h"

// The System events page's values: the period of the panel's automatic
// test event and whether a restart of the panel produces an event, all in
// one "+pwlog" value. Unlike the other pages it tells a failed read or
// write in one message (ReadFailed, WriteFailed), not in the error list.
//
// Hours and minutes are items of their lists (0..23, 0..59); a period the
// panel sent that the lists cannot show (up to 254) is kept as it came, with
// no item, and written back so until the user picks an item. A restart
// field other than "00" and "FF" (another value, or no hexadecimal at all)
// shows the restart event on and is written back as the panel gave it
// until the user changes the switch; a settings file carries it in the
// extra key "RebootKept".
class TSystemEventsPage : public TPageModel {
    Q_OBJECT
public:
    explicit TSystemEventsPage(IPageHost& host, QObject* parent = nullptr);

    // "Hour", "Min": the period; "Reboot": 1 when a restart makes an event.
    TPageField& Hours() { return *fHours; }
    TPageField& Minutes() { return *fMinutes; }
    TPageField& Reboot() { return *fReboot; }

    TPageResult Read() override;
    TPageResult Write() override;
    QStringList Settings() const override;
    void LoadSettings(const QStringList& lines) override;
    QString SettingsCaption(const QString& key) const override;

    static QString ReadFailed();  // "Произошла ошибка чтения."
    static QString WriteFailed(); // "Произошла ошибка записи."

    // Captions of the page's controls.
    static QString PeriodCaption();  // "Период автотеста"
    static QString HoursCaption();   // "Часов"
    static QString MinutesCaption(); // "Минут"
    static QString RebootCaption();  // "Перезагрузка системы"

private:
    TSystemEventsValues Values() const;
    void SetValues(const TSystemEventsValues& values);

    TPageField* fHours;
    TPageField* fMinutes;
    TPageField* fReboot;
    // The restart field as the panel gave it, while the switch stays on.
    std::optional<QString> fKeptRestart;
};
