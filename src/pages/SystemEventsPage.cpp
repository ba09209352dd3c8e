#include "SystemEventsPage.h"

#include "SettingsLookup.h"

#include <algorithm>

namespace {

const QString PwlogName = QStringLiteral("Системные события");
const QString RebootKeptKey = QStringLiteral("RebootKept");
constexpr int RestartAt = 2 * PwlogRestartField;

// A restart field the switch does not write: two printable characters
// other than "00" (on) and "FF" (off).
bool RestartKept(const QString& field) {
    if (field.size() != 2 || field.compare(QStringLiteral("00")) == 0 ||
        field.compare(QStringLiteral("FF"), Qt::CaseInsensitive) == 0)
        return false;
    return std::all_of(field.begin(), field.end(), [](QChar c) { return c > u' ' && c <= u'~'; });
}

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
                // A restart field kept as it came counts as "on" for the
                // fields after it.
                const QString restart = value.mid(RestartAt, 2);
                const bool keep = RestartKept(restart);
                QString fields = value;
                if (keep)
                    fields.replace(RestartAt, 2, QStringLiteral("00"));
                TSystemEventsValues values = Values();
                ApplyPwlog(fields, values);
                SetValues(values);
                fKeptRestart = keep ? std::optional<QString>(restart) : std::nullopt;
                return true;
            },
        // A restart switch neither on nor off (a settings file's Reboot=2)
        // has no field value: nothing is sent.
        .Encode = [this]() -> std::optional<QString> {
            if (fReboot->Number() != 0 && fReboot->Number() != 1)
                return std::nullopt;
            std::optional<QString> value = EncodePwlog(Values());
            if (value && fReboot->Number() == 1 && fKeptRestart)
                value->replace(RestartAt, 2, *fKeptRestart);
            return value;
        },
    });
    // A kept restart field stands only while the switch stays as the panel
    // left it.
    connect(this, &TPageModel::FieldChanged, this, [this](const TPageField* field) {
        if (field == fReboot)
            fKeptRestart.reset();
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

QStringList TSystemEventsPage::Settings() const {
    QStringList lines = TPageModel::Settings();
    if (fKeptRestart && fReboot->Number() == 1)
        lines.append(RebootKeptKey + QLatin1Char('=') + *fKeptRestart);
    return lines;
}

void TSystemEventsPage::LoadSettings(const QStringList& lines) {
    TPageModel::LoadSettings(lines);
    fKeptRestart.reset();
    const QString kept = SettingsValue(lines, RebootKeptKey);
    if (fReboot->Number() == 1 && RestartKept(kept))
        fKeptRestart = kept;
}

QString TSystemEventsPage::SettingsCaption(const QString& key) const {
    if (key.compare(RebootKeptKey, Qt::CaseInsensitive) == 0)
        return RebootCaption() + QStringLiteral(" (значение панели)");
    return TPageModel::SettingsCaption(key);
}

TSystemEventsValues TSystemEventsPage::Values() const {
    return {fHours->Number(), fMinutes->Number(), fReboot->Number() != 0};
}

void TSystemEventsPage::SetValues(const TSystemEventsValues& values) {
    fHours->SetNumber(values.Hours);
    fMinutes->SetNumber(values.Minutes);
    fReboot->SetNumber(values.Reboot ? 1 : 0);
}
