#include "CommonPage.h"

#include "PlainCaption.h"

#include "SettingsLookup.h"
#include "panel/PanelExchange.h"
#include "panel/ValueShapes.h"

namespace {

const QString ObjectError = QStringLiteral("Номер объекта");
const QString DispError = QStringLiteral("Параметры диспетчерской связи");
const QString SignalError = QStringLiteral("Уровень сигнала GSM");
const QString DefaultObject = QStringLiteral("0050");
const QString DispKeptKey = QStringLiteral("DispKept");

// A "+disp" value the time list has no item for: hexadecimal, of the
// panel's form, above FF.
bool DispBeyondList(const QString& value) {
    return ValueFitsShape(QStringLiteral("+disp"), value) && HexValue(value) > DispOff;
}

} // namespace

QString TCommonPage::SignalImpossible() {
    return QStringLiteral("В данный момент чтение уровня сигнала GSM невозможно");
}

QString TCommonPage::ObjectCaption() {
    return QStringLiteral("Номер объекта:");
}

QString TCommonPage::DispCaption() {
    return QStringLiteral("Включить диспетчерскую связь");
}

QString TCommonPage::TimeCaption() {
    return QStringLiteral("Время соединения при входящем\n"
                          "голосовом звонке с инженерного\n"
                          "номера");
}

QString TCommonPage::TimeItemText(int n) {
    return n == 0 ? QStringLiteral("Неограничено") : QStringLiteral("%1 мин.").arg(n);
}

TCommonPage::TCommonPage(IPageHost& host, QObject* parent) : TPageModel(host, ptCommon, parent) {
    fObject = &fParams.Text(QStringLiteral("Object"), DefaultObject);
    fObject->Caption = PlainCaption(ObjectCaption());
    fObject->SetText(DefaultObject);
    fDisp = &fParams.Number(QStringLiteral("Disp"), 0, 0, 1);
    fDisp->Caption = DispCaption();
    fTime = &fParams.Number(QStringLiteral("Time"), 0, 0, DispTimeCount - 1);
    fTime->Caption = PlainCaption(TimeCaption());
    fTime->Items = DispTimeCount;
    fTime->SetNumber(-1); // no list yet
    // A kept "+disp" value stands only while the link and the time stay as
    // the panel left them.
    connect(this, &TPageModel::FieldChanged, this, [this](const TPageField* field) {
        if (field == fDisp || field == fTime)
            fKeptDisp.reset();
    });

    // The object number travels as text; a short one is written (and kept)
    // with zeros in front.
    fParams.Param({
        .Command = QStringLiteral("+o"),
        .ReadName = ObjectError,
        .Decode =
            [this](const QString& value) {
                fObject->SetText(value);
                return true;
            },
        .Encode = [this]() -> std::optional<QString> {
            const QString filled = ObjectNumberForWrite(fObject->Text());
            fObject->SetText(filled);
            return filled;
        },
    });
    // One value for the switch and the time; without a time to send (no
    // list yet, a time beyond the list) or with a switch that is neither on
    // nor off (a settings file's Disp=2) the dispatcher link is not written
    // at all.
    fParams.Param({
        .Command = QStringLiteral("+disp"),
        .ReadName = DispError,
        .Decode =
            [this](const QString& value) {
                if (DispBeyondList(value)) {
                    fTime->SetNumber(-1);
                    fDisp->SetNumber(1);
                    fKeptDisp = value;
                    return true;
                }
                const std::optional<TDispValue> decoded = DecodeDispValue(value);
                if (!decoded)
                    return false;
                fTime->SetNumber(decoded->TimeIndex);
                fDisp->SetNumber(decoded->On ? 1 : 0);
                fKeptDisp.reset();
                return true;
            },
        .Encode = [this]() -> std::optional<QString> {
            const int on = fDisp->Number();
            if (on != 0 && on != 1)
                return std::nullopt;
            if (on == 1 && fKeptDisp)
                return *fKeptDisp;
            return EncodeDispValue(on == 1, fTime->Number());
        },
    });
}

void TCommonPage::Init() {
    fTime->SetNumber(0);
}

QStringList TCommonPage::Settings() const {
    QStringList lines = TPageModel::Settings();
    if (fKeptDisp)
        lines.append(DispKeptKey + QLatin1Char('=') + *fKeptDisp);
    return lines;
}

void TCommonPage::LoadSettings(const QStringList& lines) {
    TPageModel::LoadSettings(lines);
    fKeptDisp.reset();
    // A value kept from the panel stands for the time a list without
    // selection cannot show: that is no value the page refused.
    const QString kept = SettingsValue(lines, DispKeptKey);
    if (!DispBeyondList(kept) || fDisp->Number() != 1 || fTime->Number() != -1)
        return;
    QStringList refused = LoadRefused();
    refused.removeIf([this](const QString& line) { return line.startsWith(fTime->Key + QLatin1Char('=')); });
    SetLoadRefused(refused);
    fKeptDisp = kept;
}

QString TCommonPage::SettingsCaption(const QString& key) const {
    if (key.compare(DispKeptKey, Qt::CaseInsensitive) == 0)
        return PlainCaption(TimeCaption()) + QStringLiteral(" (значение панели)");
    return TPageModel::SettingsCaption(key);
}

TPageResult TCommonPage::ReadSignal() {
    // A second exchange must not start inside the page's first.
    if (FMode != wmNull)
        return {};
    if (!fHost.isConnected()) {
        fHost.ShowMessage(SignalImpossible());
        return {};
    }
    bool failed = false;
    TPageResult result = RunOperation(wmRead, [this, &failed](QStringList& errors) {
        TPanelExchange& exchange = fHost.Exchange();
        exchange.SetUparam(true);
        try {
            ReadSignalValue(errors);
        } catch (...) {
            failed = true;
        }
        exchange.SetUparam(false);
    });
    if (failed)
        fHost.ShowMessage(SignalImpossible());
    return result;
}

void TCommonPage::ReadSignalValue(QStringList& errors) {
    QString value;
    std::optional<TSignalLevels> levels;
    if (ReadValue(fHost.Exchange(), QStringLiteral("+U"), value, ExchangeTimeout::Signal))
        levels = DecodeSignalValue(value);
    if (!levels) {
        errors.append(SignalError);
        return;
    }
    emit SignalRead(*levels);
}
