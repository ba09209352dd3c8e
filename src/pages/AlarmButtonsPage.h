#pragma once

#include "AlarmButtonsState.h"
#include "PageModel.h"

// The Alarm buttons page's values: for each of the panel's two alarm
// buttons whether it is in use and the Contact ID event it reports (alarm
// type, section, loop); how long a button must be held before the message
// goes out; and whether the panel reports a discharged battery.
//
// The page holds one TAlarmButtonsState and its rules are the functions over
// it (AlarmButtonsState.h): a read applies the panel's value to it, a write
// sends what it gives. A value read from the panel that no list item stands
// for (an event code missing from the table, a hold time outside 1..5 s) is
// kept, with no item, and written back exactly as read until the user
// chooses an item. The alarm type lists come from the event text table at
// Init; until then the buttons have no item.
class TAlarmButtonsPage : public TPageModel {
    Q_OBJECT
public:
    explicit TAlarmButtonsPage(IPageHost& host, QObject* parent = nullptr);

    const TAlarmButtonsState& State() const { return fState; }
    // The items both alarm type lists hold (after Init).
    const TAlarmTypeItems& AlarmTypes() const { return fAlarmTypes; }

    // The lists, and their first alarm type on both buttons.
    void Init() override;
    void SetDefault() override;
    QStringList Settings() const override;
    // The whole file is checked first: a missing or malformed value puts
    // the page on its defaults instead; an item past the end of its list
    // leaves that list without selection and is named in LoadRefused().
    void LoadSettings(const QStringList& lines) override;
    QString SettingsCaption(const QString& key) const override;

    // The user's changes; button n is 1 or 2. Choosing an item drops a value
    // kept from the panel.
    void SetEnabled(int n, bool on);
    void ChooseAlarmType(int n, int item);
    void SetSection(int n, int section);
    void SetLoop(int n, int loop);
    void ChooseHoldTime(int item);
    void SetAkbMessage(bool on);

    // Captions of the page's controls.
    static QString ButtonCaption(int n); // "Тревожная кнопка %1"
    static QString EnableCaption();      // "Включить"
    static QString AlarmTypeCaption();   // "Вид тревоги:"
    static QString SectionCaption();     // "Номер раздела:"
    static QString LoopCaption();        // "Номер шлейфа:"
    static QString HoldTimeCaption(); // "Время удержания тревожной кнопки до передачи сообщения:"
    static QString AkbMessageCaption(); // "Генерировать сообщение "Разряд АКБ"."

private:
    // A read: the value applied to the page's state; false (nothing
    // changes) when the value cannot be used.
    bool ApplyRead(const std::function<bool(TAlarmButtonsState&)>& apply);
    // The user's change of the state.
    void Edit(const std::function<void(TAlarmButtonsState&)>& change);
    void SetState(const TAlarmButtonsState& state);

    TAlarmButtonsState fState;
    TAlarmTypeItems fAlarmTypes;
};
