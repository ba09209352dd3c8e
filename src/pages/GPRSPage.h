#pragma once

#include "GPRSCodec.h"
#include "PageModel.h"

// The GPRS page's values: how the panel reaches the monitoring server over
// GPRS. The SIM card's packet-data access (with presets for four
// operators), the pause between connection attempts, the panel's
// identification password and a main and a reserve server.
//
// The pause is an item of the pause list; the page starts without one, and
// a pause that is no item is written (and saved) as five minutes. Choosing
// one of the four named operators puts its preset into the four SIM texts
// and locks them; "Другой" unlocks them. An operator read from the panel or
// loaded from a file is selected without its preset.
class TGPRSPage : public TPageModel {
    Q_OBJECT
public:
    explicit TGPRSPage(IPageHost& host, QObject* parent = nullptr);

    // The fields, by settings-file key.
    TPageField& Pause() { return *fPause; }       // "GPRSPause": the pause list's item
    TPageField& Password() { return *fPassword; } // "Password": the identification password
    TPageField& IP1() { return *fIP1; }           // "IP1", "Port1": the main server
    TPageField& Port1() { return *fPort1; }
    TPageField& IP2() { return *fIP2; } // "IP2", "Port2": the reserve server
    TPageField& Port2() { return *fPort2; }
    TPageField& Operator() { return *fOperator; } // "Opsos": TGPRSOperator
    TPageField& Phone() { return *fPhone; }       // "Phone", "Point", "UserName", "UserPWD":
    TPageField& Point() { return *fPoint; }       // the SIM card's access
    TPageField& UserName() { return *fUserName; }
    TPageField& UserPassword() { return *fUserPassword; }

    // Whether the four SIM texts follow the operator's preset and are not
    // to be edited.
    bool SimLocked() const { return fSimLocked; }

    // Starts with Beeline and its preset.
    void Init() override;
    // An empty reserve address or port takes the main one first.
    TPageResult Write() override;
    std::vector<TPanelValue> WriteValues() override;
    // The defaults end with the MTS preset.
    void SetDefault() override;
    // The loaded operator locks the SIM texts or not; its preset is not
    // applied.
    void LoadSettings(const QStringList& lines) override;

    // The user chose the operator at `index` of the list: its preset, never
    // while the page talks to the panel.
    void ChooseOperator(int index);

    // Captions of the page's controls.
    static QString PauseCaption(); // "Пауза между попытками установить GPRS соединение, мин."
    static QString PasswordCaption();      // "Пароль для идентификации:"
    static QString MainServerCaption();    // "Основные (IP1)"
    static QString ReserveServerCaption(); // "Резервные (IP2)"
    static QString AddressCaption();       // "IP адрес сервера:"
    static QString PortCaption();          // "Порт сервера:"
    static QString OperatorCaption();      // "Оператор:"
    static QString PhoneCaption();         // "Номер телефона:"
    static QString PointCaption();         // "Точка доступа:"
    static QString UserNameCaption();      // "Имя пользователя:"
    static QString UserPasswordCaption();  // "Пароль:"

private:
    // An empty reserve address or port takes the main one, in the fields.
    void FillReserve();
    // The preset of the operator selected (edits when the user chose it),
    // and the SIM texts locked by it.
    void ApplyOperatorPreset(bool byUser);
    void SetSimLocked(bool locked);

    TPageField* fPause;
    TPageField* fPassword;
    TPageField* fIP1;
    TPageField* fPort1;
    TPageField* fIP2;
    TPageField* fPort2;
    TPageField* fOperator;
    TPageField* fPhone;
    TPageField* fPoint;
    TPageField* fUserName;
    TPageField* fUserPassword;
    bool fSimLocked = false;
};
