#include "SystemEventsFrameUnit.h"

#include "Accessibility.h"
#include "FieldBindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString PwlogName = QStringLiteral("Системные события");

void FillNumbers(QComboBox* combo, int count) {
    for (int n = 0; n < count; ++n)
        combo->addItem(QString::number(n));
}

} // namespace

TSystemEventsFrame::TSystemEventsFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptSystemEvents, parent) {
    setObjectName(QStringLiteral("SystemEventsFrame"));
    BuildControls();
    DescribeParams();
}

QString TSystemEventsFrame::ReadFailed() {
    return QStringLiteral("Произошла ошибка чтения.");
}

QString TSystemEventsFrame::WriteFailed() {
    return QStringLiteral("Произошла ошибка записи.");
}

void TSystemEventsFrame::BuildControls() {
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    SysEventsGroup = named(new QGroupBox(QStringLiteral("Системные события"), this), "SysEventsGroup");
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(SysEventsGroup);

    AutotestPeriodGroup =
        named(new QGroupBox(QStringLiteral("Период автотеста"), SysEventsGroup), "AutotestPeriodGroup");
    HourCombo = named(new QComboBox(AutotestPeriodGroup), "HourCombo");
    FillNumbers(HourCombo, HourCount);
    Label1 = named(new QLabel(QStringLiteral("Часов"), AutotestPeriodGroup), "Label1");
    MinCombo = named(new QComboBox(AutotestPeriodGroup), "MinCombo");
    FillNumbers(MinCombo, MinuteCount);
    Label2 = named(new QLabel(QStringLiteral("Минут"), AutotestPeriodGroup), "Label2");
    for (QComboBox* combo : {HourCombo, MinCombo}) {
        combo->setEditable(false);
        combo->setCurrentIndex(0);
        combo->setMinimumContentsLength(3);
    }
    Label1->setBuddy(HourCombo);
    Label2->setBuddy(MinCombo);
    auto* periodLayout = new QHBoxLayout(AutotestPeriodGroup);
    periodLayout->addWidget(HourCombo);
    periodLayout->addWidget(Label1);
    periodLayout->addSpacing(12);
    periodLayout->addWidget(MinCombo);
    periodLayout->addWidget(Label2);
    periodLayout->addStretch();

    GenerateGroup =
        named(new QGroupBox(QStringLiteral("Генерация событий"), SysEventsGroup), "GenerateGroup");
    RebootEventCheckBox =
        named(new QCheckBox(QStringLiteral("Перезагрузка системы"), GenerateGroup), "RebootEventCheckBox");
    auto* generateLayout = new QVBoxLayout(GenerateGroup);
    generateLayout->addWidget(RebootEventCheckBox);

    auto* mainLayout = new QGridLayout(SysEventsGroup);
    mainLayout->addWidget(AutotestPeriodGroup, 0, 0);
    mainLayout->addWidget(GenerateGroup, 1, 0);
    mainLayout->setRowStretch(2, 1);
    mainLayout->setColumnStretch(1, 1);

    NameGroupBoxes(this);
}

void TSystemEventsFrame::DescribeParams() {
    // "Часов" and "Минут" say what they are under the period's title.
    const auto period = [this](QWidget* list) {
        return AutotestPeriodGroup->title() + ": " + ControlCaption(list);
    };
    fParams
        .Number(QStringLiteral("Hour"),
                {.GetNumber = [this] { return Hours(); }, .SetNumber = [this](int h) { SetHours(h); }},
                SystemEventsDefaults().Hours, 0, HourCount - 1)
        .Caption = period(HourCombo);
    fParams
        .Number(QStringLiteral("Min"),
                {.GetNumber = [this] { return Minutes(); }, .SetNumber = [this](int m) { SetMinutes(m); }},
                SystemEventsDefaults().Minutes, 0, MinuteCount - 1)
        .Caption = period(MinCombo);
    fParams.Number(QStringLiteral("Reboot"), Bind(RebootEventCheckBox), SystemEventsDefaults().Reboot ? 1 : 0,
                   0, 1);

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
        .Encode = [this] { return EncodePwlog(Values()); },
    });
}

void TSystemEventsFrame::ReadPage() {
    RunOperation(
        wmRead, [this](QStringList& errors) { fParams.Read(fHost.Exchange(), errors); },
        [this](const QStringList&) { fHost.ShowError(ReadFailed()); });
}

void TSystemEventsFrame::WritePage() {
    RunOperation(
        wmWrite, [this](QStringList& errors) { fParams.Write(fHost.Exchange(), errors); },
        [this](const QStringList&) { fHost.ShowError(WriteFailed()); });
}

int TSystemEventsFrame::Hours() const {
    return HourCombo->currentIndex() >= 0 ? HourCombo->currentIndex() : FHoursAsRead;
}

void TSystemEventsFrame::SetHours(int hours) {
    FHoursAsRead = hours;
    HourCombo->setCurrentIndex(HourShown(hours) ? hours : -1);
}

int TSystemEventsFrame::Minutes() const {
    return MinCombo->currentIndex() >= 0 ? MinCombo->currentIndex() : FMinutesAsRead;
}

void TSystemEventsFrame::SetMinutes(int minutes) {
    FMinutesAsRead = minutes;
    MinCombo->setCurrentIndex(MinuteShown(minutes) ? minutes : -1);
}

TSystemEventsValues TSystemEventsFrame::Values() const {
    return {Hours(), Minutes(), RebootEventCheckBox->isChecked()};
}

void TSystemEventsFrame::SetValues(const TSystemEventsValues& values) {
    SetHours(values.Hours);
    SetMinutes(values.Minutes);
    RebootEventCheckBox->setChecked(values.Reboot);
}
