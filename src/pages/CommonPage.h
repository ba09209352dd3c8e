#pragma once

#include "CommonCodec.h"
#include "PageModel.h"

// The Common page's values: the panel's object number, the dispatcher voice
// link (on/off and the connection time) and an on-demand reading of the
// GSM signal and error levels of the panel's modem.
//
// The time is an item of the time list (0 unlimited, n = 1..254 minutes);
// until Init the page has no list, and a dispatcher link switched on then
// has no time to be written with. A "+disp" value above FF (a link on with
// a time the list does not have) is kept as the panel gave it: the link
// shows on, the list no selection, and the value is written back exactly
// until the user changes either; a settings file carries it in the extra
// key "DispKept".
class TCommonPage : public TPageModel {
    Q_OBJECT
public:
    explicit TCommonPage(IPageHost& host, QObject* parent = nullptr);

    // "Object": the object number as text.
    TPageField& ObjectNumber() { return *fObject; }
    // "Disp": 1 on, 0 off.
    TPageField& Disp() { return *fDisp; }
    // "Time": the time list's item.
    TPageField& Time() { return *fTime; }

    // The time list is there from now on, on its first item.
    void Init() override;
    QStringList Settings() const override;
    void LoadSettings(const QStringList& lines) override;
    QString SettingsCaption(const QString& key) const override;

    // The GSM signal reading: "+U" while the exchange takes an answer on the
    // cable as complete at its second "OK". Without a connection, or when
    // the exchange breaks off with an error, the page tells SignalImpossible
    // instead. A reading that succeeds goes out with SignalRead.
    TPageResult ReadSignal();
    static QString SignalImpossible(); // "В данный момент чтение уровня сигнала GSM невозможно"

    // Captions of the page's controls.
    static QString ObjectCaption(); // "Номер объекта:"
    static QString DispCaption();   // "Включить диспетчерскую связь"
    static QString TimeCaption(); // "Время соединения при входящем\nголосовом звонке с инженерного\nномера"
    // The time list's item n: "Неограничено", "%1 мин.".
    static QString TimeItemText(int n);

signals:
    void SignalRead(const TSignalLevels& levels);

private:
    void ReadSignalValue(QStringList& errors);

    TPageField* fObject;
    TPageField* fDisp;
    TPageField* fTime;
    // The "+disp" value above FF the panel gave, while the link and the
    // time stay as it left them.
    std::optional<QString> fKeptDisp;
};
