#include "GPRSPage.h"

#include "KeptValue.h"
#include "PlainCaption.h"

QString TGPRSPage::PauseCaption() {
    return QStringLiteral("Пауза между попытками установить GPRS соединение, мин.");
}
QString TGPRSPage::PasswordCaption() {
    return QStringLiteral("Пароль для идентификации:");
}
QString TGPRSPage::MainServerCaption() {
    return QStringLiteral("Основные (IP1)");
}
QString TGPRSPage::ReserveServerCaption() {
    return QStringLiteral("Резервные (IP2)");
}
QString TGPRSPage::AddressCaption() {
    return QStringLiteral("IP адрес сервера:");
}
QString TGPRSPage::PortCaption() {
    return QStringLiteral("Порт сервера:");
}
QString TGPRSPage::OperatorCaption() {
    return QStringLiteral("Оператор:");
}
QString TGPRSPage::PhoneCaption() {
    return QStringLiteral("Номер телефона:");
}
QString TGPRSPage::PointCaption() {
    return QStringLiteral("Точка доступа:");
}
QString TGPRSPage::UserNameCaption() {
    return QStringLiteral("Имя пользователя:");
}
QString TGPRSPage::UserPasswordCaption() {
    return QStringLiteral("Пароль:");
}

TGPRSPage::TGPRSPage(IPageHost& host, QObject* parent) : TPageModel(host, ptGPRS, parent) {
    const TGPRSValues defaults = GPRSDefaults();
    const auto text = [this](const char* key, const QString& value, const QString& caption) {
        TPageField* field = &fParams.Text(QLatin1String(key), value);
        field->Caption = PlainCaption(caption);
        return field;
    };
    // The two servers' texts have the same captions: their headings tell
    // them apart.
    const auto server = [&](const char* key, const QString& value, const QString& heading,
                            const QString& caption) {
        return text(key, value, heading + QStringLiteral(": ") + PlainCaption(caption));
    };

    // A pause list without selection writes five minutes and is saved so.
    fPause = &fParams.Number(QStringLiteral("GPRSPause"), defaults.PauseIndex, 0, GPRSPauseCount - 1);
    fPause->Caption = PlainCaption(PauseCaption());
    fPause->Items = GPRSPauseCount;
    fPause->SavedWithoutItem = GPRSPauseDefaultIndex;
    fPause->SetNumber(-1);
    fPassword = text("Password", defaults.Password, PasswordCaption());
    fIP1 = server("IP1", defaults.IP1, MainServerCaption(), AddressCaption());
    fPort1 = server("Port1", defaults.Port1, MainServerCaption(), PortCaption());
    fIP2 = server("IP2", defaults.IP2, ReserveServerCaption(), AddressCaption());
    fPort2 = server("Port2", defaults.Port2, ReserveServerCaption(), PortCaption());
    fOperator = &fParams.Number(QStringLiteral("Opsos"), defaults.Operator, 0, GPRSOperatorCount - 1);
    fOperator->Caption = PlainCaption(OperatorCaption());
    fOperator->Items = GPRSOperatorCount;
    fPhone = text("Phone", defaults.Phone, PhoneCaption());
    fPoint = text("Point", defaults.Point, PointCaption());
    fUserName = text("UserName", defaults.UserName, UserNameCaption());
    fUserPassword = text("UserPWD", defaults.UserPWD, UserPasswordCaption());

    const std::pair<QString TGPRSValues::*, TPageField*> texts[] = {
        {&TGPRSValues::Phone, fPhone},       {&TGPRSValues::Point, fPoint},
        {&TGPRSValues::UserName, fUserName}, {&TGPRSValues::UserPWD, fUserPassword},
        {&TGPRSValues::Password, fPassword}, {&TGPRSValues::IP1, fIP1},
        {&TGPRSValues::Port1, fPort1},       {&TGPRSValues::IP2, fIP2},
        {&TGPRSValues::Port2, fPort2},
    };
    for (const TGPRSParam& p : GPRSParams()) {
        const QString command = QString::fromLatin1(p.Command);
        const QString readName = QString::fromUtf8(p.ReadName);
        const QString writeName = QString::fromUtf8(p.WriteName);
        if (!p.Text) {
            // A value that does not convert selects "5" and is not reported.
            fParams.Param({
                .Command = command,
                .ReadName = readName,
                .Decode =
                    [this](const QString& value) {
                        fPause->SetNumber(DecodeGPRSPause(value));
                        return true;
                    },
                // Only the list left without selection since start-up (-1)
                // writes five minutes; an index beyond the list (a settings
                // file's) is not sent.
                .Encode = [this]() -> std::optional<QString> {
                    const int index = fPause->Number();
                    if (index != -1 && !fPause->Item())
                        return std::nullopt;
                    return EncodeGPRSPause(index);
                },
                .WriteName = writeName,
            });
            continue;
        }
        TPageField* field = nullptr;
        for (const auto& [member, f] : texts) {
            if (member == p.Text)
                field = f;
        }
        Q_ASSERT(field);
        TPageParam& param = fParams.TextParam(command, readName, *field, writeName);
        // An empty text goes out as the read command: the panel answers with
        // the value it keeps, which is no write.
        param.CheckWrite = [writeName](const QString& value,
                                       const QStringList& answer) -> std::optional<QString> {
            if (const std::optional<QString> kept = KeptValueAfterWrite(value, answer))
                return KeptValueErrorName(writeName, *kept);
            return std::nullopt;
        };
        // The access point tells the operator; its preset is not applied.
        if (field == fPoint) {
            param.Decode = [this](const QString& value) {
                fPoint->SetText(value);
                const TGPRSOperator op = RecognizeOperator(value);
                fOperator->SetNumber(op);
                SetSimLocked(OperatorLocksSimEdits(op));
                return true;
            };
        }
    }
}

void TGPRSPage::Init() {
    fOperator->SetNumber(opBeeline);
    ApplyOperatorPreset(false);
}

TPageResult TGPRSPage::Write() {
    return Settle(RunOperation(wmWrite, [this](QStringList& errors) {
        FillReserve();
        fParams.Write(fHost.Exchange(), errors);
    }));
}

std::vector<TPanelValue> TGPRSPage::WriteValues() {
    FillReserve();
    return TableValues();
}

void TGPRSPage::FillReserve() {
    TGPRSValues servers;
    servers.IP1 = fIP1->Text();
    servers.Port1 = fPort1->Text();
    servers.IP2 = fIP2->Text();
    servers.Port2 = fPort2->Text();
    FillReserveServer(servers);
    fIP2->SetText(servers.IP2);
    fPort2->SetText(servers.Port2);
}

void TGPRSPage::SetDefault() {
    TPageModel::SetDefault();
    ApplyOperatorPreset(false);
}

void TGPRSPage::LoadSettings(const QStringList& lines) {
    TPageModel::LoadSettings(lines);
    SetSimLocked(OperatorLocksSimEdits(fOperator->Number()));
}

void TGPRSPage::ChooseOperator(int index) {
    EditNumber(*fOperator, index);
    ApplyOperatorPreset(true);
}

void TGPRSPage::ApplyOperatorPreset(bool byUser) {
    if (FMode != wmNull)
        return;
    const std::optional<int> item = fOperator->Item();
    const std::optional<TOperatorPreset> preset =
        item ? OperatorPreset(GPRSOperatorItems().at(*item)) : std::nullopt;
    if (preset) {
        const std::pair<TPageField*, QString> texts[] = {
            {fPhone, preset->Phone},
            {fPoint, preset->Point},
            {fUserName, preset->User},
            {fUserPassword, preset->Password},
        };
        for (const auto& [field, value] : texts) {
            if (byUser)
                EditText(*field, value);
            else
                field->SetText(value);
        }
    }
    SetSimLocked(preset.has_value());
}

void TGPRSPage::SetSimLocked(bool locked) {
    if (fSimLocked == locked)
        return;
    fSimLocked = locked;
    NotifyValues();
}
