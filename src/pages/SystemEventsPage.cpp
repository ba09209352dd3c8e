#include "SystemEventsPage.h"

namespace {

const QString PwlogName = QStringLiteral("Системные события");

} // namespace

QString TSystemEventsPage::ReadFailed() {
    return QStringLiteral("Произошла ошибка чтения.");
}

QString TSystemEventsPage::WriteFailed() {
    return QStringLiteral("Произошла ошибка записи.");
}

QString TSystemEventsPage::PeriodCaption() {
    return QStringLiteral("Период автотеста");
}

QString TSystemEventsPage::HoursCaption() {
    return QStringLiteral("Часов");
}

QString TSystemEventsPage::MinutesCaption() {
    return QStringLiteral("Минут");
}

QString TSystemEventsPage::RebootCaption() {
    return QStringLiteral("Перезагрузка системы");
}

TSystemEventsPage::TSystemEventsPage(IPageHost& host, QObject* parent)
    : TPageModel(host, ptSystemEvents, parent) {
    const TSystemEventsValues defaults = SystemEventsDefaults();
    // "Часов" and "Минут" say what they are under the period's title.
    fHours = &fParams.Number(QStringLiteral("Hour"), defaults.Hours, 0, HourCount - 1);
    fHours->Caption = PeriodCaption() + QStringLiteral(": ") + HoursCaption();
    fHours->Items = HourCount;
    fMinutes = &fParams.Number(QStringLiteral("Min"), defaults.Minutes, 0, MinuteCount - 1);
    fMinutes->Caption = PeriodCaption() + QStringLiteral(": ") + MinutesCaption();
    fMinutes->Items = MinuteCount;
    // A period the panel holds beyond the lists (up to 254 hours or
    // minutes) goes through a settings file under keys of its own.
    fHours->KeptKey = QStringLiteral("HourKept");
    fHours->KeptMax = PwlogMaxPeriodField;
    fMinutes->KeptKey = QStringLiteral("MinKept");
    fMinutes->KeptMax = PwlogMaxPeriodField;
    fReboot = &fParams.Number(QStringLiteral("Reboot"), defaults.Reboot ? 1 : 0, 0, 1);
    fReboot->Caption = RebootCaption();

    // The fields apply in order and stop at one that does not convert; what
    // was applied stays, and such an answer is not reported.
    fParams.Param({
        .Command = QStringLiteral("+pwlog"),
        .ReadName = PwlogName,
        .Decode =
            [this](const QString& value) {
                TSystemEventsValues values = Values();
                ApplyPwlog(value, values);
                SetValues(values);
                return true;
            },
        // A restart switch neither on nor off (a settings file's Reboot=2)
        // has no field value: nothing is sent.
        .Encode = [this]() -> std::optional<QString> {
            if (fReboot->Number() != 0 && fReboot->Number() != 1)
                return std::nullopt;
            return EncodePwlog(Values());
        },
    });
}

TPageResult TSystemEventsPage::Read() {
    return Settle(RunOperation(
        wmRead, [this](QStringList& errors) { fParams.Read(fHost.Exchange(), errors); }, ReadFailed()));
}

TPageResult TSystemEventsPage::Write() {
    return Settle(RunOperation(
        wmWrite, [this](QStringList& errors) { fParams.Write(fHost.Exchange(), errors); }, WriteFailed()));
}

TSystemEventsValues TSystemEventsPage::Values() const {
    return {fHours->Number(), fMinutes->Number(), fReboot->Number() != 0};
}

void TSystemEventsPage::SetValues(const TSystemEventsValues& values) {
    fHours->SetNumber(values.Hours);
    fMinutes->SetNumber(values.Minutes);
    fReboot->SetNumber(values.Reboot ? 1 : 0);
}
